#pragma once

#include "movarin/shell/PolylineMoldDetailViewHelper.h"
#include "movarin/shell/SlopeViewHelperT.h"
#include "movarin/shell/TextMoldDetailViewHelper.h"

namespace varnel {

/// The slope figure of a borrowed segment of two mold points (L, H) on the mold detail
/// view: right triangle, run, rise and "1 : " ratio (see `SlopeViewHelperT`); built with
/// (segment, view, pen, brush).
class SlopeMoldDetailViewHelper
    : public SlopeViewHelperT<MoldDetailViewHelperI, DetailView, PolylineMoldDetailViewHelper,
                              TextMoldDetailViewHelper> {
public:
    using SlopeViewHelperT::SlopeViewHelperT;
};

} // namespace varnel
