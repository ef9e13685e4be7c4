#include "orlin/io/TpoPointSetExporter.h"

#include "orlin/io/TpoPointContainerExporter.h"

namespace tin::io {

void TpoPointSetExporter::exportPointSet(const char* path, tin::core::PointSet const& set) const {
    const auto points = set.points();
    TpoPointContainerExporter(m_precision).exportPoints(path, points.begin(), points.end());
}

} // namespace tin::io
