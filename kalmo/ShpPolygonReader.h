#pragma once

#include "kalmo/ShpReader.h"
#include "orlin/core/Polygon.h"

namespace tinshp {

// Reads the records of a shapefile as TIN polygons (see ShpReader for the vertex rule, the
// attributes and the errors). A ring keeps its closing vertex, the repeat of its first, so a
// polygon read back has one vertex more than the one written; the rings of a shape with holes or
// several parts run together into one vertex list.
class ShpPolygonReader : public ShpReader
{
public:
    // A new polygon, owned by the caller, of the vertices of record i; a null or damaged record
    // gives an empty polygon. Throws std::out_of_range when i is not a record.
    tin::core::Polygon* getPolygon(int i) const;
};

} // namespace tinshp
