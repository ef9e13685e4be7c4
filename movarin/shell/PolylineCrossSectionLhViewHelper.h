#pragma once

#include "movarin/shell/PolylineViewHelperT.h"
#include "movarin/sections/CrossSectionLhView.h"
#include "movarin/sections/CrossSectionLhViewHelper.h"

namespace varnel {

/// An open polyline on the L-H profile plot through a borrowed vector of positions, with the
/// helper's pen and brush (defaults where not given); nothing under 2 positions. The vector is read
/// at every paint and must outlive the helper.
class PolylineCrossSectionLhViewHelper
    : public PolylineViewHelperT<CrossSectionLhViewHelper, CrossSectionLhView, QPointF> {
public:
    PolylineCrossSectionLhViewHelper(const std::vector<QPointF>* points, CrossSectionLhView* view,
                                     const QPen& pen)
        : PolylineViewHelperT(points, view, pen, QBrush(), nullptr)
    {
    }
};

} // namespace varnel
