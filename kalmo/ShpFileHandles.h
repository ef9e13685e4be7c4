#pragma once

#include <shapefil.h>

namespace tinshp {

// The two shapelib handles of one shapefile, its shapes and its attribute table, closed together.
// Internal to kalmo's readers and writers; either handle may be null. Not copyable.
class ShpFileHandles
{
public:
    ShpFileHandles() = default;
    ~ShpFileHandles() { close(); }
    ShpFileHandles(const ShpFileHandles&) = delete;
    ShpFileHandles& operator=(const ShpFileHandles&) = delete;

    // Closes what is open; the handles become null.
    void close();

    SHPHandle shp = nullptr;
    DBFHandle dbf = nullptr;
};

} // namespace tinshp
