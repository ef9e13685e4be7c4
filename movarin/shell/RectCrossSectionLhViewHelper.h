#pragma once

#include "movarin/shell/RectViewHelperT.h"
#include "movarin/sections/CrossSectionLhView.h"
#include "movarin/sections/CrossSectionLhViewHelper.h"

namespace varnel {

/// A rubber band on the L-H profile plot: a borrowed `tin::core::Rect` record, built with (rect,
/// view, pen), drawn as a polygon without fill while its valid flag is set. The record is
/// read at every paint and must outlive the helper.
class RectCrossSectionLhViewHelper
    : public RectViewHelperT<CrossSectionLhViewHelper, CrossSectionLhView> {
public:
    using RectViewHelperT::RectViewHelperT;
};

} // namespace varnel
