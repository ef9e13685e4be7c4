#include "orlin/io/BinPolygonImporter.h"

#include "orlin/io/BinPoint2DListFile.h"

namespace tin::io {

tin::core::Polygon* BinPolygonImporter::importPolygon(const char* path) const {
    return new tin::core::Polygon(BinPoint2DListFile::read(path));
}

} // namespace tin::io
