#include "orlin/core/PointRing.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/Breakline.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/PointFunctions.h"
#include "orlin/core/Polygon.h"

#include <geos/geom/Coordinate.h>
#include <geos/geom/CoordinateSequence.h>
#include <geos/geom/CoordinateSequenceFactory.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/LinearRing.h>

#include <algorithm>

namespace tin::core {

struct PointRing::Impl
{
    std::vector<std::shared_ptr<Point>> m_points;
    bool m_rectCached = false;
    Rect m_rect;
    std::vector<Point*> m_sortedPoints;
    std::unique_ptr<geos::geom::LinearRing> m_linearRing;
};

namespace {

// The order of the canonical form: smaller y first, then smaller x.
bool lowerThan(const Point& a, const Point& b)
{
    return a.y() < b.y() || (a.y() == b.y() && a.x() < b.x());
}

std::vector<std::shared_ptr<Point>> canonicalForm(const std::vector<std::shared_ptr<Point>>& v)
{
    const std::size_t n = v.size();
    if (n < 3)
        throw common::exception::RuntimeException(
            "PointRing: a ring needs at least three entries (two points and the closing repeat)");
    for (const auto& p : v)
        if (!p)
            throw common::exception::RuntimeException("PointRing: null point in the ring");
    if (v.back() != v.front() && (v.back()->x() != v.front()->x() || v.back()->y() != v.front()->y()))
        throw common::exception::RuntimeException(
            "PointRing: the ring is not closed (the last entry does not repeat the first)");

    const std::size_t m = n - 1;
    std::size_t k = 0;
    for (std::size_t i = 1; i < m; ++i)
        if (lowerThan(*v[i], *v[k]))
            k = i;

    std::vector<std::shared_ptr<Point>> r(m);
    for (std::size_t i = 0; i < m; ++i)
        r[i] = v[(i + k) % m];

    // Keep the direction only when the predecessor of the start is strictly greater than its
    // successor; otherwise walk the other way round.
    if (!lowerThan(*r[1], *r[m - 1]))
        std::reverse(r.begin() + 1, r.end());

    r.push_back(r[0]);
    return r;
}

} // namespace

PointRing::PointRing() : m_impl(std::make_unique<Impl>()) {}

PointRing::PointRing(const std::vector<std::shared_ptr<Point>>& points)
    : m_impl(std::make_unique<Impl>())
{
    m_impl->m_points = canonicalForm(points);
}

PointRing::PointRing(std::initializer_list<std::shared_ptr<Point>> points)
    : PointRing(std::vector<std::shared_ptr<Point>>(points))
{
}

PointRing::PointRing(const PointRing& other) : Geometry(other), m_impl(std::make_unique<Impl>())
{
    if (!other.m_impl)
        throw common::exception::RuntimeException("PointRing: copy of a moved-from ring");
    m_impl->m_points = canonicalForm(other.m_impl->m_points);
}

PointRing::PointRing(PointRing&& other) noexcept = default;

PointRing::~PointRing() = default;

Rect PointRing::boundingRect() const
{
    if (!m_impl->m_rectCached) {
        m_impl->m_rect = boundingRectOfPoints(m_impl->m_points);
        m_impl->m_rectCached = true;
    }
    return m_impl->m_rect;
}

bool PointRing::contains(Point* p) const
{
    auto& sorted = m_impl->m_sortedPoints;
    if (sorted.empty() && !m_impl->m_points.empty()) {
        sorted.reserve(m_impl->m_points.size());
        for (const auto& entry : m_impl->m_points)
            sorted.push_back(entry.get());
        std::sort(sorted.begin(), sorted.end(), std::less<Point*>());
    }
    return std::binary_search(sorted.begin(), sorted.end(), p, std::less<Point*>());
}

bool PointRing::containsBreakline(const Breakline& b) const
{
    Point* a = b.point1().get();
    Point* c = b.point2().get();
    if (!contains(a) || !contains(c))
        return false;
    const auto& points = m_impl->m_points;
    const std::size_t n = points.size();
    std::size_t j = 0;
    while (points[j].get() != a)
        ++j;
    if (j > 0)
        return points[j - 1].get() == c || points[j + 1].get() == c;
    return points[1].get() == c || points[n - 2].get() == c;
}

geos::geom::LinearRing* PointRing::geosLinearRing() const
{
    if (!m_impl->m_linearRing) {
        const auto* factory = defaultGeometryFactory();
        const auto& points = m_impl->m_points;
        auto sequence = factory->getCoordinateSequenceFactory()->create(points.size(), 2);
        for (std::size_t i = 0; i < points.size(); ++i)
            sequence->setAt(geos::geom::Coordinate(points[i]->x(), points[i]->y(), 0.0), i);
        auto ring = factory->createLinearRing(std::move(sequence));
        ring->normalize();
        m_impl->m_linearRing = std::move(ring);
    }
    return m_impl->m_linearRing.get();
}

geos::geom::Geometry* PointRing::geosGeometry() const { return geosLinearRing(); }

std::vector<std::shared_ptr<Point>> PointRing::points() const { return m_impl->m_points; }

int PointRing::segmentCount() const { return static_cast<int>(m_impl->m_points.size()) - 1; }

Polygon PointRing::toPolygon() const
{
    std::vector<Point2D> vertices;
    vertices.reserve(m_impl->m_points.size());
    for (const auto& p : m_impl->m_points)
        vertices.emplace_back(p->x(), p->y(), -1);
    return Polygon(vertices);
}

} // namespace tin::core
