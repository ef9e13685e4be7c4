#pragma once

#include <cstddef>

namespace Poco {
class BinaryWriter;
}

namespace mold {
namespace core {
class Mold;
}

namespace io {

/// Writes a mold as a ".mld" file or as a binary entry of a larger archive.
///
/// File and entry have one layout, so a mold file is exactly the entry:
///   common::io::FileUtil header ("Mold binary file", "v0.1"),
///   int32 edit type, float64 baseL, float64 baseH, int32 n, then n pairs (float64 l, float64 h),
/// all little-endian whatever the writer's byte order.
///
/// A mold that the importer would refuse (edit type other than Add or Subtract, a value that is
/// not finite, more points than an int32 counts) is refused with
/// common::exception::RuntimeException before a single byte is written.
class MoldExporter
{
public:
    /// For exportMold only: binarySize() and exportMoldBinary() need a mold and throw without.
    MoldExporter();
    /// Keeps a reference: the caller keeps the mold alive while it uses the exporter.
    explicit MoldExporter(const core::Mold& mold);

    /// Bytes exportMoldBinary() writes: header + 4 + 16 + 4 + 16 n.
    std::size_t binarySize() const;

    /// Writes exactly binarySize() bytes of the mold given at construction.
    void exportMoldBinary(Poco::BinaryWriter* writer) const;

    /// Writes the mold file at path through common::io::SafeFileWriter: the file is written
    /// under a temporary name beside it and renamed over path only when complete, so a failure
    /// never leaves half a file or destroys the one that was there. Throws common::exception::FileOpenException when the file cannot be
    /// made and common::exception::RuntimeException when writing fails, both naming the path.
    void exportMold(const char* path, const core::Mold& mold) const;

private:
    const core::Mold* m_mold;
};

} // namespace io
} // namespace mold
