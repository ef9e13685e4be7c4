#include "orlin/core/RectRef.h"

#include "orlin/core/Point2DI.h"

namespace tin {
namespace core {

bool RectRef::contains(const Point2DI& p) const
{
    const double x = p.x();
    const double y = p.y();
    return *m_xMin <= x && x <= *m_xMax && *m_yMin <= y && y <= *m_yMax;
}

} // namespace core
} // namespace tin
