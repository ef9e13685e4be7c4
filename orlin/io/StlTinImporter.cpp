#include "orlin/io/StlTinImporter.h"

#include "common/exception/InvalidFileFormatException.h"
#include "common/io/ByteOrder.h"
#include "common/io/IoUtil.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"
#include "orlin/io/BinPointBlockReader.h"
#include "orlin/io/ReadAheadThread.h"
#include "orlin/support/HashMix.h"
#include "orlin/support/LargeTableAllocatorT.h"
#include "orlin/support/Prefetch.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tin::io {

using common::exception::InvalidFileFormatException;

namespace {

constexpr std::string_view WHITE_SPACE = " \t\r\n\v\f";
constexpr unsigned long long HEADER_SIZE = 84;
constexpr unsigned long long FACET_SIZE = 50;

template <typename T>
using LargeVector = std::vector<T, tin::support::LargeTableAllocatorT<T>>;

// Facets share most of their vertices: each distinct coordinate triple gets a number on its
// first use, and the point factory is asked once per number, all numbers in one bulk
// request (the factory would hand back the same live object anyway; this saves its query).
// Open addressing over 8-byte entries (a 32-bit fingerprint of the triple and the
// number), load at most 1/2; a fingerprint match is confirmed against the stored triple.
// Callers that look a few triples ahead compute each triple's hash once, for the prefetch
// and the look-up.
class VertexNumbers {
public:
    static std::uint64_t hash(double x, double y, double z) {
        using support::coordinateBits;
        return support::mixWords(support::mixWords(support::coordinateBits(x), support::coordinateBits(y)), support::coordinateBits(z));
    }

    // Room for `distinct` triples without growing the table.
    void reserve(std::size_t distinct) {
        std::size_t capacity = m_entries.empty() ? 1024 : m_entries.size();
        while ((distinct + 1) * 2 > capacity) {
            capacity *= 2;
        }
        if (capacity != m_entries.size()) {
            rehash(capacity);
        }
        m_xyz.reserve(3 * distinct);
    }

    // Room in the coordinate table for `corners` triples: the table does not move while
    // they are numbered.
    void reserveCoordinates(std::size_t corners) { m_xyz.reserve(3 * corners); }

    // The number of (x, y, z). A triple with a NaN never equals another, so each gets a
    // number of its own, as a factory request would give it a point of its own.
    std::uint32_t number(double x, double y, double z) { return number(x, y, z, hash(x, y, z)); }

    // number() for a triple whose hash() is h.
    std::uint32_t number(double x, double y, double z, std::uint64_t h) {
        if ((m_count + 1) * 2 > m_entries.size()) {
            rehash(m_entries.empty() ? 1024 : 2 * m_entries.size());
        }
        const std::uint32_t print = fingerprint(h);
        const std::size_t mask = m_entries.size() - 1;
        for (std::size_t i = h & mask;; i = (i + 1) & mask) {
            Entry& e = m_entries[i];
            if (e.number == EMPTY) {
                e = Entry{print, m_count};
                m_xyz.insert(m_xyz.end(), {x, y, z});
                return m_count++;
            }
            if (e.fingerprint == print) {
                const double* v = m_xyz.data() + 3 * static_cast<std::size_t>(e.number);
                if (v[0] == x && v[1] == y && v[2] == z) {
                    return e.number;
                }
            }
        }
    }

    void prefetch(std::uint64_t h) const {
        if (!m_entries.empty()) {
            support::prefetchLine(&m_entries[h & (m_entries.size() - 1)]);
        }
    }

    std::uint32_t count() const { return m_count; }
    const double* xyz() const { return m_xyz.data(); }

private:
    struct Entry {
        std::uint32_t fingerprint;
        std::uint32_t number; // EMPTY: free
    };
    static constexpr std::uint32_t EMPTY = 0xffffffffu;

    static std::uint32_t fingerprint(std::uint64_t h) { return static_cast<std::uint32_t>(h >> 32); }

    void rehash(std::size_t capacity) {
        if (capacity > (std::size_t(1) << 32)) {
            throw std::length_error("STL file with more than 2^31 distinct vertices");
        }
        LargeVector<Entry> old(capacity, Entry{0, EMPTY});
        old.swap(m_entries);
        const std::size_t mask = capacity - 1;
        for (const Entry& e : old) {
            if (e.number == EMPTY) {
                continue;
            }
            const double* v = m_xyz.data() + 3 * static_cast<std::size_t>(e.number);
            std::size_t i = hash(v[0], v[1], v[2]) & mask;
            while (m_entries[i].number != EMPTY) {
                i = (i + 1) & mask;
            }
            m_entries[i] = e;
        }
    }

    LargeVector<Entry> m_entries;
    LargeVector<double> m_xyz;
    std::uint32_t m_count = 0;
};

// The facets as vertex numbers, turned into a TIN once every vertex is interned.
class FacetCollector {
public:
    // A TIN has about half as many vertices as triangles; a file of separate facets, more,
    // and the vertex table grows as it needs.
    void reserve(std::size_t facets) {
        m_corners.reserve(3 * facets);
        m_vertices.reserve(facets / 2 + 3);
    }

    void add(const double* xyz9) {
        for (int i = 0; i < 3; ++i) {
            m_corners.push_back(m_vertices.number(xyz9[3 * i], xyz9[3 * i + 1], xyz9[3 * i + 2]));
        }
    }

    // add() for corners whose VertexNumbers::hash() values are given.
    void add(const double* xyz9, const std::uint64_t* hashes3) {
        for (int i = 0; i < 3; ++i) {
            m_corners.push_back(m_vertices.number(xyz9[3 * i], xyz9[3 * i + 1], xyz9[3 * i + 2], hashes3[i]));
        }
    }

    VertexNumbers& vertices() { return m_vertices; }

    tin::core::Tin build() {
        LargeVector<std::shared_ptr<tin::core::Point>> points(m_vertices.count());
        tin::core::PointFactory::instance().factoryAll(m_vertices.xyz(), points.size(), points.data());
        return build(points.data());
    }

    // The TIN over points[n], the interned vertex numbered n.
    tin::core::Tin build(const std::shared_ptr<tin::core::Point>* points) const {
        tin::core::Tin tin;
        // One batch: the TIN overlaps the table misses of neighbouring facets.
        tin.addTriangles(points, m_corners.data(), m_corners.size() / 3);
        return tin;
    }

private:
    VertexNumbers m_vertices;
    LargeVector<std::uint32_t> m_corners;
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
            double corners[9];
            for (int i = 0; i < 3; ++i) {
                vertex(corners + 3 * i);
            }
            expect("endloop");
            expect("endfacet");
            m_facets.add(corners);
        }
        if (m_stream.bad()) {
            throw InvalidFileFormatException("Invalid file format", m_path);
        }
        return m_facets.build();
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

    void vertex(double* xyz) {
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
        for (int i = 0; i < 3; ++i) {
            const std::string_view token = tokens[i + 1];
            const char* end = token.data() + token.size();
            const char* begin = token.data() + (token.front() == '+' ? 1 : 0);
            const auto result = std::from_chars(begin, end, xyz[i]);
            if (result.ec != std::errc() || result.ptr != end || !std::isfinite(xyz[i])) {
                fail("Wrong vertex definition");
            }
        }
    }

    [[noreturn]] void fail(const std::string& message) const {
        throw InvalidFileFormatException(message, m_path, m_lineNumber);
    }

    std::string m_path;
    std::ifstream m_stream;
    std::string m_line;
    int m_lineNumber = 0;
    FacetCollector m_facets;
};

// A binary facet's corners as doubles, with the vertex table's hash of each corner.
struct DecodedFacet {
    double xyz[9];
    std::uint64_t hashes[3];
};

// Records hold floats in common::io::FILE_BYTE_ORDER, the machine's: they are copied as they
// are. False when a corner coordinate is NaN or infinite.
bool decodeFacets(const char* records, std::size_t count, DecodedFacet* out) {
    bool finite = true;
    for (std::size_t k = 0; k < count; ++k) {
        float values[9];
        std::memcpy(values, records + k * FACET_SIZE + 12, sizeof values);
        DecodedFacet& d = out[k];
        for (int i = 0; i < 9; ++i) {
            d.xyz[i] = values[i];
            finite &= std::isfinite(values[i]);
        }
        for (int i = 0; i < 3; ++i) {
            d.hashes[i] = VertexNumbers::hash(d.xyz[3 * i], d.xyz[3 * i + 1], d.xyz[3 * i + 2]);
        }
    }
    return finite;
}

// Facets numbered in order, with the table entries of the facets a few ahead on the way in.
void numberFacets(const DecodedFacet* decoded, std::size_t count, FacetCollector& facets) {
    constexpr std::size_t AHEAD = 8;
    for (std::size_t k = 0; k < count; ++k) {
        if (k + AHEAD < count) {
            for (int i = 0; i < 3; ++i) {
                facets.vertices().prefetch(decoded[k + AHEAD].hashes[i]);
            }
        }
        facets.add(decoded[k].xyz, decoded[k].hashes);
    }
}

// Facets per piece of the file that is read and decoded at once.
constexpr std::size_t PIECE_FACETS = 4096;

// Vertices the caller interns at a time while the facets after them are numbered.
constexpr std::size_t INTERN_RANGE = 65536;

// Reads, decodes and numbers the facets of the stream into facets, publishing the count of
// vertices numbered after each piece; stops when publish() says so.
void numberFile(std::ifstream& stream, std::size_t count, FacetCollector& facets, const char* path,
                const ReadAheadThread::Publish& publish) {
    std::vector<char> records(PIECE_FACETS * FACET_SIZE);
    std::vector<DecodedFacet> decoded(PIECE_FACETS);
    for (std::size_t done = 0; done < count;) {
        const std::size_t piece = std::min<std::size_t>(count - done, PIECE_FACETS);
        stream.read(records.data(), static_cast<std::streamsize>(piece * FACET_SIZE));
        if (!stream) {
            throw InvalidFileFormatException("Invalid file format", path);
        }
        if (!decodeFacets(records.data(), piece, decoded.data())) {
            throw InvalidFileFormatException(BinPointBlockReader::NOT_FINITE, path);
        }
        numberFacets(decoded.data(), piece, facets);
        done += piece;
        if (!publish(facets.vertices().count())) {
            return;
        }
    }
}

// The binary facets read and numbered on a second thread, their vertices interned on this
// one as they come; the file and the collector are that thread's until it is joined. The
// coordinate table has room for every corner, so that it does not move while this thread
// reads its published part. Null when no thread can be started (nothing was read then).
std::optional<tin::core::Tin> readBinaryOnTwoThreads(std::ifstream& stream, std::uint32_t count,
                                                     FacetCollector& facets, const char* path) {
    facets.vertices().reserveCoordinates(3 * static_cast<std::size_t>(count));
    const double* xyz = facets.vertices().xyz();
    LargeVector<std::shared_ptr<tin::core::Point>> points;
    points.reserve(3 * static_cast<std::size_t>(count)); // address space only, until used
    {
        std::optional<ReadAheadThread> numbering;
        try {
            numbering.emplace([&](const ReadAheadThread::Publish& publish) {
                numberFile(stream, count, facets, path, publish);
            });
        } catch (const std::system_error&) {
            return std::nullopt;
        }
        tin::core::PointFactory& factory = tin::core::PointFactory::instance();
        // A surface has about half as many vertices as facets. Reserved for all of them at
        // once, the factory sweeps out the points of TINs dropped before this read first, as
        // one bulk request would: their memory is then free before the new points are made.
        factory.reserve(count / 2 + 3);
        for (bool done = false; !done;) {
            const std::size_t have = points.size();
            const std::size_t ready = numbering->wait(have + INTERN_RANGE, done);
            points.resize(ready);
            factory.factoryAll(xyz + 3 * have, ready - have, points.data() + have);
        }
    }
    return facets.build(points.data());
}

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
    FacetCollector facets;
    facets.reserve(count);
    if (count >= 4 * PIECE_FACETS && ReadAheadThread::worthwhile()) {
        if (std::optional<tin::core::Tin> tin = readBinaryOnTwoThreads(stream, count, facets, path)) {
            return std::move(*tin);
        }
    }
    numberFile(stream, count, facets, path, [](std::size_t) { return true; });
    return facets.build();
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
