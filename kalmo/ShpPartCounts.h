#pragma once

#include <string>
#include <vector>

namespace tinshp {

// How many parts each shape of a shapefile has: what a reader runs together into one vertex
// list when a shape holds several lines or rings (holes included).
class ShpPartCounts
{
public:
    // One count per record, in record order (0 for a null shape); empty when the ".shp" at path
    // does not open. The path is 8-bit bytes handed to the file system unchanged. Reads every
    // shape once.
    static std::vector<int> read(const std::string& path);
};

} // namespace tinshp
