#include "orlin/core/PointFactory.h"

#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/PointFunctions.h"

#include <cmath>
#include <stdexcept>

namespace tin {
namespace core {

PointFactory PointFactory::m_instance;

namespace {
const double ELEVATION_SNAP = 1e-10;
const double POSITION_TOLERANCE = 1e-8;
}

PointFactory::PointFactory() = default;
PointFactory::~PointFactory() = default;

PointFactory& PointFactory::instance()
{
    return m_instance;
}

std::shared_ptr<Point> PointFactory::factory(Point p, bool overwrite)
{
    if (std::isnan(p.x()) || std::isnan(p.y()))
        throw std::invalid_argument("PointFactory::factory: position is not a number");
    if (std::fabs(p.elevation()) < ELEVATION_SNAP)
        p.setElevation(0.0);
    // Stored positions are relative to the offset; search where the point would be
    // stored, or a second request at the same place would not find the first.
    const double x = p.x() - m_offset.x();
    const double y = p.y() - m_offset.y();
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
    return m_points.addNew(std::make_shared<Point>(x, y, wanted.elevation()));
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
