#include "orlin/io/BinPolylineExporter.h"

#include "orlin/io/BinPoint2DListFile.h"

namespace tin::io {

void BinPolylineExporter::exportPolyline(const char* path, tin::core::Polyline const& polyline) const {
    BinPoint2DListFile::write(path, polyline.points());
}

} // namespace tin::io
