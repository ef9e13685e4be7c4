#include "kalmo/ShpFileHandles.h"

#include <cstdint>
#include <cstdio>

namespace tinshp {

namespace {

// The size of a file shapelib has open, through its own hooks (which read at an offset they
// seek to first, so the position left at the end does not matter).
std::uint64_t sizeOf(SAHooks& hooks, SAFile file)
{
    hooks.FSeek(file, 0, SEEK_END);
    return hooks.FTell(file);
}

} // namespace

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

bool ShpFileHandles::shapesFitTheirFile() const
{
    if (!shp) {
        return false;
    }
    const std::uint64_t size = sizeOf(shp->sHooks, shp->fpSHP);
    if (shp->nFileSize > size) {
        return false;
    }
    // A record is its 8-byte header and the content the index gives the length of.
    for (int i = 0; i < shp->nRecords; ++i) {
        if (std::uint64_t{shp->panRecOffset[i]} + shp->panRecSize[i] + 8 > size) {
            return false;
        }
    }
    return true;
}

bool ShpFileHandles::recordsFitTheirFile() const
{
    if (!dbf) {
        return false;
    }
    const std::uint64_t size = sizeOf(dbf->sHooks, dbf->fp);
    if (dbf->nRecords < 0 || size < static_cast<std::uint64_t>(dbf->nHeaderLength)) {
        return false;
    }
    if (dbf->nRecordLength <= 0) {
        return dbf->nRecords == 0;
    }
    const std::uint64_t room = (size - dbf->nHeaderLength) / dbf->nRecordLength;
    return static_cast<std::uint64_t>(dbf->nRecords) <= room;
}

} // namespace tinshp
