#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "orlin/support/LargeTableAllocatorT.h"

namespace tin {
namespace support {
class FixedSizePool;
}

namespace core {

class Edge;
class Point;

/**
 * Process-wide interning of edges by unordered pair of point objects.
 *
 * factory(a, b) and factory(b, a) return the same Edge while anyone holds it; its
 * point1 is the end at the lower address. The factory never keeps an edge alive: an
 * edge removes its own entry when it dies, so a released pair later gives a new edge
 * with id −1 and the table holds one entry per live edge.
 *
 * Edges (with their control blocks) come from support::FixedSizePool, so an edge is named by its
 * 32-bit pool reference. The table is open-addressed with linear probing: 8 bytes per
 * entry, the upper 32 bits of the pair's hash beside the edge's reference. Those hash
 * bits give an entry's home slot, so growing, shrinking and the backward shift on
 * removal never touch an edge, and a probe looks at an edge only when all 32 bits
 * agree. Load at most 0.75 and at least 1/8 (it halves below, but not while a TIN lets go
 * of its edges, see holdCapacity); no tombstones. The home
 * slot follows the lower end's address with locality (see support::addressHash), moved a few slots
 * by a mix of the pair: the edges of points made together sit in neighbouring slots, so a
 * TIN built in the order of its points, and released in the order it was built, finds them
 * in cache lines it has just read. The tag's top byte mixes both ends. A request
 * costs one table probe and, on a hit, one look at the edge; a miss allocates the edge
 * and fills the slot the probe ended on. Unsynchronised: use from one thread.
 */
class EdgeFactory {
public:
    static EdgeFactory& instance();

    /// The one edge of {a, b}; throws std::invalid_argument when a or b is null.
    std::shared_ptr<Edge> factory(const std::shared_ptr<Point>& a, const std::shared_ptr<Point>& b);

    /// The edges of many pairs, the same as factory(*ends[2k], *ends[2k + 1]) called for
    /// k = 0 .. count - 1 in that order (out[k] gets pair k's edge; a later pair of the same
    /// points gets the same edge). The table is grown once for the batch, and the hashes of
    /// the requests a few places ahead are computed early so that their table slots and, on a
    /// tag match, their edges are loaded while the current request is served: the misses of
    /// many requests overlap instead of adding up. Throws std::invalid_argument on a null end
    /// (the pairs before it are served).
    void factoryAll(const std::shared_ptr<Point>* const* ends, std::size_t count, std::shared_ptr<Edge>* out);

    /// Grows the table now so that it holds `count` edges in all without growing again: a
    /// caller about to ask for many new edges in several batches pays one rehash instead of
    /// one per doubling. Never shrinks (the next removal may).
    void reserve(std::size_t count);

    /// Reads the edge and the table slot its entry starts from (plain loads, see factoryAll)
    /// and returns what they hold (meaningless): whoever is about to drop many edges touches
    /// a block of them first, so that their removals find the table in the cache. Changes
    /// nothing; the edge must be alive.
    std::uintptr_t touch(const Edge* edge) const;

    /// While held (calls may nest), removals leave the table's size as it is instead of halving
    /// it whenever it falls below 1/8 full: whoever drops a whole TIN's edges pays no rehash on
    /// the way down, and the next TIN of that size (a project opened after one was closed)
    /// finds the table grown and its pages present. A table left mostly empty halves again
    /// at removals after the last release.
    void holdCapacity() { ++m_holds; }
    void releaseCapacity() { m_holds -= m_holds != 0; }

    /// Lets many edges die at once (a whole TIN). Until the matching endBulkRemoval a dying
    /// edge only notes its pool reference in a bitmap instead of looking for its table entry,
    /// a cache miss apiece; the end walks the table once, in order, drops the noted entries and
    /// moves the others back towards their home slots. A request of an edge meanwhile does the
    /// walk first (no edge is made while noted entries remain, so no new edge can take a noted
    /// reference). Calls may nest; the outermost end walks. size() stays exact throughout.
    void beginBulkRemoval();
    void endBulkRemoval();

    /// Number of edges registered (the live edges made by the factory).
    std::size_t size() const { return m_size; }
    /// Entries the table has room for (its size; at most 3/4 of them are filled).
    std::size_t capacity() const { return m_table.size(); }

private:
    friend class Edge;

    EdgeFactory();
    ~EdgeFactory();
    EdgeFactory(const EdgeFactory&) = delete;
    EdgeFactory& operator=(const EdgeFactory&) = delete;

    static EdgeFactory m_instance;
    /// False before construction and after destruction of m_instance, so that edges
    /// outliving the library's statics do not touch the table.
    static bool s_alive;

    /// The slot of {low, high} (lower address first), or the free slot its probe ends on.
    std::size_t findIndex(std::uint64_t hash, const Point* low, const Point* high) const;
    Edge* edgeOf(std::uint64_t entry) const;
    /// The edge of {low, high} for a hash already computed, made when missing.
    std::shared_ptr<Edge> obtain(std::uint64_t hash, const std::shared_ptr<Point>& low, const std::shared_ptr<Point>& high);
    void remove(const Edge* edge);
    void rehash(std::size_t capacity);
    /// Drops the entries of the edges noted during a bulk removal (see beginBulkRemoval).
    void sweepNoted();

    using Table = std::vector<std::uint64_t, support::LargeTableAllocatorT<std::uint64_t>>;
    support::FixedSizePool& m_pool; // where the edges live; never destroyed
    Table m_table; // 0 marks a free entry
    std::size_t m_size = 0;
    std::size_t m_holds = 0;
    std::size_t m_bulk = 0;
    std::size_t m_noted = 0;
    /// During a bulk removal, one bit per pool granule carved when it began.
    std::vector<std::uint64_t, support::LargeTableAllocatorT<std::uint64_t>> m_dead;
};

} // namespace core
} // namespace tin
