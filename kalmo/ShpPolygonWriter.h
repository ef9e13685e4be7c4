#pragma once

#include "kalmo/ShpWriter.h"
#include "orlin/core/Polygon.h"

namespace tinshp {

// Writes TIN polygons as a polygon shapefile (see ShpWriter for the files, the attributes and the
// errors). Each polygon becomes one closed ring, its first vertex repeated at the end, turned
// clockwise as shapefiles want outer rings.
class ShpPolygonWriter : public ShpWriter
{
public:
    // Creates a polygon shapefile and its attribute table; false when either cannot be made.
    bool open(const std::string& path);

    // Appends the polygon as the next record, with shape id i. An empty polygon throws
    // std::out_of_range "invalid vector<T> subscript" and writes nothing.
    void writePolygon(int i, const tin::core::Polygon* polygon);
};

} // namespace tinshp
