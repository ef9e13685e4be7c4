#pragma once

#include "movarin/shell/PointsViewHelperT.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/shell/MoldDetailViewHelperI.h"

namespace varnel {

/// Markers on the mold detail view: a dot of 3 pixels' radius at each of a borrowed vector of positions,
/// with the default pen and the given brush; nothing for an empty vector. The vector is
/// read at every paint and must outlive the helper.
class PointsMoldDetailViewHelper : public PointsViewHelperT<MoldDetailViewHelperI, DetailView, QPointF> {
public:
    PointsMoldDetailViewHelper(const std::vector<QPointF>* points, DetailView* view, const QBrush& brush)
        : PointsViewHelperT(points, view, QPen(), brush)
    {
    }
};

} // namespace varnel
