#pragma once

#include "common/io/ByteOrder.h"
#include "common/io/FileUtil.h"
#include "common/io/SafeFileWriter.h"
#include "orlin/io/NonFiniteValueException.h"
#include "orlin/io/PointContainerExporter.h"

#include <Poco/BinaryWriter.h>

#include <cstring>
#include <string>

namespace tin::io {

/// Writer of the binary point block: the 64-byte file header
/// ("Points binary file", "v0.1"), an int count, then per point x, y and elevation as
/// doubles, little-endian, no ids. A point's place in the block is its index.
///
/// The count is written as the caller gives it: the writer neither counts the range nor
/// checks it. A negative count (-1) tells readers to derive the count from the block's
/// size. Ranges are of std::shared_ptr<tin::core::Point>, written in range order.
///
/// A NaN or infinite coordinate or elevation, which the readers refuse, makes the write
/// throw NonFiniteValueException once the block is written (the file written through a path
/// is then dropped and the earlier one stays).
class BinPointContainerExporter : public PointContainerExporter {
public:
    static constexpr const char* TITLE = "Points binary file";
    static constexpr const char* VERSION = "v0.1";
    static constexpr int RECORD_SIZE = 24;

    /// Writes one block at the writer's position.
    template <typename Iterator>
    void writePoints(Poco::BinaryWriter& writer, Iterator first, Iterator last, int count) const;

    /// Writes a whole binary point file through common::io::SafeFileWriter: a failure
    /// (FileOpenException or RuntimeException naming the path) leaves the file that was
    /// there untouched.
    template <typename Iterator>
    void exportPoints(const char* path, Iterator first, Iterator last, int count) const;
};

template <typename Iterator>
void BinPointContainerExporter::writePoints(Poco::BinaryWriter& writer, Iterator first, Iterator last,
                                            int count) const {
    common::io::FileUtil::writeHeader(writer, TITLE, VERSION);
    writer << count;
    // Records are staged in a buffer: one stream call per chunk instead of three per point.
    // Records are copied in the machine's order, which is common::io::FILE_BYTE_ORDER.
    constexpr int CHUNK = 1024;
    char buffer[CHUNK * RECORD_SIZE];
    int used = 0;
    // x - x is 0 for a finite x and NaN otherwise: one sum tells whether all were finite,
    // without a branch per value.
    double zeroWhenFinite = 0.0;
    for (; first != last; ++first) {
        const auto& point = *first;
        const double xyz[3] = {point->x(), point->y(), point->elevation()};
        zeroWhenFinite += (xyz[0] - xyz[0]) + (xyz[1] - xyz[1]) + (xyz[2] - xyz[2]);
        std::memcpy(buffer + used * RECORD_SIZE, xyz, RECORD_SIZE);
        if (++used == CHUNK) {
            writer.writeRaw(buffer, used * RECORD_SIZE);
            used = 0;
        }
    }
    if (used > 0) {
        writer.writeRaw(buffer, used * RECORD_SIZE);
    }
    if (zeroWhenFinite != 0.0) {
        throw NonFiniteValueException();
    }
}

template <typename Iterator>
void BinPointContainerExporter::exportPoints(const char* path, Iterator first, Iterator last, int count) const {
    common::io::SafeFileWriter::writeBinary(path, [&](std::ostream& stream) {
        Poco::BinaryWriter writer(stream, common::io::FILE_BYTE_ORDER);
        writePoints(writer, first, last, count);
        writer.flush();
    });
}

} // namespace tin::io
