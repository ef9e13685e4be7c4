#include "orlin/io/TpoPointSetImporter.h"

#include "common/exception/InvalidFileFormatException.h"
#include "common/exception/RuntimeException.h"
#include "common/io/IoUtil.h"
#include "orlin/core/Point.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

namespace tin::io {

namespace {

constexpr std::string_view SEPARATORS = ",\t ";
constexpr std::string_view WHITE_SPACE = " \t\r\n\v\f";

std::string readWholeFile(const char* path) {
    std::ifstream stream = common::io::IoUtil::openInAscii(path);
    std::string content;
    stream.seekg(0, std::ios::end);
    const std::streamoff size = stream.tellg();
    if (size >= 0 && stream) {
        stream.seekg(0, std::ios::beg);
        content.resize(static_cast<std::size_t>(size));
        stream.read(content.data(), static_cast<std::streamsize>(size));
        content.resize(static_cast<std::size_t>(stream.gcount()));
    } else {
        // Not seekable (a pipe): read it as it comes.
        stream.clear();
        std::ostringstream buffer;
        buffer << stream.rdbuf();
        content = buffer.str();
    }
    if (stream.bad()) {
        throw common::exception::RuntimeException(std::string("Could not read file: ") + path);
    }
    return content;
}

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

} // namespace

tin::core::PointSet TpoPointSetImporter::importPointSet(const char* path) const {
    const std::string content = readWholeFile(path);
    const std::string_view text(content);
    tin::core::PointSet set;
    int pointsRead = 0;
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

        std::string_view tokens[4];
        const int count = tokenize(line, tokens);
        if (count == 3) {
            double x = 0;
            double y = 0;
            double z = 0;
            if (parseNumber(tokens[0], x) && parseNumber(tokens[1], y) && parseNumber(tokens[2], z)) {
                set.addPoint(tin::core::Point(x, y, z))->setId(pointsRead);
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
    return set;
}

} // namespace tin::io
