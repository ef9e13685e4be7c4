#include "brask/util/TransformSupport.h"

#include <QPointF>
#include <QTransform>

#include <cmath>

namespace mvc::util {

QTransform TransformSupport::inverted(const QTransform& transform, bool* invertible)
{
    if (!transform.isAffine()) {
        return transform.inverted(invertible);
    }
    const double a = transform.m11();
    const double b = transform.m12();
    const double c = transform.m21();
    const double d = transform.m22();
    const double dx = transform.dx();
    const double dy = transform.dy();
    const double det = a * d - b * c;
    if (det == 0.0 || !std::isfinite(det)) {
        if (invertible) {
            *invertible = false;
        }
        return QTransform();
    }
    if (invertible) {
        *invertible = true;
    }
    // Row vectors: (x y 1) * [a b 0; c d 0; dx dy 1].
    const double ia = d / det;
    const double ib = -b / det;
    const double ic = -c / det;
    const double id = a / det;
    return QTransform(ia, ib, ic, id, -(dx * ia + dy * ic), -(dx * ib + dy * id));
}

bool TransformSupport::isFinite(const QPointF& point)
{
    return std::isfinite(point.x()) && std::isfinite(point.y());
}

bool TransformSupport::isValidScale(double scale)
{
    return std::isfinite(scale) && scale > 0.0;
}

} // namespace mvc::util
