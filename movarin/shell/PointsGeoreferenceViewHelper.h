#pragma once

#include "movarin/shell/PointsViewHelperT.h"
#include "movarin/survey/GeoreferenceView.h"
#include "movarin/survey/GeoreferenceViewHelper.h"

namespace varnel {

/// Markers on the georeference image pane: a dot of `radius` pixels (3 until `setRadius`) at each
/// of a borrowed vector of positions, with the helper's pen and brush (`QBrush()` unless given);
/// nothing for an empty vector. The vector is read at every paint and must outlive the helper.
class PointsGeoreferenceViewHelper
    : public PointsViewHelperT<GeoreferenceViewHelper, GeoreferenceView, QPointF> {
public:
    PointsGeoreferenceViewHelper(const std::vector<QPointF>* points, GeoreferenceView* view,
                                 const QPen& pen)
        : PointsViewHelperT(points, view, pen, QBrush())
    {
    }
    PointsGeoreferenceViewHelper(const std::vector<QPointF>* points, GeoreferenceView* view,
                                 const QPen& pen, const QBrush& brush)
        : PointsViewHelperT(points, view, pen, brush)
    {
    }

    /// Sets the dot radius in pixels; returns this helper.
    PointsGeoreferenceViewHelper* setRadius(int radius)
    {
        m_radius = radius;
        return this;
    }
};

} // namespace varnel
