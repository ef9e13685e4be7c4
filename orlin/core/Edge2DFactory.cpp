#include "orlin/core/Edge2DFactory.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/Point2DIRepository.h"

#include <cstring>
#include <functional>
#include <locale>
#include <sstream>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace tin::core {

namespace {

using PointPair = std::pair<const Point2DI*, const Point2DI*>;

struct PointPairHash
{
    std::size_t operator()(const PointPair& key) const
    {
        const Point2DI* addresses[2] = {key.first, key.second};
        char bytes[sizeof addresses];
        std::memcpy(bytes, addresses, sizeof addresses);
        return std::hash<std::string_view>()(std::string_view(bytes, sizeof bytes));
    }
};

bool coordinateLess(const Point2DI& a, const Point2DI& b)
{
    return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
}

} // namespace

struct Edge2DFactory::Impl
{
    std::unordered_map<PointPair, std::shared_ptr<Edge2D>, PointPairHash> m_edgeMap;
    Point2DIRepository* m_repository;
};

Edge2DFactory::Edge2DFactory(Point2DIRepository* repository) : m_impl(std::make_unique<Impl>())
{
    m_impl->m_repository = repository;
}

Edge2DFactory::~Edge2DFactory() = default;

std::shared_ptr<Edge2D> Edge2DFactory::factory(const std::shared_ptr<Point2DI>& a,
                                               const std::shared_ptr<Point2DI>& b)
{
    if (!a || !b || a == b)
        return nullptr;
    // Smaller coordinate first. Two distinct objects at one position (never both in one
    // repository) are put in address order, so that either argument order finds the same key.
    bool aFirst = coordinateLess(*a, *b);
    if (!aFirst && !coordinateLess(*b, *a))
        aFirst = std::less<const Point2DI*>()(a.get(), b.get());
    const std::shared_ptr<Point2DI>& first = aFirst ? a : b;
    const std::shared_ptr<Point2DI>& other = aFirst ? b : a;

    auto& slot = m_impl->m_edgeMap[PointPair(first.get(), other.get())];
    if (!slot)
        slot = std::make_shared<Edge2D>(first, other);
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
