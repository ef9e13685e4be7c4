// Large batches of Tin::addTriangles link their adjacency lists on lane threads. The TIN must
// be the one a single-threaded batch makes, record for record: the same iteration order (so
// freed records are reused in the same order), the same lists in the same order, the same
// outline and vertex count, whether the batch goes into an empty TIN, a TIN with freed
// records and a built index, or a copy sharing its tables with another TIN.
#include "BatchTestSupport.h"

#include "orlin/core/Edge.h"
#include "orlin/core/Point.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/support/LaneThreads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <utility>
#include <vector>

using namespace tin::core;

namespace {

using namespace batchtest;

// Above the size at which a batch starts its lanes (32768 triangles).
constexpr int GRID = 140;

// Sets the number of lane threads for one scope.
class LanesFor {
public:
    explicit LanesFor(int threads) { tin::support::LaneThreads::setForTests(threads); }
    ~LanesFor() { tin::support::LaneThreads::setForTests(-1); }
    LanesFor(LanesFor const&) = delete;
    LanesFor& operator=(LanesFor const&) = delete;
};

// Everything a TIN's topology says, with triangles named by their number in `number`.
struct Shape {
    std::vector<int> order; // allTriangles() in iteration order
    std::vector<std::vector<int>> lists; // per triangle in that order: edge lists, then vertex lists
    std::vector<std::pair<Point const*, Point const*>> outer;
    int points = 0;
};

Shape shapeOf(Tin const& tin, Numbering const& numbers)
{
    Shape shape;
    for (auto const& t : tin.allTriangles()) {
        shape.order.push_back(numbers.at(t.get()));
        for (int i = 0; i < 3; ++i) {
            shape.lists.push_back(numbersOf(tin.findTriangleFromEdge(t->edge(i)), numbers));
        }
        for (int i = 0; i < 3; ++i) {
            shape.lists.push_back(numbersOf(tin.findTriangleFromPoint(t->point(i)), numbers));
        }
    }
    for (Edge* e : tin.outerEdges()) {
        shape.outer.emplace_back(e->point1().get(), e->point2().get());
    }
    std::sort(shape.outer.begin(), shape.outer.end());
    shape.points = tin.pointCount();
    return shape;
}

void expectSameShape(Shape const& expected, Shape const& actual)
{
    EXPECT_EQ(expected.order, actual.order);
    ASSERT_EQ(expected.lists.size(), actual.lists.size());
    for (std::size_t k = 0; k < expected.lists.size(); ++k) {
        ASSERT_EQ(expected.lists[k], actual.lists[k]) << "list " << k;
    }
    EXPECT_EQ(expected.outer, actual.outer);
    EXPECT_EQ(expected.points, actual.points);
}

std::vector<TrianglePtr> addInBatch(
    Tin& tin, std::vector<PointPtr> const& nodes, std::uint32_t const* corners, std::size_t count, int lanes)
{
    LanesFor forced(lanes);
    std::vector<TrianglePtr> made(count);
    tin.addTriangles(nodes.data(), corners, count, made.data());
    return made;
}

class TinListLanesTest : public ::testing::TestWithParam<int> { };

} // namespace

TEST_P(TinListLanesTest, EmptyTinGetsTheSameTinAsOneThread)
{
    std::vector<PointPtr> const nodes = gridNodes(GRID);
    std::vector<std::uint32_t> const corners = cornerList(GRID, 3, false);
    std::size_t const count = corners.size() / 3;
    ASSERT_GE(count, 32768u);

    Tin alone;
    std::vector<TrianglePtr> const one = addInBatch(alone, nodes, corners.data(), count, 0);
    Tin laned;
    std::vector<TrianglePtr> const all = addInBatch(laned, nodes, corners.data(), count, GetParam());

    Numbering oneNumbers, allNumbers;
    number(oneNumbers, one, 0);
    number(allNumbers, all, 0);
    for (std::size_t k = 0; k < count; ++k) {
        ASSERT_EQ(one[k] == nullptr, all[k] == nullptr) << "triple " << k;
        if (one[k]) {
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(one[k]->edge(i), all[k]->edge(i)) << "triple " << k;
            }
        }
    }
    expectSameShape(shapeOf(alone, oneNumbers), shapeOf(laned, allNumbers));

    // Independent of either path: every grid node is a vertex, and the outline of the grid
    // square has 4 (GRID - 1) edges (each triangle added twice cancels out of it).
    EXPECT_EQ(laned.pointCount(), GRID * GRID);
    EXPECT_EQ(laned.outerEdges().size(), 4u * (GRID - 1));
}

TEST_P(TinListLanesTest, TinWithFreedRecordsAndIndexGetsTheSameTinAsOneThread)
{
    // Part of the list added one by one, a scattered third of it removed (freed records, some
    // to be reused by the batch), the index built; then the rest in one batch.
    std::vector<PointPtr> const nodes = gridNodes(GRID + 20);
    std::vector<std::uint32_t> const corners = cornerList(GRID + 20, 5, false);
    std::size_t const count = corners.size() / 3;
    std::size_t const head = 6000;
    ASSERT_GE(count - head, 32768u);

    auto build = [&](int lanes, std::vector<TrianglePtr>& first, std::vector<TrianglePtr>& rest) {
        auto tin = std::make_unique<Tin>();
        for (std::size_t k = 0; k < head; ++k) {
            std::uint32_t const* c = corners.data() + 3 * k;
            first.push_back(tin->addTriangle(nodes[c[0]], nodes[c[1]], nodes[c[2]]));
        }
        for (std::size_t k = 0; k < head; k += 3) {
            tin->removeTriangle(first[k]);
        }
        Rect const everywhere(-1, -1, 1000, 1000);
        EXPECT_EQ(tin->findTrianglesIntersectRect(everywhere).size(), tin->allTriangles().size());
        rest = addInBatch(*tin, nodes, corners.data() + 3 * head, count - head, lanes);
        EXPECT_EQ(tin->findTrianglesIntersectRect(everywhere).size(), tin->allTriangles().size());
        return tin;
    };
    std::vector<TrianglePtr> oneFirst, oneRest, allFirst, allRest;
    auto const alone = build(0, oneFirst, oneRest);
    auto const laned = build(GetParam(), allFirst, allRest);

    Numbering oneNumbers, allNumbers;
    number(oneNumbers, oneFirst, 0);
    number(oneNumbers, oneRest, static_cast<int>(head));
    number(allNumbers, allFirst, 0);
    number(allNumbers, allRest, static_cast<int>(head));
    expectSameShape(shapeOf(*alone, oneNumbers), shapeOf(*laned, allNumbers));
}

TEST_P(TinListLanesTest, BatchIntoACopyLeavesTheSourceAlone)
{
    // The copy shares every table chunk with its source; the lanes must clone what they write.
    std::vector<PointPtr> const nodes = gridNodes(GRID + 45);
    std::vector<std::uint32_t> const corners = cornerList(GRID + 45, 7, false);
    std::size_t const count = corners.size() / 3;
    std::size_t const head = count / 2;
    ASSERT_GE(head, 32768u);

    Tin source;
    std::vector<TrianglePtr> const first = addInBatch(source, nodes, corners.data(), head, GetParam());
    Numbering numbers;
    number(numbers, first, 0);
    Shape const before = shapeOf(source, numbers);

    Tin copy(source);
    std::vector<TrianglePtr> const rest =
        addInBatch(copy, nodes, corners.data() + 3 * head, count - head, GetParam());
    number(numbers, rest, static_cast<int>(head));
    expectSameShape(before, shapeOf(source, numbers));

    // The reference: the same two batches into one TIN of its own, on one thread.
    Tin alone;
    std::vector<TrianglePtr> const oneFirst = addInBatch(alone, nodes, corners.data(), head, 0);
    std::vector<TrianglePtr> const oneRest = addInBatch(alone, nodes, corners.data() + 3 * head, count - head, 0);
    Numbering oneNumbers;
    number(oneNumbers, oneFirst, 0);
    number(oneNumbers, oneRest, static_cast<int>(head));
    expectSameShape(shapeOf(alone, oneNumbers), shapeOf(copy, numbers));
}

TEST_P(TinListLanesTest, ReadyTrianglesGetTheSameTinAsOneThread)
{
    // Triangles made by another TIN, with repeats and nulls, into TINs that hold some already.
    std::vector<PointPtr> const nodes = gridNodes(GRID);
    std::vector<std::uint32_t> const corners = cornerList(GRID, 9, false);
    Tin maker;
    std::vector<TrianglePtr> ready = addInBatch(maker, nodes, corners.data(), corners.size() / 3, 0);
    ready.insert(ready.end(), ready.begin(), ready.begin() + 500);
    std::shuffle(ready.begin(), ready.end(), std::mt19937(11));
    Numbering numbers;
    number(numbers, ready, 0);

    auto build = [&](int lanes) {
        auto tin = std::make_unique<Tin>();
        for (std::size_t k = 0; k < 3000; k += 7) {
            tin->addTriangle(ready[k]);
        }
        LanesFor forced(lanes);
        tin->addTriangles(ready.data(), ready.size());
        return tin;
    };
    auto const alone = build(0);
    auto const laned = build(GetParam());
    EXPECT_EQ(laned->allTriangles().size(), maker.allTriangles().size());
    expectSameShape(shapeOf(*alone, numbers), shapeOf(*laned, numbers));
}

INSTANTIATE_TEST_SUITE_P(OneAndTwoLanes, TinListLanesTest, ::testing::Values(1, 2),
    [](auto const& info) { return info.param == 1 ? std::string("OneLane") : std::string("TwoLanes"); });
