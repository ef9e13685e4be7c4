#pragma once

#include "common/io/ByteOrder.h"
#include "common/io/FileUtil.h"

#include <Poco/BinaryReader.h>

#include <fstream>
#include <string>

namespace tin::io {

/// The reading steps shared by the three binary point block readers.
///
/// A block of `size` bytes starts at the reader's position: the 64-byte header, an int
/// count, then count records of three doubles (x, y, elevation). A negative count means
/// "as many records as the size admits" (the bytes after the last whole record are
/// skipped unread, so that a nested block leaves the reader right after it); a count of
/// 0 or more must match the size exactly. Failures throw
/// common::exception::InvalidFileFormatException with `name` as file name:
/// "Invalid file size" when the size cannot hold the header and the count, or does not
/// match a given count; "Invalid file format" when the stream fails while reading;
/// NOT_FINITE when a coordinate or elevation is NaN or infinite.
class BinPointBlockReader {
public:
    static constexpr int RECORD_SIZE = 24;
    static constexpr const char* NOT_FINITE = "Invalid coordinate: not a finite number";

    /// Reads every record of the block and hands each to sink(index, x, y, z), in block
    /// order. Returns the number of records.
    template <typename Sink>
    static int read(Poco::BinaryReader& reader, unsigned long long size, const std::string& name, Sink&& sink);

    /// Opens `path`, takes its size, and reads its block with read().
    template <typename Sink>
    static int readFile(const char* path, Sink&& sink);

    /// Consumes the header and the count and returns the number of records to read.
    static int readCount(Poco::BinaryReader& reader, unsigned long long size, const std::string& name);

    /// Reads exactly `records` records into `xyz` (3 doubles each); throws
    /// "Invalid file format" when fewer arrive and NOT_FINITE for a NaN or infinite value.
    static void readRecords(Poco::BinaryReader& reader, double* xyz, int records, const std::string& name);

    /// Consumes `bytes` bytes that follow the last record; throws "Invalid file format"
    /// when they are missing.
    static void skipRest(Poco::BinaryReader& reader, unsigned long long bytes, const std::string& name);

    /// Opens the path for binary input and returns its byte size.
    static unsigned long long openSized(const char* path, std::ifstream& stream);
};

template <typename Sink>
int BinPointBlockReader::read(Poco::BinaryReader& reader, unsigned long long size, const std::string& name,
                              Sink&& sink) {
    const int count = readCount(reader, size, name);
    const unsigned long long used = static_cast<unsigned long long>(common::io::FileUtil::headerSize()) + 4u +
                                    static_cast<unsigned long long>(count) * RECORD_SIZE;
    constexpr int CHUNK = 1024;
    double xyz[3 * CHUNK];
    for (int done = 0; done < count;) {
        const int records = count - done < CHUNK ? count - done : CHUNK;
        readRecords(reader, xyz, records, name);
        for (int k = 0; k < records; ++k) {
            sink(done + k, xyz[3 * k], xyz[3 * k + 1], xyz[3 * k + 2]);
        }
        done += records;
    }
    if (size > used) {
        skipRest(reader, size - used, name);
    }
    return count;
}

template <typename Sink>
int BinPointBlockReader::readFile(const char* path, Sink&& sink) {
    std::ifstream stream;
    const unsigned long long size = openSized(path, stream);
    Poco::BinaryReader reader(stream, common::io::FILE_BYTE_ORDER);
    return read(reader, size, path, sink);
}

} // namespace tin::io
