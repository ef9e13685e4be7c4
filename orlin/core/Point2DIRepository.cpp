#include "orlin/core/Point2DIRepository.h"

#include "orlin/core/FixedSizePoolAllocatorT.h"
#include "orlin/core/HashMix.h"
#include "common/exception/RuntimeException.h"
#include "orlin/core/LinearProbingTableT.h"
#include "orlin/core/MagnitudeRelationException.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/QuadtreeContainerT.h"
#include "orlin/core/Rect.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <locale>
#include <sstream>
#include <utility>
#include <vector>

namespace tin::core {

const double Point2DIRepository::DEFAULT_DELTA = 1e-8;
const int Point2DIRepository::DEFAULT_MINIMUM_RATIO = 10;

namespace {

std::size_t coordinateHash(double x, double y)
{
    return static_cast<std::size_t>(mixWords(coordinateBits(x), coordinateBits(y)));
}

// One entry of the open-addressing table of positions, the coordinates kept beside the point
// so that a probe does not touch the point object.
struct PositionSlot
{
    double x = 0.0;
    double y = 0.0;
    std::shared_ptr<Point2DI> point;
};

struct PositionSlotTraits
{
    static std::size_t hashOf(const PositionSlot& s) { return coordinateHash(s.x, s.y); }
    static bool occupied(const PositionSlot& s) { return s.point != nullptr; }
};

std::string describe(const Point2DI& p)
{
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << "(" << p.x() << ", " << p.y() << ")";
    return text.str();
}

void requireFinite(const Point2DI& p, const char* operation)
{
    if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
        throw common::exception::RuntimeException(std::string("Point2DIRepository::") + operation +
                                                  ": coordinate is not a finite number " +
                                                  describe(p));
}

} // namespace

struct Point2DIRepository::Impl
{
    LinearProbingTableT<PositionSlot, PositionSlotTraits> m_table;
    std::unique_ptr<QuadtreeContainerT<Point2DI>> m_pointIndex;

    const PositionSlot* find(double x, double y) const
    {
        return m_table.find(coordinateHash(x, y),
                            [&](const PositionSlot& slot) { return slot.x == x && slot.y == y; });
    }

    void insert(double x, double y, const std::shared_ptr<Point2DI>& p)
    {
        const auto claimed = m_table.claim(
            coordinateHash(x, y), [&](const PositionSlot& slot) { return slot.x == x && slot.y == y; });
        if (!claimed.second)
            return;
        claimed.first->x = x;
        claimed.first->y = y;
        claimed.first->point = p;
    }

    void createIndexIfAbsent()
    {
        if (m_pointIndex)
            return;
        auto index = std::make_unique<QuadtreeContainerT<Point2DI>>();
        index->reserve(m_table.size());
        for (const auto& slot : m_table.slots())
            if (slot.point)
                index->appendUnindexed(slot.point);
        index->rebuildIndex();
        m_pointIndex = std::move(index);
    }

    std::vector<std::shared_ptr<Point2DI>> query(const Point2DI& p, double halfWidth)
    {
        return m_pointIndex->findIntersectRect(
            Rect(p.x() - halfWidth, p.y() - halfWidth, p.x() + halfWidth, p.y() + halfWidth));
    }

    std::shared_ptr<Point2DI> store(const std::shared_ptr<Point2DI>& p)
    {
        insert(p->x(), p->y(), p);
        if (m_pointIndex)
            m_pointIndex->appendNew(p);
        return p;
    }
};

Point2DIRepository::Point2DIRepository() : m_impl(std::make_unique<Impl>()) {}

Point2DIRepository::~Point2DIRepository() = default;

void Point2DIRepository::reserve(std::size_t n)
{
    m_impl->m_table.reserve(n);
}

std::shared_ptr<Point2DI> Point2DIRepository::add(const std::shared_ptr<Point2DI>& p)
{
    if (!p)
        throw common::exception::RuntimeException("Point2DIRepository::add: null point");
    requireFinite(*p, "add");
    if (auto stored = get(*p))
        return stored;
    return m_impl->store(p);
}

std::shared_ptr<Point2DI> Point2DIRepository::add(const Point2DI& p)
{
    requireFinite(p, "add");
    if (auto stored = get(p))
        return stored;
    return m_impl->store(std::allocate_shared<Point2D>(FixedSizePoolAllocatorT<Point2D>(), p.x(), p.y()));
}

std::shared_ptr<Point2DI> Point2DIRepository::get(const Point2DI& p) const
{
    const PositionSlot* found = m_impl->find(p.x(), p.y());
    if (found == nullptr)
        return nullptr;
    return found->point;
}

std::shared_ptr<Point2DI> Point2DIRepository::getFuzzy(const Point2DI& p, double tolerance)
{
    requireFinite(p, "getFuzzy");
    if (std::isnan(tolerance))
        throw common::exception::RuntimeException(
            "Point2DIRepository::getFuzzy: tolerance is not a number");
    m_impl->createIndexIfAbsent();
    const auto found = m_impl->query(p, tolerance);
    if (found.empty())
        return nullptr;
    return found.front();
}

std::shared_ptr<Point2DI> Point2DIRepository::getFuzzy(const Point2DI& p, double* distance)
{
    // The caller may not want the distance; the search still needs somewhere to keep it.
    double ignored = 0.0;
    double& w = distance ? *distance : ignored;

    requireFinite(p, "getFuzzy");
    m_impl->createIndexIfAbsent();
    if (m_impl->m_table.size() == 0) {
        w = std::numeric_limits<double>::max();
        throw common::exception::MagnitudeRelationException("<", w, 0);
    }

    // Grow the square until it holds a point. That point lies within w·√2, so a square
    // 10·√2 times wider holds every point closer than ten times the nearest one.
    w = DEFAULT_DELTA;
    std::vector<std::shared_ptr<Point2DI>> candidates = m_impl->query(p, w);
    while (candidates.empty()) {
        w = w * 2;
        candidates = m_impl->query(p, w);
    }
    w = w * 1.4142136 * DEFAULT_MINIMUM_RATIO;
    candidates = m_impl->query(p, w);
    while (candidates.empty()) {
        w = w * 2;
        candidates = m_impl->query(p, w);
    }

    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

    std::vector<std::pair<double, std::shared_ptr<Point2DI>>> byDistance;
    byDistance.reserve(candidates.size());
    for (auto& c : candidates) {
        const double dx = p.x() - c->x();
        const double dy = p.y() - c->y();
        byDistance.emplace_back(dx * dx + dy * dy, std::move(c));
    }
    std::sort(byDistance.begin(), byDistance.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });

    const double d = std::sqrt(byDistance[0].first);
    w = d;
    if (byDistance.size() > 1) {
        const double e = std::sqrt(byDistance[1].first);
        if (e < DEFAULT_MINIMUM_RATIO * d)
            throw common::exception::MagnitudeRelationException("<", e, d);
    }
    return byDistance[0].second;
}

std::shared_ptr<Point2DI> Point2DIRepository::addFuzzy(const std::shared_ptr<Point2DI>& p,
                                                       double tolerance)
{
    if (!p)
        throw common::exception::RuntimeException("Point2DIRepository::addFuzzy: null point");
    if (auto found = getFuzzy(*p, tolerance))
        return found;
    return m_impl->store(p);
}

std::shared_ptr<Point2DI> Point2DIRepository::addFuzzy(const Point2DI& p, double tolerance)
{
    if (auto found = getFuzzy(p, tolerance))
        return found;
    return add(std::allocate_shared<Point2D>(FixedSizePoolAllocatorT<Point2D>(), p.x(), p.y()));
}

} // namespace tin::core
