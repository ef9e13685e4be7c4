#include "orlin/io/BinPolylineImporter.h"

#include "orlin/io/BinPoint2DListFile.h"

namespace tin::io {

tin::core::Polyline* BinPolylineImporter::importPolyline(const char* path) const {
    return new tin::core::Polyline(BinPoint2DListFile::read(path));
}

} // namespace tin::io
