// The revision number of a TIN: every construction, copy, move and change takes a number
// no TIN has carried before; queries keep it.
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include "TinTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

using namespace tin::core;
using tintest::gridTriangles;
using tintest::pt;

namespace {

// Records every revision seen and fails when one comes back.
class Revisions {
public:
    void fresh(const Tin& tin, const char* what)
    {
        EXPECT_TRUE(m_seen.insert(tin.revision()).second) << what << " reused a revision";
    }

private:
    std::set<std::uint64_t> m_seen;
};

} // namespace

TEST(TinRevisionTest, EveryChangeTakesANewNumberAndQueriesKeepIt)
{
    Revisions seen;
    Tin tin;
    seen.fresh(tin, "construction");

    auto corners = gridTriangles(4, 4, [](int, int) { return false; },
                                 [](double x, double y) { return x + y; });
    auto first = tin.addTriangle(corners[0].a, corners[0].b, corners[0].c);
    seen.fresh(tin, "addTriangle(points)");
    tin.addTriangle(*corners[1].a, *corners[1].b, *corners[1].c);
    seen.fresh(tin, "addTriangle(values)");

    std::vector<std::shared_ptr<Point>> points;
    std::vector<std::uint32_t> indexes;
    for (std::size_t k = 2; k < corners.size(); ++k) {
        for (const auto& p : {corners[k].a, corners[k].b, corners[k].c}) {
            indexes.push_back(static_cast<std::uint32_t>(points.size()));
            points.push_back(p);
        }
    }
    tin.addTriangles(points.data(), indexes.data(), indexes.size() / 3);
    seen.fresh(tin, "addTriangles(points)");

    const std::uint64_t built = tin.revision();
    tin.findTrianglesIntersectRect(Rect(0, 0, 2, 2));
    tin.boundingRect();
    tin.outerEdges();
    double z = 0;
    tin.interpolatedElevation(Point2D(1.5, 1.25), &z);
    tin.geosGeometry();
    EXPECT_EQ(built, tin.revision()) << "a query changed the revision";

    tin.removeTriangle(first);
    seen.fresh(tin, "removeTriangle");
    tin.addTriangle(first);
    seen.fresh(tin, "addTriangle(triangle)");
    std::vector<std::shared_ptr<Triangle>> again(tin.allTriangles().begin(),
                                                 tin.allTriangles().end());
    tin.clear();
    seen.fresh(tin, "clear");
    tin.addTriangles(again.data(), again.size());
    seen.fresh(tin, "addTriangles(triangles)");

    // The shared points are not watched.
    const std::uint64_t before = tin.revision();
    corners[0].a->setElevation(42.0);
    EXPECT_EQ(before, tin.revision());
}

TEST(TinRevisionTest, CopiesMovesAndAssignmentsTakeNewNumbers)
{
    Revisions seen;
    Tin source;
    source.addTriangle(pt(0, 0), pt(1, 0), pt(0, 1));
    seen.fresh(source, "source");

    Tin copy(source);
    seen.fresh(copy, "copy construction");
    Tin assigned;
    seen.fresh(assigned, "empty target");
    assigned = source;
    seen.fresh(assigned, "copy assignment");

    const std::uint64_t kept = assigned.revision();
    Tin& self = assigned;
    assigned = self;
    EXPECT_EQ(kept, assigned.revision()) << "self-assignment changes nothing";

    Tin moved(std::move(copy));
    seen.fresh(moved, "move construction");
    Tin moveTarget;
    seen.fresh(moveTarget, "empty move target");
    moveTarget = std::move(moved);
    seen.fresh(moveTarget, "move assignment");
    EXPECT_EQ(1u, moveTarget.allTriangles().size());
}

TEST(TinRevisionTest, ATinMadeWhereAnotherWasGetsADifferentNumber)
{
    // The same storage, so very likely the same addresses for the TIN and its record.
    std::optional<Tin> slot;
    slot.emplace();
    slot->addTriangle(pt(0, 0), pt(1, 0), pt(0, 1));
    const std::uint64_t old = slot->revision();
    const Tin* address = &*slot;
    slot.reset();
    slot.emplace();
    slot->addTriangle(pt(0, 0), pt(1, 0), pt(0, 1));
    EXPECT_EQ(address, &*slot);
    EXPECT_NE(old, slot->revision());
}

TEST(TinRevisionTest, LargeBatchOnWorkerThreadsTakesANewNumber)
{
    // From 32768 triangles on the batch links its lists on threads of its own.
    auto corners = gridTriangles(130, 130, [](int, int) { return false; },
                                 [](double, double) { return 0.0; });
    ASSERT_GE(corners.size(), 32768u);
    std::vector<std::shared_ptr<Point>> points;
    std::vector<std::uint32_t> indexes;
    for (const auto& c : corners) {
        for (const auto& p : {c.a, c.b, c.c}) {
            indexes.push_back(static_cast<std::uint32_t>(points.size()));
            points.push_back(p);
        }
    }
    Tin tin;
    const std::uint64_t empty = tin.revision();
    tin.addTriangles(points.data(), indexes.data(), corners.size());
    EXPECT_NE(empty, tin.revision());
    EXPECT_EQ(corners.size(), tin.allTriangles().size());
}
