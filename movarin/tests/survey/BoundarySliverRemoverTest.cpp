// Boundary sliver removal on small hand-built TINs: which thin triangles go (an angle under
// one degree at a vertex on the outline) and which stay (all edges interior, or the small
// angle opposite the only outer edge), and how a fan is peeled pass after pass; on a
// triangulated survey, the same passes as the plain rule applied to every triangle.
#include "SurveyTestSupport.h"

#include "movarin/survey/BoundarySliverRemover.h"

#include "orlin/core/Edge.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/PointSetToTin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <unordered_set>
#include <vector>

namespace varnel::test {
namespace {

using PointPtr = std::shared_ptr<tin::core::Point>;
using Passes = std::vector<std::size_t>;

constexpr double degree = M_PI / 180.0;

PointPtr at(double x, double y)
{
    return std::make_shared<tin::core::Point>(x, y, 0.0);
}

PointPtr polar(double radius, double degrees)
{
    return at(radius * std::cos(degrees * degree), radius * std::sin(degrees * degree));
}

/// The smallest corner angle of the triangle in degrees.
double smallestAngle(const tin::core::Triangle& t)
{
    return std::min({t.angleRadian(0), t.angleRadian(1), t.angleRadian(2)}) / degree;
}

// A fat triangle A, B, C with a thin one under its base AB: 0.9 degrees at A, whose edge to
// the thin triangle's third corner S lies on the outline.
struct ThinUnderBase {
    PointPtr a = at(0.0, 0.0);
    PointPtr b = at(10.0, 0.0);
    PointPtr c = at(5.0, 8.0);
    PointPtr s = at(10.0, -10.0 * std::tan(0.9 * degree));
};

TEST(BoundarySliverRemoverTest, ThinTriangleOnTheOutlineGoes)
{
    ThinUnderBase p;
    tin::core::Tin tin;
    const auto fat = tin.addTriangle(p.a, p.b, p.c);
    const auto thin = tin.addTriangle(p.a, p.s, p.b);
    ASSERT_NEAR(smallestAngle(*thin), 0.9, 1e-9);

    EXPECT_EQ(BoundarySliverRemover::removeSlivers(tin), Passes({1, 0}));
    EXPECT_FALSE(tin.containsTriangle(thin));
    EXPECT_TRUE(tin.containsTriangle(fat));
}

TEST(BoundarySliverRemoverTest, ThinTriangleWithInteriorEdgesStays)
{
    // The same thin triangle, now with a fat neighbour on each of its three edges.
    ThinUnderBase p;
    tin::core::Tin tin;
    tin.addTriangle(p.a, p.b, p.c);
    const auto thin = tin.addTriangle(p.a, p.s, p.b);
    tin.addTriangle(p.a, at(2.0, -5.0), p.s);
    tin.addTriangle(p.s, at(10.2, -0.08), p.b);
    for (const auto& t : tin.allTriangles()) {
        if (t != thin) {
            ASSERT_GT(smallestAngle(*t), 5.0);
        }
    }

    EXPECT_EQ(BoundarySliverRemover::removeSlivers(tin), Passes({0}));
    EXPECT_EQ(tin.allTriangles().size(), 4u);
}

TEST(BoundarySliverRemoverTest, SmallAngleOppositeTheOnlyOuterEdgeStays)
{
    // A needle pointing left from its outer edge AB: 0.5 degrees at V, whose two edges are
    // shared with fat triangles above and below.
    const PointPtr v = at(0.0, 0.0);
    const PointPtr a = at(100.0, -100.0 * std::tan(0.25 * degree));
    const PointPtr b = at(100.0, 100.0 * std::tan(0.25 * degree));
    tin::core::Tin tin;
    const auto needle = tin.addTriangle(v, a, b);
    const auto below = tin.addTriangle(v, at(50.0, -30.0), a);
    tin.addTriangle(v, b, at(50.0, 30.0));
    ASSERT_NEAR(smallestAngle(*needle), 0.5, 1e-9);

    EXPECT_EQ(BoundarySliverRemover::removeSlivers(tin), Passes({0}));
    EXPECT_TRUE(tin.containsTriangle(needle));

    // With the fat triangle below gone, V touches an outer edge and the needle goes.
    tin.removeTriangle(below);
    EXPECT_EQ(BoundarySliverRemover::removeSlivers(tin), Passes({1, 0}));
    EXPECT_FALSE(tin.containsTriangle(needle));
}

TEST(BoundarySliverRemoverTest, FanIsPeeledOneSliverPerPass)
{
    // Five slivers of 0.5 degrees at V, closed on one side by a fat triangle: only the
    // open end touches the outline at V, so each pass exposes the next sliver.
    const PointPtr v = at(0.0, 0.0);
    std::vector<PointPtr> rim;
    for (int k = 0; k <= 5; ++k) {
        rim.push_back(polar(100.0, 0.5 * k));
    }
    tin::core::Tin tin;
    for (int k = 0; k < 5; ++k) {
        tin.addTriangle(v, rim[k], rim[k + 1]);
    }
    const auto fat = tin.addTriangle(v, rim[5], polar(100.0, 60.0));

    EXPECT_EQ(BoundarySliverRemover::removeSlivers(tin), Passes({1, 1, 1, 1, 1, 0}));
    ASSERT_EQ(tin.allTriangles().size(), 1u);
    EXPECT_TRUE(tin.containsTriangle(fat));

    // Open at both ends, the fan loses a sliver at each end per pass.
    tin::core::Tin open;
    for (int k = 0; k < 5; ++k) {
        open.addTriangle(v, rim[k], rim[k + 1]);
    }
    EXPECT_EQ(BoundarySliverRemover::removeSlivers(open), Passes({2, 2, 1, 0}));
    EXPECT_TRUE(open.empty());

    tin::core::Tin empty;
    EXPECT_TRUE(BoundarySliverRemover::removeSlivers(empty).empty());
}

/// The rule as stated, for comparison: each pass collects `outerEdges` anew, examines every
/// triangle, then removes the marked ones; until a pass removes nothing.
Passes removeSliversByFullScans(tin::core::Tin& tin)
{
    Passes passes;
    std::size_t removed = 0;
    do {
        const auto edges = tin.outerEdges();
        const std::unordered_set<const tin::core::Edge*> outer(edges.begin(), edges.end());
        std::vector<std::shared_ptr<tin::core::Triangle>> marked;
        for (const auto& t : tin.allTriangles()) {
            double smallest = 2.0 * M_PI;
            for (int i = 0; i < 3; ++i) {
                if (outer.count(t->edge(i + 1).get()) || outer.count(t->edge(i + 2).get())) {
                    smallest = std::min(smallest, t->angleRadian(i));
                }
            }
            if (smallest < degree) {
                marked.push_back(t);
            }
        }
        for (const auto& t : marked) {
            tin.removeTriangle(t);
        }
        removed = marked.size();
        passes.push_back(removed);
    } while (removed != 0);
    return passes;
}

TEST(BoundarySliverRemoverTest, SurveyHullFansGoAsUnderTheRuleForEveryTriangle)
{
    // A jittered grid: its hull edges span many border points, whose fans of needles are
    // peeled over several passes.
    std::mt19937 random(3);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    tin::core::PointSet set;
    for (int i = 0; i < 80; ++i) {
        for (int j = 0; j < 80; ++j) {
            set.addPoint(tin::core::Point(i + jitter(random), j + jitter(random), 0.0));
        }
    }
    tin::core::Tin tin = tin::util::PointSetToTin::convertCleanPointSet(set, false, false);
    tin::core::Tin reference = tin; // shares the triangles

    const Passes passes = BoundarySliverRemover::removeSlivers(tin);
    EXPECT_GE(passes.size(), 4u);
    EXPECT_EQ(passes, removeSliversByFullScans(reference));
    EXPECT_EQ(identitiesOf(tin.allTriangles()), identitiesOf(reference.allTriangles()));
}

} // namespace
} // namespace varnel::test
