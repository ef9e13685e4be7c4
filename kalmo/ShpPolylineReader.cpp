#include "kalmo/ShpPolylineReader.h"

namespace tinshp {

tin::core::Polyline* ShpPolylineReader::getPolyline(int i) const
{
    return new tin::core::Polyline(readVertices(i));
}

} // namespace tinshp
