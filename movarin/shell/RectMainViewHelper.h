#pragma once

#include "movarin/shell/RectViewHelperT.h"

#include "brask/core/View.h"
#include "brask/util/MainViewHelperI.h"

namespace varnel {

/// A rubber band on the main view: a borrowed `tin::core::Rect` record drawn as a polygon
/// with the helper's pen and brush (`QBrush()`, no fill, unless given) while its valid flag
/// is set. The record is read at every paint and must outlive the helper.
class RectMainViewHelper : public RectViewHelperT<mvc::util::MainViewHelperI, mvc::core::View> {
public:
    using RectViewHelperT::RectViewHelperT;
    RectMainViewHelper(const tin::core::Rect* rect, mvc::core::View* view, const QPen& pen,
                       const QBrush& brush);
};

} // namespace varnel
