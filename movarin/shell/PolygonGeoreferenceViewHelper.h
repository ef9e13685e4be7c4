#pragma once

#include "movarin/shell/PolygonViewHelperT.h"
#include "movarin/survey/GeoreferenceView.h"
#include "movarin/survey/GeoreferenceViewHelper.h"

namespace varnel {

/// A filled polygon on the georeference image pane (default pen and brush): the vertices of a
/// borrowed `tin::core::Polygon`, closed; nothing for a null polygon or one of fewer than 2
/// vertices. The polygon is read at every paint and must outlive the helper.
class PolygonGeoreferenceViewHelper
    : public PolygonViewHelperT<GeoreferenceViewHelper, GeoreferenceView> {
public:
    using PolygonViewHelperT::PolygonViewHelperT;
};

} // namespace varnel
