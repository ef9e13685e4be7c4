// STL files written by other programs: four closed models in ASCII and binary form (one binary
// header begins with "solid", one with " solid", one is blank) and a terrain solid.

#include "RealDataTestSupport.h"

#include "orlin/core/Tin.h"
#include "orlin/io/StlTinImporter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using realdata::Facet;

std::string stl(const std::string& name) {
    return realdata::dataPath("stl/" + name);
}

double totalArea(const std::vector<Facet>& facets) {
    double sum = 0.0;
    for (const auto& f : facets) {
        sum += realdata::area3d(f);
    }
    return sum;
}

std::vector<Facet> facetsOf(const tin::core::Tin& tin) {
    std::vector<Facet> facets;
    for (const auto& t : tin.allTriangles()) {
        facets.push_back(realdata::facetOf(*t));
    }
    return facets;
}

// Every facet of a has one of b within the tolerance, vertex for vertex in the same order up to
// rotation, and the counts agree. Coordinates are compared with a tolerance even for one file
// read twice: the point factory hands back any live point within 1e-8 of a vertex.
bool sameUpToRotation(const Facet& f, Facet g, double tolerance) {
    for (int r = 0; r < 3; ++r) {
        if (realdata::sameFacets(f, g, tolerance)) {
            return true;
        }
        std::rotate(g.begin(), g.begin() + 1, g.end());
    }
    return false;
}

void expectSameFacets(std::vector<Facet> a, std::vector<Facet> b, double tolerance) {
    ASSERT_EQ(a.size(), b.size());
    for (auto& f : a) {
        f = realdata::canonical(f);
    }
    for (auto& f : b) {
        f = realdata::canonical(f);
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    std::vector<bool> used(b.size(), false);
    for (std::size_t i = 0; i < a.size(); ++i) {
        // Sorted alike, the twin is nearly always at the same place; search only when not.
        bool found = !used[i] && sameUpToRotation(a[i], b[i], tolerance);
        if (found) {
            used[i] = true;
        }
        for (std::size_t j = 0; j < b.size() && !found; ++j) {
            if (!used[j] && sameUpToRotation(a[i], b[j], tolerance)) {
                used[j] = true;
                found = true;
            }
        }
        EXPECT_TRUE(found) << "facet at " << a[i][0][0] << " " << a[i][0][1] << " " << a[i][0][2] << " has no twin";
    }
}

// The models are closed solids: with vertices shared, every edge has exactly two facets.
void expectClosed(const tin::core::Tin& tin) {
    const realdata::TinTopology topo = realdata::topologyOf(tin);
    for (const auto& [edge, uses] : topo.edgeUse) {
        EXPECT_EQ(uses, 2) << "an edge on the open boundary of a closed model";
    }
}

class RealDataStlModelTest : public ::testing::TestWithParam<std::string> {};

TEST_P(RealDataStlModelTest, AsciiAndBinaryFormsGiveTheSameFacets) {
    const std::string ascii = stl("numpystl_ascii_" + GetParam() + ".stl");
    const std::string binary = stl("numpystl_binary_" + GetParam() + ".stl");

    const tin::core::Tin fromAscii = tin::io::StlTinImporter().importTin(ascii.c_str());
    const tin::core::Tin fromBinary = tin::io::StlTinImporter().importTin(binary.c_str());
    const auto asciiFacets = realdata::readAsciiStlFacets(ascii);
    const auto binaryFacets = realdata::readBinaryStlFacets(binary);

    EXPECT_EQ(fromAscii.allTriangles().size(), asciiFacets.size());
    EXPECT_EQ(fromBinary.allTriangles().size(), binaryFacets.size());
    expectSameFacets(facetsOf(fromAscii), asciiFacets, 1e-8);
    expectSameFacets(facetsOf(fromBinary), binaryFacets, 1e-8);
    // The two forms of one model: the same facets up to float rounding.
    expectSameFacets(facetsOf(fromAscii), facetsOf(fromBinary), 2e-6);
    EXPECT_NEAR(totalArea(facetsOf(fromAscii)), totalArea(facetsOf(fromBinary)),
                1e-5 * totalArea(asciiFacets));
    expectClosed(fromAscii);
    expectClosed(fromBinary);
}

INSTANTIATE_TEST_SUITE_P(Models, RealDataStlModelTest, ::testing::Values("Cube", "HalfDonut", "Moon", "Star"));

TEST(RealDataStlTest, BlankHeaderReadsAsBinary) {
    const std::string path = stl("numpystl_binary_StarWithEmptyHeader.stl");
    const tin::core::Tin tin = tin::io::StlTinImporter().importTin(path.c_str());
    expectSameFacets(facetsOf(tin), realdata::readBinaryStlFacets(path), 1e-8);
    const tin::core::Tin named =
        tin::io::StlTinImporter().importTin(stl("numpystl_binary_Star.stl").c_str());
    EXPECT_EQ(realdata::canonicalFacets(tin), realdata::canonicalFacets(named));
}

TEST(RealDataStlTest, BinaryWithSolidHeaderAndOneTrailingByteOrIndentedSolidReadsAsBinary) {
    for (const auto& [name, start] : {std::pair<const char*, const char*>{"numpystl_binary_HalfDonut.stl", "solid"},
                                      {"numpystl_binary_Cube.stl", " solid"}}) {
        const std::string path = stl(name);
        ASSERT_EQ(realdata::slurp(path).rfind(start, 0), 0u) << name;
        const tin::core::Tin tin = tin::io::StlTinImporter().importTin(path.c_str());
        expectSameFacets(facetsOf(tin), realdata::readBinaryStlFacets(path), 1e-8);
    }
}

TEST(RealDataStlTest, TerrainSolidReadsEveryFacet) {
    const std::string path = stl("hmstl_scene-thick_binary.stl");
    const auto facets = realdata::readBinaryStlFacets(path);
    ASSERT_EQ(facets.size(), 29184u);
    const tin::core::Tin tin = tin::io::StlTinImporter().importTin(path.c_str());
    EXPECT_EQ(tin.allTriangles().size(), 29184u);
    expectSameFacets(facetsOf(tin), facets, 1e-8);

    // Shared vertices: as many distinct positions as the file's facets use.
    std::set<realdata::Xyz> positions;
    for (const auto& f : facets) {
        positions.insert(f.begin(), f.end());
    }
    EXPECT_EQ(tin.pointCount(), static_cast<int>(positions.size()));
}

} // namespace
