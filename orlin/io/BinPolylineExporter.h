#pragma once

#include "orlin/io/PolylineExporterI.h"

namespace tin::io {

/// Writer of the binary polyline file (layout: BinPoint2DListFile): the vertex count,
/// then x and y of each vertex in points() order; elevations and ids are not stored.
/// Throws common::exception::FileOpenException when the path cannot be opened and
/// common::exception::RuntimeException when writing fails, both naming the path; the file is
/// written through common::io::SafeFileWriter, so a failure leaves the earlier file untouched.
class BinPolylineExporter : public PolylineExporterI {
public:
    void exportPolyline(const char* path, tin::core::Polyline const& polyline) const override;
};

} // namespace tin::io
