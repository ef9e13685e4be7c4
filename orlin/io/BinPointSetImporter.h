#pragma once

#include "orlin/core/PointSet.h"
#include "orlin/io/PointSetImporter.h"

#include <Poco/BinaryReader.h>

#include <memory>
#include <string>
#include <vector>

namespace tin::io {

/// Reader of the binary point file (".tpobin", see BinPointContainerExporter) into a
/// point set. Each record's point is interned through the point factory, as
/// PointSet::addPoint(const Point&) does, and the shared point gets the record's index as
/// id. Two records at one position and elevation give one point, which keeps the later
/// index.
///
/// Throws common::exception::InvalidFileFormatException ("Invalid file size",
/// "Invalid file format", BinPointBlockReader::NOT_FINITE) naming the file; callers may then retry with the text reader.
/// A path that cannot be opened throws common::exception::FileOpenException.
/// Cost: the records are read whole and interned in one bulk request
/// (PointFactory::factoryAll, which overlaps the look-ups), 8 bytes a record besides the
/// set while it is built.
class BinPointSetImporter : public PointSetImporter {
public:
    tin::core::PointSet importPointSet(const char* path) const override;
    /// The same; `records`, when given, receives the point of each record in file order
    /// (a point of two records twice), so that record numbers need no second reading.
    tin::core::PointSet importPointSet(const char* path,
                                       std::vector<std::shared_ptr<tin::core::Point>>* records) const;

    /// Reads one block of `size` bytes at the reader's position; `name` stands for the
    /// file in error messages.
    tin::core::PointSet importPointSet(Poco::BinaryReader* reader, unsigned long long size,
                                       const std::string& name) const;
};

} // namespace tin::io
