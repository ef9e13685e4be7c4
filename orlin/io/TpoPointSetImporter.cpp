#include "orlin/io/TpoPointSetImporter.h"

#include "common/exception/InvalidFileFormatException.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"
#include "orlin/io/FileBytes.h"
#include "orlin/io/ReadAheadThread.h"
#include "orlin/support/LargeTableAllocatorT.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tin::io {

namespace {

template <typename T>
using LargeVector = std::vector<T, tin::support::LargeTableAllocatorT<T>>;

// Lines parsed between two hand-overs to the interning, and points interned at a time
// while the lines after them are parsed.
constexpr std::size_t PARSE_BLOCK = 16384;
constexpr std::size_t INTERN_RANGE = 65536;

constexpr std::string_view SEPARATORS = ",\t ";
constexpr std::string_view WHITE_SPACE = " \t\r\n\v\f";

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

// The hot path's test of SEPARATORS, unrolled.
constexpr bool isSeparator(char c) {
    static_assert(SEPARATORS.size() == 3, "isSeparator tests each separator");
    return c == SEPARATORS[0] || c == SEPARATORS[1] || c == SEPARATORS[2];
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

// The point lines' numbers in file order, a block at a time, with the header and
// closing-line rules.
class PointLines {
public:
    PointLines(std::string_view text, const char* path) : m_text(text), m_path(path) {}

    // Parses up to `max` further points into xyz (3 numbers each); returns how many were
    // parsed, 0 once the text is done.
    std::size_t next(double* xyz, std::size_t max) {
        std::size_t parsed = 0;
        while (parsed < max && m_pos < m_text.size()) {
            std::size_t end = m_text.find('\n', m_pos);
            const std::size_t next = end == std::string_view::npos ? m_text.size() : end + 1;
            if (end == std::string_view::npos) {
                end = m_text.size();
            }
            const std::string_view line = m_text.substr(m_pos, end - m_pos);
            m_pos = next;
            ++m_lineNumber;

            double* point = xyz + 3 * parsed;
            if (parsePlainPoint(line.data(), line.data() + line.size(), point)) {
                ++parsed;
                ++m_pointsRead;
                continue;
            }
            std::string_view tokens[4];
            const int count = tokenize(line, tokens);
            if (count == 3 && parseNumber(tokens[0], point[0]) && parseNumber(tokens[1], point[1]) &&
                parseNumber(tokens[2], point[2])) {
                ++parsed;
                ++m_pointsRead;
                continue;
            }
            // Header lines before the first point; after it, only a closing last line may
            // be something else than a point.
            if (m_pointsRead == 0) {
                continue;
            }
            if (count != 3 && m_text.find_first_not_of(WHITE_SPACE, m_pos) == std::string_view::npos) {
                m_pos = m_text.size();
                break;
            }
            throw common::exception::InvalidFileFormatException("Invalid file format", m_path, m_lineNumber);
        }
        return parsed;
    }

private:
    std::string_view m_text;
    const char* m_path;
    std::size_t m_pos = 0;
    std::size_t m_pointsRead = 0;
    int m_lineNumber = 0;
};

} // namespace

tin::core::PointSet TpoPointSetImporter::importPointSet(const char* path) const {
    const FileBytes content(path);
    const std::string_view text = content.view();
    const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    // Parsed into one array of numbers, interned in bulk requests of many points each,
    // and in a file of many lines parsed on a second thread while the points of the lines
    // parsed so far are interned. The ids and the set are as if each line had been added
    // as it was read.
    LargeVector<double> xyz(3 * lines);
    PointLines parser(text, path);
    const auto parse = [&](const ReadAheadThread::Publish& publish) {
        std::size_t parsed = 0;
        while (const std::size_t more = parser.next(xyz.data() + 3 * parsed, std::min(PARSE_BLOCK, lines - parsed))) {
            parsed += more;
            if (!publish(parsed)) {
                return;
            }
        }
    };
    tin::core::PointFactory& factory = tin::core::PointFactory::instance();
    tin::core::PointSet::PointList points;
    points.reserve(lines);
    std::optional<ReadAheadThread> parsing;
    if (lines >= 4 * INTERN_RANGE && ReadAheadThread::worthwhile()) {
        try {
            parsing.emplace(parse);
        } catch (const std::system_error&) {
            // No thread to be had: parsed on this one below.
        }
    }
    if (parsing) {
        for (bool done = false; !done;) {
            const std::size_t have = points.size();
            const std::size_t ready = parsing->wait(have + INTERN_RANGE, done);
            points.resize(ready);
            factory.factoryAll(xyz.data() + 3 * have, ready - have, points.data() + have);
        }
        parsing.reset();
    } else {
        std::size_t parsed = 0;
        parse([&parsed](std::size_t items) {
            parsed = items;
            return true;
        });
        points.resize(parsed);
        factory.factoryAll(xyz.data(), parsed, points.data());
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        points[i]->setId(static_cast<int>(i));
    }
    tin::core::PointSet set;
    set.addPoints(std::move(points));
    return set;
}

} // namespace tin::io
