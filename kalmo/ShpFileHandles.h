#pragma once

#include <shapefil.h>

namespace tinshp {

// The two shapelib handles of one shapefile, its shapes and its attribute table, closed together.
// Internal to kalmo's readers and writers; either handle may be null. Not copyable.
//
// shapelib takes the record counts and places of a file's headers on trust and finds out only
// record by record, with a line on stderr, that they lie beyond the file's end. The two checks
// below compare them with the files' sizes once, when a file is opened for reading.
class ShpFileHandles
{
public:
    ShpFileHandles() = default;
    ~ShpFileHandles() { close(); }
    ShpFileHandles(const ShpFileHandles&) = delete;
    ShpFileHandles& operator=(const ShpFileHandles&) = delete;

    // Closes what is open; the handles become null.
    void close();

    // Every shape record the index names lies within the ".shp", and so does the length its
    // header gives (false for a file cut short). False without an open ".shp".
    bool shapesFitTheirFile() const;
    // The table's file holds the records its header claims: their number is at most the
    // file's size less the header, over the record length. False without an open table.
    bool recordsFitTheirFile() const;

    SHPHandle shp = nullptr;
    DBFHandle dbf = nullptr;
};

} // namespace tinshp
