#pragma once

#include "orlin/core/Point.h"

#include <Poco/BinaryReader.h>

#include <memory>
#include <string>
#include <vector>

namespace tin::io {

/// Reader of a binary point block (see BinPointContainerExporter) into shared points in
/// block order, interned as by PointFactory::factory(point, false) (in one bulk
/// PointFactory::factoryAll request once the block is read): a record at the
/// position and elevation of a live point yields that very object (ids are left as they
/// are), so what is read shares vertices with what is already in memory. Throws
/// common::exception::InvalidFileFormatException ("Invalid file size",
/// "Invalid file format") naming the file. Cost: one factory look-up per record, overlapped.
class BinPointPtrVectorImporter {
public:
    std::vector<std::shared_ptr<tin::core::Point>> importPointPtrVector(const char* path) const;

    /// Reads one block of `size` bytes at the reader's position; `name` stands for the
    /// file in error messages.
    std::vector<std::shared_ptr<tin::core::Point>> importPointPtrVector(Poco::BinaryReader* reader,
                                                                        unsigned long long size,
                                                                        const std::string& name) const;
};

} // namespace tin::io
