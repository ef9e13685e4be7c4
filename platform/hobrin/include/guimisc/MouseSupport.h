#pragma once

#include <QPointF>

namespace guimisc {

/// How near the mouse must come to something to pick it.
class MouseSupport {
public:
    MouseSupport() = delete;

    /// The pick radius in screen pixels (3); callers scale it to world units.
    static int nearRadius();

    /// True when p and q are at most `radius` apart (plane distance, in the units of the
    /// points). Never true when a coordinate is not finite.
    static bool isNear(const QPointF& p, const QPointF& q, double radius);
};

} // namespace guimisc
