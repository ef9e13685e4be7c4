#pragma once

#include "movarin/shell/PolylineCrossSectionLhViewHelper.h"
#include "movarin/shell/SlopeViewHelperT.h"
#include "movarin/shell/TextCrossSectionLhViewHelper.h"

namespace varnel {

/// The slope figure of a borrowed segment of two profile points (L, H) on the L-H profile
/// plot: right triangle, run, rise and "1 : " ratio (see `SlopeViewHelperT`); built with
/// (segment, view, pen, brush).
class SlopeCrossSectionLhViewHelper
    : public SlopeViewHelperT<CrossSectionLhViewHelper, CrossSectionLhView,
                              PolylineCrossSectionLhViewHelper, TextCrossSectionLhViewHelper> {
public:
    using SlopeViewHelperT::SlopeViewHelperT;
};

} // namespace varnel
