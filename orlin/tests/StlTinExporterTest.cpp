// STL surfaces: the binary layout and facet orientation checked by an independent parse,
// round trips in both forms, a foreign ASCII file, keyword errors and form detection.

#include "IoTestSupport.h"

#include "common/exception/InvalidFileFormatException.h"
#include "orlin/core/Point.h"
#include "orlin/io/StlTinExporter.h"
#include "orlin/io/StlTinImporter.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <tuple>
#include <unordered_set>

using common::exception::InvalidFileFormatException;
using tin::core::Point;
using tin::core::Tin;
using tin::io::StlTinExporter;
using tin::io::StlTinImporter;

namespace {

// Grid triangles with every other cell added clockwise; coordinates exact in float.
Tin mixedOrientationTin() {
    Tin tin;
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 4; ++j) {
            auto z = [](double x, double y) { return 0.125 * x * y - 0.5 * x + 2.0; };
            const Point a(i, j, z(i, j)), b(i + 1, j, z(i + 1, j)), c(i + 1, j + 1, z(i + 1, j + 1)),
                d(i, j + 1, z(i, j + 1));
            if ((i + j) % 2 == 0) {
                tin.addTriangle(a, b, c);
                tin.addTriangle(a, c, d);
            } else {
                tin.addTriangle(a, c, b);
                tin.addTriangle(a, d, c);
            }
        }
    }
    return tin;
}

// The triangles by their vertex sets, orientation ignored.
std::vector<iotest::TriangleKey> unorientedKeys(const Tin& tin) {
    auto keys = iotest::triangleKeys(tin);
    for (auto& key : keys) {
        std::sort(key.begin(), key.end());
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

struct ParsedFacet {
    float normal[3];
    float vertex[3][3];
};

std::vector<ParsedFacet> parseBinary(const std::string& bytes) {
    std::uint32_t count = 0;
    std::memcpy(&count, bytes.data() + 80, 4);
    std::vector<ParsedFacet> facets(count);
    for (std::uint32_t k = 0; k < count; ++k) {
        std::memcpy(&facets[k], bytes.data() + 84 + 50 * k, 48);
    }
    return facets;
}

Tin readStl(const std::string& name, const std::string& text) {
    const std::string path = iotest::scratchFile(name);
    iotest::writeFile(path, text);
    return StlTinImporter().importTin(path.c_str());
}

// Forced ASCII: detection would take some of these for binary.
void expectStlError(const std::string& name, const std::string& text, const std::string& message, int line) {
    const std::string path = iotest::scratchFile(name);
    iotest::writeFile(path, text);
    try {
        StlTinImporter(tin::io::STL_ASCII).importTin(path.c_str());
        ADD_FAILURE() << "no exception for " << name;
    } catch (const InvalidFileFormatException& e) {
        EXPECT_EQ(std::string(e.what()), message + ": " + path + " (line " + std::to_string(line) + ")");
    }
}

const std::string kFacet = "facet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nvertex 0 1 0\nendloop\nendfacet\n";

} // namespace

TEST(StlTinExporterTest, BinaryLayoutAndUpwardCounterClockwiseFacets) {
    const Tin tin = mixedOrientationTin();
    const std::string path = iotest::scratchFile("mixed.stl");
    StlTinExporter().exportTin(path.c_str(), tin);
    const std::string bytes = iotest::readFile(path);
    ASSERT_EQ(bytes.size(), 84u + 50u * 40u);
    const std::string title = "TIN exported by tin::io::StlTinExporter";
    EXPECT_EQ(bytes.substr(0, 80), title + std::string(80 - title.size(), '\0'));

    Tin facetsAsTin;
    for (const ParsedFacet& f : parseBinary(bytes)) {
        EXPECT_GE(f.normal[2], 0.0f);
        const double ax = f.vertex[1][0] - f.vertex[0][0], ay = f.vertex[1][1] - f.vertex[0][1];
        const double az = f.vertex[1][2] - f.vertex[0][2];
        const double bx = f.vertex[2][0] - f.vertex[0][0], by = f.vertex[2][1] - f.vertex[0][1];
        const double bz = f.vertex[2][2] - f.vertex[0][2];
        const double c[3] = {ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx};
        const double length = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
        EXPECT_GT(c[2], 0.0); // counter-clockwise seen from above
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(f.normal[i], c[i] / length, 1e-6);
        }
        facetsAsTin.addTriangle(Point(f.vertex[0][0], f.vertex[0][1], f.vertex[0][2]),
                                Point(f.vertex[1][0], f.vertex[1][1], f.vertex[1][2]),
                                Point(f.vertex[2][0], f.vertex[2][1], f.vertex[2][2]));
    }
    EXPECT_EQ(unorientedKeys(facetsAsTin), unorientedKeys(tin));
}

TEST(StlTinExporterTest, BinaryCoordinatesComeBackAsTheirFloats) {
    const std::string path = iotest::scratchFile("roundtrip.stl");
    Tin small;
    small.addTriangle(Point(1.1, 0, 0), Point(2, 0, 0), Point(2, 1, 0));
    StlTinExporter().exportTin(path.c_str(), small);
    const Tin floats = StlTinImporter(tin::io::STL_BINARY).importTin(path.c_str());
    bool found = false;
    for (const auto& t : floats.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            if (t->point(i)->x() < 1.5) {
                EXPECT_NEAR(t->point(i)->x(), 1.100000023841858, 1e-15);
                found = true;
            }
        }
    }
    EXPECT_TRUE(found);
}

TEST(StlTinExporterTest, EmptyTinGivesHeaderOnly) {
    const std::string path = iotest::scratchFile("empty.stl");
    StlTinExporter().exportTin(path.c_str(), Tin());
    EXPECT_EQ(std::filesystem::file_size(path), 84u);
    EXPECT_TRUE(StlTinImporter().importTin(path.c_str()).empty());
}

TEST(StlTinExporterTest, AsciiRoundTripAndClosingLine) {
    const Tin tin = mixedOrientationTin();
    const std::string path = iotest::scratchFile("ascii.stl");
    StlTinExporter(tin::io::STL_ASCII).exportTin(path.c_str(), tin);
    const std::string text = iotest::readFile(path);
    EXPECT_EQ(text.substr(0, 46), "solid TIN exported by tin::io::StlTinExporter\n");
    const std::string closing = "endfacet\nendsolid TIN exported by tin::io::StlTinExporter\n";
    EXPECT_EQ(text.substr(text.size() - closing.size()), closing);
    const Tin back = StlTinImporter().importTin(path.c_str());
    EXPECT_EQ(unorientedKeys(back), unorientedKeys(tin));
    EXPECT_EQ(back.pointCount(), 30);
}

TEST(StlTinExporterTest, DegenerateTriangleGetsZeroNormal) {
    Tin tin;
    tin.addTriangle(Point(0, 0, 0), Point(1, 1, 1), Point(2, 2, 2));
    const std::string binary = iotest::scratchFile("degenerate.stl");
    StlTinExporter().exportTin(binary.c_str(), tin);
    const auto facets = parseBinary(iotest::readFile(binary));
    ASSERT_EQ(facets.size(), 1u);
    for (float component : facets[0].normal) {
        EXPECT_EQ(component, 0.0f);
    }
    const std::string ascii = iotest::scratchFile("degenerate-ascii.stl");
    StlTinExporter(tin::io::STL_ASCII).exportTin(ascii.c_str(), tin);
    EXPECT_NE(iotest::readFile(ascii).find("\nfacet normal 0 0 0\n"), std::string::npos);
}

TEST(StlTinImporterTest, ForeignAsciiWithIndentationTabsAndEndsolidReads) {
    const Tin tin = readStl("foreign.stl",
                            "solid corner\r\n"
                            "  facet normal 0.0e+00 0.0e+00 1.0e+00\r\n"
                            "    outer loop\r\n"
                            "      vertex\t0.0\t0.0\t0.0\r\n"
                            "      vertex 1.0e+00 0.0 0.0\r\n"
                            "      vertex   0.0 1.0 0.0\r\n"
                            "    endloop\r\n"
                            "  endfacet\r\n"
                            "\r\n"
                            "  facet normal 0 0 1\r\n"
                            "    outer loop\r\n"
                            "      vertex 1 0 0\r\n"
                            "      vertex 1 1 0.5\r\n"
                            "      vertex 0 1 0\r\n"
                            "    endloop\r\n"
                            "  endfacet\r\n"
                            "endsolid corner\r\n");
    EXPECT_EQ(tin.allTriangles().size(), 2u);
    EXPECT_EQ(tin.pointCount(), 4);
    EXPECT_EQ(readStl("noend.stl", "solid x\n" + kFacet).allTriangles().size(), 1u);
    EXPECT_TRUE(readStl("emptysolid.stl", "solid x\nendsolid x\n").empty());
}

TEST(StlTinImporterTest, KeywordErrorsNameTheLine) {
    const std::string head = "solid x\nfacet normal 0 0 1\nouter loop\n";
    const std::string v3 = "vertex 0 0 0\nvertex 1 0 0\nvertex 0 1 0\n";
    const std::tuple<std::string, std::string, int> cases[] = {
        {"sold x\n" + kFacet, "solid not found", 1},
        {"solid x\nfacet normal 0 0 1\nouterloop\n", "outer loop not found", 3},
        {head + "vertex 0 0 0\nvertex 1 0\n", "Wrong vertex definition", 5},
        {head + "vertex 0 0 0\nvertx 1 0 0\nvertex 0 1 0\n", "vertex not found", 5},
        {head + v3, "endloop not found", 7},
        {head + v3 + "endloop\nend\n", "endfacet not found", 8},
        {"solid x\n" + kFacet + "facet\n", "facet normal not found", 9},
        {head + "vertex 0 0 0\nvertex 1 0 zero\nvertex 0 1 0\n", "Wrong vertex definition", 5},
    };
    int k = 0;
    for (const auto& [text, message, line] : cases) {
        expectStlError("broken" + std::to_string(k++) + ".stl", text, message, line);
    }
}

TEST(StlTinImporterTest, DetectionAndBinarySizeRule) {
    // A binary file whose header begins with "solid" is binary by its exact size.
    Tin tin;
    tin.addTriangle(Point(0, 0, 0), Point(1, 0, 0), Point(0, 1, 1));
    const std::string path = iotest::scratchFile("solidheader.stl");
    StlTinExporter().exportTin(path.c_str(), tin);
    std::string bytes = iotest::readFile(path);
    bytes.replace(0, 11, "solid fake\n");
    iotest::writeFile(path, bytes);
    EXPECT_EQ(StlTinImporter().importTin(path.c_str()).allTriangles().size(), 1u);

    const std::string extra = iotest::scratchFile("extra.stl");
    iotest::writeFile(extra, bytes + std::string(50, 'x'));
    try {
        StlTinImporter().importTin(extra.c_str());
        FAIL() << "no exception";
    } catch (const InvalidFileFormatException& e) {
        EXPECT_STREQ(e.what(), ("Invalid file size: " + extra).c_str());
    }
    // Only the "solid" line: taken for binary, and too short for it.
    EXPECT_THROW(readStl("onlysolid.stl", "solid x\n"), InvalidFileFormatException);
    EXPECT_THROW(readStl("short.stl", std::string(50, '\0')), InvalidFileFormatException);
}

// Thousands of vertices, so that the reader's vertex table grows several times while the
// facets refer back to vertices filed before each growth; and a corner written as -0.0
// must be the vertex written as 0.0.
TEST(StlTinImporterTest, EveryGridNodeIsOneSharedPointAcrossTableGrowth) {
    const Tin tin = iotest::gridTin(60, 50, -30.0, -25.0); // (0, 0) is an inner node
    const std::string path = iotest::scratchFile("grid.stl");
    StlTinExporter().exportTin(path.c_str(), tin);
    std::string bytes = iotest::readFile(path);
    // Flip the sign of every zero coordinate: 0.0f and -0.0f differ only in the top bit.
    std::size_t flipped = 0;
    for (std::size_t at = 84 + 12; at + 36 <= bytes.size(); at += 50) {
        for (int k = 0; k < 9; ++k) {
            float v = 0;
            std::memcpy(&v, bytes.data() + at + 4 * k, 4);
            if (v == 0.0f && k % 3 != 2) {
                v = -0.0f;
                std::memcpy(&bytes[at + 4 * k], &v, 4);
                ++flipped;
            }
        }
    }
    ASSERT_GT(flipped, 0u);
    iotest::writeFile(path, bytes);
    const Tin back = StlTinImporter(tin::io::STL_BINARY).importTin(path.c_str());
    EXPECT_EQ(back.pointCount(), 61 * 51);
    EXPECT_EQ(unorientedKeys(back), unorientedKeys(tin));
}

namespace {

using Facet = std::array<float, 9>;

std::string binaryStl(const std::vector<Facet>& facets) {
    std::string bytes(80, ' ');
    const auto count = static_cast<std::uint32_t>(facets.size());
    bytes.append(reinterpret_cast<const char*>(&count), 4);
    for (const Facet& f : facets) {
        const float normal[3] = {0, 0, 1};
        bytes.append(reinterpret_cast<const char*>(normal), sizeof normal);
        bytes.append(reinterpret_cast<const char*>(f.data()), sizeof(float) * 9);
        bytes.append(2, '\0');
    }
    return bytes;
}

// The same facets as ASCII, each float written as the shortest text of its double value,
// which reads back as exactly that double.
std::string asciiStl(const std::vector<Facet>& facets) {
    std::string text = "solid oracle\n";
    for (const Facet& f : facets) {
        text += "facet normal 0 0 1\nouter loop\n";
        for (int i = 0; i < 3; ++i) {
            text += "vertex";
            for (int k = 0; k < 3; ++k) {
                char number[64];
                const auto r = std::to_chars(number, number + sizeof number, double(f[3 * i + k]));
                text += ' ' + std::string(number, r.ptr);
            }
            text += '\n';
        }
        text += "endloop\nendfacet\n";
    }
    return text + "endsolid oracle\n";
}

} // namespace

TEST(StlTinImporterTest, BinaryCornersNumberedByBitsMatchTheAsciiReading) {
    // Binary corners are numbered by their float bits, ASCII corners by their double
    // values: over signed zeros, corners within the factory's tolerance and two heights at
    // one position, both readings must give the same points and triangles.
    std::vector<Facet> facets;
    auto node = [](int i, int j, bool flip) {
        float x = 0.5f * static_cast<float>(i) - 1.0f;
        float y = 0.5f * static_cast<float>(j) - 1.5f;
        if (flip) {
            x = x == 0.0f ? -0.0f : x;
            y = y == 0.0f ? -0.0f : y;
        }
        return std::array<float, 3>{x, y, 0.25f * x - 0.125f * y};
    };
    for (int i = 0; i < 7; ++i) {
        for (int j = 0; j < 6; ++j) {
            const bool flip = (i + j) % 2 == 1;
            const auto a = node(i, j, flip), b = node(i + 1, j, !flip), c = node(i + 1, j + 1, flip),
                       d = node(i, j + 1, !flip);
            facets.push_back({a[0], a[1], a[2], b[0], b[1], b[2], c[0], c[1], c[2]});
            facets.push_back({a[0], a[1], a[2], c[0], c[1], c[2], d[0], d[1], d[2]});
        }
    }
    // Corners a few 1e-9 off a node (other floats, one point for the factory), and a
    // facet above the grid sharing a node's position at another height.
    facets.push_back({3e-9f, 4e-9f, 0.0f, 20.0f, 0.0f, 0.0f, 20.0f, 1.0f, 0.0f});
    facets.push_back({-2e-9f, 0.0f, 0.0f, 20.0f, 1.0f, 0.0f, 19.0f, 1.0f, 0.0f});
    facets.push_back({0.5f, 0.5f, 7.0f, 21.0f, 0.5f, 7.0f, 21.0f, 1.5f, 7.0f});

    const Tin binary = readStl("bits.stl", binaryStl(facets));
    const std::string path = iotest::scratchFile("values.stl");
    iotest::writeFile(path, asciiStl(facets));
    const Tin ascii = StlTinImporter(tin::io::STL_ASCII).importTin(path.c_str());

    EXPECT_EQ(binary.pointCount(), ascii.pointCount());
    EXPECT_EQ(binary.allTriangles().size(), facets.size());
    EXPECT_EQ(unorientedKeys(binary), unorientedKeys(ascii));
    // 8 x 7 grid nodes (the corners near (0, 0) are the node there), three corners at
    // x = 19 and 20, one more height at (0.5, 0.5) and two corners at x = 21.
    EXPECT_EQ(binary.pointCount(), 8 * 7 + 3 + 1 + 2);
}

// A file of separate facets has six times the vertices a TIN of as many facets has: the
// vertex table, sized for a TIN, grows while earlier corners must still be found.
TEST(StlTinImporterTest, SeparateFacetsBeyondTheExpectedVertexCountKeepTheirCorners) {
    std::vector<Facet> facets;
    for (int k = 0; k < 3000; ++k) {
        const float x = 3.0f * static_cast<float>(k % 60), y = 3.0f * static_cast<float>(k / 60);
        facets.push_back({x, y, 1.0f, x + 1.0f, y, 2.0f, x, y + 1.0f, 3.0f});
    }
    // Repeats of facets far apart in the file share their corners with the first ones.
    for (int k = 0; k < 3000; k += 7) {
        facets.push_back(facets[static_cast<std::size_t>(k)]);
    }
    const Tin binary = readStl("soup.stl", binaryStl(facets));
    const std::string path = iotest::scratchFile("soup-ascii.stl");
    iotest::writeFile(path, asciiStl(facets));
    const Tin ascii = StlTinImporter(tin::io::STL_ASCII).importTin(path.c_str());
    EXPECT_EQ(binary.pointCount(), 3 * 3000);
    EXPECT_EQ(binary.allTriangles().size(), ascii.allTriangles().size());
    EXPECT_EQ(unorientedKeys(binary), unorientedKeys(ascii));
}

// A file large enough to be read on a second thread, a piece at a time: every piece must
// arrive once and in order, the last one short.
TEST(StlTinImporterTest, LargeBinaryFileReadAheadGivesEveryFacetInOrder) {
    const Tin tin = iotest::gridTin(151, 120, 1000.0, 2000.0); // 36240 facets: 8 pieces and a short one
    const std::string path = iotest::scratchFile("large.stl");
    StlTinExporter().exportTin(path.c_str(), tin);
    const Tin back = StlTinImporter().importTin(path.c_str());
    EXPECT_EQ(back.pointCount(), 152 * 121);
    EXPECT_EQ(unorientedKeys(back), unorientedKeys(tin));

    // A corner without a number in the last piece fails the read after all pieces came in.
    std::string bytes = iotest::readFile(path);
    const float nan = std::nanf("");
    std::memcpy(&bytes[bytes.size() - 50 + 12 + 4], &nan, sizeof nan);
    iotest::writeFile(path, bytes);
    EXPECT_THROW(StlTinImporter().importTin(path.c_str()), common::exception::InvalidFileFormatException);
}

// The read-ahead path interns its vertices a piece at a time. The points of a TIN dropped
// before it must be swept out before the new ones are made: left in the factory, they keep the
// pool from starting afresh, and the new vertices land scattered in what the old TIN freed
// instead of one after the other in the order the file first uses them.
TEST(StlTinImporterTest, ReadingAgainMakesItsPointsInFileOrderAfterTheDroppedRead) {
    // More vertices than four times one piece of interning, so that the first piece alone is
    // too small a request for the factory to sweep on its own.
    const std::string path = iotest::scratchFile("again.stl");
    StlTinExporter().exportTin(path.c_str(), iotest::gridTin(600, 500, 1000.0, 2000.0));
    StlTinImporter().importTin(path.c_str()); // dropped at once
    const Tin kept = StlTinImporter().importTin(path.c_str());
    ASSERT_EQ(kept.pointCount(), 601 * 501);
    // A fresh TIN's triangles iterate in the order they were added, the file's.
    std::unordered_set<const tin::core::Point*> seen;
    std::uintptr_t last = 0;
    int outOfOrder = 0;
    for (const auto& triangle : kept.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            const tin::core::Point* p = triangle->point(i).get();
            if (seen.insert(p).second) {
                const auto address = reinterpret_cast<std::uintptr_t>(p);
                outOfOrder += address < last ? 1 : 0;
                last = address;
            }
        }
    }
    EXPECT_EQ(outOfOrder, 0);
}
