#pragma once

#include <string>

namespace tinshp {

// Questions about a shapefile asked before reading it.
class ShpUtil
{
public:
    // Stores the shapelib shape type of the ".shp" at path in *type (3 arc, 5 polygon, other
    // values for other kinds) and returns true; false, with *type untouched, when the file does
    // not open. The path is 8-bit bytes handed to the file system unchanged.
    static bool shapeType(const std::string& path, int* type);
};

} // namespace tinshp
