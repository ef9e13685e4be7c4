#include "orlin/core/Edge.h"
#include "orlin/core/EdgeFactory.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"
#include "orlin/core/Triangle.h"

#include <geos/geom/Polygon.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <stdexcept>

using namespace tin::core;

namespace {

const double PI = 3.141592653589793;

using PointPtr = std::shared_ptr<Point>;

std::shared_ptr<Triangle> makeTriangle(const PointPtr& a, const PointPtr& b, const PointPtr& c)
{
    EdgeFactory& f = EdgeFactory::instance();
    return std::make_shared<Triangle>(a, b, c, f.factory(b, c), f.factory(c, a), f.factory(a, b));
}

PointPtr pt(double x, double y, double z = 0.0)
{
    return std::make_shared<Point>(x, y, z);
}

// Elevation of the plane through three points, by Cramer's rule (an independent oracle).
double planeAt(const Point& a, const Point& b, const Point& c, double x, double y)
{
    const double ux = b.x() - a.x(), uy = b.y() - a.y(), uz = b.elevation() - a.elevation();
    const double vx = c.x() - a.x(), vy = c.y() - a.y(), vz = c.elevation() - a.elevation();
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    return a.elevation() - (nx * (x - a.x()) + ny * (y - a.y())) / nz;
}

} // namespace

class UnitTriangleTest : public ::testing::Test {
protected:
    PointPtr p1 = pt(0, 0, 0.0), p2 = pt(1, 0, 10.0), p3 = pt(0, 1, 20.0);
    std::shared_ptr<Triangle> t = makeTriangle(p1, p2, p3);
};

TEST_F(UnitTriangleTest, BorderToleranceIsMinusOneE8Inclusive)
{
    double z = -1;
    EXPECT_TRUE(t->interpolateElevation(Point2D(0.5 + 5e-10, 0.5 + 5e-10), &z, false));
    z = -1;
    EXPECT_FALSE(t->interpolateElevation(Point2D(0.5 + 1e-6, 0.5 + 1e-6), &z, false));
    EXPECT_EQ(z, -1); // untouched on failure
    // Outside the box: rejected before any arithmetic unless the box is skipped.
    EXPECT_FALSE(t->interpolateElevation(Point2D(0.5, -1e-9), &z, false));
    ASSERT_TRUE(t->interpolateElevation(Point2D(0.5, -1e-9), &z, true));
    EXPECT_NEAR(z, 5.0, 1e-6);
    // For this triangle t = x and u = y exactly, so the weights hit the limit exactly.
    EXPECT_TRUE(t->interpolateElevation(Point2D(-1e-8, 0.5), &z, true));
    EXPECT_FALSE(t->interpolateElevation(Point2D(-1.0000001e-8, 0.5), &z, true));
    EXPECT_TRUE(t->interpolateElevation(Point2D(0.5, -1e-8), &z, true));
    EXPECT_FALSE(t->interpolateElevation(Point2D(0.5, -1.0000001e-8), &z, true));
}

TEST_F(UnitTriangleTest, EdgesLieOppositeTheirPoints)
{
    EXPECT_EQ(t->opposite(p2), t->edge2());
    EXPECT_EQ(t->opposite(t->edge3()), p3);
    EXPECT_EQ(t->opposite(pt(0, 0)), t->edge1()); // a stranger is an end of none
    // A degenerate triangle whose every edge touches every point.
    auto e = EdgeFactory::instance().factory(p1, p2);
    auto loop = std::make_shared<Edge>(p1, p1);
    Triangle flat(p1, p2, p1, e, loop, e);
    EXPECT_EQ(flat.opposite(p1), nullptr);
    EXPECT_EQ(flat.opposite(e), nullptr);
    // Three copies of one edge do not make a triangle.
    EXPECT_THROW(Triangle(p1, p2, p1, e, e, e), std::invalid_argument);
}

TEST_F(UnitTriangleTest, AnglesFollowOrientation)
{
    EXPECT_DOUBLE_EQ(t->angleRadian(0), PI / 2);
    EXPECT_DOUBLE_EQ(t->angleRadian(1) + t->angleRadian(2) + t->angleRadian(0), PI);
    auto clockwise = makeTriangle(p1, p3, p2);
    EXPECT_DOUBLE_EQ(clockwise->angleRadian(0), 3 * PI / 2);
}

TEST_F(UnitTriangleTest, BoxFollowsMovedVertices)
{
    const RectRef box = t->boundingRect();
    EXPECT_EQ(box.xMax(), 1);
    p2->setX(3);
    EXPECT_EQ(box.xMax(), 3);
    EXPECT_EQ(t->boundingRect().xMax(), 3);
    p3->move(0, 1);
    EXPECT_EQ(t->boundingRect().yMax(), 2);
    double z;
    EXPECT_TRUE(t->interpolateElevation(Point2D(2, 0.1), &z, false));
}

TEST(TriangleTest, BoxTiesKeepTheEarlierVertex)
{
    auto a = pt(0, 0), b = pt(0, 2), c = pt(1, 0);
    auto tri = makeTriangle(a, b, c);
    // a is xMin and yMin; b ties a on x and c ties a on y: a stays extreme for both.
    a->setPosition(-1, -1);
    EXPECT_EQ(tri->boundingRect().xMin(), -1);
    EXPECT_EQ(tri->boundingRect().yMin(), -1);
    EXPECT_EQ(tri->boundingRect().xMax(), 1);
    EXPECT_EQ(tri->boundingRect().yMax(), 2);
}

TEST(TriangleTest, RandomTrianglesAgreeWithIndependentOracles)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> d(-50, 50);
    std::uniform_real_distribution<double> w(0, 1);
    for (int i = 0; i < 300; ++i) {
        auto a = pt(d(rng), d(rng), d(rng)), b = pt(d(rng), d(rng), d(rng)), c = pt(d(rng), d(rng), d(rng));
        const double shoelace = 0.5 * std::abs((b->x() - a->x()) * (c->y() - a->y()) - (c->x() - a->x()) * (b->y() - a->y()));
        if (shoelace < 1)
            continue;
        auto tri = makeTriangle(a, b, c);
        ASSERT_NEAR(tri->area(), shoelace, 1e-9 * shoelace + 1e-9);
        ASSERT_NEAR(tri->geosPolygon()->getArea(), shoelace, 1e-9 * shoelace + 1e-9);
        // A point with known weights.
        double ws = w(rng), wt = w(rng);
        if (ws + wt > 1) {
            ws = 1 - ws;
            wt = 1 - wt;
        }
        const double wu = 1 - ws - wt;
        const Point2D p(ws * a->x() + wt * b->x() + wu * c->x(), ws * a->y() + wt * b->y() + wu * c->y());
        double s, t, u, z;
        tri->calcSTU(p, &s, &t, &u);
        ASSERT_NEAR(s, ws, 1e-9);
        ASSERT_NEAR(t, wt, 1e-9);
        ASSERT_NEAR(u, wu, 1e-9);
        ASSERT_TRUE(tri->interpolateElevation(p, &z, false));
        ASSERT_NEAR(z, planeAt(*a, *b, *c, p.x(), p.y()), 1e-7);
        const double angles = tri->angleRadian(0) + tri->angleRadian(1) + tri->angleRadian(2);
        ASSERT_TRUE(std::abs(angles - PI) < 1e-9 || std::abs(angles - 5 * PI) < 1e-9) << angles;
    }
}

TEST(TriangleTest, GeosPolygonIsNormalisedAndKept)
{
    auto a = pt(0, 0), b = pt(1, 0), c = pt(0, 1);
    auto tri = makeTriangle(a, b, c);
    // GEOS normal form: shell clockwise, starting at the smallest coordinate.
    EXPECT_TRUE(tri->geosPolygon()->equalsExact(makeTriangle(b, c, a)->geosPolygon()));
    b->setX(5);
    EXPECT_DOUBLE_EQ(tri->geosPolygon()->getArea(), 0.5);
}

TEST(TriangleTest, CollinearTriangleNeverInterpolatesNaN)
{
    auto a = pt(0, 0, 1.0), b = pt(1, 1, 2.0), c = pt(2, 2, 3.0);
    auto flat = makeTriangle(a, b, c);
    double z = -1;
    EXPECT_FALSE(flat->interpolateElevation(Point2D(0.5, 0.5), &z, false));
    EXPECT_FALSE(flat->interpolateElevation(Point2D(1.5, 1.5), &z, true));
    EXPECT_EQ(z, -1);
    EXPECT_TRUE(flat->interpolateElevation(Point2D(1, 1), &z, false)); // a vertex
    EXPECT_EQ(z, 2.0);
    // Rounding may leave either sign under the root; never a NaN.
    for (double k = 0.1; k < 3; k += 0.1) {
        auto rounding = makeTriangle(pt(k, k * 3), pt(k * 2, k * 6), pt(k * 7, k * 21));
        ASSERT_GE(rounding->area(), 0.0) << k; // also fails for NaN
    }
    EXPECT_EQ(makeTriangle(a, b, c)->area(), 0.0);
}

TEST(TriangleTest, NullPartsAndEdgesNotFittingThePointsAreRejected)
{
    auto a = pt(0, 0), b = pt(1, 0), c = pt(0, 1), d = pt(1, 1);
    EdgeFactory& f = EdgeFactory::instance();
    auto e = f.factory(a, b);
    EXPECT_THROW(Triangle(a, nullptr, c, e, e, e), std::invalid_argument);
    EXPECT_THROW(Triangle(a, b, c, e, nullptr, e), std::invalid_argument);
    // Edges in the wrong places, and an edge to a fourth point.
    EXPECT_THROW(Triangle(a, b, c, f.factory(a, b), f.factory(b, c), f.factory(c, a)), std::invalid_argument);
    EXPECT_THROW(Triangle(a, b, c, f.factory(b, c), f.factory(c, d), f.factory(a, b)), std::invalid_argument);
    // Equal coordinates are not the same vertex.
    auto a2 = pt(0, 0);
    EXPECT_THROW(Triangle(a2, b, c, f.factory(b, c), f.factory(c, a), f.factory(a, b)), std::invalid_argument);
}

TEST(TriangleTest, VerticesComeBackAsGivenWhateverTheEndOrderOfTheEdges)
{
    // Edges made in either direction (the factory orders ends by address) must still yield
    // the vertices in the order given, for both orientations and every rotation.
    std::mt19937_64 rng(5);
    EdgeFactory& f = EdgeFactory::instance();
    for (int k = 0; k < 50; ++k) {
        PointPtr v[3] = {pt(double(rng() % 100), 0), pt(0, double(rng() % 100)), pt(7, 7)};
        for (int r = 0; r < 3; ++r) {
            for (bool flip : {false, true}) {
                const PointPtr& a = v[r];
                const PointPtr& b = v[(r + (flip ? 2 : 1)) % 3];
                const PointPtr& c = v[(r + (flip ? 1 : 2)) % 3];
                auto e1 = rng() % 2 ? std::make_shared<Edge>(b, c) : std::make_shared<Edge>(c, b);
                Triangle t(a, b, c, e1, f.factory(c, a), f.factory(a, b));
                EXPECT_EQ(t.point1(), a);
                EXPECT_EQ(t.point2(), b);
                EXPECT_EQ(t.point3(), c);
                EXPECT_EQ(t.opposite(t.edge2()), b);
            }
        }
    }
}
