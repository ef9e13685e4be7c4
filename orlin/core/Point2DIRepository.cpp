#include "orlin/core/Point2DIRepository.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/MagnitudeRelationException.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/QuadtreeContainerT.h"
#include "orlin/core/Rect.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <locale>
#include <sstream>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tin::core {

const double Point2DIRepository::DEFAULT_DELTA = 1e-8;
const int Point2DIRepository::DEFAULT_MINIMUM_RATIO = 10;

namespace {

// Hash over the 16 raw bytes of x, then y. -0.0 is folded onto 0.0 first: the two compare equal,
// and a key that hashed them apart would let the same position be stored twice.
struct CoordinateHash
{
    std::size_t operator()(const Point2D& key) const
    {
        const double xy[2] = {key.x() + 0.0, key.y() + 0.0};
        char bytes[sizeof xy];
        std::memcpy(bytes, xy, sizeof xy);
        return std::hash<std::string_view>()(std::string_view(bytes, sizeof bytes));
    }
};

struct CoordinateEqual
{
    bool operator()(const Point2D& a, const Point2D& b) const
    {
        return a.x() == b.x() && a.y() == b.y();
    }
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
    std::unordered_map<Point2D, std::shared_ptr<Point2DI>, CoordinateHash, CoordinateEqual>
        m_pointMap;
    std::unique_ptr<QuadtreeContainerT<Point2DI>> m_pointIndex;

    void createIndexIfAbsent()
    {
        if (m_pointIndex)
            return;
        auto index = std::make_unique<QuadtreeContainerT<Point2DI>>();
        index->reserve(m_pointMap.size());
        for (const auto& entry : m_pointMap)
            index->appendUnindexed(entry.second);
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
        m_pointMap.emplace(Point2D(p->x(), p->y()), p);
        if (m_pointIndex)
            m_pointIndex->appendNew(p);
        return p;
    }
};

Point2DIRepository::Point2DIRepository() : m_impl(std::make_unique<Impl>()) {}

Point2DIRepository::~Point2DIRepository() = default;

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
    return m_impl->store(std::make_shared<Point2D>(p.x(), p.y()));
}

std::shared_ptr<Point2DI> Point2DIRepository::get(const Point2DI& p) const
{
    const auto found = m_impl->m_pointMap.find(Point2D(p.x(), p.y()));
    if (found == m_impl->m_pointMap.end())
        return nullptr;
    return found->second;
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
    if (m_impl->m_pointMap.empty()) {
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
    return add(std::make_shared<Point2D>(p.x(), p.y()));
}

} // namespace tin::core
