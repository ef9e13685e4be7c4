#include "movarin/shell/ArcMainViewHelper.h"

#include "movarin/shell/ShapePainter.h"

#include "brask/core/View.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point2D.h"

#include <guimisc/restorer/QPainterPenBrushChanger.h>

#include <QVector2D>

#include <cmath>
#include <cstdlib>

namespace varnel {

namespace {

constexpr int FULL_TURN = 360 * 16;

// The sweep the shorter way round; a half turn either way becomes clockwise.
int shorterSweep(int sweep)
{
    const int u = sweep % FULL_TURN;
    const int positive = (u + FULL_TURN) % FULL_TURN;
    const int negative = (u - FULL_TURN) % FULL_TURN;
    return std::abs(positive) < std::abs(negative) ? positive : negative;
}

} // namespace

ArcMainViewHelper::ArcMainViewHelper(const tin::core::Point2DI* vertex,
                                     const tin::core::Point2DI* armEnd1,
                                     const tin::core::Point2DI* armEnd2, mvc::core::View* view,
                                     const QPen& pen, const QBrush& brush)
    : MainViewHelperI(view, pen, brush), m_vertex(vertex), m_armEnd1(armEnd1), m_armEnd2(armEnd2)
{
}

void ArcMainViewHelper::setSweepMode(int mode)
{
    m_sweepMode = mode;
}

void ArcMainViewHelper::paintView(QPainter* painter, const QTransform& transform,
                                  const QRectF& rect)
{
    if (!m_vertex || !m_armEnd1 || !m_armEnd2) {
        return;
    }
    const QPointF c = view()->conv(ShapePainter::world(*m_vertex));
    const QPointF a1 = view()->conv(ShapePainter::world(*m_armEnd1));
    const QPointF a2 = view()->conv(ShapePainter::world(*m_armEnd2));
    const QVector2D d1(a1 - c);
    const QVector2D d2(a2 - c);
    const float r = d1.length();
    // Widget Y points down: the arm directions are mirrored to measure counter-clockwise.
    const tin::core::Point2D up1(d1.x(), -d1.y());
    const tin::core::Point2D up2(d2.x(), -d2.y());
    const double start = tin::core::angle(tin::core::Point2D(1.0, 0.0), up1);
    const double sweep = tin::core::angle(up1, up2);
    if (!std::isfinite(start) || !std::isfinite(sweep)) {
        return;
    }
    int span = static_cast<int>(16.0 * sweep);
    if (m_sweepMode == 3) {
        span = shorterSweep(span);
    }
    const QRectF square(c.x() - r, c.y() - r, 2.0f * r, 2.0f * r);
    guimisc::restorer::QPainterPenBrushChanger changer(painter, pen(), brush());
    painter->drawArc(square, static_cast<int>(16.0 * start), span);
}

} // namespace varnel
