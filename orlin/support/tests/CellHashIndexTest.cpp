#include "orlin/support/CellHashIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <vector>

using tin::support::CellHashIndex;

namespace {

struct Item {
    double x, y;
    bool filed;
};

std::set<std::uint32_t> reported(const CellHashIndex& index, double x0, double y0, double x1, double y1)
{
    std::set<std::uint32_t> out;
    index.query(x0, y0, x1, y1, [&out](std::uint32_t s) { out.insert(s); });
    return out;
}

} // namespace

TEST(CellHashIndexTest, QueriesReportEveryItemWithinReachUnderChurn)
{
    // Clustered positions (many share cells) and scattered ones, with removals and
    // re-insertions; a brute-force scan is the oracle.
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> wide(-1e6, 1e6);
    std::uniform_real_distribution<double> near(-3e-5, 3e-5);
    std::vector<Item> items;
    CellHashIndex index;
    for (std::uint32_t i = 0; i < 20000; ++i) {
        const bool cluster = i % 3 == 0;
        const double x = cluster ? 1234.5 + near(rng) : wide(rng);
        const double y = cluster ? -77.25 + near(rng) : wide(rng);
        items.push_back({x, y, true});
        index.insert(i, x, y);
    }
    for (std::uint32_t i = 0; i < items.size(); i += 2) {
        ASSERT_TRUE(index.remove(i, items[i].x, items[i].y));
        items[i].filed = false;
    }
    EXPECT_FALSE(index.remove(0, items[0].x, items[0].y));
    for (std::uint32_t i = 0; i < items.size(); i += 4) {
        items[i].x += 1e-6;
        index.insert(i, items[i].x, items[i].y);
        items[i].filed = true;
    }
    std::size_t filed = 0;
    for (const Item& it : items)
        filed += it.filed;
    EXPECT_EQ(index.size(), filed);
    for (int q = 0; q < 2000; ++q) {
        const Item& centre = items[rng() % items.size()];
        const double x = centre.x + near(rng) * 1e-3, y = centre.y + near(rng) * 1e-3;
        const auto got = reported(index, x - 1e-8, y - 1e-8, x + 1e-8, y + 1e-8);
        for (std::uint32_t i = 0; i < items.size(); ++i) {
            const bool within = std::abs(items[i].x - x) <= 2e-8 && std::abs(items[i].y - y) <= 2e-8;
            if (within && items[i].filed) {
                ASSERT_TRUE(got.count(i)) << "missed slot " << i;
            }
            if (!items[i].filed) {
                ASSERT_FALSE(got.count(i)) << "removed slot " << i << " reported";
            }
        }
    }
}

TEST(CellHashIndexTest, LargeBoxesAndOddCoordinates)
{
    CellHashIndex index;
    index.insert(1, 0, 0);
    index.insert(2, 5, 5);
    index.insert(3, std::nan(""), 0);
    index.insert(4, std::numeric_limits<double>::infinity(), 1);
    index.insert(5, 1e300, -1e300);
    EXPECT_EQ(index.size(), 4u); // the NaN item is not filed
    const auto all = reported(index, -10, -10, 10, 10);
    EXPECT_TRUE(all.count(1));
    EXPECT_TRUE(all.count(2));
    EXPECT_FALSE(all.count(3));
    EXPECT_TRUE(reported(index, 1e300, -1e300, 1e300, -1e300).count(5));
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(reported(index, inf, 1, inf, 1).count(4));
    EXPECT_TRUE(reported(index, std::nan(""), 0, 1, 1).empty());
    EXPECT_TRUE(index.remove(4, inf, 1));
    index.clear();
    EXPECT_EQ(index.size(), 0u);
    EXPECT_TRUE(reported(index, -10, -10, 10, 10).empty());
}

// A NaN position was converted to an integer (undefined) by the prefetch a bulk request
// makes ahead of its number checks; an infinite box bound met an infinite reach.
TEST(CellHashIndexTest, NonFiniteCoordinatesReachNoUndefinedConversion)
{
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    CellHashIndex index;
    for (std::uint32_t i = 0; i < 40; ++i)
        index.insert(i, i * 0.5, -(i * 0.25));
    for (const double v : {nan, inf, -inf}) {
        index.prefetch(v, 0);
        index.prefetch(0, v);
        std::set<std::uint32_t> seen;
        const auto hint = index.queryForInsert(v, v, v, v, [&seen](std::uint32_t s) { seen.insert(s); });
        index.insertAt(hint, 100, v, 1);
        EXPECT_FALSE(index.remove(101, v, v));
    }
    // Boxes from +inf up and down to -inf: every slot at most, no crash.
    EXPECT_LE(reported(index, inf, inf, inf, inf).size(), index.size());
    EXPECT_LE(reported(index, -inf, -inf, inf, inf).size(), index.size());
    EXPECT_TRUE(reported(index, -1, -20, 20, 1).count(7));
}

// Surveyed coordinates are round (millimetres and finer). A tolerance box around one must
// stay in its own cell, not straddle a border into the neighbours' cells in x and y.
TEST(CellHashIndexTest, ToleranceBoxAtARoundCoordinateReportsItsCellOnly)
{
    const double side = CellHashIndex::CELL_SIZE;
    for (const double x : {0.001, 600000.125, -4.5}) {
        const double y = 5400000.002;
        CellHashIndex index;
        index.insert(0, x, y);
        index.insert(1, x + 0.6 * side, y);
        index.insert(2, x - 0.6 * side, y);
        index.insert(3, x, y + 0.6 * side);
        index.insert(4, x, y - 0.6 * side);
        EXPECT_EQ(reported(index, x - 1e-8, y - 1e-8, x + 1e-8, y + 1e-8), (std::set<std::uint32_t>{0})) << x;
        // A box reaching into the neighbours' cells still reports them.
        EXPECT_EQ(reported(index, x - side, y - side, x + side, y + side).size(), 5u) << x;
    }
}

TEST(CellHashIndexTest, ClearingKeepsTheTableButForgetsEveryEntry)
{
    CellHashIndex index;
    for (std::uint32_t s = 0; s < 5000; ++s)
        index.insert(s, s * 0.5, 1.0);
    index.clearKeepingCapacity();
    EXPECT_EQ(index.size(), 0u);
    EXPECT_TRUE(reported(index, -1, -1, 5000, 5000).empty());
    EXPECT_FALSE(index.remove(7, 3.5, 1.0));
    index.insert(9, 4.5, 1.0);
    EXPECT_EQ(reported(index, 4.5, 1.0, 4.5, 1.0), (std::set<std::uint32_t>{9}));
}

// Cell borders lie halfway between multiples of CELL_SIZE, where rounding of the cell
// number can go either way: an item there must be found by every box that reaches it,
// from either side and at survey magnitudes.
TEST(CellHashIndexTest, ItemsOnCellBordersAreFoundFromEitherSide)
{
    const double side = CellHashIndex::CELL_SIZE;
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> cell(-50, 50);
    std::uniform_real_distribution<double> nudge(-3e-8, 3e-8);
    for (const double base : {0.0, 1.0, 600000.0, 5400000.0, -12345.0}) {
        std::vector<Item> items;
        CellHashIndex index;
        for (std::uint32_t i = 0; i < 400; ++i) {
            const double x = base + (cell(rng) + 0.5) * side + (i % 2 ? nudge(rng) : 0.0);
            const double y = base + (cell(rng) + 0.5) * side + (i % 3 ? nudge(rng) : 0.0);
            items.push_back({x, y, true});
            index.insert(i, x, y);
        }
        for (const Item& centre : items) {
            const double x = centre.x + nudge(rng) * 0.3, y = centre.y + nudge(rng) * 0.3;
            const auto got = reported(index, x - 1e-8, y - 1e-8, x + 1e-8, y + 1e-8);
            for (std::uint32_t i = 0; i < items.size(); ++i) {
                if (std::abs(items[i].x - x) <= 2e-8 && std::abs(items[i].y - y) <= 2e-8) {
                    ASSERT_TRUE(got.count(i)) << "missed slot " << i << " near " << base;
                }
            }
        }
    }
}

// An index filled through the query's insertion hints must answer every query as one
// filled by plain insertions: hints into a cell's probe end, hints of boxes spanning
// several cells, hints that meet a table growth, and positions outside the hinted cell.
TEST(CellHashIndexTest, InsertionsAtQueryHintsFileLikePlainInsertions)
{
    const double side = CellHashIndex::CELL_SIZE;
    std::mt19937 rng(41);
    std::uniform_int_distribution<int> cell(-30, 30);
    std::uniform_real_distribution<double> within(-0.6, 0.6);
    CellHashIndex hinted;
    CellHashIndex plain;
    std::vector<Item> items;
    for (std::uint32_t i = 0; i < 6000; ++i) {
        // Cells are shared by several items, and some items lie on or near cell borders.
        const double x = 600000.0 + (cell(rng) + within(rng)) * side;
        const double y = 5400000.0 + (cell(rng) + within(rng)) * side;
        const double half = i % 5 == 0 ? side : 1e-8; // a few boxes span several cells
        // The box asked about may miss the item's own cell: the hint must not be taken.
        const double shift = i % 7 == 0 ? 3 * side : 0.0;
        std::set<std::uint32_t> viaHint;
        const CellHashIndex::InsertHint hint = hinted.queryForInsert(
            x + shift - half, y - half, x + shift + half, y + half, [&](std::uint32_t s) { viaHint.insert(s); });
        ASSERT_EQ(viaHint, reported(plain, x + shift - half, y - half, x + shift + half, y + half)) << i;
        hinted.insertAt(hint, i, x, y);
        plain.insert(i, x, y);
        items.push_back({x, y, true});
    }
    ASSERT_EQ(hinted.size(), plain.size());
    for (const Item& centre : items) {
        const double x = centre.x, y = centre.y;
        ASSERT_EQ(reported(hinted, x - 1e-8, y - 1e-8, x + 1e-8, y + 1e-8),
                  reported(plain, x - 1e-8, y - 1e-8, x + 1e-8, y + 1e-8));
    }
    // Every item is reported by the tolerance box around it, and a removal finds its entry.
    for (std::uint32_t i = 0; i < items.size(); ++i)
        ASSERT_TRUE(reported(hinted, items[i].x, items[i].y, items[i].x, items[i].y).count(i)) << i;
    for (std::uint32_t i = 0; i < items.size(); i += 3)
        ASSERT_TRUE(hinted.remove(i, items[i].x, items[i].y)) << i;
}

TEST(CellHashIndexTest, AnEmptyTableGivesNoInsertionHint)
{
    CellHashIndex index;
    const CellHashIndex::InsertHint hint = index.queryForInsert(1, 1, 1, 1, [](std::uint32_t) { FAIL(); });
    EXPECT_EQ(hint.at, CellHashIndex::NO_ROOM);
    index.insertAt(hint, 4, 1, 1);
    EXPECT_EQ(reported(index, 1, 1, 1, 1), (std::set<std::uint32_t>{4}));
}
