#include "orlin/core/EdgeFactory.h"
#include "orlin/support/HashMix.h"

#include "orlin/core/Edge.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"
#include "orlin/support/FixedSizePool.h"
#include "orlin/support/FixedSizePoolAllocatorT.h"
#include "orlin/support/Prefetch.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace tin {
namespace core {

bool EdgeFactory::s_alive = false;
EdgeFactory EdgeFactory::m_instance;

namespace {
const std::size_t MIN_CAPACITY = 64;
}

EdgeFactory::EdgeFactory()
    : m_pool(support::FixedSizePool::instance())
{
    s_alive = true;
}

EdgeFactory::~EdgeFactory()
{
    sweepNoted();
    // Edges still alive (held by other libraries' statics) must not reach the table.
    for (std::uint64_t entry : m_table) {
        if (entry)
            edgeOf(entry)->m_interned = false;
    }
    s_alive = false;
}

EdgeFactory& EdgeFactory::instance()
{
    return m_instance;
}

namespace {

// The upper 32 bits are the tag kept in the entry, and its low bits pick the home slot. The
// home follows the lower end's address the way support::addressHash does, with groups of 256 bytes
// and sixteen slots per 64 bytes of points (a point is the lower end of about three edges,
// and sparse runs keep the probe clusters short when requests come in no useful order):
// the edges around points made together land in neighbouring slots, so building a TIN in
// the order its points were made, and releasing it in the order it was built, walk the
// table instead of jumping through it. The tag's top byte comes from the whole pair, so the
// edges of one lower end differ in their tags; below 2^24 slots it leaves the home alone,
// above it spreads one end's edges over a few runs.
const unsigned PAIR_GROUP_SHIFT = 8;
const unsigned PAIR_SLOT_SHIFT = 2;
const std::uint64_t PAIR_GROUP_SLOTS = std::uint64_t(1) << (PAIR_GROUP_SHIFT - PAIR_SLOT_SHIFT);
const std::uint64_t PAIR_HOME_BITS = 0x00ffffffull;

inline std::uint64_t hashPair(const Point* low, const Point* high)
{
    const auto a = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(low));
    const auto b = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(high));
    const std::uint64_t pair = support::mixWords(a, b);
    // The pair's own bits move the home a few slots on, so that one end's edges do not all
    // start their probes at the same slot.
    const std::uint64_t home = support::mixWords(a >> PAIR_GROUP_SHIFT, 0) + ((a >> PAIR_SLOT_SHIFT) & (PAIR_GROUP_SLOTS - 1))
                               + (pair >> 61);
    return (((home & PAIR_HOME_BITS) | (pair & ~PAIR_HOME_BITS & 0xffffffffull)) << 32) | (pair & 0xffffffffull);
}

const int TAG_SHIFT = 32;

inline std::uint64_t tagOf(std::uint64_t hash)
{
    return hash >> TAG_SHIFT;
}

inline std::size_t homeOf(std::uint64_t entry, std::size_t mask)
{
    return static_cast<std::size_t>(entry >> TAG_SHIFT) & mask;
}

inline std::uint64_t entryOf(const support::FixedSizePool& pool, std::uint64_t hash, const Edge* edge)
{
    return (tagOf(hash) << TAG_SHIFT) | pool.referenceOf(edge);
}

inline Edge* edgeAt(const support::FixedSizePool& pool, std::uint64_t entry)
{
    return static_cast<Edge*>(pool.addressOf(static_cast<std::uint32_t>(entry)));
}

} // namespace

Edge* EdgeFactory::edgeOf(std::uint64_t entry) const
{
    return edgeAt(m_pool, entry);
}

inline std::size_t EdgeFactory::findIndex(std::uint64_t hash, const Point* low, const Point* high) const
{
    const std::uint64_t tag = tagOf(hash);
    const std::size_t mask = m_table.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(tag) & mask;; i = (i + 1) & mask) {
        const std::uint64_t entry = m_table[i];
        if (!entry)
            return i;
        if ((entry >> TAG_SHIFT) != tag)
            continue;
        const Edge* e = edgeAt(m_pool, entry);
        if (e->m_p1.get() == low && e->m_p2.get() == high)
            return i;
    }
}

void EdgeFactory::rehash(std::size_t capacity)
{
    sweepNoted();
    Table old(capacity, 0);
    old.swap(m_table);
    const std::size_t mask = m_table.size() - 1;
    // The new slots are scattered: ask for them a few entries ahead, so that the misses
    // overlap instead of adding up.
    const std::size_t AHEAD = 8;
    for (std::size_t k = 0; k < old.size(); ++k) {
        if (k + AHEAD < old.size() && old[k + AHEAD])
            support::prefetchLine(&m_table[homeOf(old[k + AHEAD], mask)]);
        const std::uint64_t entry = old[k];
        if (!entry)
            continue;
        std::size_t i = homeOf(entry, mask);
        while (m_table[i])
            i = (i + 1) & mask;
        m_table[i] = entry;
    }
}

std::uintptr_t EdgeFactory::touch(const Edge* edge) const
{
    if (!s_alive || m_table.empty() || m_bulk != 0)
        return 0;
    const std::uint64_t hash = hashPair(edge->m_p1.get(), edge->m_p2.get());
    return static_cast<std::uintptr_t>(m_table[tagOf(hash) & (m_table.size() - 1)]);
}

void EdgeFactory::remove(const Edge* edge)
{
    if (m_table.empty() || !m_pool.owns(edge))
        return;
    if (m_bulk != 0) {
        // Every edge that reaches here is interned: its entry is in the table once.
        const std::uint32_t reference = m_pool.referenceOf(edge);
        if (reference / 64 < m_dead.size()) {
            m_dead[reference / 64] |= std::uint64_t(1) << (reference % 64);
            ++m_noted;
            --m_size;
            return;
        }
        // Carved after the bulk removal began: removed the ordinary way below, which compares
        // entries only and so passes over noted ones.
    }
    const std::uint64_t wanted = entryOf(m_pool, hashPair(edge->m_p1.get(), edge->m_p2.get()), edge);
    const std::size_t mask = m_table.size() - 1;
    std::size_t hole = homeOf(wanted, mask);
    for (;; hole = (hole + 1) & mask) {
        if (!m_table[hole])
            return;
        if (m_table[hole] == wanted)
            break;
    }
    // Backward-shift deletion keeps every probe chain unbroken without tombstones.
    m_table[hole] = 0;
    --m_size;
    for (std::size_t j = (hole + 1) & mask; m_table[j]; j = (j + 1) & mask) {
        const std::size_t home = homeOf(m_table[j], mask);
        const bool homeAfterHole = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
        if (!homeAfterHole) {
            m_table[hole] = m_table[j];
            m_table[j] = 0;
            hole = j;
        }
    }
    if (m_holds == 0 && m_table.size() > MIN_CAPACITY && m_size * 8 < m_table.size())
        rehash(m_table.size() / 2);
}

std::shared_ptr<Edge> EdgeFactory::factory(const std::shared_ptr<Point>& a, const std::shared_ptr<Point>& b)
{
    if (!a || !b)
        throw std::invalid_argument("EdgeFactory::factory: null end point");
    const bool aLow = std::less<const Point*>()(a.get(), b.get());
    const std::shared_ptr<Point>& low = aLow ? a : b;
    const std::shared_ptr<Point>& high = aLow ? b : a;
    return obtain(hashPair(low.get(), high.get()), low, high);
}

void EdgeFactory::beginBulkRemoval()
{
    if (m_bulk++ != 0)
        return;
    try {
        m_dead.assign((m_pool.carvedBytes() / support::FixedSizePool::GRANULE + 63) / 64, 0);
    } catch (const std::bad_alloc&) {
        m_dead.clear(); // no bitmap: every removal takes the ordinary way
    }
}

void EdgeFactory::endBulkRemoval()
{
    if (m_bulk == 0 || --m_bulk != 0)
        return;
    sweepNoted();
    decltype(m_dead)().swap(m_dead);
}

void EdgeFactory::sweepNoted()
{
    if (m_noted == 0)
        return;
    const std::size_t capacity = m_table.size();
    const std::size_t mask = capacity - 1;
    const auto noted = [this](std::uint64_t entry) {
        const auto reference = static_cast<std::uint32_t>(entry);
        return reference / 64 < m_dead.size() && (m_dead[reference / 64] >> (reference % 64) & 1) != 0;
    };
    for (std::uint64_t& entry : m_table) {
        if (entry && noted(entry))
            entry = 0;
    }
    // Every survivor is put in again, in table order from a free slot: it lands on the first
    // free slot from its home on, which lies at or before where it stood, so that no probe
    // chain has a gap. A free slot exists (the load is at most 3/4).
    std::size_t start = 0;
    while (m_table[start])
        ++start;
    for (std::size_t n = 1; n < capacity; ++n) {
        const std::size_t i = (start + n) & mask;
        const std::uint64_t entry = m_table[i];
        if (!entry)
            continue;
        std::size_t j = homeOf(entry, mask);
        while (j != i && m_table[j])
            j = (j + 1) & mask;
        if (j != i) {
            m_table[j] = entry;
            m_table[i] = 0;
        }
    }
    std::fill(m_dead.begin(), m_dead.end(), 0);
    m_noted = 0;
}

std::shared_ptr<Edge> EdgeFactory::obtain(
    std::uint64_t hash, const std::shared_ptr<Point>& low, const std::shared_ptr<Point>& high)
{
    sweepNoted();
    // Room for one more first, so that the slot a missing probe ends on takes the new edge.
    if ((m_size + 1) * 4 > m_table.size() * 3)
        rehash(m_table.empty() ? MIN_CAPACITY : m_table.size() * 2);
    std::size_t slot = findIndex(hash, low.get(), high.get());
    if (const std::uint64_t entry = m_table[slot]) {
        Edge* found = edgeAt(m_pool, entry);
        if (std::shared_ptr<Edge> alive = found->weak_from_this().lock())
            return alive;
        // Only an edge in the middle of its destruction gets here.
        remove(found);
        found->m_interned = false;
        slot = findIndex(hash, low.get(), high.get());
    }
    auto edge = std::allocate_shared<Edge>(support::FixedSizePoolAllocatorT<Edge>(), low, high);
    if (!m_pool.owns(edge.get()))
        throw std::logic_error("EdgeFactory::factory: edge made outside the pool");
    m_table[slot] = entryOf(m_pool, hash, edge.get());
    ++m_size;
    edge->m_interned = true;
    return edge;
}

namespace {

// factoryAll() works through blocks of requests: it reads the home slots of the whole block,
// then the edges those slots name on a tag match, then serves the requests. Plain loads, not
// prefetches: a prefetch that misses the TLB may be dropped, while independent loads issued
// back to back overlap their misses (and page walks) in the out-of-order core.
const std::size_t BLOCK = 32;

volatile std::uintptr_t s_sink = 0; // keeps those loads from being optimised away

} // namespace

void EdgeFactory::reserve(std::size_t count)
{
    std::size_t wanted = m_table.empty() ? MIN_CAPACITY : m_table.size();
    while (count * 4 > wanted * 3)
        wanted *= 2;
    if (wanted != m_table.size())
        rehash(wanted);
}

void EdgeFactory::factoryAll(const std::shared_ptr<Point>* const* ends, std::size_t count, std::shared_ptr<Edge>* out)
{
    // A batch of fresh pairs makes at most one edge per request; half of that is what a
    // triangulated surface makes (three requests per triangle, each inner edge asked twice).
    sweepNoted();
    reserve(m_size + count / 2);

    std::uint64_t hashes[BLOCK];
    std::uintptr_t sink = 0;
    for (std::size_t first = 0; first < count; first += BLOCK) {
        sweepNoted(); // an edge let go by the last block's results is not looked at below
        const std::size_t n = count - first < BLOCK ? count - first : BLOCK;
        const std::shared_ptr<Point>* const* pairs = ends + 2 * first;
        for (std::size_t k = 0; k < n; ++k) {
            // A null end hashes harmlessly here and throws below, in its turn.
            const Point* a = pairs[2 * k]->get();
            const Point* b = pairs[2 * k + 1]->get();
            hashes[k] = std::less<const Point*>()(a, b) ? hashPair(a, b) : hashPair(b, a);
            sink += m_table[tagOf(hashes[k]) & (m_table.size() - 1)];
        }
        for (std::size_t k = 0; k < n; ++k) {
            const std::uint64_t entry = m_table[tagOf(hashes[k]) & (m_table.size() - 1)];
            if (entry && (entry >> TAG_SHIFT) == tagOf(hashes[k]))
                sink += reinterpret_cast<std::uintptr_t>(edgeAt(m_pool, entry)->m_p1.get());
        }
        for (std::size_t k = 0; k < n; ++k) {
            const std::shared_ptr<Point>& a = *pairs[2 * k];
            const std::shared_ptr<Point>& b = *pairs[2 * k + 1];
            if (!a || !b)
                throw std::invalid_argument("EdgeFactory::factoryAll: null end point");
            const bool aLow = std::less<const Point*>()(a.get(), b.get());
            out[first + k] = obtain(hashes[k], aLow ? a : b, aLow ? b : a);
        }
    }
    s_sink = sink;
}

} // namespace core
} // namespace tin
