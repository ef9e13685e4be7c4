#include "orlin/core/Polygon.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/Edge2D.h"

#include <geos/geom/CoordinateSequence.h>
#include <geos/geom/Geometry.h>
#include <geos/geom/LineString.h>
#include <geos/geom/LinearRing.h>
#include <geos/geom/Polygon.h>
#include <geos/io/WKTReader.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>

using common::exception::RuntimeException;
using tin::core::Edge2D;
using tin::core::Point2D;
using tin::core::Polygon;

namespace {

std::unique_ptr<geos::geom::Geometry> wkt(const std::string& text)
{
    return geos::io::WKTReader().read(text);
}

// Shoelace area of the open vertex list, independent of GEOS.
double shoelace(const std::vector<Point2D>& v)
{
    double twice = 0.0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const Point2D& a = v[i];
        const Point2D& b = v[(i + 1) % v.size()];
        twice += a.x() * b.y() - b.x() * a.y();
    }
    return std::fabs(twice) / 2;
}

std::vector<std::unique_ptr<Edge2D>> own(std::vector<Edge2D*> edges)
{
    std::vector<std::unique_ptr<Edge2D>> owned;
    for (Edge2D* e : edges)
        owned.emplace_back(e);
    return owned;
}

const Polygon square{Point2D(0, 0), Point2D(4, 0), Point2D(4, 4), Point2D(0, 4)};

} // namespace

TEST(PolygonTest, GeosPolygonClosesTheOpenVertexList)
{
    const Polygon triangle{Point2D(0, 0), Point2D(1, 0), Point2D(0, 1)};
    const geos::geom::Polygon* g = triangle.geosPolygon();
    EXPECT_EQ(g, triangle.geosGeometry());
    const auto coordinates = g->getExteriorRing()->getCoordinates();
    ASSERT_EQ(4u, coordinates->size());
    EXPECT_TRUE(coordinates->getAt(0).equals2D(coordinates->getAt(3)));
    EXPECT_DOUBLE_EQ(0.5, g->getArea());
    EXPECT_EQ(g, triangle.geosPolygon()); // cached
}

TEST(PolygonTest, EveryEditDropsTheCachedRectangleAndGeometry)
{
    Polygon p = square;
    const auto check = [&](const char* step) {
        EXPECT_DOUBLE_EQ(shoelace(p.points()), p.geosPolygon()->getArea()) << step;
        const tin::core::Rect expected(p.points());
        EXPECT_EQ(expected.xMin(), p.boundingRect().xMin()) << step;
        EXPECT_EQ(expected.xMax(), p.boundingRect().xMax()) << step;
        EXPECT_EQ(expected.yMax(), p.boundingRect().yMax()) << step;
    };
    check("start");
    p.addPoint(Point2D(-2, 2));
    check("addPoint");
    p.insertPoint(2, Point2D(6, 2));
    check("insertPoint");
    p.setPoint(0, Point2D(0, -3));
    check("setPoint");
    p.setLastPoint(Point2D(-1, 2));
    check("setLastPoint");
    p.removePoint(2);
    check("removePoint(index)");
    p.removePoint(Point2D(0, 4));
    check("removePoint(value)");
    p.removeLastPoint();
    check("removeLastPoint");
    p = square;
    check("assignment");
    p.clear();
    EXPECT_FALSE(p.boundingRect().isValid());
    EXPECT_TRUE(p.geosPolygon()->isEmpty());
}

TEST(PolygonTest, RemoveByValueTakesOnlyTheFirstMatch)
{
    Polygon p{Point2D(0, 0, 1), Point2D(3, 0, 2), Point2D(3, 3, 3), Point2D(3, 0, 4)};
    p.removePoint(Point2D(3, 0, 99));
    ASSERT_EQ(3, p.pointsCount());
    EXPECT_EQ(4, p.points()[2].id());
}

TEST(PolygonTest, RemovingAMissingPointThrowsAndChangesNothing)
{
    Polygon p = square;
    const geos::geom::Polygon* cached = p.geosPolygon();
    try {
        p.removePoint(Point2D(1, 1));
        FAIL() << "no exception";
    } catch (const RuntimeException& e) {
        EXPECT_STREQ("The point to remove not found.", e.what());
    }
    EXPECT_EQ(4, p.pointsCount());
    EXPECT_EQ(cached, p.geosPolygon());
}

TEST(PolygonTest, IndexesOutOfRangeAreRefused)
{
    Polygon p = square;
    EXPECT_THROW(p.insertPoint(5, Point2D(1, 1)), std::out_of_range);
    EXPECT_THROW(p.removePoint(4), std::out_of_range);
    EXPECT_THROW(p.setPoint(-1, Point2D(1, 1)), std::out_of_range);
    Polygon empty;
    EXPECT_THROW(empty.removeLastPoint(), std::out_of_range);
    EXPECT_THROW(empty.setLastPoint(Point2D(1, 1)), std::out_of_range);
    EXPECT_TRUE(empty.empty());
    EXPECT_FALSE(empty.boundingRect().isValid());
    EXPECT_NO_THROW(p.insertPoint(4, Point2D(1, 1)));
}

TEST(PolygonTest, CopiesShareNothing)
{
    Polygon original = square;
    const geos::geom::Polygon* originalGeometry = original.geosPolygon();
    Polygon copy(original);
    copy.setPoint(0, Point2D(-4, -4));
    EXPECT_EQ(0.0, original.points()[0].x());
    EXPECT_EQ(originalGeometry, original.geosPolygon());
    EXPECT_DOUBLE_EQ(16.0, original.geosPolygon()->getArea());

    Polygon& self = original;
    original = self;
    EXPECT_EQ(4, original.pointsCount());
    EXPECT_DOUBLE_EQ(16.0, original.geosPolygon()->getArea());

    Polygon moved(std::move(copy));
    EXPECT_EQ(-4.0, moved.points()[0].x());
    copy = original; // a moved-from polygon may be assigned to
    EXPECT_EQ(4, copy.pointsCount());
}

TEST(PolygonTest, IntersectionEdgesOfACrossingSegment)
{
    const auto crossing = wkt("LINESTRING (-1 1, 5 3)");
    auto edges = own(square.intersectionEdges(crossing.get()));
    ASSERT_EQ(1u, edges.size());
    const Edge2D& e = *edges[0];
    const double ax = std::min(e.point1()->x(), e.point2()->x());
    const double bx = std::max(e.point1()->x(), e.point2()->x());
    EXPECT_DOUBLE_EQ(0.0, ax);
    EXPECT_DOUBLE_EQ(4.0, bx);
    EXPECT_EQ(-1, e.point1()->id());
    EXPECT_EQ(0, e.id());

    const auto outside = wkt("LINESTRING (5 5, 8 9)");
    EXPECT_TRUE(square.intersectionEdges(outside.get()).empty());
}

// A bent line keeps its inner vertex; and GEOS merges pieces across degree-2 nodes. Every
// segment must come back, so the edges add up to the intersection's length.
TEST(PolygonTest, IntersectionEdgesCoverEveryPieceOfABentLine)
{
    const auto bent = wkt("MULTILINESTRING ((-1 1, 2 1), (2 1, 2 3, 3 5), (6 2, 3 2, 3 -1))");
    const std::unique_ptr<geos::geom::Geometry> intersection =
        square.geosPolygon()->intersection(bent.get());
    auto edges = own(square.intersectionEdges(bent.get()));
    EXPECT_GE(edges.size(), 5u);
    double total = 0.0;
    for (const auto& e : edges)
        total += std::sqrt(e->lengthSqr());
    EXPECT_NEAR(intersection->getLength(), total, 1e-9);
}

TEST(PolygonTest, DegeneratePolygonIsRefusedByGeos)
{
    const Polygon segment{Point2D(0, 0), Point2D(1, 1)};
    EXPECT_ANY_THROW(segment.geosPolygon());
    EXPECT_ANY_THROW(segment.geosPolygon()); // the cache stayed empty
}
