#pragma once

#include "movarin/shell/PointsViewHelperT.h"
#include "movarin/sections/CrossSectionLhView.h"
#include "movarin/sections/CrossSectionLhViewHelper.h"

namespace varnel {

/// Markers on the L-H profile plot: a dot of 3 pixels' radius at each of a borrowed vector of
/// positions, with the default pen and the brush given as (points, view, brush); nothing
/// for an empty vector. The vector is read at every paint and must outlive the helper.
class PointsCrossSectionLhViewHelper
    : public PointsViewHelperT<CrossSectionLhViewHelper, CrossSectionLhView, QPointF> {
public:
    using PointsViewHelperT::PointsViewHelperT;
};

} // namespace varnel
