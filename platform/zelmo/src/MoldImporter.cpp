#include "mold/io/MoldImporter.h"

#include "MoldBinaryLayout.h"

#include "common/io/ByteOrder.h"
#include "common/exception/InvalidFileFormatException.h"
#include "common/exception/RuntimeException.h"
#include "common/io/FileUtil.h"
#include "common/io/IoUtil.h"

#include <Poco/BinaryReader.h>

#include <cmath>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace mold {
namespace io {

namespace {

using common::exception::InvalidFileFormatException;

// Reads one entry; `where` names the file in messages and is empty for an archive entry.
class EntryReader
{
public:
    EntryReader(Poco::BinaryReader& reader, std::size_t size, std::string where)
        : m_reader(reader), m_left(size), m_where(std::move(where))
    {
    }

    core::Mold read()
    {
        const std::string expectedHeader = layout::headerBytes();
        if (readBytes(expectedHeader.size(), "header") != expectedHeader) {
            fail("not a mold file (header differs from \"" + std::string(layout::kTitle) + "\" "
                 + layout::kVersion + ")");
        }
        const std::string fixed = readBytes(layout::kFixedBytes, "edit type, base point and count");
        const std::int32_t type = layout::getInt32(fixed.data());
        if (type != core::Mold::Add && type != core::Mold::Subtract) {
            fail("edit type " + std::to_string(type) + " is neither 0 (add) nor 1 (subtract)");
        }
        const double baseL = layout::getFloat64(fixed.data() + 4);
        const double baseH = layout::getFloat64(fixed.data() + 12);
        if (!std::isfinite(baseL) || !std::isfinite(baseH)) {
            fail("the base point is not finite");
        }
        const std::int32_t count = layout::getInt32(fixed.data() + 20);
        if (count < 0) {
            fail("negative point count " + std::to_string(count));
        }
        const auto points = static_cast<std::size_t>(count);
        if (points > m_left / layout::kPointBytes) {
            fail(std::to_string(points) + " points do not fit in the " + std::to_string(m_left)
                 + " bytes left");
        }
        const std::string body = readBytes(points * layout::kPointBytes, "points");
        std::vector<double> l(points);
        std::vector<double> h(points);
        for (std::size_t i = 0; i < points; ++i) {
            l[i] = layout::getFloat64(body.data() + i * layout::kPointBytes);
            h[i] = layout::getFloat64(body.data() + i * layout::kPointBytes + 8);
            if (!std::isfinite(l[i]) || !std::isfinite(h[i])) {
                fail("point " + std::to_string(i) + " is not finite");
            }
        }
        if (m_left != 0) {
            fail(std::to_string(m_left) + " bytes beyond the mold's end of the given size");
        }
        return core::Mold(static_cast<core::Mold::EditType>(type), l, h, baseL, baseH);
    }

private:
    std::string readBytes(std::size_t count, const char* what)
    {
        if (count > m_left) {
            fail(std::string("the given size ends inside the ") + what);
        }
        std::string bytes(count, '\0');
        if (count > 0) {
            m_reader.readRaw(&bytes[0], static_cast<std::streamsize>(count));
            if (!m_reader.good() || m_reader.stream().gcount() != static_cast<std::streamsize>(count)) {
                fail(std::string("the data ends inside the ") + what);
            }
        }
        m_left -= count;
        return bytes;
    }

    [[noreturn]] void fail(const std::string& what) const
    {
        const std::string message = "Invalid mold data: " + what;
        if (m_where.empty()) {
            throw InvalidFileFormatException(message);
        }
        throw InvalidFileFormatException(message, m_where);
    }

    Poco::BinaryReader& m_reader;
    std::size_t m_left;
    std::string m_where;
};

} // namespace

MoldImporter::MoldImporter() = default;

core::Mold MoldImporter::importMold(const char* path) const
{
    if (!path || !*path) {
        throw common::exception::RuntimeException("Cannot read a mold file: no file name given");
    }
    // Throws common::exception::FileOpenException naming the path when it cannot be opened.
    std::ifstream stream = common::io::IoUtil::openInBinary(path);
    stream.seekg(0, std::ios::end);
    const std::streamoff end = stream.tellg();
    stream.seekg(0, std::ios::beg);
    if (end < 0 || !stream) {
        throw common::exception::RuntimeException(std::string("Cannot read mold file: ") + path);
    }
    Poco::BinaryReader reader(stream, common::io::FILE_BYTE_ORDER);
    return EntryReader(reader, static_cast<std::size_t>(end), path).read();
}

core::Mold MoldImporter::importMold(Poco::BinaryReader* reader, std::size_t size) const
{
    if (!reader) {
        throw common::exception::RuntimeException("MoldImporter::importMold: no reader given");
    }
    return EntryReader(*reader, size, std::string()).read();
}

} // namespace io
} // namespace mold
