#include "kalmo/ShpPolygonReader.h"

namespace tinshp {

tin::core::Polygon* ShpPolygonReader::getPolygon(int i) const
{
    return new tin::core::Polygon(readVertices(i));
}

} // namespace tinshp
