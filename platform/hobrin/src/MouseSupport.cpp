#include "guimisc/MouseSupport.h"

namespace guimisc {

int MouseSupport::nearRadius()
{
    return 3;
}

bool MouseSupport::isNear(const QPointF& p, const QPointF& q, double radius)
{
    const QPointF d = p - q;
    return d.x() * d.x() + d.y() * d.y() <= radius * radius;
}

} // namespace guimisc
