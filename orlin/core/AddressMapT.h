#pragma once

// The address-keyed map lives in the support library (tin::support::AddressMapT); this header
// keeps the name under which code outside orlin (the VTK conversion) knows it.

#include "orlin/support/AddressMapT.h"

namespace tin::core {

template <typename K, typename V>
using AddressMapT = support::AddressMapT<K, V>;

} // namespace tin::core
