#pragma once

#include "orlin/core/PointSet.h"
#include "orlin/io/PointSetImporter.h"

#include <Poco/BinaryReader.h>

#include <string>

namespace tin::io {

/// Reader of the binary point file (".tpobin", see BinPointContainerExporter) into a
/// point set. Each record's point is added with PointSet::addPoint, so it is interned
/// through the point factory; the shared point gets the record's index as id. Two records
/// at one position and elevation give one point, which keeps the later index.
///
/// Throws common::exception::InvalidFileFormatException ("Invalid file size",
/// "Invalid file format", BinPointBlockReader::NOT_FINITE) naming the file; callers may then retry with the text reader.
/// A path that cannot be opened throws common::exception::FileOpenException.
/// Cost: one factory look-up per record.
class BinPointSetImporter : public PointSetImporter {
public:
    tin::core::PointSet importPointSet(const char* path) const override;

    /// Reads one block of `size` bytes at the reader's position; `name` stands for the
    /// file in error messages.
    tin::core::PointSet importPointSet(Poco::BinaryReader* reader, unsigned long long size,
                                       const std::string& name) const;
};

} // namespace tin::io
