#include "orlin/core/PointFactory.h"

#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/PointFunctions.h"
#include "orlin/support/FixedSizePoolAllocatorT.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace tin {
namespace core {

PointFactory PointFactory::m_instance;

namespace {
const double ELEVATION_SNAP = 1e-10;
const double POSITION_TOLERANCE = 1e-8;
const double ELEVATION_TOLERANCE = 1e-8;
// Requests that factoryAll() prefetches ahead: enough to cover a cache miss with the work
// of the requests in between.
const std::size_t PREFETCH_AHEAD = 16;

void requireNumbers(double x, double y)
{
    if (std::isnan(x) || std::isnan(y))
        throw std::invalid_argument("PointFactory::factory: position is not a number");
}

double snapped(double elevation)
{
    return std::fabs(elevation) < ELEVATION_SNAP ? 0.0 : elevation;
}

} // namespace

PointFactory::PointFactory() = default;
PointFactory::~PointFactory() = default;

PointFactory& PointFactory::instance()
{
    return m_instance;
}

std::shared_ptr<Point> PointFactory::factory(Point p, bool overwrite)
{
    requireNumbers(p.x(), p.y());
    p.setElevation(snapped(p.elevation()));
    // Stored positions are relative to the offset; search where the point would be
    // stored, or a second request at the same place would not find the first.
    const double x = p.x() - m_offset.x();
    const double y = p.y() - m_offset.y();
    if (!overwrite)
        return intern(x, y, p.elevation());
    const Point wanted(x, y, p.elevation());
    const Rect box(x - POSITION_TOLERANCE, y - POSITION_TOLERANCE, x + POSITION_TOLERANCE,
                   y + POSITION_TOLERANCE);

    std::shared_ptr<Point> result;
    for (const std::shared_ptr<Point>& c : m_points.findIntersectRect(box)) {
        if (!c->isCloseTo(wanted))
            continue;
        if (overwrite && (c->x() != x || c->y() != y)) {
            const double oldX = c->x();
            const double oldY = c->y();
            c->setPosition(x, y);
            m_points.reindex(c.get(), oldX, oldY);
        }
        if (c->isElevationCloseTo(wanted)) {
            if (overwrite)
                c->setElevation(wanted.elevation());
            result = c;
        }
    }
    if (result)
        return result;
    return m_points.addNew(std::allocate_shared<Point>(support::FixedSizePoolAllocatorT<Point>(), x, y, wanted.elevation()));
}

std::shared_ptr<Point> PointFactory::intern(double x, double y, double elevation)
{
    const Rect box(x - POSITION_TOLERANCE, y - POSITION_TOLERANCE, x + POSITION_TOLERANCE,
                   y + POSITION_TOLERANCE);
    // The last close point in slot order, as in the overwrite loop of factory().
    return m_points.findLastOrAddNew(
        box,
        [&](const Point& c) {
            // Point::isCloseTo and Point::isElevationCloseTo, without building a Point.
            return std::fabs(c.x() - x) <= POSITION_TOLERANCE && std::fabs(c.y() - y) <= POSITION_TOLERANCE
                   && std::fabs(c.elevation() - elevation) < ELEVATION_TOLERANCE;
        },
        [&] { return std::allocate_shared<Point>(support::FixedSizePoolAllocatorT<Point>(), x, y, elevation); });
}

std::shared_ptr<Point> PointFactory::internExact(double x, double y, double elevation)
{
    const Rect box(x - POSITION_TOLERANCE, y - POSITION_TOLERANCE, x + POSITION_TOLERANCE,
                   y + POSITION_TOLERANCE);
    const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    return m_points.findLastOrAddNew(
        box, [&](const Point& c) { return same(c.x(), x) && same(c.y(), y) && same(c.elevation(), elevation); },
        [&] { return std::allocate_shared<Point>(support::FixedSizePoolAllocatorT<Point>(), x, y, elevation); });
}

void PointFactory::factoryAll(const double* xyz, std::size_t count, std::shared_ptr<Point>* out)
{
    internAll(xyz, count, out,
              [this](double x, double y, double z) { return intern(x, y, snapped(z)); });
}

void PointFactory::factoryAllExact(const double* xyz, std::size_t count, std::shared_ptr<Point>* out)
{
    internAll(xyz, count, out, [this](double x, double y, double z) { return internExact(x, y, z); });
}

template <class Intern>
void PointFactory::internAll(const double* xyz, std::size_t count, std::shared_ptr<Point>* out,
                             Intern intern)
{
    // A bulk of the slots' order is checked for dead slots once, here. Nothing dies
    // during the requests unless out held points before: the periodic checks in between
    // could not compact and are skipped.
    bool mayHaveExpired = !m_points.reserve(count);
    struct Bulk {
        QuadtreeWeakContainerT<Point>& points;
        const bool& mayHaveExpired;
        ~Bulk() { points.endBulk(mayHaveExpired); }
    };
    m_points.beginBulk();
    const Bulk bulk{m_points, mayHaveExpired};
    const double dx = m_offset.x();
    const double dy = m_offset.y();
    for (std::size_t i = 0; i < count; ++i) {
        if (i + PREFETCH_AHEAD < count) {
            const double* ahead = xyz + 3 * (i + PREFETCH_AHEAD);
            m_points.prefetch(ahead[0] - dx, ahead[1] - dy);
        }
        const double* v = xyz + 3 * i;
        requireNumbers(v[0], v[1]);
        if (out[i])
            mayHaveExpired = true; // the point it held may die now
        out[i] = intern(v[0] - dx, v[1] - dy, v[2]);
    }
}

bool PointFactory::findLivePosition(double x, double y, Point2D* position)
{
    requireNumbers(x, y);
    const double sx = x - m_offset.x();
    const double sy = y - m_offset.y();
    const Rect box(sx - POSITION_TOLERANCE, sy - POSITION_TOLERANCE, sx + POSITION_TOLERANCE,
                   sy + POSITION_TOLERANCE);
    bool found = false;
    double best = 0.0;
    m_points.visitIntersectRect(box, [&](const std::shared_ptr<Point>& c) {
        const double d = std::hypot(c->x() - sx, c->y() - sy);
        if (!found || d < best) {
            found = true;
            best = d;
            *position = Point2D(c->x() + m_offset.x(), c->y() + m_offset.y());
        }
    });
    return found;
}

void PointFactory::setOffset(const Point2D& offset)
{
    const Point2D d = offset - m_offset;
    for (const std::shared_ptr<Point>& p : m_points.liveItems())
        p->setPosition(p->x() - d.x(), p->y() - d.y());
    m_offset = offset;
    m_points.dropIndex();
}

void PointFactory::setAutoOffset()
{
    const std::vector<std::shared_ptr<Point>> live = m_points.liveItems();
    if (live.empty()) {
        setOffset(Point2D(0, 0)); // the centre of an empty box
        return;
    }
    // The box is over stored (shifted) positions; the offset is absolute.
    const Rect r = boundingRectOfPoints(live);
    setOffset(Point2D((r.xMax() + r.xMin()) * 0.5 + m_offset.x(), (r.yMax() + r.yMin()) * 0.5 + m_offset.y()));
}

} // namespace core
} // namespace tin
