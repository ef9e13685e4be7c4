// The tests that pick control points: positions inside a rubber band, and the press test
// on a selection.

#include "movarin/survey/GcpSelectionGeometry.h"

#include "orlin/core/Polygon.h"

#include <gtest/gtest.h>

using varnel::GcpSelectionGeometry;
using Positions = std::vector<QPointF>;
using Indices = std::vector<std::size_t>;

namespace {

tin::core::Polygon polygon(std::initializer_list<QPointF> corners)
{
    tin::core::Polygon p;
    for (const QPointF& c : corners) {
        p.addPoint(tin::core::Point2D(c.x(), c.y()));
    }
    return p;
}

bool hits(const Positions& selected, double x, double y, QPointF tolerance = QPointF(3, -3))
{
    return GcpSelectionGeometry::hitsSelection(selected, QPointF(x, y), tolerance);
}

} // namespace

TEST(GcpSelectionGeometry, PositionsStrictlyInsideAConvexPolygon)
{
    const Positions positions = {{5, 5}, {0, 5}, {11, 5}, {9.999, 0.001}, {5, 10}, {-1, -1}};
    const Indices inside = {0, 3};
    // The rectangle from either corner and in either orientation.
    EXPECT_EQ(GcpSelectionGeometry::indicesInsidePolygon(
                  positions, polygon({{0, 0}, {0, 10}, {10, 10}, {10, 0}})),
              inside);
    EXPECT_EQ(GcpSelectionGeometry::indicesInsidePolygon(
                  positions, polygon({{10, 10}, {10, 0}, {0, 0}, {0, 10}})),
              inside);
    EXPECT_EQ(GcpSelectionGeometry::indicesInsidePolygon(
                  positions, polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}})),
              inside);
    // A repeated vertex does not empty the polygon.
    EXPECT_EQ(GcpSelectionGeometry::indicesInsidePolygon(
                  positions, polygon({{0, 0}, {0, 0}, {0, 10}, {10, 10}, {10, 0}})),
              inside);
    // A triangle.
    EXPECT_EQ(GcpSelectionGeometry::indicesInsidePolygon(
                  positions, polygon({{0, 0}, {12, 0}, {0, 12}})),
              (Indices{0, 3}));
    // Flat rectangles (a drag along one axis), too few vertices, nothing to test.
    EXPECT_TRUE(GcpSelectionGeometry::indicesInsidePolygon(
                    positions, polygon({{0, 5}, {0, 5}, {11, 5}, {11, 5}}))
                    .empty());
    EXPECT_TRUE(GcpSelectionGeometry::indicesInsidePolygon(positions, polygon({{0, 0}, {10, 10}}))
                    .empty());
    EXPECT_TRUE(GcpSelectionGeometry::indicesInsidePolygon(
                    {}, polygon({{0, 0}, {0, 10}, {10, 10}, {10, 0}}))
                    .empty());
}

TEST(GcpSelectionGeometry, BoundsOfPositions)
{
    EXPECT_FALSE(GcpSelectionGeometry::bounds({}).isValid());
    const tin::core::Rect box = GcpSelectionGeometry::bounds({{3, -1}, {-2, 4}, {1, 1}});
    ASSERT_TRUE(box.isValid());
    EXPECT_EQ(box.xMin(), -2.0);
    EXPECT_EQ(box.xMax(), 3.0);
    EXPECT_EQ(box.yMin(), -1.0);
    EXPECT_EQ(box.yMax(), 4.0);
}

TEST(GcpSelectionGeometry, PressGrabsOneSelectedPositionWithinItsRhombus)
{
    const Positions one = {{10, -20}};
    EXPECT_FALSE(hits({}, 10, -20));
    EXPECT_TRUE(hits(one, 10, -20));
    EXPECT_TRUE(hits(one, 12.9, -20));
    EXPECT_TRUE(hits(one, 10, -17.1));
    EXPECT_TRUE(hits(one, 11.4, -21.4));
    EXPECT_FALSE(hits(one, 11.6, -21.6)); // inside the square, outside the rhombus
    EXPECT_FALSE(hits(one, 13.1, -20));
    // The sign of the tolerance (a y axis pointing down in pixels) does not matter.
    EXPECT_TRUE(hits(one, 10, -22.9, QPointF(-3, 3)));
    EXPECT_TRUE(hits(one, 10, -22.9, QPointF(3, 3)));
}

TEST(GcpSelectionGeometry, PressGrabsSeveralPositionsInTheirBoxOrAlongAFlatSelection)
{
    // Wider and taller than two tolerances: the box itself, edges included.
    const Positions box = {{0, 0}, {20, -10}, {5, -5}};
    EXPECT_TRUE(hits(box, 10, -5));
    EXPECT_TRUE(hits(box, 20, 0));
    EXPECT_FALSE(hits(box, 20.5, -5));
    EXPECT_FALSE(hits(box, 10, 0.5));

    // Two positions on one image row: flat in y, the rhombus spans the width.
    const Positions row = {{0, -10}, {40, -10}};
    EXPECT_TRUE(hits(row, 20, -10));
    EXPECT_TRUE(hits(row, 20, -11.4));
    EXPECT_TRUE(hits(row, 2, -10));
    EXPECT_FALSE(hits(row, 20, -13.1));
    EXPECT_FALSE(hits(row, 41, -10));
    // The same column: flat in x.
    const Positions column = {{5, 0}, {5, -40}};
    EXPECT_TRUE(hits(column, 6, -20));
    EXPECT_FALSE(hits(column, 8.1, -20));

    // A small cluster: the rhombus of the tolerances around its centre.
    const Positions cluster = {{0, 0}, {1, -1}};
    EXPECT_TRUE(hits(cluster, 0.5 + 2.9, -0.5));
    EXPECT_FALSE(hits(cluster, 0.5 + 3.1, -0.5));
}
