#include "orlin/io/BinPointBlockReader.h"

#include "common/exception/InvalidFileFormatException.h"
#include "common/io/FileUtil.h"
#include "common/io/IoUtil.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <fstream>

namespace tin::io {

using common::exception::InvalidFileFormatException;

int BinPointBlockReader::readCount(Poco::BinaryReader& reader, unsigned long long size, const std::string& name) {
    const unsigned long long fixed = static_cast<unsigned long long>(common::io::FileUtil::headerSize()) + 4u;
    // Checked before the subtraction below, which must not wrap.
    if (size < fixed) {
        throw InvalidFileFormatException("Invalid file size", name);
    }
    common::io::FileUtil::skipHeader(reader);
    int count = 0;
    reader >> count;
    if (reader.stream().fail()) {
        throw InvalidFileFormatException("Invalid file format", name);
    }
    if (count < 0) {
        const unsigned long long records = (size - fixed) / RECORD_SIZE;
        if (records > static_cast<unsigned long long>(INT_MAX)) {
            throw InvalidFileFormatException("Invalid file size", name);
        }
        return static_cast<int>(records);
    }
    if (size != static_cast<unsigned long long>(count) * RECORD_SIZE + fixed) {
        throw InvalidFileFormatException("Invalid file size", name);
    }
    return count;
}

void BinPointBlockReader::readRecords(Poco::BinaryReader& reader, double* xyz, int records,
                                      const std::string& name) {
    // The block is in common::io::FILE_BYTE_ORDER, which is the machine's (ByteOrder.h
    // asserts it), so the records are taken over as they are.
    const std::streamsize bytes = static_cast<std::streamsize>(records) * RECORD_SIZE;
    reader.readRaw(reinterpret_cast<char*>(xyz), bytes);
    if (reader.stream().fail() || reader.stream().gcount() != bytes) {
        throw InvalidFileFormatException("Invalid file format", name);
    }
    // A NaN or infinite coordinate would make a point that no look-up finds.
    bool finite = true;
    for (std::size_t i = 0; i < 3 * static_cast<std::size_t>(records); ++i) {
        finite &= std::isfinite(xyz[i]);
    }
    if (!finite) {
        throw InvalidFileFormatException(NOT_FINITE, name);
    }
}

void BinPointBlockReader::skipRest(Poco::BinaryReader& reader, unsigned long long bytes, const std::string& name) {
    char buffer[RECORD_SIZE];
    // Fewer than one record: the size admitted no further whole record.
    reader.readRaw(buffer, static_cast<std::streamsize>(bytes));
    if (reader.stream().fail()) {
        throw InvalidFileFormatException("Invalid file format", name);
    }
}

unsigned long long BinPointBlockReader::openSized(const char* path, std::ifstream& stream) {
    stream = common::io::IoUtil::openInBinary(path);
    stream.seekg(0, std::ios::end);
    const std::streamoff end = stream.tellg();
    stream.seekg(0, std::ios::beg);
    if (end < 0 || !stream) {
        throw InvalidFileFormatException("Invalid file size", path);
    }
    return static_cast<unsigned long long>(end);
}

} // namespace tin::io
