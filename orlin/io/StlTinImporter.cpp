#include "orlin/io/StlTinImporter.h"

#include "common/exception/InvalidFileFormatException.h"
#include "common/io/IoUtil.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tin::io {

using common::exception::InvalidFileFormatException;

namespace {

constexpr std::string_view WHITE_SPACE = " \t\r\n\v\f";
constexpr unsigned long long HEADER_SIZE = 84;
constexpr unsigned long long FACET_SIZE = 50;

// Facets share most of their vertices: each distinct coordinate triple asks the point
// factory once, later uses are a hash look-up. The factory would hand back the same
// live object anyway; this only saves its spatial query.
class VertexCache {
public:
    std::shared_ptr<tin::core::Point> point(double x, double y, double z) {
        const Key key{x, y, z};
        auto found = m_points.find(key);
        if (found != m_points.end()) {
            return found->second;
        }
        auto shared = tin::core::PointFactory::instance().factory(tin::core::Point(x, y, z), false);
        m_points.emplace(key, shared);
        return shared;
    }

private:
    struct Key {
        double x, y, z;
        bool operator==(const Key& o) const { return x == o.x && y == o.y && z == o.z; }
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const {
            std::uint64_t h = 1469598103934665603ull;
            for (double v : {k.x, k.y, k.z}) {
                std::uint64_t bits = 0;
                v = v == 0.0 ? 0.0 : v; // -0.0 and 0.0 are one position
                std::memcpy(&bits, &v, sizeof bits);
                h = (h ^ bits) * 1099511628211ull;
                h ^= h >> 29;
            }
            return static_cast<std::size_t>(h);
        }
    };
    std::unordered_map<Key, std::shared_ptr<tin::core::Point>, KeyHash> m_points;
};

std::string_view trim(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(WHITE_SPACE);
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(WHITE_SPACE) - begin + 1);
}

// Keywords are compared without regard to case: writers in the wild put "FACET NORMAL" and
// "ENDLOOP" in capitals, and no reader they are meant for rejects that.
bool equalsNoCase(std::string_view text, std::string_view keyword) {
    return text.size() == keyword.size() &&
           std::equal(text.begin(), text.end(), keyword.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return equalsNoCase(text.substr(0, prefix.size()), prefix);
}

unsigned long long fileSize(std::ifstream& stream) {
    stream.seekg(0, std::ios::end);
    const std::streamoff end = stream.tellg();
    stream.seekg(0, std::ios::beg);
    return end < 0 ? 0 : static_cast<unsigned long long>(end);
}

bool hasBinarySize(std::ifstream& stream) {
    const unsigned long long size = fileSize(stream);
    if (size < HEADER_SIZE) {
        return false;
    }
    stream.seekg(80, std::ios::beg);
    std::uint32_t count = 0;
    stream.read(reinterpret_cast<char*>(&count), sizeof count);
    const bool binary = stream && size == HEADER_SIZE + FACET_SIZE * count;
    stream.clear();
    stream.seekg(0, std::ios::beg);
    return binary;
}

StlType detect(const char* path) {
    std::ifstream stream = common::io::IoUtil::openInAscii(path);
    std::string line;
    // Some writers indent the "solid" line as they indent the facets.
    if (!std::getline(stream, line) || !startsWith(trim(line), "solid")) {
        return STL_BINARY;
    }
    if (hasBinarySize(stream)) {
        return STL_BINARY;
    }
    std::getline(stream, line); // line 1 again
    std::string second;
    std::getline(stream, second);
    const std::string_view trimmed = trim(second);
    return startsWith(trimmed, "facet normal") || startsWith(trimmed, "endsolid") ? STL_ASCII : STL_BINARY;
}

class AsciiReader {
public:
    explicit AsciiReader(const char* path) : m_path(path), m_stream(common::io::IoUtil::openInAscii(path)) {}

    tin::core::Tin read() {
        tin::core::Tin tin;
        if (!startsWith(trim(nextLine()), "solid")) {
            fail("solid not found");
        }
        while (std::getline(m_stream, m_line)) {
            ++m_lineNumber;
            const std::string_view line = trim(m_line);
            if (line.empty()) {
                continue;
            }
            if (startsWith(line, "endsolid")) {
                break;
            }
            if (!startsWith(line, "facet normal")) {
                fail("facet normal not found");
            }
            expect("outer loop");
            std::shared_ptr<tin::core::Point> corners[3];
            for (auto& corner : corners) {
                corner = vertex();
            }
            expect("endloop");
            expect("endfacet");
            tin.addTriangle(corners[0], corners[1], corners[2]);
        }
        if (m_stream.bad()) {
            throw InvalidFileFormatException("Invalid file format", m_path);
        }
        return tin;
    }

private:
    // A line missing because the file ended reads as empty.
    std::string_view nextLine() {
        ++m_lineNumber;
        if (!std::getline(m_stream, m_line)) {
            m_line.clear();
        }
        return m_line;
    }

    void expect(std::string_view keyword) {
        if (!equalsNoCase(trim(nextLine()), keyword)) {
            fail(std::string(keyword) + " not found");
        }
    }

    std::shared_ptr<tin::core::Point> vertex() {
        const std::string_view line = nextLine();
        std::string_view tokens[4];
        int count = 0;
        std::size_t pos = 0;
        while (pos < line.size()) {
            const std::size_t begin = line.find_first_not_of(WHITE_SPACE, pos);
            if (begin == std::string_view::npos) {
                break;
            }
            const std::size_t end = std::min(line.find_first_of(WHITE_SPACE, begin), line.size());
            if (count == 4) {
                fail("Wrong vertex definition");
            }
            tokens[count++] = line.substr(begin, end - begin);
            pos = end;
        }
        if (count != 4) {
            fail("Wrong vertex definition");
        }
        if (!equalsNoCase(tokens[0], "vertex")) {
            fail("vertex not found");
        }
        double xyz[3];
        for (int i = 0; i < 3; ++i) {
            const std::string_view token = tokens[i + 1];
            const char* end = token.data() + token.size();
            const char* begin = token.data() + (token.front() == '+' ? 1 : 0);
            const auto result = std::from_chars(begin, end, xyz[i]);
            if (result.ec != std::errc() || result.ptr != end || !std::isfinite(xyz[i])) {
                fail("Wrong vertex definition");
            }
        }
        return m_vertices.point(xyz[0], xyz[1], xyz[2]);
    }

    [[noreturn]] void fail(const std::string& message) const {
        throw InvalidFileFormatException(message, m_path, m_lineNumber);
    }

    std::string m_path;
    std::ifstream m_stream;
    std::string m_line;
    int m_lineNumber = 0;
    VertexCache m_vertices;
};

tin::core::Tin readBinary(const char* path) {
    std::ifstream stream = common::io::IoUtil::openInBinary(path);
    const unsigned long long size = fileSize(stream);
    if (size < HEADER_SIZE) {
        throw InvalidFileFormatException("Invalid file size", path);
    }
    char header[HEADER_SIZE];
    stream.read(header, HEADER_SIZE);
    std::uint32_t count = 0;
    std::memcpy(&count, header + 80, sizeof count);
    // Writers in the wild leave a stray byte or two after the last record (a line end); a
    // whole record more, or one missing, means the count is not the file's.
    const unsigned long long expected = HEADER_SIZE + FACET_SIZE * count;
    if (!stream || size < expected || size - expected >= FACET_SIZE) {
        throw InvalidFileFormatException("Invalid file size", path);
    }
    tin::core::Tin tin;
    VertexCache vertices;
    constexpr std::uint32_t CHUNK = 1024;
    char buffer[CHUNK * FACET_SIZE];
    for (std::uint32_t done = 0; done < count;) {
        const std::uint32_t facets = count - done < CHUNK ? count - done : CHUNK;
        stream.read(buffer, static_cast<std::streamsize>(facets * FACET_SIZE));
        if (!stream) {
            throw InvalidFileFormatException("Invalid file format", path);
        }
        for (std::uint32_t k = 0; k < facets; ++k) {
            float values[9];
            std::memcpy(values, buffer + k * FACET_SIZE + 12, sizeof values);
            std::shared_ptr<tin::core::Point> corners[3];
            for (int i = 0; i < 3; ++i) {
                corners[i] = vertices.point(values[3 * i], values[3 * i + 1], values[3 * i + 2]);
            }
            tin.addTriangle(corners[0], corners[1], corners[2]);
        }
        done += facets;
    }
    return tin;
}

} // namespace

tin::core::Tin StlTinImporter::importTin(const char* path) const {
    const StlType type = m_type == STL_DETECT ? detect(path) : m_type;
    if (type == STL_ASCII) {
        return AsciiReader(path).read();
    }
    return readBinary(path);
}

} // namespace tin::io
