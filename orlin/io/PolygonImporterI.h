#pragma once

#include "orlin/core/Polygon.h"

namespace tin::io {

/// Reader of one polygon from a file; returns a new polygon that the caller owns and deletes.
/// Implementations keep no state between calls.
class PolygonImporterI {
public:
    PolygonImporterI() = default;
    virtual ~PolygonImporterI() = default;

    virtual tin::core::Polygon* importPolygon(const char* path) const = 0;
};

} // namespace tin::io
