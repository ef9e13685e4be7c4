#pragma once

#include "orlin/core/Point2D.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace tinshp {

// Writes shapes and their attribute table as a shapefile; ShpPolygonWriter and ShpPolylineWriter
// add the shapes of TIN polygons and polylines.
//
// The files are built in a hidden folder beside the target and put in place over the target's
// ".shp", ".shx", ".dbf" and ".cpg" only by close(), all of them as one set: a write that fails,
// a file that cannot be put in place, or a writer destroyed or opened again without close(),
// leaves every file of the target's earlier set as it was and nothing of its own behind. Paths
// are 8-bit bytes (UTF-8 here) handed to the file system unchanged.
//
// Attribute fields are numbered from 0 in the order they are added, before any record is written;
// attribute rows are the record numbers, and close() gives every shape a row, empty where none
// was written, since other readers drop shapes beyond the last row (a table needs a field for
// that: write at least one). Text is encoded with the
// codec of the system locale unless setCodec() names another, and the ".cpg" beside the table
// names the codec in force when the files are closed, so that other readers decode it. Text fields
// are 255 bytes wide, the most a dBASE field holds; a longer encoded value is cut between two
// characters.
//
// A write to a shapefile that is not open throws common::exception::RuntimeException, and so does
// a write the file refuses (a number wider than its field, a full disk), naming the file; a field
// or row index outside the table throws std::out_of_range. Not copyable.
class ShpWriter
{
public:
    static constexpr int STRING_WIDTH = 255;

    ShpWriter();
    virtual ~ShpWriter();
    ShpWriter(const ShpWriter&) = delete;
    ShpWriter& operator=(const ShpWriter&) = delete;

    void addStringAttribute(const std::string& name);
    // An integer field: width digits, no decimals.
    void addIntAttribute(const std::string& name, int width);
    void addDoubleAttribute(const std::string& name, int width, int decimals);

    void writeStringAttribute(int row, int col, const QString& value);
    void writeIntAttribute(int row, int col, int value);
    void writeDoubleAttribute(int row, int col, double value);

    // Later writes encode with the codec of that name (Qt's names); an unknown name throws
    // common::exception::RuntimeException and keeps the codec in use.
    void setCodec(const QString& name);

    // Finishes the files and puts them in place. Throws common::exception::RuntimeException when
    // any of them did not reach the disk whole or cannot be put there. Nothing happens when
    // nothing is open; after a failed write the files are dropped instead.
    void close();

protected:
    // Creates the shapes of that shapelib type and the attribute table, after dropping whatever
    // was open and not closed. False, with nothing created, when either cannot be made.
    bool open(const std::string& path, int shapeType);

    // Appends one shape of one part with these vertices, shape id i, its rings turned the way
    // shapefiles require.
    void writeShape(int i, const std::vector<tin::core::Point2D>& vertices);

private:
    void requireOpen() const;
    void requireCell(int row, int col) const;
    [[noreturn]] void fail(const std::string& what);
    bool padTable();
    // The ".cpg" of the codec in force, beside the table being built.
    bool writeCodePage();
    // The closed files being built read back with these counts, none cut short.
    bool finishedFilesHold(int shapes, int rows, int fields) const;
    void drop();

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace tinshp
