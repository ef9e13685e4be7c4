#include "orlin/core/EdgeFactory.h"

#include "orlin/core/Edge.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"

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
    for (Edge* e : m_table) {
        if (e)
            e->m_interned = false;
    }
    s_alive = false;
}

EdgeFactory& EdgeFactory::instance()
{
    return m_instance;
}

std::size_t EdgeFactory::homeOf(const Point* low, const Point* high)
{
    return hashAddressPair(low, high);
}

std::size_t EdgeFactory::findIndex(const Point* low, const Point* high) const
{
    const std::size_t mask = m_table.size() - 1;
    for (std::size_t i = homeOf(low, high) & mask;; i = (i + 1) & mask) {
        const Edge* e = m_table[i];
        if (!e || (e->m_p1.get() == low && e->m_p2.get() == high))
            return i;
    }
}

void EdgeFactory::rehash(std::size_t capacity)
{
    std::vector<Edge*> old(capacity, nullptr);
    old.swap(m_table);
    for (Edge* e : old) {
        if (e)
            m_table[findIndex(e->m_p1.get(), e->m_p2.get())] = e;
    }
}

void EdgeFactory::insert(Edge* edge)
{
    if ((m_size + 1) * 10 > m_table.size() * 7)
        rehash(m_table.empty() ? MIN_CAPACITY : m_table.size() * 2);
    m_table[findIndex(edge->m_p1.get(), edge->m_p2.get())] = edge;
    ++m_size;
    edge->m_interned = true;
}

void EdgeFactory::remove(const Edge* edge)
{
    if (m_table.empty())
        return;
    std::size_t hole = findIndex(edge->m_p1.get(), edge->m_p2.get());
    if (m_table[hole] != edge)
        return;
    // Backward-shift deletion keeps every probe chain unbroken without tombstones.
    const std::size_t mask = m_table.size() - 1;
    m_table[hole] = nullptr;
    --m_size;
    for (std::size_t j = (hole + 1) & mask; m_table[j]; j = (j + 1) & mask) {
        const std::size_t home = homeOf(m_table[j]->m_p1.get(), m_table[j]->m_p2.get()) & mask;
        const bool homeAfterHole = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
        if (!homeAfterHole) {
            m_table[hole] = m_table[j];
            m_table[j] = nullptr;
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
        Edge* found = m_table[findIndex(low.get(), high.get())];
        if (found) {
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
