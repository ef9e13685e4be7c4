#include "kalmo/ShpPolygonWriter.h"

#include <shapefil.h>

#include <stdexcept>

namespace tinshp {

bool ShpPolygonWriter::open(const std::string& path)
{
    return ShpWriter::open(path, SHPT_POLYGON);
}

void ShpPolygonWriter::writePolygon(int i, const tin::core::Polygon* polygon)
{
    if (!polygon) {
        throw std::invalid_argument("No polygon to write");
    }
    if (polygon->empty()) {
        throw std::out_of_range("invalid vector<T> subscript");
    }
    std::vector<tin::core::Point2D> ring = polygon->points();
    ring.push_back(ring.front());
    writeShape(i, ring);
}

} // namespace tinshp
