#pragma once

#include "movarin/shell/PolylineViewHelperT.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/shell/MoldDetailViewHelperI.h"

namespace varnel {

/// An open polyline on the mold detail view through a borrowed vector of positions, with the
/// helper's pen and brush (defaults where not given); nothing under 2 positions. The vector is read
/// at every paint and must outlive the helper.
class PolylineMoldDetailViewHelper
    : public PolylineViewHelperT<MoldDetailViewHelperI, DetailView, QPointF> {
public:
    PolylineMoldDetailViewHelper(const std::vector<QPointF>* points, DetailView* view,
                                 const QBrush& brush)
        : PolylineViewHelperT(points, view, QPen(), brush, nullptr)
    {
    }
    PolylineMoldDetailViewHelper(const std::vector<QPointF>* points, DetailView* view,
                                 const QPen& pen)
        : PolylineViewHelperT(points, view, pen, QBrush(), nullptr)
    {
    }
};

} // namespace varnel
