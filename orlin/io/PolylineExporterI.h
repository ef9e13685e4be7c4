#pragma once

#include "orlin/core/Polyline.h"

namespace tin::io {

/// Writer of one polyline to a file.
/// Implementations keep no state between calls.
class PolylineExporterI {
public:
    PolylineExporterI() = default;
    virtual ~PolylineExporterI() = default;

    virtual void exportPolyline(const char* path, tin::core::Polyline const& polyline) const = 0;
};

} // namespace tin::io
