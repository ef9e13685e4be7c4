#include "kalmo/ShpPolylineWriter.h"

#include <shapefil.h>

#include <stdexcept>

namespace tinshp {

bool ShpPolylineWriter::open(const std::string& path)
{
    return ShpWriter::open(path, SHPT_ARC);
}

void ShpPolylineWriter::writePolyline(int i, const tin::core::Polyline* polyline)
{
    if (!polyline) {
        throw std::invalid_argument("No polyline to write");
    }
    writeShape(i, polyline->points());
}

} // namespace tinshp
