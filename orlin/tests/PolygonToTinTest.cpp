#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Tin.h"
#include "orlin/util/PolygonToTin.h"

#include "TinTestSupport.h"

#include <gtest/gtest.h>

#include <unordered_set>

using namespace tin::core;
using namespace tin::util;
using namespace tintest;

TEST(PolygonToTin, SurveyCoordinatesComeBackUnchangedOnAFlatTin)
{
    std::vector<Point2D> ring{Point2D(612345.125, 5432109.375), Point2D(612399.5, 5432111.0625),
                              Point2D(612380.25, 5432170.5), Point2D(612340.0, 5432150.75)};
    Tin tin = PolygonToTin::convert(Polygon(ring));
    EXPECT_EQ(tin.allTriangles().size(), 2u);
    EXPECT_EQ(vertices(tin).size(), 4u);
    for (auto const& v : ring) {
        auto found = tin.findPointsAt(v);
        ASSERT_EQ(found.size(), 1u) << v.x() << ", " << v.y();
        EXPECT_EQ(found[0]->elevation(), 0.0);
    }
}

TEST(PolygonToTin, SelfCrossingPolygonGetsAVertexAtTheCrossing)
{
    Tin tin = PolygonToTin::convert(Polygon({Point2D(0, 0), Point2D(2, 2), Point2D(2, 0), Point2D(0, 2)}));
    auto centre = tin.findPointsAt(Point2D(1, 1));
    ASSERT_EQ(centre.size(), 1u);
    EXPECT_EQ(centre[0]->elevation(), 0.0);
    EXPECT_DOUBLE_EQ(totalArea(tin), 2.0);
}

TEST(PolygonToTin, FewerThanThreeVerticesGiveAnEmptyTin)
{
    EXPECT_TRUE(PolygonToTin::convert(Polygon()).empty());
    EXPECT_TRUE(PolygonToTin::convert(Polygon({Point2D(0, 0), Point2D(1, 1)})).empty());
}
