#pragma once

#include "orlin/io/PolygonExporterI.h"

namespace tin::io {

/// Writer of the binary polygon file (layout: BinPoint2DListFile): the vertex count,
/// then x and y of each vertex in points() order; elevations and ids are not stored.
/// Throws common::exception::FileOpenException when the path cannot be opened and
/// common::exception::RuntimeException when writing fails, both naming the path; the file is
/// written through common::io::SafeFileWriter, so a failure leaves the earlier file untouched.
class BinPolygonExporter : public PolygonExporterI {
public:
    void exportPolygon(const char* path, tin::core::Polygon const& polygon) const override;
};

} // namespace tin::io
