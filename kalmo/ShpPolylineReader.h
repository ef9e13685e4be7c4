#pragma once

#include "kalmo/ShpReader.h"
#include "orlin/core/Polyline.h"

namespace tinshp {

// Reads the records of a shapefile as TIN polylines (see ShpReader for the vertex rule, the
// attributes and the errors).
class ShpPolylineReader : public ShpReader
{
public:
    // A new polyline, owned by the caller, of the vertices of record i; a null or damaged record
    // gives an empty polyline. Throws std::out_of_range when i is not a record.
    tin::core::Polyline* getPolyline(int i) const;
};

} // namespace tinshp
