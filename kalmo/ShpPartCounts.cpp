#include "kalmo/ShpPartCounts.h"

#include <shapefil.h>

namespace tinshp {

std::vector<int> ShpPartCounts::read(const std::string& path)
{
    std::vector<int> counts;
    SHPHandle shp = SHPOpen(path.c_str(), "rb");
    if (!shp) {
        return counts;
    }
    int records = 0;
    SHPGetInfo(shp, &records, nullptr, nullptr, nullptr);
    counts.reserve(static_cast<std::size_t>(records > 0 ? records : 0));
    for (int i = 0; i < records; ++i) {
        SHPObject* shape = SHPReadObject(shp, i);
        counts.push_back(shape && shape->nVertices > 0 ? shape->nParts : 0);
        if (shape) {
            SHPDestroyObject(shape);
        }
    }
    SHPClose(shp);
    return counts;
}

} // namespace tinshp
