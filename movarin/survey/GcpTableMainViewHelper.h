#pragma once

#include "movarin/survey/GcpTableViewHelperT.h"

#include "brask/core/View.h"
#include "brask/util/MainViewHelperI.h"

namespace varnel {

/// The ground control points on the main view: a 3-pixel disc at the destination of
/// every pair of a borrowed table (see `GcpTableViewHelperT`).
class GcpTableMainViewHelper
    : public GcpTableViewHelperT<mvc::util::MainViewHelperI, mvc::core::View, &gcpDestination> {
public:
    using GcpTableViewHelperT::GcpTableViewHelperT;
};

} // namespace varnel
