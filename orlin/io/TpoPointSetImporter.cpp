#include "orlin/io/TpoPointSetImporter.h"

#include "common/exception/InvalidFileFormatException.h"
#include "orlin/core/LargeTableAllocatorT.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"
#include "orlin/io/FileBytes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tin::io {

namespace {

constexpr std::string_view SEPARATORS = ",\t ";
constexpr std::string_view WHITE_SPACE = " \t\r\n\v\f";

template <typename T>
using LargeVector = std::vector<T, tin::core::LargeTableAllocatorT<T>>;

std::string_view trim(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(WHITE_SPACE);
    if (begin == std::string_view::npos) {
        return {};
    }
    const std::size_t end = text.find_last_not_of(WHITE_SPACE);
    return text.substr(begin, end - begin + 1);
}

// Splits the line into at most four tokens: a fourth one already disqualifies it as a
// point. Returns the number of tokens found.
int tokenize(std::string_view line, std::string_view (&tokens)[4]) {
    int count = 0;
    std::size_t pos = 0;
    while (pos <= line.size() && count < 4) {
        std::size_t end = line.find_first_of(SEPARATORS, pos);
        if (end == std::string_view::npos) {
            end = line.size();
        }
        const std::string_view token = trim(line.substr(pos, end - pos));
        if (!token.empty()) {
            tokens[count++] = token;
        }
        pos = end + 1;
    }
    return count;
}

bool parseNumber(std::string_view token, double& value) {
    if (!token.empty() && token.front() == '+') {
        token.remove_prefix(1);
        if (!token.empty() && (token.front() == '-' || token.front() == '+')) {
            return false;
        }
    }
    const char* end = token.data() + token.size();
    const auto result = std::from_chars(token.data(), end, value, std::chars_format::general);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

bool isSeparator(char c) {
    return c == ',' || c == '\t' || c == ' ';
}

// The common line, "x,y,z" or "x y z" with a '\n' or "\r\n" end, parsed without splitting
// it first. Accepts only lines that tokenize() and parseNumber() take as a point with the
// same numbers; anything unusual returns false and is left to them.
bool parsePlainPoint(const char* p, const char* end, double* xyz) {
    for (int k = 0; k < 3; ++k) {
        while (p < end && isSeparator(*p)) {
            ++p;
        }
        if (p == end) {
            return false;
        }
        if (*p == '+') {
            ++p;
            if (p == end || *p == '+' || *p == '-') {
                return false;
            }
        }
        const auto result = std::from_chars(p, end, xyz[k], std::chars_format::general);
        if (result.ec != std::errc() || !std::isfinite(xyz[k])) {
            return false;
        }
        p = result.ptr;
        // The number must be the whole token: a separator or the line's end follows.
        if (p < end && !isSeparator(*p) && !(*p == '\r' && p + 1 == end)) {
            return false;
        }
    }
    while (p < end && isSeparator(*p)) {
        ++p;
    }
    return p == end || (*p == '\r' && p + 1 == end);
}

// Every point line's numbers in file order, with the header and closing-line rules.
LargeVector<double> parsePoints(std::string_view text, const char* path) {
    LargeVector<double> xyz;
    xyz.reserve(3 * (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1));
    std::size_t pointsRead = 0;
    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(pos, end - pos);
        pos = next;
        ++lineNumber;

        double plain[3];
        if (parsePlainPoint(line.data(), line.data() + line.size(), plain)) {
            xyz.insert(xyz.end(), plain, plain + 3);
            ++pointsRead;
            continue;
        }
        std::string_view tokens[4];
        const int count = tokenize(line, tokens);
        if (count == 3) {
            double x = 0;
            double y = 0;
            double z = 0;
            if (parseNumber(tokens[0], x) && parseNumber(tokens[1], y) && parseNumber(tokens[2], z)) {
                xyz.insert(xyz.end(), {x, y, z});
                ++pointsRead;
                continue;
            }
        }
        // Header lines before the first point; after it, only a closing last line may
        // be something else than a point.
        if (pointsRead == 0) {
            continue;
        }
        if (count != 3 && text.find_first_not_of(WHITE_SPACE, pos) == std::string_view::npos) {
            break;
        }
        throw common::exception::InvalidFileFormatException("Invalid file format", path, lineNumber);
    }
    return xyz;
}

} // namespace

tin::core::PointSet TpoPointSetImporter::importPointSet(const char* path) const {
    const FileBytes content(path);
    const LargeVector<double> xyz = parsePoints(content.view(), path);
    // Interned together, so that the factory overlaps its look-ups; the ids and the set
    // are as if each line had been added as it was read.
    const std::size_t count = xyz.size() / 3;
    tin::core::PointSet::PointList points(count);
    tin::core::PointFactory::instance().factoryAll(xyz.data(), count, points.data());
    for (std::size_t i = 0; i < count; ++i) {
        points[i]->setId(static_cast<int>(i));
    }
    tin::core::PointSet set;
    set.addPoints(std::move(points));
    return set;
}

} // namespace tin::io
