#pragma once

#include "mold/core/Mold.h"

#include <cstddef>

namespace Poco {
class BinaryReader;
}

namespace mold {
namespace io {

/// Reads a mold written by MoldExporter, as a ".mld" file or as a binary entry of a given size.
///
/// Everything is checked before it is trusted, and a failure throws
/// common::exception::InvalidFileFormatException naming what was wrong (and the file, when
/// reading one): a header that is not the mold header, an edit type other than 0 or 1, a value
/// that is not finite, a negative point count or one whose points would not fit in the bytes
/// left (tested before anything is allocated), data that ends early, and a size that differs
/// from the bytes the mold takes. A file that cannot be opened throws
/// common::exception::FileOpenException. The byte order is little-endian whatever the reader's.
class MoldImporter
{
public:
    MoldImporter();

    core::Mold importMold(const char* path) const;

    /// Reads exactly size bytes from reader.
    core::Mold importMold(Poco::BinaryReader* reader, std::size_t size) const;
};

} // namespace io
} // namespace mold
