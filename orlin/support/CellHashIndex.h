#pragma once

#include "orlin/support/HashMix.h"
#include "orlin/support/LargeTableAllocatorT.h"
#include "orlin/support/Prefetch.h"

#include <cmath>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tin::support {

/**
 * Compact spatial index of small items (points) by the position of their centre.
 *
 * The plane is cut into square cells of CELL_SIZE centred on its multiples (where rounded
 * survey coordinates lie, so that their tolerance boxes stay inside one cell); each entry
 * is a slot number filed under the cell of its item's position, in an open-addressing
 * table of 8 bytes per entry (load at most 0.7). A query visits the cells that a box, widened
 * by the items' half-extent and a rounding margin, covers, and reports every slot
 * filed there (a superset: callers test the boxes themselves). Boxes spanning more
 * cells than the index holds entries are answered by reporting every slot.
 *
 * Items whose position is NaN are not filed and never reported; huge or infinite
 * coordinates share the outermost cells. No coordinate, NaN and infinities included,
 * reaches an undefined conversion, in queries and prefetch() alike. Cost per query: O(cells + entries there); the
 * table is probed at random, so callers with many queries in a row prefetch() a few
 * queries ahead to overlap the cache misses. Tables of 2 MiB and more live in huge pages.
 *
 * A look-up that is followed by the insertion of a new item when it finds nothing (the
 * point factory's interning) can use queryForInsert() and insertAt(): when the box lies in
 * one cell, the insertion takes the free entry the query's probe ended at, without hashing
 * and probing that cell a second time.
 */
class CellHashIndex {
public:
    /// Side of a cell, far above the 1e-8 tolerance of positions.
    static const double CELL_SIZE;
    /// Half-extent of the items' boxes that a query must reach around.
    static const double ITEM_HALF_EXTENT;

    CellHashIndex() = default;

    void insert(std::uint32_t slot, double x, double y);
    /// Removes the entry of slot filed at (x, y); false when there is none.
    bool remove(std::uint32_t slot, double x, double y);
    void clear();
    /// Removes every entry but keeps the table.
    void clearKeepingCapacity();
    std::size_t size() const { return m_size; }
    /// Grows the table so that `entries` entries fit without a rehash.
    void reserve(std::size_t entries);
    /// Asks the processor to fetch the table entries a query at (x, y) will probe first.
    void prefetch(double x, double y) const
    {
        if (m_entries.empty())
            return;
        prefetchLine(&m_entries[tagOf(x, y) & (m_entries.size() - 1)]);
    }

    /// Calls visit(slot) for every slot that may lie in the box; see the class note.
    template <typename Visit>
    void query(double xMin, double yMin, double xMax, double yMax, Visit&& visit) const;

    /// Where queryForInsert() found room for an item of its cell; `at` is NO_ROOM when the
    /// box spanned several cells (or the table was empty).
    struct InsertHint {
        std::size_t at;
        std::uint32_t tag;
        std::int64_t cx;
        std::int64_t cy;
    };
    static constexpr std::size_t NO_ROOM = ~std::size_t(0);

    /// query(), reporting the same slots, which also returns where an item filed in the
    /// box's cell would be inserted, when the widened box lies in one cell.
    template <typename Visit>
    InsertHint queryForInsert(double xMin, double yMin, double xMax, double yMax, Visit&& visit) const;
    /// insert(slot, x, y) for the hint of the last queryForInsert() of a box around (x, y);
    /// the index must not have changed since. Falls back to insert() when the hint has no
    /// room, (x, y) lies in another cell, or the table must grow first.
    void insertAt(const InsertHint& hint, std::uint32_t slot, double x, double y);

    /// Every slot filed, in table order.
    template <typename Visit>
    void forEach(Visit&& visit) const;

private:
    struct Entry {
        std::uint32_t slot;
        std::uint32_t tag; // 32 bits of the cell hash, also the home; EMPTY_TAG: free
    };
    static const std::uint32_t EMPTY_TAG = 0xffffffffu;

    static std::int64_t cellOf(double v);
    static std::uint64_t hashCell(std::int64_t cx, std::int64_t cy);
    static std::uint32_t tagOf(std::uint64_t h);
    static std::uint32_t tagOf(double x, double y);
    /// Cells a box widened by the items' extent and the rounding margin covers.
    static void cellRange(double xMin, double yMin, double xMax, double yMax, std::int64_t& cx0, std::int64_t& cy0,
                          std::int64_t& cx1, std::int64_t& cy1);
    void rehash(std::size_t capacity);
    void place(Entry e);

    std::vector<Entry, LargeTableAllocatorT<Entry>> m_entries;
    std::size_t m_size = 0;
};

inline std::int64_t CellHashIndex::cellOf(double v)
{
    // Cells are centred on the multiples of CELL_SIZE. Surveyed coordinates are decimals
    // of a millimetre or finer, multiples of CELL_SIZE: on a grid with borders there, every
    // tolerance box would straddle a border in x and in y and cost four cells, not one.
    // Scaled by a multiplication with the exact reciprocal (a division costs several
    // times as much); any monotone rounding serves, as queries reach across the margin.
    constexpr double CELLS_PER_UNIT = 1e5;
    constexpr std::int64_t CELL_LIMIT = std::int64_t(1) << 62;
    // Only a value inside the limits is converted: a huge, infinite or NaN one (NaN fails
    // both tests) takes an outermost cell, as converting it would be undefined.
    const double q = std::floor(v * CELLS_PER_UNIT + 0.5);
    if (q < double(CELL_LIMIT) && q > -double(CELL_LIMIT))
        return std::int64_t(q);
    return q <= -double(CELL_LIMIT) ? -CELL_LIMIT : CELL_LIMIT;
}

inline std::uint64_t CellHashIndex::hashCell(std::int64_t cx, std::int64_t cy)
{
    // Neighbouring cells must land far apart in the table.
    return mixWords(std::uint64_t(cx), std::uint64_t(cy));
}

inline std::uint32_t CellHashIndex::tagOf(std::uint64_t h)
{
    // The tag doubles as the home position (tag & mask), so tables stay below 2^32
    // entries and one tag value is reserved for free entries.
    const std::uint32_t tag = std::uint32_t(h);
    return tag == EMPTY_TAG ? 0u : tag;
}

inline std::uint32_t CellHashIndex::tagOf(double x, double y)
{
    return tagOf(hashCell(cellOf(x), cellOf(y)));
}

inline void CellHashIndex::cellRange(double xMin, double yMin, double xMax, double yMax, std::int64_t& cx0,
                                     std::int64_t& cy0, std::int64_t& cx1, std::int64_t& cy1)
{
    // The rounding margin grows with the magnitude but stays finite, so that an infinite
    // bound never meets an infinite reach (inf - inf).
    const auto reach = [](double lo, double hi) {
        const double magnitude = (lo < 0 ? -lo : lo) + (hi < 0 ? -hi : hi);
        return ITEM_HALF_EXTENT + 1e-8 + (magnitude < 1e300 ? magnitude * 1e-15 : 1e285);
    };
    const double reachX = reach(xMin, xMax);
    const double reachY = reach(yMin, yMax);
    cx0 = cellOf(xMin - reachX);
    cx1 = cellOf(xMax + reachX);
    cy0 = cellOf(yMin - reachY);
    cy1 = cellOf(yMax + reachY);
}

template <typename Visit>
void CellHashIndex::query(double xMin, double yMin, double xMax, double yMax, Visit&& visit) const
{
    queryForInsert(xMin, yMin, xMax, yMax, visit);
}

template <typename Visit>
CellHashIndex::InsertHint CellHashIndex::queryForInsert(double xMin, double yMin, double xMax, double yMax,
                                                        Visit&& visit) const
{
    InsertHint hint{NO_ROOM, 0, 0, 0};
    if (m_entries.empty())
        return hint;
    if (!(xMin <= xMax) || !(yMin <= yMax))
        return hint;
    std::int64_t cx0, cy0, cx1, cy1;
    cellRange(xMin, yMin, xMax, yMax, cx0, cy0, cx1, cy1);
    const std::size_t mask = m_entries.size() - 1;
    if (cx0 == cx1 && cy0 == cy1) {
        // The common case of a tolerance box: one cell, whose probe ends where an item of
        // the cell would be placed.
        const std::uint32_t tag = tagOf(hashCell(cx0, cy0));
        std::size_t i = tag & mask;
        for (; m_entries[i].tag != EMPTY_TAG; i = (i + 1) & mask) {
            if (m_entries[i].tag == tag)
                visit(m_entries[i].slot);
        }
        return InsertHint{i, tag, cx0, cy0};
    }
    if (m_size == 0)
        return hint;
    const double cells = (double(cx1) - double(cx0) + 1.0) * (double(cy1) - double(cy0) + 1.0);
    if (cells > double(m_size)) {
        forEach(visit);
        return hint;
    }
    for (std::int64_t cx = cx0; cx <= cx1; ++cx) {
        for (std::int64_t cy = cy0; cy <= cy1; ++cy) {
            const std::uint32_t tag = tagOf(hashCell(cx, cy));
            for (std::size_t i = tag & mask; m_entries[i].tag != EMPTY_TAG; i = (i + 1) & mask) {
                if (m_entries[i].tag == tag)
                    visit(m_entries[i].slot);
            }
        }
    }
    return hint;
}

inline void CellHashIndex::insertAt(const InsertHint& hint, std::uint32_t slot, double x, double y)
{
    if (hint.at == NO_ROOM || (m_size + 1) * 10 > m_entries.size() * 7 || std::isnan(x) || std::isnan(y)
        || cellOf(x) != hint.cx || cellOf(y) != hint.cy) {
        insert(slot, x, y);
        return;
    }
    m_entries[hint.at] = Entry{slot, hint.tag};
    ++m_size;
}

template <typename Visit>
void CellHashIndex::forEach(Visit&& visit) const
{
    for (const Entry& e : m_entries) {
        if (e.tag != EMPTY_TAG)
            visit(e.slot);
    }
}

} // namespace tin::support
