#pragma once

#include "movarin/shell/PolylineViewHelperT.h"

#include "brask/core/View.h"
#include "brask/util/MainViewHelperI.h"

namespace varnel {

/// A polyline or closed rings on the main view over a borrowed vector of T, where T is
/// `tin::core::Point` or `std::shared_ptr<tin::core::Point>`; built with (points, view,
/// pen, brush, ring size), the ring size null for an open line (see `PolylineViewHelperT`).
template <class T>
using PolylineMainViewHelperT = PolylineViewHelperT<mvc::util::MainViewHelperI, mvc::core::View, T>;

} // namespace varnel
