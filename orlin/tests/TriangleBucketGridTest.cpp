#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "OverlayTestSupport.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/OverlayTriangulation.h"
#include "orlin/util/TriangleBucketGrid.h"

using tin::core::Point2D;
using tin::core::Triangle;
using tin::util::TriangleBucketGrid;

namespace {

std::vector<std::shared_ptr<Triangle>> listOf(tin::core::Tin const& tin)
{
    return std::vector<std::shared_ptr<Triangle>>(tin.allTriangles().begin(), tin.allTriangles().end());
}

// The oracle: the first triangle in list order that holds p.
std::shared_ptr<Triangle> scan(std::vector<std::shared_ptr<Triangle>> const& list, Point2D const& p)
{
    double z = 0.0;
    for (auto const& t : list) {
        if (t->interpolateElevation(p, &z, false)) {
            return t;
        }
    }
    return nullptr;
}

// A long, flat cloud: x in [low, high], y in 0.3 [low, high].
std::vector<Point2D> randomPoints(unsigned seed, int count, double low, double high)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coordinate(low, high);
    std::vector<Point2D> points;
    for (int i = 0; i < count; ++i) {
        double const x = coordinate(random);
        points.emplace_back(x, coordinate(random) * 0.3);
    }
    return points;
}

tin::core::Tin randomTin(unsigned seed, int count)
{
    std::vector<overlaytest::Vertex> vertices;
    for (auto const& p : randomPoints(seed, count, -50.0, 150.0)) {
        vertices.push_back({p.x(), p.y(), 0.0});
    }
    return overlaytest::makeTin(vertices, overlaytest::delaunay(vertices));
}

} // namespace

TEST(TriangleBucketGridTest, FindsWhatAScanOfTheListFinds)
{
    // A long, flat cloud: cells far from square in the triangles' own terms.
    auto const tin = randomTin(7, 400);
    auto const list = listOf(tin);
    TriangleBucketGrid const grid(list);
    int found = 0;
    for (auto const& p : randomPoints(11, 3000, -60.0, 160.0)) {
        auto const expected = scan(list, p);
        EXPECT_EQ(grid.findContaining(p), expected);
        found += expected ? 1 : 0;
    }
    EXPECT_GT(found, 1000);
    // Vertices and edge midpoints lie on several triangles: the first in list order wins.
    for (auto const& t : list) {
        for (int k = 0; k < 3; ++k) {
            Point2D const vertex(t->point(k)->x(), t->point(k)->y());
            EXPECT_EQ(grid.findContaining(vertex), scan(list, vertex));
            Point2D const middle((t->point(k)->x() + t->point(k + 1)->x()) / 2.0,
                                 (t->point(k)->y() + t->point(k + 1)->y()) / 2.0);
            EXPECT_EQ(grid.findContaining(middle), scan(list, middle));
        }
    }
}

TEST(TriangleBucketGridTest, AgreesWithTheTriangleTestAtItsTolerance)
{
    // Points pushed off each side's middle, outward and inward, by distances around the
    // weight tolerance of the triangle test: the grid must decide each one as the scan does.
    auto const tin = randomTin(19, 120);
    auto const list = listOf(tin);
    TriangleBucketGrid const grid(list);
    int outside = 0, inside = 0;
    for (auto const& t : list) {
        for (int k = 0; k < 3; ++k) {
            auto const& a = *t->point(k);
            auto const& b = *t->point(k + 1);
            auto const& c = *t->point(k + 2);
            double const mx = (a.x() + b.x()) / 2.0, my = (a.y() + b.y()) / 2.0;
            // The side's normal, pointing away from the opposite corner, scaled to the
            // corner's distance from the side: a push of f changes that corner's weight by f.
            double nx = b.y() - a.y(), ny = a.x() - b.x();
            double const toC = (c.x() - mx) * nx + (c.y() - my) * ny;
            double const scale = -toC / (nx * nx + ny * ny);
            nx *= scale;
            ny *= scale;
            for (double f : {-3e-8, -1.2e-8, -1e-8, -0.8e-8, -1e-9, 0.0, 1e-9, 1e-8, 3e-8}) {
                Point2D const p(mx + f * nx, my + f * ny);
                auto const expected = scan(list, p);
                EXPECT_EQ(grid.findContaining(p), expected);
                (expected ? inside : outside) += 1;
            }
        }
    }
    EXPECT_GT(inside, 0);
    EXPECT_GT(outside, 0);
}

TEST(TriangleBucketGridTest, EmptyListFarPointsAndNotANumberFindNothing)
{
    TriangleBucketGrid const empty({});
    EXPECT_EQ(empty.findContaining(Point2D(0, 0)), nullptr);
    auto const range = empty.candidates(0, 0);
    EXPECT_EQ(range.first, range.second);

    auto const tin = overlaytest::makeTin({{0, 0, 0}, {2, 0, 0}, {0, 2, 0}}, {{0, 1, 2}});
    TriangleBucketGrid const one(listOf(tin));
    EXPECT_NE(one.findContaining(Point2D(0.5, 0.5)), nullptr);
    // The grid's far corner belongs to the last cell.
    EXPECT_NE(one.findContaining(Point2D(2, 0)), nullptr);
    EXPECT_NE(one.findContaining(Point2D(0, 2)), nullptr);
    EXPECT_EQ(one.findContaining(Point2D(2.0000001, 0)), nullptr);
    EXPECT_EQ(one.findContaining(Point2D(-1e-9, 0.5)), nullptr);
    EXPECT_EQ(one.findContaining(Point2D(1e300, 1e300)), nullptr);
    double const nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(one.findContaining(Point2D(nan, 0.5)), nullptr);
    EXPECT_EQ(one.findContaining(Point2D(0.5, nan)), nullptr);
}

TEST(TriangleBucketGridTest, LongThinTrianglesDoNotFillEveryCell)
{
    // Slivers spanning the whole width beside many small triangles: filing each sliver in a
    // row of fine cells would take quadratic room; the grid coarsens and still finds them.
    std::vector<overlaytest::Vertex> vertices;
    std::vector<overlaytest::Corners> triangles;
    int const small = 4000;
    for (int i = 0; i < small; ++i) {
        double const x = (i % 100) * 1.0, y = (i / 100) * 1.0;
        int const base = static_cast<int>(vertices.size());
        vertices.push_back({x, y, 0});
        vertices.push_back({x + 0.9, y, 0});
        vertices.push_back({x, y + 0.9, 0});
        triangles.push_back({base, base + 1, base + 2});
    }
    for (int k = 0; k < 2000; ++k) {
        double const y = -1.0 - k * 0.002;
        int const base = static_cast<int>(vertices.size());
        vertices.push_back({0, y, 0});
        vertices.push_back({100, y, 0});
        vertices.push_back({100, y - 0.001, 0});
        triangles.push_back({base, base + 1, base + 2});
    }
    auto const tin = overlaytest::makeTin(vertices, triangles);
    auto const list = listOf(tin);
    TriangleBucketGrid const grid(list);
    std::size_t filings = 0;
    for (double x = 0.05; x < 100; x += 0.5) {
        for (double y = -6.0; y < 40; y += 0.5) {
            auto const range = grid.candidates(x, y);
            filings = std::max<std::size_t>(filings, static_cast<std::size_t>(range.second - range.first));
            Point2D const p(x, y);
            ASSERT_EQ(grid.findContaining(p), scan(list, p));
        }
    }
    // Coarser cells hold more candidates, but not the whole list.
    EXPECT_LT(filings, list.size());
    for (int k = 0; k < 2000; k += 37) {
        Point2D const p(99.9, -1.0 - k * 0.002 - 0.0001);
        EXPECT_NE(grid.findContaining(p), nullptr);
    }
}

TEST(TriangleBucketGridTest, PlaneElevationIsTheOverlaysPlaneElevationBitForBit)
{
    // Elevations on a wavy surface; points inside, on corners, on sides and just outside.
    std::vector<overlaytest::Vertex> vertices;
    for (auto const& p : randomPoints(23, 200, -20.0, 80.0)) {
        vertices.push_back({p.x(), p.y(), std::sin(p.x() * 0.3) * 7.0 + p.y() * 0.11});
    }
    auto const tin = overlaytest::makeTin(vertices, overlaytest::delaunay(vertices));
    auto const list = listOf(tin);
    TriangleBucketGrid const grid(list);
    std::mt19937 random(29);
    std::uniform_real_distribution<double> weight(-0.01, 1.0);
    for (std::uint32_t n = 0; n < list.size(); ++n) {
        auto const& t = *list[n];
        std::vector<Point2D> points;
        for (int k = 0; k < 3; ++k) {
            points.emplace_back(t.point(k)->x(), t.point(k)->y());
            points.emplace_back((t.point(k)->x() + t.point(k + 1)->x()) / 2.0,
                                (t.point(k)->y() + t.point(k + 1)->y()) / 2.0);
        }
        for (int j = 0; j < 4; ++j) {
            double const a = weight(random), b = weight(random) * (1.0 - a);
            double const c = 1.0 - a - b;
            points.emplace_back(a * t.point(0)->x() + b * t.point(1)->x() + c * t.point(2)->x(),
                                a * t.point(0)->y() + b * t.point(1)->y() + c * t.point(2)->y());
        }
        for (auto const& p : points) {
            double const expected = tin::util::OverlayTriangulation::planeElevation(t, p);
            double const got = grid.planeElevation(n, p.x(), p.y());
            EXPECT_EQ(std::memcmp(&expected, &got, sizeof got), 0) << expected << " " << got;
        }
    }
}
