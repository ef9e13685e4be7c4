#include "orlin/core/EdgeFactory.h"

#include "orlin/core/Edge.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"

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
{
    s_alive = true;
}

EdgeFactory::~EdgeFactory()
{
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

const int TAG_SHIFT = 48;
const std::uint64_t ADDRESS_MASK = (std::uint64_t(1) << TAG_SHIFT) - 1;

inline std::uint64_t tagOf(std::size_t hash)
{
    return std::uint64_t(hash) >> TAG_SHIFT;
}

// A multiply-xorshift mix of both addresses: every input bit reaches the low bits that pick
// the home slot and the top bits that make the tag. Addresses of points made one after the
// other differ in a few middle bits only, which a weaker hash leaves clustered under linear
// probing.
inline std::uint64_t hashPair(const Point* low, const Point* high)
{
    std::uint64_t h = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(low)) * 0x9e3779b97f4a7c15ULL;
    h ^= static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(high));
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ULL;
    h ^= h >> 33;
    return h;
}

inline std::size_t hashOf(const Edge* e)
{
    return static_cast<std::size_t>(hashPair(e->point1().get(), e->point2().get()));
}

} // namespace

Edge* EdgeFactory::edgeOf(std::uint64_t entry) const
{
    return reinterpret_cast<Edge*>(static_cast<std::uintptr_t>(m_tagged ? entry & ADDRESS_MASK : entry));
}

std::uint64_t EdgeFactory::entryOf(Edge* edge) const
{
    const std::uint64_t address = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(edge));
    return m_tagged ? address | (tagOf(hashOf(edge)) << TAG_SHIFT) : address;
}

std::size_t EdgeFactory::homeOf(std::uint64_t entry) const
{
    return hashOf(edgeOf(entry)) & (m_table.size() - 1);
}

std::size_t EdgeFactory::findIndex(const Point* low, const Point* high) const
{
    const std::size_t hash = static_cast<std::size_t>(hashPair(low, high));
    const std::uint64_t tag = tagOf(hash);
    const std::size_t mask = m_table.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const std::uint64_t entry = m_table[i];
        if (!entry)
            return i;
        if (m_tagged && (entry >> TAG_SHIFT) != tag)
            continue;
        const Edge* e = edgeOf(entry);
        if (e->m_p1.get() == low && e->m_p2.get() == high)
            return i;
    }
}

void EdgeFactory::rehash(std::size_t capacity)
{
    Table old(capacity, 0);
    old.swap(m_table);
    const std::size_t mask = m_table.size() - 1;
    // Each entry's home needs its edge's end points: fetch edges a few entries ahead, so that
    // the misses on the (scattered) edges overlap instead of adding up.
    const std::size_t AHEAD = 16;
    for (std::size_t k = 0; k < old.size(); ++k) {
        if (k + AHEAD < old.size() && old[k + AHEAD])
            __builtin_prefetch(edgeOf(old[k + AHEAD]));
        const std::uint64_t entry = old[k];
        if (!entry)
            continue;
        std::size_t i = homeOf(entry);
        while (m_table[i])
            i = (i + 1) & mask;
        m_table[i] = entry;
    }
}

void EdgeFactory::insert(Edge* edge)
{
    const std::uint64_t address = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(edge));
    if (m_tagged && (address >> TAG_SHIFT) != 0) {
        // An address space beyond 48 bits: fall back to bare addresses.
        std::vector<std::uint64_t> entries;
        for (std::uint64_t entry : m_table) {
            if (entry)
                entries.push_back(entry & ADDRESS_MASK);
        }
        m_tagged = false; // from here on entries are bare addresses
        std::fill(m_table.begin(), m_table.end(), 0);
        const std::size_t mask = m_table.size() - 1;
        for (std::uint64_t entry : entries) {
            std::size_t i = homeOf(entry);
            while (m_table[i])
                i = (i + 1) & mask;
            m_table[i] = entry;
        }
    }
    if ((m_size + 1) * 4 > m_table.size() * 3)
        rehash(m_table.empty() ? MIN_CAPACITY : m_table.size() * 2);
    m_table[findIndex(edge->m_p1.get(), edge->m_p2.get())] = entryOf(edge);
    ++m_size;
    edge->m_interned = true;
}

void EdgeFactory::remove(const Edge* edge)
{
    if (m_table.empty())
        return;
    std::size_t hole = findIndex(edge->m_p1.get(), edge->m_p2.get());
    if (!m_table[hole])
        return;
    // Backward-shift deletion keeps every probe chain unbroken without tombstones.
    const std::size_t mask = m_table.size() - 1;
    m_table[hole] = 0;
    --m_size;
    for (std::size_t j = (hole + 1) & mask; m_table[j]; j = (j + 1) & mask) {
        const std::size_t home = homeOf(m_table[j]);
        const bool homeAfterHole = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
        if (!homeAfterHole) {
            m_table[hole] = m_table[j];
            m_table[j] = 0;
            hole = j;
        }
    }
    if (m_table.size() > MIN_CAPACITY && m_size * 8 < m_table.size())
        rehash(m_table.size() / 2);
}

std::shared_ptr<Edge> EdgeFactory::factory(const std::shared_ptr<Point>& a, const std::shared_ptr<Point>& b)
{
    if (!a || !b)
        throw std::invalid_argument("EdgeFactory::factory: null end point");
    const bool aLow = std::less<const Point*>()(a.get(), b.get());
    const std::shared_ptr<Point>& low = aLow ? a : b;
    const std::shared_ptr<Point>& high = aLow ? b : a;
    if (!m_table.empty()) {
        const std::uint64_t entry = m_table[findIndex(low.get(), high.get())];
        if (entry) {
            Edge* found = edgeOf(entry);
            if (std::shared_ptr<Edge> alive = found->weak_from_this().lock())
                return alive;
            // Only an edge in the middle of its destruction gets here.
            remove(found);
            found->m_interned = false;
        }
    }
    auto edge = std::make_shared<Edge>(low, high);
    insert(edge.get());
    return edge;
}

} // namespace core
} // namespace tin
