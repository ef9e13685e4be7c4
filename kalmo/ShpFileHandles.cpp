#include "kalmo/ShpFileHandles.h"

namespace tinshp {

void ShpFileHandles::close()
{
    if (shp) {
        SHPClose(shp);
        shp = nullptr;
    }
    if (dbf) {
        DBFClose(dbf);
        dbf = nullptr;
    }
}

} // namespace tinshp
