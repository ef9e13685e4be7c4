#include "movarin/shell/ShowsLargePart.h"

#include "orlin/core/Rect.h"

#include <algorithm>

namespace varnel {

namespace {

// The share of the extent's area from which a walk beats the index: the index hands out
// every object it finds through a tree or table probe, where the walk reads the objects in
// the order they lie in memory.
constexpr double LARGE_SHARE = 0.25;

} // namespace

bool showsLargePart(const tin::core::Rect& extent, const QRectF& area)
{
    if (!extent.isValid()) {
        return false;
    }
    const QRectF view = area.normalized();
    const double left = std::max(extent.xMin(), view.left());
    const double right = std::min(extent.xMax(), view.right());
    const double bottom = std::max(extent.yMin(), view.top());
    const double top = std::min(extent.yMax(), view.bottom());
    if (left > right || bottom > top) {
        return false;
    }
    const double whole = extent.area();
    return !(whole > 0.0) || (right - left) * (top - bottom) >= LARGE_SHARE * whole;
}

} // namespace varnel
