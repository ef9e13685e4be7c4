#pragma once

#include "orlin/core/Polyline.h"

namespace tin::io {

/// Reader of one polyline from a file; returns a new polyline that the caller owns and deletes.
/// Implementations keep no state between calls.
class PolylineImporterI {
public:
    PolylineImporterI() = default;
    virtual ~PolylineImporterI() = default;

    virtual tin::core::Polyline* importPolyline(const char* path) const = 0;
};

} // namespace tin::io
