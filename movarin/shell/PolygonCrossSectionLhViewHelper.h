#pragma once

#include "movarin/shell/PolygonViewHelperT.h"
#include "movarin/sections/CrossSectionLhView.h"
#include "movarin/sections/CrossSectionLhViewHelper.h"

namespace varnel {

/// A filled polygon on the L-H profile plot (default pen and brush): the vertices of a borrowed
/// `tin::core::Polygon`, closed; nothing for a null polygon or one of fewer than 2
/// vertices. The polygon is read at every paint and must outlive the helper.
class PolygonCrossSectionLhViewHelper
    : public PolygonViewHelperT<CrossSectionLhViewHelper, CrossSectionLhView> {
public:
    using PolygonViewHelperT::PolygonViewHelperT;
};

} // namespace varnel
