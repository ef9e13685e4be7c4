#pragma once

#include <memory>
#include <vector>

namespace tin {
namespace core {

class Point;
class Point2DI;

/**
 * Look-up of the points an object holds at one exact 2-D position.
 *
 * findPointsAt() compares x and y exactly (no tolerance; ids and elevations take no
 * part) and returns every distinct point object standing there, sharing the object's
 * own points. An empty vector means no point stands there. Each implementation fixes
 * the order of its result.
 */
class PointLocator {
public:
    virtual ~PointLocator();

    virtual std::vector<std::shared_ptr<Point>> findPointsAt(const Point2DI& position) const = 0;

protected:
    PointLocator() = default;
    PointLocator(const PointLocator&) = default;
    PointLocator& operator=(const PointLocator&) = default;
};

} // namespace core
} // namespace tin
