#pragma once

#include "movarin/shell/ArcMainViewHelper.h"

namespace varnel {

/// An angle on the main view between two arms at a borrowed vertex: the arc from arm end 1
/// the shorter way round (`ArcMainViewHelper`, sweep mode 3), and a label at the arc's
/// middle (at the distance of arm end 1) with the angle's size in degrees, `decimals` (2)
/// decimals and the degree sign, aligned away from the vertex, in the painter's font at
/// `fontSize` points (12 until set; callers pass "font/angle_fontsize"). The angle runs
/// from arm 1 to arm 2 counter-clockwise when under 180 degrees, else clockwise; a half
/// turn exactly counts as clockwise and reads 180. Arms in one direction draw the arc
/// only; an arm of zero length draws nothing. The helper's pen and brush draw both. The
/// three points are read at every paint and must outlive the helper.
class AngleMainViewHelper : public mvc::util::MainViewHelperI {
public:
    AngleMainViewHelper(const tin::core::Point2DI* vertex, const tin::core::Point2DI* armEnd1,
                        const tin::core::Point2DI* armEnd2, mvc::core::View* view, const QPen& pen);
    AngleMainViewHelper(const tin::core::Point2DI* vertex, const tin::core::Point2DI* armEnd1,
                        const tin::core::Point2DI* armEnd2, mvc::core::View* view, const QPen& pen,
                        const QBrush& brush);

    /// Point size of the label (0 or less keeps the painter's font).
    void setFontSize(int size);

    void paintView(QPainter* painter, const QTransform& transform, const QRectF& rect) override;

private:
    const tin::core::Point2DI* m_vertex;
    const tin::core::Point2DI* m_armEnd1;
    const tin::core::Point2DI* m_armEnd2;
    int m_fontSize = 12;
    int m_decimals = 2;
};

} // namespace varnel
