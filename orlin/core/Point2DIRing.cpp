#include "orlin/core/Point2DIRing.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <stdexcept>

#include <geos/geom/Coordinate.h>
#include <geos/geom/CoordinateSequence.h>
#include <geos/geom/CoordinateSequenceFactory.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/LinearRing.h>

#include "orlin/core/Edge2D.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Point2DI.h"
#include "orlin/core/Polygon.h"

namespace tin {
namespace core {

struct Point2DIRing::Impl {
    std::vector<std::shared_ptr<Point2DI>> m_points;
    mutable bool m_rectCached = false;
    mutable Rect m_rect;
    mutable std::vector<Point2DI*> m_sortedPoints;
    mutable std::vector<std::pair<std::uintptr_t, std::uintptr_t>> m_sortedSides;
    mutable std::unique_ptr<geos::geom::LinearRing> m_linearRing;
};

namespace {

// y first, then x: the order that picks a ring's lowest point.
bool lowerThan(Point2DI const& a, Point2DI const& b)
{
    if (a.y() != b.y()) {
        return a.y() < b.y();
    }
    return a.x() < b.x();
}

// A side as the ordered pair of its end addresses.
std::pair<std::uintptr_t, std::uintptr_t> sideKey(Point2DI const* a, Point2DI const* b)
{
    auto const x = reinterpret_cast<std::uintptr_t>(a);
    auto const y = reinterpret_cast<std::uintptr_t>(b);
    return x < y ? std::make_pair(x, y) : std::make_pair(y, x);
}

}  // namespace

Point2DIRing::Point2DIRing() : m_impl(std::make_unique<Impl>()) {}

Point2DIRing::Point2DIRing(std::vector<std::shared_ptr<Point2DI>> const& points)
    : m_impl(std::make_unique<Impl>())
{
    setCanonical(points);
}

Point2DIRing::Point2DIRing(std::initializer_list<std::shared_ptr<Point2DI>> const& points)
    : Point2DIRing(std::vector<std::shared_ptr<Point2DI>>(points))
{
}

Point2DIRing::Point2DIRing(Point2DIRing const& other) : m_impl(std::make_unique<Impl>())
{
    setCanonical(other.m_impl->m_points);
}

Point2DIRing::Point2DIRing(Point2DIRing&& other) noexcept = default;

Point2DIRing::~Point2DIRing() = default;

void Point2DIRing::setCanonical(std::vector<std::shared_ptr<Point2DI>> const& closed)
{
    if (closed.size() < 3) {
        throw std::invalid_argument("Point ring needs at least three entries, got " +
                                    std::to_string(closed.size()));
    }
    if (closed.front() != closed.back()) {
        throw std::invalid_argument("Point ring is not closed: its last entry is not its first point");
    }
    std::size_t const m = closed.size() - 1;
    std::size_t lowest = 0;
    for (std::size_t i = 1; i < m; ++i) {
        if (lowerThan(*closed[i], *closed[lowest])) {
            lowest = i;
        }
    }
    // The first position of the lowest object (it may occur more than once on a ring that
    // passes a point twice).
    for (std::size_t i = 0; i < m; ++i) {
        if (closed[i] == closed[lowest]) {
            lowest = i;
            break;
        }
    }
    std::vector<std::shared_ptr<Point2DI>> sequence;
    sequence.reserve(m + 1);
    for (std::size_t i = 0; i < m; ++i) {
        sequence.push_back(closed[(i + lowest) % m]);
    }
    if (m > 1) {
        auto const& successor = *sequence[1];
        auto const& predecessor = *sequence[m - 1];
        if (!lowerThan(successor, predecessor)) {
            std::reverse(sequence.begin() + 1, sequence.end());
        }
    }
    sequence.push_back(sequence.front());
    m_impl->m_points = std::move(sequence);
}

std::vector<std::shared_ptr<Point2DI>> Point2DIRing::points() const
{
    return m_impl->m_points;
}

int Point2DIRing::segmentCount() const
{
    return static_cast<int>(m_impl->m_points.size()) - 1;
}

Rect Point2DIRing::boundingRect() const
{
    if (!m_impl->m_rectCached) {
        auto const& pts = m_impl->m_points;
        if (!pts.empty()) {
            double xMin = pts[0]->x(), xMax = xMin, yMin = pts[0]->y(), yMax = yMin;
            for (auto const& p : pts) {
                xMin = std::min(xMin, p->x());
                xMax = std::max(xMax, p->x());
                yMin = std::min(yMin, p->y());
                yMax = std::max(yMax, p->y());
            }
            m_impl->m_rect = Rect(xMin, yMin, xMax, yMax);
        }
        m_impl->m_rectCached = true;
    }
    return m_impl->m_rect;
}

void Point2DIRing::buildSortedPoints() const
{
    if (!m_impl->m_sortedPoints.empty() || m_impl->m_points.empty()) {
        return;
    }
    auto& sorted = m_impl->m_sortedPoints;
    sorted.reserve(m_impl->m_points.size());
    for (auto const& p : m_impl->m_points) {
        sorted.push_back(p.get());
    }
    std::sort(sorted.begin(), sorted.end(), std::less<Point2DI*>());
}

bool Point2DIRing::contains(Point2DI* p) const
{
    buildSortedPoints();
    return std::binary_search(m_impl->m_sortedPoints.begin(), m_impl->m_sortedPoints.end(), p,
                              std::less<Point2DI*>());
}

bool Point2DIRing::containsEdge(Edge2D const& e) const
{
    Point2DI* const a = e.point1().get();
    Point2DI* const b = e.point2().get();
    if (!contains(a) || !contains(b)) {
        return false;
    }
    // A ring may pass a point more than once (a face pinched at a vertex, a dangling edge
    // walked out and back); the side may sit at any of those passes, so every side is listed.
    auto& sides = m_impl->m_sortedSides;
    if (sides.empty()) {
        auto const& pts = m_impl->m_points;
        for (std::size_t j = 0; j + 1 < pts.size(); ++j) {
            sides.push_back(sideKey(pts[j].get(), pts[j + 1].get()));
        }
        std::sort(sides.begin(), sides.end());
    }
    return std::binary_search(sides.begin(), sides.end(), sideKey(a, b));
}

bool Point2DIRing::isSameRing(Point2DIRing const& other) const
{
    auto const& a = m_impl->m_points;
    auto const& b = other.m_impl->m_points;
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

geos::geom::LinearRing* Point2DIRing::geosLinearRing() const
{
    if (!m_impl->m_linearRing) {
        auto const* factory = geos::geom::GeometryFactory::getDefaultInstance();
        auto const& pts = m_impl->m_points;
        auto sequence = factory->getCoordinateSequenceFactory()->create(pts.size(), 2);
        for (std::size_t i = 0; i < pts.size(); ++i) {
            sequence->setAt(geos::geom::Coordinate(pts[i]->x(), pts[i]->y(), 0.0), i);
        }
        m_impl->m_linearRing = factory->createLinearRing(std::move(sequence));
        m_impl->m_linearRing->normalize();
    }
    return m_impl->m_linearRing.get();
}

geos::geom::Geometry* Point2DIRing::geosGeometry() const
{
    return geosLinearRing();
}

Polygon Point2DIRing::toPolygon() const
{
    std::vector<Point2D> vertices;
    vertices.reserve(m_impl->m_points.size());
    for (auto const& p : m_impl->m_points) {
        vertices.emplace_back(p->x(), p->y());
    }
    return Polygon(vertices);
}

}  // namespace core
}  // namespace tin
