#pragma once

#include "movarin/shell/PolygonViewHelperT.h"

#include "brask/core/View.h"
#include "brask/util/MainViewHelperI.h"

namespace varnel {

/// A filled polygon on the main view (default pen and brush): the vertices of a borrowed
/// `tin::core::Polygon`, closed; nothing for a null polygon or one of fewer than 2
/// vertices. The polygon is read at every paint and must outlive the helper.
class PolygonMainViewHelper
    : public PolygonViewHelperT<mvc::util::MainViewHelperI, mvc::core::View> {
public:
    using PolygonViewHelperT::PolygonViewHelperT;
};

} // namespace varnel
