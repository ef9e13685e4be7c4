#include "orlin/io/BinPoint2DListFile.h"

#include "common/io/ByteOrder.h"
#include "common/exception/FileOpenException.h"
#include "common/exception/InvalidFileFormatException.h"
#include "common/exception/RuntimeException.h"
#include "common/io/SafeFileWriter.h"
#include "orlin/io/BinPoint2DListReads.h"
#include "orlin/io/BinPointBlockReader.h"
#include "orlin/io/FileBytes.h"
#include "orlin/io/NonFiniteValueException.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace tin::io {

using common::exception::InvalidFileFormatException;

void BinPoint2DListFile::write(const char* path, const std::vector<tin::core::Point2D>& points) {
    if (points.size() > static_cast<std::size_t>(INT_MAX)) {
        throw common::exception::RuntimeException(std::string("Too many vertices for ") + path);
    }
    for (const auto& p : points) {
        if (!std::isfinite(p.x()) || !std::isfinite(p.y())) {
            throw NonFiniteValueException();
        }
    }
    // The layout in memory (little-endian, see ByteOrder.h), copied as it stands.
    std::string bytes(4 + 16 * points.size(), '\0');
    const std::int32_t count = static_cast<std::int32_t>(points.size());
    std::memcpy(bytes.data(), &count, sizeof count);
    char* at = bytes.data() + 4;
    for (const auto& p : points) {
        const double xy[2] = {p.x(), p.y()};
        std::memcpy(at, xy, sizeof xy);
        at += sizeof xy;
    }
    // Reading a small file back costs a fraction of making a new one: a project saved again
    // rewrites the geometry that changed, not every one of its (maybe 100,000) files.
    common::io::SafeFileWriter::writeBinaryIfChanged(path, bytes);
}

std::vector<tin::core::Point2D> BinPoint2DListFile::read(const char* path) {
    // One open and one read per file: a project of 100,000 polylines reads as many files.
    const FileBytes file(path);
    const std::size_t size = file.size();
    if (size < 4) {
        throw InvalidFileFormatException("Invalid file size", path);
    }
    std::int32_t count = 0;
    std::memcpy(&count, file.data(), sizeof count);
    const std::size_t vertices = count > 0 ? static_cast<std::size_t>(count) : 0;
    if ((size - 4) / 16 != vertices || (size - 4) % 16 != 0) {
        throw InvalidFileFormatException("Invalid file size", path);
    }
    std::vector<tin::core::Point2D> points;
    points.reserve(vertices);
    const char* at = file.data() + 4;
    for (std::size_t i = 0; i < vertices; ++i, at += 16) {
        double x = 0;
        double y = 0;
        std::memcpy(&x, at, sizeof x);
        std::memcpy(&y, at + 8, sizeof y);
        if (!std::isfinite(x) || !std::isfinite(y)) {
            throw InvalidFileFormatException(BinPointBlockReader::NOT_FINITE, path);
        }
        points.emplace_back(x, y);
    }
    return points;
}

std::vector<BinPoint2DListFile::Read> BinPoint2DListFile::readMany(
    const std::vector<std::string>& paths) {
    return BinPoint2DListReads(paths).take();
}

} // namespace tin::io
