#pragma once

#include "orlin/core/Point.h"

#include <Poco/BinaryReader.h>

#include <string>
#include <vector>

namespace tin::io {

/// Reader of a binary point block (see BinPointContainerExporter) into plain point
/// values in block order, id -1 each; duplicates stay separate values and nothing is
/// interned. Throws common::exception::InvalidFileFormatException ("Invalid file size",
/// "Invalid file format", BinPointBlockReader::NOT_FINITE) naming the file.
class BinPointVectorImporter {
public:
    std::vector<tin::core::Point> importPointVector(const char* path) const;

    /// Reads one block of `size` bytes at the reader's position; `name` stands for the
    /// file in error messages.
    std::vector<tin::core::Point> importPointVector(Poco::BinaryReader* reader, unsigned long long size,
                                                    const std::string& name) const;
};

} // namespace tin::io
