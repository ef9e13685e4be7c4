#include "orlin/io/BinPolygonExporter.h"

#include "orlin/io/BinPoint2DListFile.h"

namespace tin::io {

void BinPolygonExporter::exportPolygon(const char* path, tin::core::Polygon const& polygon) const {
    BinPoint2DListFile::write(path, polygon.points());
}

} // namespace tin::io
