#pragma once

#include "orlin/core/Point2D.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace tinshp {

// Reads the shapes of a shapefile and its attribute table; ShpPolygonReader and
// ShpPolylineReader turn the shapes into TIN polygons and polylines.
//
// open() takes the ".shp" path as 8-bit bytes (UTF-8 here) and passes them to shapelib unchanged;
// shapelib finds the attribute table itself (the path without its extension, then ".dbf" or
// ".DBF"). Records and fields are numbered from 0. Text attributes are decoded with the codec of
// the system locale unless setCodec() names another: the ".cpg" a file may carry is not consulted,
// so a file in another encoding needs its codec chosen.
//
// What shapelib gives back: text values come trimmed of surrounding blanks, and a numeric field of
// width 10 or more with 0 decimals reads as floating point, so integers written with width 10 read
// best through getDoubleAttribute().
//
// A shape whose record is null reads as no vertices; a record index outside the open
// file, or any shape read while nothing is open, throws std::out_of_range. An attribute cell
// outside the table (a column index of -1 from an empty column list, say) reads as 0 or as the
// empty text, as shapelib reads an empty cell. The reader owns its
// handles: close() releases them, and so does the destructor when they are still open. Not
// copyable. Each read goes to the file.
class ShpReader
{
public:
    // Consecutive vertices closer than this in x and in y are one point when a shape is read.
    static constexpr double LOCATION_DELTA = 1e-6;

    ShpReader();
    virtual ~ShpReader();
    ShpReader(const ShpReader&) = delete;
    ShpReader& operator=(const ShpReader&) = delete;

    // Opens the shapes and the attribute table for reading, after closing what was open. False,
    // with nothing left open, when either does not open or is cut short: a shape record the
    // index places beyond the end of the ".shp", or a table holding fewer records than its
    // header claims.
    bool open(const std::string& path);
    void close();

    // The number of records; 0 while nothing is open.
    int count() const;

    int getIntAttribute(int row, int col) const;
    double getDoubleAttribute(int row, int col) const;
    QString getStringAttribute(int row, int col) const;

    // Later reads decode with the codec of that name (Qt's names: "UTF-8", "Shift_JIS", ...);
    // an unknown name throws common::exception::RuntimeException and keeps the codec in use.
    void setCodec(const QString& name);

protected:
    // The vertices of record i from the start of its first part to its last vertex (all parts
    // run together), as Point2D with id -1, each vertex within LOCATION_DELTA in both x and y of
    // the one kept before it dropped. Throws std::out_of_range when i is not a record.
    std::vector<tin::core::Point2D> readVertices(int i) const;

private:
    bool hasCell(int row, int col) const;

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace tinshp
