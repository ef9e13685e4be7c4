#pragma once

#include "movarin/shell/PointsViewHelperT.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/shell/MoldDetailViewHelperI.h"

namespace varnel {

/// Markers on the mold detail view: a dot of 3 pixels' radius at each of a borrowed vector of
/// positions, with the default pen and the brush given as (points, view, brush); nothing
/// for an empty vector. The vector is read at every paint and must outlive the helper.
class PointsMoldDetailViewHelper
    : public PointsViewHelperT<MoldDetailViewHelperI, DetailView, QPointF> {
public:
    using PointsViewHelperT::PointsViewHelperT;
};

} // namespace varnel
