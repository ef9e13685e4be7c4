#pragma once

#include "kalmo/ShpWriter.h"
#include "orlin/core/Polyline.h"

namespace tinshp {

// Writes TIN polylines as an arc shapefile (see ShpWriter for the files, the attributes and the
// errors). Each polyline becomes one part; an empty one a shape without vertices.
class ShpPolylineWriter : public ShpWriter
{
public:
    // Creates an arc shapefile and its attribute table; false when either cannot be made.
    bool open(const std::string& path);

    // Appends the polyline as the next record, with shape id i.
    void writePolyline(int i, const tin::core::Polyline* polyline);
};

} // namespace tinshp
