#pragma once

#include "movarin/shell/PolygonViewHelperT.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/shell/MoldDetailViewHelperI.h"

namespace varnel {

/// A filled polygon on the mold detail view (default pen and brush): the vertices of a borrowed
/// `tin::core::Polygon`, closed; nothing for a null polygon or one of fewer than 2
/// vertices. The polygon is read at every paint and must outlive the helper.
class PolygonMoldDetailViewHelper : public PolygonViewHelperT<MoldDetailViewHelperI, DetailView> {
public:
    using PolygonViewHelperT::PolygonViewHelperT;
};

} // namespace varnel
