#pragma once

#include "orlin/support/SharedChunkArrayT.h"

#include <geos/index/SpatialIndex.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace geos {
namespace geom {
class Envelope;
}
namespace index {
class ItemVisitor;
}
}

namespace tin {
namespace core {

/**
 * Loose hierarchical hash grid over item envelopes, for indexes whose items range from
 * tolerance-sized point boxes (1e-8) to triangles of any size and that change between queries.
 *
 * Levels are power-of-two cell sizes. An item goes to the level whose cell is at least its
 * larger extent (but not below the finest level worth having for the item density, chosen
 * from the count and bounds of the items), and into the one cell of that level holding its
 * lower-left corner; it then reaches at most into the next cell up and right. A query visits,
 * per non-empty level, the cells its envelope covers plus one row and column below and to
 * the left, and leaves out entries whose stored corner and level show that they cannot
 * meet it. A level whose covered cells outnumber its slots is scanned whole instead.
 *
 * Storage: one open-addressing table per level of 24-byte entries (the item and the corner
 * in units of 2^-24), no node per item; a table is sized to its count (load 0.47 to 0.7),
 * so the index takes 35 to 50 bytes per item. Items inserted before the first query or
 * removal are gathered and placed together once the density is known; the finest level is
 * chosen again whenever the count has doubled since, so the cost per insertion stays O(1)
 * amortised.
 *
 * Contract: query results are a superset of the items whose envelope meets the query
 * envelope (closed bounds), in no particular order; the caller tests the envelopes itself.
 * Items with a null, NaN or infinite envelope, or with a coordinate beyond +-2^31, are kept
 * aside and reported by every query, so a held item is always found and can be removed.
 * A null item is refused (ignored). `remove` needs the envelope the item was inserted with.
 * An item inserted twice is held twice. Cost of a small query: a few cell probes per level
 * plus the entries found there. Not thread-safe.
 *
 * Copies share the level tables chunk by chunk (`support::SharedChunkArrayT`): copying costs a
 * reference count per 4 KiB page, and later changes of either copy clone the pages they write.
 */
class LooseGridIndex : public geos::index::SpatialIndex {
public:
    LooseGridIndex() = default;
    LooseGridIndex(const LooseGridIndex& other) = default;
    LooseGridIndex& operator=(const LooseGridIndex& other) = default;
    ~LooseGridIndex() override;

    void insert(const geos::geom::Envelope* itemEnv, void* item) override;
    void query(const geos::geom::Envelope* searchEnv, std::vector<void*>& result) override;
    void query(const geos::geom::Envelope* searchEnv, geos::index::ItemVisitor& visitor) override;
    bool remove(const geos::geom::Envelope* itemEnv, void* item) override;

    /// Items held (each insertion counts).
    std::size_t size() const { return m_count + m_pending.size() + m_aside.size(); }
    /// Exponent of the finest level in use (cell side 2^exponent); for tests and benchmarks.
    int finestLevel() const { return m_minLevel; }

private:
    struct Entry {
        void* item;
        // Bits 0-55: corner x in fine units, biased; bits 56-63: natural level minus FINE_LEVEL.
        std::uint64_t xWord;
        // Corner y in fine units, biased.
        std::uint64_t yWord;
    };

    struct Level {
        int exponent;
        std::size_t count;
        support::SharedChunkArrayT<Entry> slots; // load at most 0.7; item null marks a free slot
    };

    static bool encode(const geos::geom::Envelope& env, void* item, Entry& out);
    static int naturalLevel(const Entry& e);
    static std::int64_t cellOf(std::uint64_t word, int exponent);
    static std::uint64_t hashCell(std::int64_t cx, std::int64_t cy);
    static std::size_t slotOf(std::uint64_t hash, std::size_t size);
    static std::size_t nextSlot(std::size_t i, std::size_t size) { return i + 1 == size ? 0 : i + 1; }
    static std::size_t homeOf(const Entry& e, int exponent, std::size_t size);

    template <typename Visit>
    void visitCandidates(const geos::geom::Envelope& env, Visit&& visit);
    template <typename Visit>
    void visitLevel(const Level& level, double xMin, double yMin, double xMax, double yMax, Visit& visit) const;

    void settle();
    int chooseFinestLevel() const;
    void regrid(int finestLevel);
    void place(const Entry& e);
    void placeAll(const std::vector<Entry>& entries);
    Level& levelFor(int exponent);
    static void putInto(Level& level, const Entry& e);
    static void rehash(Level& level, std::size_t size);
    static bool takeFrom(Level& level, const Entry& e);

    std::vector<Level> m_levels; // sorted by exponent
    std::vector<Entry> m_pending; // gathered before the grid is settled
    std::vector<void*> m_aside;   // reported by every query
    std::size_t m_count = 0;      // entries in the levels
    std::size_t m_gridCount = 0;  // entries when the finest level was last chosen
    bool m_settled = false;
    int m_minLevel = 0;
    std::int64_t m_boundsMinX = 0, m_boundsMinY = 0, m_boundsMaxX = 0, m_boundsMaxY = 0;
    bool m_hasBounds = false;
};

} // namespace core
} // namespace tin
