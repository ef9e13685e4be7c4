// Whether a TIN is single-valued: small literal cases at the two tolerances, closed solids,
// randomly disturbed TINs against an all-pairs oracle on GEOS, shapes that strain the grid,
// and the real files (the shared solids refused, a survey TIN and its STL forms accepted).
#include "OverlayTestSupport.h"
#include "RealDataTestSupport.h"
#include "TinTestSupport.h"

#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/io/StlTinExporter.h"
#include "orlin/io/StlTinImporter.h"
#include "orlin/util/PlanOverlapCheck.h"

#include <geos/geom/Coordinate.h>
#include <geos/geom/CoordinateArraySequence.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/LinearRing.h>
#include <geos/geom/Polygon.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using tin::core::Point;
using tin::core::Tin;
using tin::core::Triangle;
using tin::util::PlanOverlapCheck;
using Fault = PlanOverlapCheck::Fault;

Fault faultOf(Tin const& tin)
{
    return PlanOverlapCheck::find(tin).fault;
}

std::unique_ptr<geos::geom::Polygon> planPolygon(Triangle const& t)
{
    auto const* factory = geos::geom::GeometryFactory::getDefaultInstance();
    auto ring = std::make_unique<geos::geom::CoordinateArraySequence>();
    for (int k = 0; k <= 3; ++k) {
        ring->add(geos::geom::Coordinate(t.point(k)->x(), t.point(k)->y()));
    }
    return factory->createPolygon(factory->createLinearRing(std::move(ring)));
}

double planArea(Triangle const& t)
{
    return std::abs(tintest::signedArea(t));
}

double spaceArea(Triangle const& t)
{
    Point const& a = *t.point1();
    Point const& b = *t.point2();
    Point const& c = *t.point3();
    const double ux = b.x() - a.x(), uy = b.y() - a.y(), uz = b.elevation() - a.elevation();
    const double vx = c.x() - a.x(), vy = c.y() - a.y(), vz = c.elevation() - a.elevation();
    return 0.5 * std::sqrt(std::pow(uy * vz - uz * vy, 2) + std::pow(uz * vx - ux * vz, 2) +
                           std::pow(ux * vy - uy * vx, 2));
}

bool vertical(Triangle const& t)
{
    return planArea(t) < PlanOverlapCheck::VERTICAL_RATIO * spaceArea(t);
}

// GEOS's area of the plan intersection, against the tolerance of the smaller triangle.
bool overlapByGeos(Triangle const& a, Triangle const& b)
{
    if (planArea(a) == 0.0 || planArea(b) == 0.0) {
        return false;
    }
    const double shared = planPolygon(a)->intersection(planPolygon(b).get())->getArea();
    return shared > PlanOverlapCheck::OVERLAP_RATIO * std::min(planArea(a), planArea(b));
}

// The oracle: every triangle and every pair.
Fault bruteForce(Tin const& tin)
{
    std::vector<std::shared_ptr<Triangle>> list(tin.allTriangles().begin(), tin.allTriangles().end());
    for (auto const& t : list) {
        if (vertical(*t)) {
            return Fault::Vertical;
        }
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        for (std::size_t j = i + 1; j < list.size(); ++j) {
            if (overlapByGeos(*list[i], *list[j])) {
                return Fault::Overlap;
            }
        }
    }
    return Fault::None;
}

// The finding is a true one: its triangles are of the TIN and show the fault named.
void expectFindingHolds(Tin const& tin)
{
    const PlanOverlapCheck::Finding finding = PlanOverlapCheck::find(tin);
    if (finding.fault == Fault::Vertical) {
        ASSERT_TRUE(tin.containsTriangle(finding.first));
        EXPECT_TRUE(vertical(*finding.first));
    } else if (finding.fault == Fault::Overlap) {
        ASSERT_TRUE(tin.containsTriangle(finding.first));
        ASSERT_TRUE(tin.containsTriangle(finding.second));
        EXPECT_TRUE(overlapByGeos(*finding.first, *finding.second));
    }
}

Tin grid(int nx, int ny, std::function<bool(int, int)> const& skip = [](int, int) { return false; })
{
    return tintest::tinOf(tintest::gridTriangles(nx, ny, skip, [](double x, double y) { return std::sin(x) + y; }));
}

TEST(PlanOverlapCheckTest, GridsWithHolesAndEitherOrientationAreSingleValued)
{
    EXPECT_EQ(faultOf(Tin()), Fault::None);
    EXPECT_EQ(faultOf(grid(1, 1)), Fault::None);
    EXPECT_EQ(faultOf(grid(40, 30)), Fault::None);
    EXPECT_EQ(faultOf(grid(30, 30, [](int i, int j) { return (i / 5 + j / 5) % 2 == 0; })), Fault::None)
        << "a chequerboard of holes, its regions touching at corners";
    // Every second triangle clockwise, far from the origin: orientation and magnitude count
    // for nothing.
    std::vector<tintest::Corners> corners =
        tintest::gridTriangles(20, 20, [](int, int) { return false; }, [](double x, double y) { return x * y; });
    Tin turned;
    for (std::size_t k = 0; k < corners.size(); ++k) {
        tintest::Corners c = corners[k];
        for (auto* p : {&c.a, &c.b, &c.c}) {
            *p = tintest::pt(640000.0 + 0.7 * (*p)->x(), 485000.0 + 0.7 * (*p)->y(), (*p)->elevation());
        }
        if (k % 2 == 1) {
            std::swap(c.b, c.c);
        }
        turned.addTriangle(Point(*c.a), Point(*c.b), Point(*c.c));
    }
    EXPECT_EQ(faultOf(turned), Fault::None);
}

TEST(PlanOverlapCheckTest, FoldedVertexDuplicateAndStackedSheetOverlap)
{
    // An inner vertex pulled across its neighbours' edges folds the surface.
    std::vector<tintest::PointPtr> nodes;
    std::vector<tintest::Corners> corners = tintest::gridTriangles(
        6, 6, [](int, int) { return false; }, [](double, double) { return 0.0; }, &nodes);
    Tin folded = tintest::tinOf(corners);
    nodes[3 * 7 + 3]->setX(4.4);
    EXPECT_EQ(faultOf(folded), Fault::Overlap);
    expectFindingHolds(folded);

    Tin twice = grid(5, 5);
    const std::shared_ptr<Triangle> one = *twice.allTriangles().begin();
    twice.addTriangle(one->point1(), one->point3(), one->point2());
    EXPECT_EQ(faultOf(twice), Fault::Overlap) << "a second triangle over the same corners";

    // A second sheet over part of the first, a metre higher, sharing no corner with it.
    Tin stacked = grid(10, 10);
    for (auto const& c : tintest::gridTriangles(2, 2, [](int, int) { return false; },
                                                [](double, double) { return 9.0; })) {
        stacked.addTriangle(Point(c.a->x() + 6.5, c.a->y() + 6.5, 20.0),
                            Point(c.b->x() + 6.5, c.b->y() + 6.5, 20.0),
                            Point(c.c->x() + 6.5, c.c->y() + 6.5, 20.0));
    }
    EXPECT_EQ(faultOf(stacked), Fault::Overlap);
    expectFindingHolds(stacked);
}

// Two halves of a unit square along its diagonal, the second pushed over the first by d
// along the x axis: they share a strip of area d (1 - d) of the halves' 0.5.
TEST(PlanOverlapCheckTest, SharedAreaCountsFromOneMillionthOfTheSmallerTriangle)
{
    const auto pushed = [](double d) {
        Tin tin;
        tin.addTriangle(Point(0, 0, 0.0), Point(1, 0, 0.0), Point(1, 1, 0.0));
        tin.addTriangle(Point(d, 0, 1.0), Point(1 + d, 1, 1.0), Point(d, 1, 1.0));
        return tin;
    };
    const double limit = PlanOverlapCheck::OVERLAP_RATIO * 0.5;
    for (const double d : {0.0, 0.9 * limit, 1.1 * limit, 0.01, 0.5}) {
        SCOPED_TRACE(d);
        const Tin tin = pushed(d);
        EXPECT_EQ(faultOf(tin), d * (1 - d) > limit ? Fault::Overlap : Fault::None);
        EXPECT_EQ(faultOf(tin), bruteForce(tin));
    }
    // A corner on the other triangle's edge, off by rounding: neighbours still.
    Tin touching;
    touching.addTriangle(Point(0, 0, 0.0), Point(3, 0, 0.0), Point(0, 3, 0.0));
    touching.addTriangle(Point(1.0000000000000002, 2, 0.0), Point(3, 0, 0.0), Point(3, 3, 0.0));
    EXPECT_EQ(faultOf(touching), Fault::None);
}

TEST(PlanOverlapCheckTest, VerticalTriangleIsAFaultASteepOneAndACollinearOneAreNot)
{
    const auto withTriangle = [](Point const& a, Point const& b, Point const& c) {
        Tin tin = grid(4, 4);
        tin.addTriangle(a, b, c);
        return tin;
    };
    // A wall 10 m high on a 1 m base, leaning by 1e-8 m and by 1e-12 m.
    EXPECT_EQ(faultOf(withTriangle(Point(10, 0, 0.0), Point(11, 0, 0.0), Point(10.5, 1e-8, 10.0))), Fault::None);
    EXPECT_EQ(faultOf(withTriangle(Point(10, 0, 0.0), Point(11, 0, 0.0), Point(10.5, 1e-12, 10.0))), Fault::Vertical);
    EXPECT_EQ(faultOf(withTriangle(Point(10, 0, 0.0), Point(11, 0, 0.0), Point(10.5, 0, 10.0))), Fault::Vertical);
    // Three corners on one line in space have no interior.
    EXPECT_EQ(faultOf(withTriangle(Point(10, 0, 0.0), Point(11, 1, 1.0), Point(12, 2, 2.0))), Fault::None);
    const Tin wall = withTriangle(Point(10, 0, 0.0), Point(11, 0, 0.0), Point(10.5, 0, 10.0));
    EXPECT_EQ(bruteForce(wall), Fault::Vertical);
    expectFindingHolds(wall);
}

TEST(PlanOverlapCheckTest, ClosedSolidsAreRefused)
{
    // A cube: its walls stand vertical.
    Tin cube;
    const double v[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    const int faces[12][3] = {{0, 2, 1}, {0, 3, 2}, {4, 5, 6}, {4, 6, 7}, {0, 1, 5}, {0, 5, 4},
                              {1, 2, 6}, {1, 6, 5}, {2, 3, 7}, {2, 7, 6}, {3, 0, 4}, {3, 4, 7}};
    for (const auto& f : faces) {
        cube.addTriangle(Point(v[f[0]][0], v[f[0]][1], v[f[0]][2]), Point(v[f[1]][0], v[f[1]][1], v[f[1]][2]),
                         Point(v[f[2]][0], v[f[2]][1], v[f[2]][2]));
    }
    EXPECT_EQ(faultOf(cube), Fault::Vertical);
    // An octahedron has no vertical face: its upper half lies over its lower half.
    Tin octahedron;
    const Point top(0, 0, 1.0), bottom(0, 0, -1.0);
    const Point ring[4] = {Point(1, 0, 0.0), Point(0, 1, 0.0), Point(-1, 0, 0.0), Point(0, -1, 0.0)};
    for (int k = 0; k < 4; ++k) {
        octahedron.addTriangle(ring[k], ring[(k + 1) % 4], top);
        octahedron.addTriangle(ring[(k + 1) % 4], ring[k], bottom);
    }
    EXPECT_EQ(faultOf(octahedron), Fault::Overlap);
    expectFindingHolds(octahedron);
}

// Jittered grids, each disturbed in one of several ways that may or may not fold it, against
// the all-pairs oracle.
TEST(PlanOverlapCheckTest, AgreesWithAllPairsOnRandomlyDisturbedTins)
{
    std::mt19937 random(60);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int faults[3] = {0, 0, 0};
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        std::vector<tintest::PointPtr> nodes;
        std::vector<tintest::Corners> corners = tintest::gridTriangles(
            6, 5, [&](int, int) { return unit(random) < 0.1; },
            [&](double, double) { return 3.0 * unit(random); }, &nodes);
        for (const auto& p : nodes) {
            p->setX(p->x() + 0.3 * (unit(random) - 0.5));
            p->setY(p->y() + 0.3 * (unit(random) - 0.5));
        }
        Tin tin = tintest::tinOf(corners);
        switch (round % 3) {
        case 0: { // a vertex thrown, perhaps across a neighbour
            const auto& p = nodes[static_cast<std::size_t>(unit(random) * nodes.size())];
            p->setX(p->x() + 2.0 * (unit(random) - 0.5));
            p->setY(p->y() + 2.0 * (unit(random) - 0.5));
            break;
        }
        case 1: { // a triangle over three random corners of the grid
            const auto pick = [&] { return nodes[static_cast<std::size_t>(unit(random) * nodes.size())]; };
            tin.addTriangle(pick(), pick(), pick());
            break;
        }
        default: { // a loose triangle somewhere near or over the grid
            const double x = 8.0 * unit(random) - 1.0, y = 7.0 * unit(random) - 1.0;
            tin.addTriangle(Point(x, y, 5.0), Point(x + 0.6 * unit(random), y + 0.1, 5.0),
                            Point(x, y + 0.6 * unit(random), 5.0));
            break;
        }
        }
        const Fault expected = bruteForce(tin);
        ASSERT_EQ(faultOf(tin), expected);
        expectFindingHolds(tin);
        ++faults[static_cast<int>(expected)];
    }
    // Both answers are exercised.
    EXPECT_GT(faults[static_cast<int>(Fault::None)], 20);
    EXPECT_GT(faults[static_cast<int>(Fault::Overlap)], 20);
}

// Shapes that a grid over the box handles badly: a narrow strip along the diagonal of a
// large box (most cells empty), and huge triangles reaching over all of it.
TEST(PlanOverlapCheckTest, DiagonalStripAndHugeTrianglesAreComparedWhereTheyMeet)
{
    Tin strip;
    const int length = 3000;
    for (int i = 0; i < length; ++i) {
        // Cells of 1 m by 0.5 m along the line y = x, across it 2 m wide.
        const auto at = [](int s, int t) { return Point(s * 0.7 - t * 0.7, s * 0.7 + t * 0.7, double(s % 7)); };
        for (int t = 0; t < 2; ++t) {
            strip.addTriangle(at(i, t), at(i + 1, t), at(i + 1, t + 1));
            strip.addTriangle(at(i, t), at(i + 1, t + 1), at(i, t + 1));
        }
    }
    EXPECT_EQ(faultOf(strip), Fault::None);
    // A huge triangle beside the strip, its box over all of it: no overlap.
    Tin beside = strip;
    beside.addTriangle(Point(100, -10, 0.0), Point(length * 0.7 + 100, -10, 0.0),
                       Point(length * 0.7 + 100, length * 0.7 - 110, 0.0));
    EXPECT_EQ(faultOf(beside), Fault::None);
    // A huge one under the strip's far end, and a small one over its middle.
    Tin under = beside;
    under.addTriangle(Point(length * 0.7 - 20, length * 0.7 - 20, -5.0), Point(length * 0.7 + 50, length * 0.7 - 20, -5.0),
                      Point(length * 0.7 - 20, length * 0.7 + 50, -5.0));
    EXPECT_EQ(faultOf(under), Fault::Overlap);
    expectFindingHolds(under);
    Tin over = beside;
    over.addTriangle(Point(1000.1, 1000.3, 9.0), Point(1000.2, 1000.3, 9.0), Point(1000.1, 1000.4, 9.0));
    EXPECT_EQ(faultOf(over), Fault::Overlap);
    expectFindingHolds(over);
}

std::string scratchFile(const char* name)
{
    return ::testing::TempDir() + name;
}

TEST(RealDataPlanOverlapTest, SharedSolidsAreRefused)
{
    for (const char* name : {"hmstl_scene-thick_binary.stl", "numpystl_binary_Moon.stl",
                             "numpystl_ascii_HalfDonut.stl", "numpystl_binary_Star.stl",
                             "numpystl_ascii_Cube.stl"}) {
        SCOPED_TRACE(name);
        const Tin tin = tin::io::StlTinImporter().importTin(realdata::dataPath(std::string("stl/") + name).c_str());
        EXPECT_NE(faultOf(tin), Fault::None);
        expectFindingHolds(tin);
    }
}

// The survey's Delaunay TIN, and the same written as ASCII STL and, moved near the origin
// (single precision at map coordinates rounds to 1/16 m, which folds the slivers along the
// hull), as binary STL, and read back.
TEST(RealDataPlanOverlapTest, SurveyTinAndItsStlFormsAreSingleValued)
{
    const std::vector<realdata::Xyz> points =
        realdata::readXyzLines(realdata::dataPath("points/warsaw_small-ground.tpo"));
    std::vector<overlaytest::Vertex> vertices(points.begin(), points.end());
    const Tin survey = overlaytest::makeTin(vertices, overlaytest::delaunay(vertices));
    ASSERT_GT(survey.allTriangles().size(), 2000u);
    EXPECT_EQ(faultOf(survey), Fault::None);
    for (auto& v : vertices) {
        v[0] -= 639900.0;
        v[1] -= 485100.0;
    }
    const Tin local = overlaytest::makeTin(vertices, overlaytest::delaunay(vertices));
    for (const tin::io::StlType type : {tin::io::STL_BINARY, tin::io::STL_ASCII}) {
        const bool binary = type == tin::io::STL_BINARY;
        const std::string path = scratchFile(binary ? "survey-b.stl" : "survey-a.stl");
        tin::io::StlTinExporter(type).exportTin(path.c_str(), binary ? local : survey);
        const Tin read = tin::io::StlTinImporter().importTin(path.c_str());
        EXPECT_EQ(read.allTriangles().size(), survey.allTriangles().size());
        EXPECT_EQ(faultOf(read), Fault::None) << path;
        std::remove(path.c_str());
    }
}

} // namespace
