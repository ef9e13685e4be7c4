#pragma once

#include "orlin/core/Prefetch.h"
#include "orlin/core/LargeTableAllocatorT.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tin {
namespace core {

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
 * coordinates share the outermost cells. Cost per query: O(cells + entries there); the
 * table is probed at random, so callers with many queries in a row prefetch() a few
 * queries ahead to overlap the cache misses. Tables of 2 MiB and more live in huge pages.
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
    void rehash(std::size_t capacity);
    void place(Entry e);

    std::vector<Entry, LargeTableAllocatorT<Entry>> m_entries;
    std::size_t m_size = 0;
};

template <typename Visit>
void CellHashIndex::query(double xMin, double yMin, double xMax, double yMax, Visit&& visit) const
{
    if (m_size == 0)
        return;
    if (!(xMin <= xMax) || !(yMin <= yMax))
        return;
    const double reachX = ITEM_HALF_EXTENT + 1e-8 + (xMin < 0 ? -xMin : xMin) * 1e-15
                          + (xMax < 0 ? -xMax : xMax) * 1e-15;
    const double reachY = ITEM_HALF_EXTENT + 1e-8 + (yMin < 0 ? -yMin : yMin) * 1e-15
                          + (yMax < 0 ? -yMax : yMax) * 1e-15;
    const std::int64_t cx0 = cellOf(xMin - reachX);
    const std::int64_t cx1 = cellOf(xMax + reachX);
    const std::int64_t cy0 = cellOf(yMin - reachY);
    const std::int64_t cy1 = cellOf(yMax + reachY);
    const double cells = (double(cx1) - double(cx0) + 1.0) * (double(cy1) - double(cy0) + 1.0);
    if (cells > double(m_size)) {
        forEach(visit);
        return;
    }
    const std::size_t mask = m_entries.size() - 1;
    for (std::int64_t cx = cx0; cx <= cx1; ++cx) {
        for (std::int64_t cy = cy0; cy <= cy1; ++cy) {
            const std::uint32_t tag = tagOf(hashCell(cx, cy));
            for (std::size_t i = tag & mask; m_entries[i].tag != EMPTY_TAG; i = (i + 1) & mask) {
                if (m_entries[i].tag == tag)
                    visit(m_entries[i].slot);
            }
        }
    }
}

template <typename Visit>
void CellHashIndex::forEach(Visit&& visit) const
{
    for (const Entry& e : m_entries) {
        if (e.tag != EMPTY_TAG)
            visit(e.slot);
    }
}

} // namespace core
} // namespace tin
