// Ground points of four laser surveys, read as point text, triangulated over their convex hull
// and written to and read from the TIN archive and STL.

#include "RealDataTestSupport.h"
#include "IoTestSupport.h"

#include "orlin/core/Point.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/io/StlTinExporter.h"
#include "orlin/io/StlTinImporter.h"
#include "orlin/io/TinTinExporter.h"
#include "orlin/io/TinTinImporter.h"
#include "orlin/io/TpoPointSetImporter.h"
#include "orlin/util/PointSetToTin.h"

#include <geos/geom/Geometry.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace {

using realdata::Xyz;

class RealDataPointSetTest : public ::testing::TestWithParam<std::string> {
protected:
    std::string path() const { return realdata::dataPath("points/" + GetParam()); }
};

// The survey with its points moved next to the origin, so that STL's 32-bit floats keep
// them apart: a caller exporting map coordinates has to do the same.
tin::core::PointSet shiftedSet(const std::vector<Xyz>& points, double dx, double dy) {
    tin::core::PointSet set;
    for (const auto& p : points) {
        set.addPoint(tin::core::Point(p[0] - dx, p[1] - dy, p[2]));
    }
    return set;
}

TEST_P(RealDataPointSetTest, TriangulationCoversTheHullWithCounterClockwiseTrianglesThroughEveryPoint) {
    const auto expected = realdata::readXyzLines(path());
    ASSERT_GT(expected.size(), 500u);
    const tin::core::PointSet set = tin::io::TpoPointSetImporter().importPointSet(path().c_str());
    std::set<Xyz> read;
    for (const auto& p : set.allPoints()) {
        read.insert(realdata::xyz(*p));
    }
    EXPECT_EQ(read, std::set<Xyz>(expected.begin(), expected.end())) << "the reader keeps every point";

    const tin::core::Tin tin = tin::util::PointSetToTin::convertCleanPointSet(set, false, false);
    ASSERT_FALSE(tin.empty());
    std::set<std::pair<double, double>> vertexPositions;
    for (const auto& t : tin.allTriangles()) {
        EXPECT_GT(realdata::signedArea2(realdata::facetOf(*t)), 0.0)
            << "triangle at " << t->point1()->x() << ", " << t->point1()->y() << " is not counter-clockwise";
        for (int i = 0; i < 3; ++i) {
            vertexPositions.emplace(t->point(i)->x(), t->point(i)->y());
        }
    }
    std::set<std::pair<double, double>> inputPositions;
    for (const auto& p : expected) {
        inputPositions.emplace(p[0], p[1]);
    }
    EXPECT_EQ(vertexPositions, inputPositions) << "the points are exactly the vertices";
    EXPECT_EQ(tin.pointCount(), static_cast<int>(inputPositions.size()));

    const realdata::TinTopology topo = realdata::topologyOf(tin);
    EXPECT_EQ(topo.components, 1u);
    EXPECT_EQ(static_cast<long>(topo.vertices) - static_cast<long>(topo.edges) + static_cast<long>(topo.faces), 1L)
        << "V - E + F of a disc";
    for (const auto& [edge, uses] : topo.edgeUse) {
        EXPECT_LE(uses, 2) << "an edge with more than two triangles";
    }
    const double hull = realdata::convexHullArea(expected);
    EXPECT_NEAR(realdata::planArea(tin), hull, 1e-6 * hull) << "triangles fill the hull without overlap";
    EXPECT_NEAR(tin.geosGeometry()->getArea(), hull, 1e-6 * hull) << "outline of the TIN";

    for (const auto& p : expected) {
        double z = -1e300;
        ASSERT_TRUE(tin.interpolatedElevation(tin::core::Point(p[0], p[1]), &z)) << p[0] << ", " << p[1];
        EXPECT_NEAR(z, p[2], 1e-9) << p[0] << ", " << p[1];
    }
}

TEST_P(RealDataPointSetTest, ArchiveRoundTripGivesTheSameTriangles) {
    const tin::core::PointSet set = tin::io::TpoPointSetImporter().importPointSet(path().c_str());
    const tin::core::Tin tin = tin::util::PointSetToTin::convertCleanPointSet(set, false, false);
    const std::string file = iotest::scratchFile("realdata_" + GetParam() + ".tin");

    tin::io::TinTinExporter().exportTin(file.c_str(), tin);
    EXPECT_EQ(std::filesystem::file_size(file), tin::io::TinTinExporter::size(tin));
    const tin::core::Tin back = tin::io::TinTinImporter().importTin(file.c_str());

    EXPECT_EQ(back.allTriangles().size(), tin.allTriangles().size());
    EXPECT_EQ(realdata::canonicalFacets(back), realdata::canonicalFacets(tin));
    EXPECT_EQ(back.pointCount(), tin.pointCount());
}

TEST_P(RealDataPointSetTest, StlRoundTripKeepsTrianglesAndArea) {
    const auto points = realdata::readXyzLines(path());
    // Whole metres, so the shift itself is exact.
    const double dx = std::floor(points.front()[0]);
    const double dy = std::floor(points.front()[1]);
    const tin::core::Tin tin =
        tin::util::PointSetToTin::convertCleanPointSet(shiftedSet(points, dx, dy), false, false);
    const double area = realdata::planArea(tin);

    // Binary narrows to float: compare with the triangles' own coordinates narrowed the same way.
    std::vector<realdata::Facet> narrowed;
    for (const auto& t : tin.allTriangles()) {
        realdata::Facet f = realdata::facetOf(*t);
        for (auto& v : f) {
            for (auto& c : v) {
                c = static_cast<float>(c);
            }
        }
        narrowed.push_back(realdata::sortedVertices(f));
    }
    std::sort(narrowed.begin(), narrowed.end());

    for (const tin::io::StlType type : {tin::io::STL_BINARY, tin::io::STL_ASCII}) {
        SCOPED_TRACE(type == tin::io::STL_BINARY ? "binary" : "ASCII");
        const std::string file = iotest::scratchFile("realdata_" + GetParam() + std::to_string(int(type)) + ".stl");
        tin::io::StlTinExporter(type).exportTin(file.c_str(), tin);
        const tin::core::Tin back = tin::io::StlTinImporter().importTin(file.c_str());

        ASSERT_EQ(back.allTriangles().size(), tin.allTriangles().size());
        EXPECT_NEAR(realdata::planArea(back), area, 1e-6 * area);
        EXPECT_EQ(back.pointCount(), tin.pointCount()) << "facets share their vertices again";
        for (const auto& t : back.allTriangles()) {
            EXPECT_GT(realdata::signedArea2(realdata::facetOf(*t)), 0.0) << "facets face upwards";
        }
        if (type == tin::io::STL_BINARY) {
            std::vector<realdata::Facet> read;
            for (const auto& t : back.allTriangles()) {
                read.push_back(realdata::sortedVertices(realdata::facetOf(*t)));
            }
            std::sort(read.begin(), read.end());
            ASSERT_EQ(read.size(), narrowed.size());
            // The point factory hands back a live point within 1e-8 of a float-rounded vertex.
            for (std::size_t i = 0; i < read.size(); ++i) {
                EXPECT_TRUE(realdata::sameFacets(read[i], narrowed[i], 1e-8))
                    << "facet " << i << " at " << read[i][0][0] << ", " << read[i][0][1];
            }
        }
    }
}

TEST_P(RealDataPointSetTest, SimplifiedSurfaceStaysWithinItsErrorOfEverySurveyedPoint) {
    const auto expected = realdata::readXyzLines(path());
    const tin::core::PointSet set = tin::io::TpoPointSetImporter().importPointSet(path().c_str());
    const double maxError = 0.05;
    const tin::core::Tin tin = tin::util::PointSetToTin::convertToSimplifiedTin(set, maxError);

    EXPECT_LT(tin.pointCount(), static_cast<int>(expected.size()));
    const std::set<Xyz> input(expected.begin(), expected.end());
    for (const auto& t : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(input.count(realdata::xyz(*t->point(i))), 1u) << "a vertex that was not surveyed";
        }
    }
    for (const auto& p : expected) {
        double z = 0.0;
        ASSERT_TRUE(tin.interpolatedElevation(tin::core::Point(p[0], p[1]), &z)) << p[0] << ", " << p[1];
        EXPECT_LE(std::abs(z - p[2]), maxError + 1e-9) << p[0] << ", " << p[1];
    }
    const double hull = realdata::convexHullArea(expected);
    EXPECT_NEAR(realdata::planArea(tin), hull, 1e-6 * hull);
}

INSTANTIATE_TEST_SUITE_P(GroundPoints, RealDataPointSetTest,
                         ::testing::Values("warsaw_small-ground.tpo", "sample_c-ground.tpo",
                                           "autzen-bmx-2010-ground.tpo", "autzen-bmx-2023-ground.tpo"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.substr(0, info.param.find('-'));
                             if (info.param.find("2010") != std::string::npos) {
                                 name += "2010";
                             } else if (info.param.find("2023") != std::string::npos) {
                                 name += "2023";
                             }
                             return name;
                         });

} // namespace
