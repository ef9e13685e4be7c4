#include "orlin/core/Edge2DFactory.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/Point2DIRepository.h"
#include "orlin/support/FixedSizePoolAllocatorT.h"
#include "orlin/support/HashMix.h"
#include "orlin/support/LinearProbingTableT.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <locale>
#include <sstream>
#include <vector>
#include <utility>

namespace tin::core {

namespace {

bool coordinateLess(const Point2DI& a, const Point2DI& b)
{
    return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
}

std::size_t pairHash(const Point2DI* a, const Point2DI* b)
{
    return static_cast<std::size_t>(support::mixWords(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(a)),
                                             static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(b))));
}

// One entry of the open-addressing table: the key pair (lower address first) kept beside the
// edge, so a probe compares without touching the edge object.
struct Slot
{
    const Point2DI* first = nullptr;
    const Point2DI* second = nullptr;
    std::shared_ptr<Edge2D> edge;
};

struct SlotTraits
{
    static std::size_t hashOf(const Slot& s) { return pairHash(s.first, s.second); }
    static bool occupied(const Slot& s) { return s.edge != nullptr; }
};

} // namespace

// An open-addressing table rather than a node-based map: an overlay asks for every side of
// several hundred thousand triangles, and a node-based map spends most of that in allocation
// and pointer chasing.
struct Edge2DFactory::Impl
{
    support::LinearProbingTableT<Slot, SlotTraits> m_table;
    Point2DIRepository* m_repository;

    std::shared_ptr<Edge2D>& slotFor(const Point2DI* first, const Point2DI* second)
    {
        const auto claimed = m_table.claim(pairHash(first, second), [&](const Slot& slot) {
            return slot.first == first && slot.second == second;
        });
        if (claimed.second) {
            claimed.first->first = first;
            claimed.first->second = second;
        }
        return claimed.first->edge;
    }
};

Edge2DFactory::Edge2DFactory(Point2DIRepository* repository) : m_impl(std::make_unique<Impl>())
{
    m_impl->m_repository = repository;
}

Edge2DFactory::~Edge2DFactory() = default;

void Edge2DFactory::reserve(std::size_t n)
{
    m_impl->m_table.reserve(n);
}

std::shared_ptr<Edge2D> Edge2DFactory::factory(const std::shared_ptr<Point2DI>& a,
                                               const std::shared_ptr<Point2DI>& b)
{
    if (!a || !b || a == b)
        return nullptr;
    // The table is keyed by the two addresses in address order, so a look-up reads neither
    // point; only a new edge needs the coordinates.
    const bool aLower = std::less<const Point2DI*>()(a.get(), b.get());
    auto& slot = m_impl->slotFor(aLower ? a.get() : b.get(), aLower ? b.get() : a.get());
    if (slot)
        return slot;
    // Smaller coordinate first. Two distinct objects at one position (never both in one
    // repository) are put in address order.
    bool aFirst = coordinateLess(*a, *b);
    if (!aFirst && !coordinateLess(*b, *a))
        aFirst = aLower;
    slot = std::allocate_shared<Edge2D>(support::FixedSizePoolAllocatorT<Edge2D>(), aFirst ? a : b, aFirst ? b : a);
    return slot;
}

std::shared_ptr<Edge2D> Edge2DFactory::factory(const Point2DI& a, const Point2DI& b)
{
    const bool swapped = coordinateLess(b, a);
    std::shared_ptr<Point2DI> stored[2];
    int i = 0;
    for (const Point2DI* p : {swapped ? &b : &a, swapped ? &a : &b}) {
        stored[i] = m_impl->m_repository->get(*p);
        if (!stored[i]) {
            std::ostringstream text;
            text.imbue(std::locale::classic());
            text << "Edge2DFactory::factory: point (" << p->x() << ", " << p->y()
                 << ") is not stored in the repository";
            throw common::exception::RuntimeException(text.str());
        }
        ++i;
    }
    return factory(stored[0], stored[1]);
}

std::shared_ptr<Edge2D> Edge2DFactory::factoryFuzzy(const Point2DI& a, const Point2DI& b)
{
    const Point2DI& smaller = coordinateLess(b, a) ? b : a;
    const Point2DI& larger = coordinateLess(b, a) ? a : b;
    double distance = 0.0;
    auto first = m_impl->m_repository->getFuzzy(smaller, &distance);
    auto second = m_impl->m_repository->getFuzzy(larger, &distance);
    return factory(first, second);
}

} // namespace tin::core
