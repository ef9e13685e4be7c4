#include "orlin/core/PointRing.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/Breakline.h"
#include "orlin/core/Point.h"
#include "orlin/core/Polygon.h"

#include <geos/geom/Polygon.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

using common::exception::RuntimeException;
using tin::core::Breakline;
using tin::core::Point;
using tin::core::PointRing;

namespace {

using PointPtr = std::shared_ptr<Point>;
using Cycle = std::vector<PointPtr>;

PointPtr at(double x, double y) { return std::make_shared<Point>(x, y); }

Cycle closed(Cycle open)
{
    open.push_back(open.front());
    return open;
}

} // namespace

TEST(PointRingTest, StartsAtTheLowestLeftPointAndTurnsTowardTheLowerNeighbour)
{
    const auto a = at(0, 0), b = at(1, 0), c = at(1, 1), d = at(0, 1);
    const PointRing square{c, d, a, b, c};
    EXPECT_EQ((Cycle{a, b, c, d, a}), square.points());
    EXPECT_EQ(4, square.segmentCount());

    // Neighbours of equal height: the one with the smaller x follows the start.
    const auto left = at(-1, 2), right = at(1, 2), top = at(0, 5);
    EXPECT_EQ(left, PointRing({a, right, top, left, a}).points()[1]);
    EXPECT_EQ(left, PointRing({a, left, top, right, a}).points()[1]);
}

// Every start and both directions over one cycle of objects give the same entries.
TEST(PointRingTest, CanonicalFormIgnoresStartAndDirection)
{
    const Cycle cycle{at(3, 1), at(5, 2), at(6, 6), at(4, 4), at(2, 7), at(0, 3), at(1, 1.5)};
    const PointRing reference(closed(cycle));
    for (int direction = 0; direction < 2; ++direction) {
        Cycle walk = cycle;
        if (direction == 1)
            std::reverse(walk.begin(), walk.end());
        for (std::size_t start = 0; start < walk.size(); ++start) {
            Cycle rotated(walk.begin() + start, walk.end());
            rotated.insert(rotated.end(), walk.begin(), walk.begin() + start);
            const PointRing ring(closed(rotated));
            EXPECT_EQ(reference.points(), ring.points()) << direction << " " << start;
        }
    }
    EXPECT_EQ(cycle[0], reference.points().front());
    EXPECT_EQ(reference.points().front(), reference.points().back());
    EXPECT_EQ(reference.points(), PointRing(reference).points());
}

TEST(PointRingTest, MembershipIsByObject)
{
    const auto a = at(0, 0), b = at(4, 0), c = at(4, 3), d = at(0, 3);
    const PointRing ring{a, b, c, d, a};
    EXPECT_TRUE(ring.contains(c.get()));
    const Point twinOfC(4, 3);
    EXPECT_FALSE(ring.contains(const_cast<Point*>(&twinOfC)));

    // The side between the start and the entry before the closing repeat counts both ways.
    EXPECT_TRUE(ring.containsBreakline(Breakline(a, d)));
    EXPECT_TRUE(ring.containsBreakline(Breakline(d, a)));
    EXPECT_TRUE(ring.containsBreakline(Breakline(c, b)));
    EXPECT_FALSE(ring.containsBreakline(Breakline(a, c)));
    EXPECT_FALSE(ring.containsBreakline(Breakline(d, b)));
    EXPECT_FALSE(ring.containsBreakline(Breakline(a, at(4, 3))));
}

TEST(PointRingTest, PolygonOfTheRingHasItsArea)
{
    const auto a = at(0, 0), b = at(4, 0), c = at(4, 3), d = at(0, 3);
    EXPECT_DOUBLE_EQ(12.0, PointRing({b, a, d, c, b}).toPolygon().geosPolygon()->getArea());
}

TEST(PointRingTest, ShortUnclosedOrHollowInputIsRefused)
{
    const auto a = at(0, 0), b = at(1, 0), c = at(1, 1);
    EXPECT_THROW(PointRing({a, a}), RuntimeException);
    EXPECT_THROW(PointRing({a, b, c}), RuntimeException);
    EXPECT_THROW(PointRing({a, nullptr, c, a}), RuntimeException);
    // A closing entry at the start's position but a different object is only a repeat.
    const PointRing twinClosed{a, b, c, at(0, 0)};
    EXPECT_EQ(a, twinClosed.points().back());

    // Two points and the repeat are the smallest ring.
    const PointRing thin{b, a, b};
    EXPECT_EQ(2, thin.segmentCount());
    EXPECT_EQ((Cycle{a, b, a}), thin.points());
    EXPECT_TRUE(thin.containsBreakline(Breakline(b, a)));
}
