#include "orlin/core/Edge2DFactory.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/LargeTableAllocatorT.h"
#include "orlin/core/Point2DIRepository.h"

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
    // Addresses are aligned and close together: multiply both into the high bits, fold them
    // down, and let the table take the low bits.
    std::uint64_t h = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(a)) *
                      0x9E3779B97F4A7C15ull;
    h ^= static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(b)) * 0xC2B2AE3D27D4EB4Full;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return static_cast<std::size_t>(h);
}

// One entry of the open-addressing table: the key pair (lower address first) kept beside the
// edge, so a probe compares without touching the edge object.
struct Slot
{
    const Point2DI* first = nullptr;
    const Point2DI* second = nullptr;
    std::shared_ptr<Edge2D> edge;
};

} // namespace

// Linear probing over a power-of-two table at most three quarters full; an overlay asks for
// every side of several hundred thousand triangles, and a node-based map spends most of that
// in allocation and pointer chasing.
struct Edge2DFactory::Impl
{
    std::vector<Slot, LargeTableAllocatorT<Slot>> m_slots;
    std::size_t m_count = 0;
    Point2DIRepository* m_repository;

    std::shared_ptr<Edge2D>& slotFor(const Point2DI* first, const Point2DI* second)
    {
        if ((m_count + 1) * 4 > m_slots.size() * 3)
            grow();
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = pairHash(first, second) & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (!slot.edge) {
                slot.first = first;
                slot.second = second;
                ++m_count;
                return slot.edge;
            }
            if (slot.first == first && slot.second == second)
                return slot.edge;
        }
    }

    void grow() { rehash(std::max<std::size_t>(64, m_slots.size() * 2)); }

    void rehash(std::size_t capacity)
    {
        std::vector<Slot, LargeTableAllocatorT<Slot>> old(capacity);
        old.swap(m_slots);
        const std::size_t mask = m_slots.size() - 1;
        for (Slot& s : old) {
            if (!s.edge)
                continue;
            std::size_t i = pairHash(s.first, s.second) & mask;
            while (m_slots[i].edge)
                i = (i + 1) & mask;
            m_slots[i] = std::move(s);
        }
    }
};

Edge2DFactory::Edge2DFactory(Point2DIRepository* repository) : m_impl(std::make_unique<Impl>())
{
    m_impl->m_repository = repository;
}

Edge2DFactory::~Edge2DFactory() = default;

void Edge2DFactory::reserve(std::size_t n)
{
    std::size_t capacity = 64;
    while (capacity * 3 < n * 4)
        capacity *= 2;
    if (capacity > m_impl->m_slots.size())
        m_impl->rehash(capacity);
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
    slot = std::make_shared<Edge2D>(aFirst ? a : b, aFirst ? b : a);
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
