#include "kalmo/ShpUtil.h"

#include <shapefil.h>

namespace tinshp {

bool ShpUtil::shapeType(const std::string& path, int* type)
{
    SHPHandle shp = SHPOpen(path.c_str(), "rb");
    if (!shp) {
        return false;
    }
    int count = 0;
    int found = 0;
    SHPGetInfo(shp, &count, &found, nullptr, nullptr);
    SHPClose(shp);
    if (type) {
        *type = found;
    }
    return true;
}

} // namespace tinshp
