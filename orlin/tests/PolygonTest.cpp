#include "orlin/core/Polygon.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/Edge2D.h"

#include <geos/geom/Polygon.h>
#include <geos/io/WKTReader.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>

using tin::core::Edge2D;
using tin::core::Point2D;
using tin::core::Polygon;

namespace {

// Shoelace area of the open vertex list, independent of GEOS.
double shoelace(const std::vector<Point2D>& v)
{
    double twice = 0.0;
    for (std::size_t i = 0; i < v.size(); ++i)
        twice += v[i].x() * v[(i + 1) % v.size()].y() - v[(i + 1) % v.size()].x() * v[i].y();
    return std::fabs(twice) / 2;
}

std::vector<std::unique_ptr<Edge2D>> edgesOf(const Polygon& p, const char* wkt)
{
    const auto g = geos::io::WKTReader().read(wkt);
    std::vector<std::unique_ptr<Edge2D>> owned;
    for (Edge2D* e : p.intersectionEdges(g.get()))
        owned.emplace_back(e);
    return owned;
}

const Polygon square{Point2D(0, 0), Point2D(4, 0), Point2D(4, 4), Point2D(0, 4)};

} // namespace

TEST(PolygonTest, EveryEditDropsTheCachedRectangleAndGeometry)
{
    Polygon p = square;
    const auto check = [&](const char* step) {
        EXPECT_DOUBLE_EQ(shoelace(p.points()), p.geosPolygon()->getArea()) << step;
        const tin::core::Rect expected(p.points());
        EXPECT_EQ(expected.xMin(), p.boundingRect().xMin()) << step;
        EXPECT_EQ(expected.xMax(), p.boundingRect().xMax()) << step;
        EXPECT_EQ(expected.yMin(), p.boundingRect().yMin()) << step;
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
    Polygon copy(p);
    copy.setPoint(0, Point2D(-4, -4));
    check("copy changed");
    p.clear();
    EXPECT_FALSE(p.boundingRect().isValid());
    EXPECT_TRUE(p.geosPolygon()->isEmpty());
    EXPECT_THROW(p.removeLastPoint(), std::out_of_range);
    EXPECT_THROW(p.insertPoint(1, Point2D(1, 1)), std::out_of_range);
    EXPECT_ANY_THROW(Polygon({Point2D(0, 0), Point2D(1, 1)}).geosPolygon());
}

TEST(PolygonTest, RemoveByValueTakesTheFirstMatchOrThrowsAndChangesNothing)
{
    Polygon p{Point2D(0, 0, 1), Point2D(3, 0, 2), Point2D(3, 3, 3), Point2D(3, 0, 4)};
    p.removePoint(Point2D(3, 0, 99));
    ASSERT_EQ(3, p.pointsCount());
    EXPECT_EQ(4, p.points()[2].id());

    const geos::geom::Polygon* cached = p.geosPolygon();
    try {
        p.removePoint(Point2D(1, 1));
        ADD_FAILURE() << "no exception";
    } catch (const common::exception::RuntimeException& e) {
        EXPECT_STREQ("The point to remove not found.", e.what());
    }
    EXPECT_EQ(3, p.pointsCount());
    EXPECT_EQ(cached, p.geosPolygon());
}

TEST(PolygonTest, IntersectionEdgesOfACrossingSegment)
{
    const auto edges = edgesOf(square, "LINESTRING (-1 1, 5 3)");
    ASSERT_EQ(1u, edges.size());
    const Edge2D& e = *edges[0];
    EXPECT_DOUBLE_EQ(0.0, std::min(e.point1()->x(), e.point2()->x()));
    EXPECT_DOUBLE_EQ(4.0, std::max(e.point1()->x(), e.point2()->x()));
    EXPECT_EQ(-1, e.point1()->id());
    EXPECT_TRUE(edgesOf(square, "LINESTRING (5 5, 8 9)").empty());
}

// A bent line keeps its inner vertices, and GEOS merges pieces across degree-2 nodes; taking only
// the first pair of each piece lost segments. The edges must add up to the intersection's length.
TEST(PolygonTest, IntersectionEdgesCoverEveryPieceOfABentLine)
{
    const char* bent = "MULTILINESTRING ((-1 1, 2 1), (2 1, 2 3, 3 5), (6 2, 3 2, 3 -1))";
    const auto edges = edgesOf(square, bent);
    const auto intersection =
        square.geosPolygon()->intersection(geos::io::WKTReader().read(bent).get());
    EXPECT_GE(edges.size(), 5u);
    double total = 0.0;
    for (const auto& e : edges)
        total += std::sqrt(e->lengthSqr());
    EXPECT_NEAR(intersection->getLength(), total, 1e-9);
}
