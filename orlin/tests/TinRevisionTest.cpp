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
#include <optional>
#include <set>
#include <utility>
#include <vector>

using namespace tin::core;

namespace {

// Every revision seen; a test fails when one comes back.
std::set<std::uint64_t> seen;

void expectFresh(const Tin& tin, const char* what)
{
    EXPECT_TRUE(seen.insert(tin.revision()).second) << what << " reused a revision";
}

} // namespace

TEST(TinRevisionTest, EveryChangeTakesANewNumberAndQueriesKeepIt)
{
    // 130 x 130 cells: a batch large enough to link its lists on threads of its own.
    auto corners = tintest::gridTriangles(
        130, 130, [](int, int) { return false; }, [](double x, double y) { return x + y; });
    std::vector<std::shared_ptr<Point>> points;
    std::vector<std::uint32_t> indexes;
    for (std::size_t k = 1; k < corners.size(); ++k) {
        for (const auto& p : {corners[k].a, corners[k].b, corners[k].c}) {
            indexes.push_back(static_cast<std::uint32_t>(points.size()));
            points.push_back(p);
        }
    }
    Tin tin;
    expectFresh(tin, "construction");
    auto first = tin.addTriangle(corners[0].a, corners[0].b, corners[0].c);
    expectFresh(tin, "addTriangle");
    tin.addTriangles(points.data(), indexes.data(), indexes.size() / 3);
    expectFresh(tin, "addTriangles");

    const std::uint64_t built = tin.revision();
    double z = 0;
    tin.findTrianglesIntersectRect(Rect(0, 0, 2, 2));
    tin.interpolatedElevation(Point2D(1.5, 1.25), &z);
    tin.boundingRect();
    tin.outerEdges();
    EXPECT_EQ(built, tin.revision()) << "a query changed the revision";
    // The shared points are not watched.
    corners[0].a->setElevation(42.0);
    EXPECT_EQ(built, tin.revision());

    tin.removeTriangle(first);
    expectFresh(tin, "removeTriangle");
    tin.addTriangle(first);
    expectFresh(tin, "addTriangle(triangle)");
    std::vector<std::shared_ptr<Triangle>> all(tin.allTriangles().begin(),
                                               tin.allTriangles().end());
    tin.clear();
    expectFresh(tin, "clear");
    tin.addTriangles(all.data(), all.size());
    expectFresh(tin, "addTriangles(triangles)");
}

TEST(TinRevisionTest, CopiesMovesAndNewTinsInOldPlacesTakeNewNumbers)
{
    Tin source;
    source.addTriangle(tintest::pt(0, 0), tintest::pt(1, 0), tintest::pt(0, 1));
    expectFresh(source, "source");
    Tin copy(source);
    expectFresh(copy, "copy construction");
    Tin assigned;
    assigned = source;
    expectFresh(assigned, "copy assignment");
    const std::uint64_t kept = assigned.revision();
    Tin& self = assigned;
    assigned = self;
    EXPECT_EQ(kept, assigned.revision()) << "self-assignment changes nothing";
    Tin moved(std::move(copy));
    expectFresh(moved, "move construction");
    assigned = std::move(moved);
    expectFresh(assigned, "move assignment");

    // A TIN made where another one was (an address alone would be reused).
    std::optional<Tin> slot;
    slot.emplace(source);
    const Tin* address = &*slot;
    const std::uint64_t old = slot->revision();
    slot.reset();
    slot.emplace(source);
    EXPECT_EQ(address, &*slot);
    EXPECT_NE(old, slot->revision());
}
