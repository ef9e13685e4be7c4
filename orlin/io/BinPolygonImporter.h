#pragma once

#include "orlin/io/PolygonImporterI.h"

namespace tin::io {

/// Reader of the binary polygon file (layout and failures: BinPoint2DListFile) into a
/// new polygon with the file's vertices in order, ids -1; the caller owns and deletes
/// it. A count of 0 or less gives a polygon without vertices.
class BinPolygonImporter : public PolygonImporterI {
public:
    tin::core::Polygon* importPolygon(const char* path) const override;
};

} // namespace tin::io
