#pragma once

#include "orlin/core/Polygon.h"

namespace tin::io {

/// Writer of one polygon to a file.
/// Implementations keep no state between calls.
class PolygonExporterI {
public:
    PolygonExporterI() = default;
    virtual ~PolygonExporterI() = default;

    virtual void exportPolygon(const char* path, tin::core::Polygon const& polygon) const = 0;
};

} // namespace tin::io
