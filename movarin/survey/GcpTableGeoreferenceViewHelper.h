#pragma once

#include "movarin/survey/GcpTableViewHelperT.h"
#include "movarin/survey/GeoreferenceView.h"
#include "movarin/survey/GeoreferenceViewHelper.h"

namespace varnel {

/// The ground control points on the georeference pane: a 3-pixel disc at the source of
/// every pair of a borrowed table (see `GcpTableViewHelperT`).
class GcpTableGeoreferenceViewHelper
    : public GcpTableViewHelperT<GeoreferenceViewHelper, GeoreferenceView, &gcpSource> {
public:
    using GcpTableViewHelperT::GcpTableViewHelperT;
};

} // namespace varnel
