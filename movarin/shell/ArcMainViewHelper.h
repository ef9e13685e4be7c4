#pragma once

#include "brask/util/MainViewHelperI.h"

namespace mvc::core {
class View;
}

namespace tin::core {
class Point2DI;
}

namespace varnel {

/// A circular arc on the main view about a borrowed vertex, from the direction of arm end
/// 1 (through it: the radius is the vertex's distance to arm end 1 in pixels) to the
/// direction of arm end 2, with the helper's pen and brush. Computed in widget pixels in
/// single precision, the angles in sixteenths of a degree truncated toward zero. Sweep
/// mode 0 (the default) sweeps counter-clockwise on the screen as measured; mode 3 takes
/// the shorter way round, and a half turn exactly clockwise. Other modes sweep as mode 0.
/// An arm of zero length draws nothing. The three points are read at every paint and must
/// outlive the helper.
class ArcMainViewHelper : public mvc::util::MainViewHelperI {
public:
    ArcMainViewHelper(const tin::core::Point2DI* vertex, const tin::core::Point2DI* armEnd1,
                      const tin::core::Point2DI* armEnd2, mvc::core::View* view, const QPen& pen,
                      const QBrush& brush);

    void setSweepMode(int mode);

    void paintView(QPainter* painter, const QTransform& transform, const QRectF& rect) override;

private:
    const tin::core::Point2DI* m_vertex;
    const tin::core::Point2DI* m_armEnd1;
    const tin::core::Point2DI* m_armEnd2;
    int m_sweepMode = 0;
};

} // namespace varnel
