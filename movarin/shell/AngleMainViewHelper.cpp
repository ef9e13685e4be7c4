#include "movarin/shell/AngleMainViewHelper.h"

#include "movarin/shell/ArcMainViewHelper.h"
#include "movarin/shell/TextMainViewHelper.h"

#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point2D.h"

#include <guimisc/restorer/QPainterFontChanger.h>
#include <vec/Vector2D.h>

#include <QChar>

#include <cmath>

namespace varnel {

namespace {

// The angle in [-180, 180): as measured below a half turn, the other way round from there.
double signedAngle(double theta)
{
    const double p = std::fmod(std::fmod(theta, 360.0) + 360.0, 360.0);
    const double n = std::fmod(std::fmod(theta, 360.0) - 360.0, 360.0);
    return std::fabs(n) > std::fabs(p) ? p : n;
}

} // namespace

AngleMainViewHelper::AngleMainViewHelper(const tin::core::Point2DI* vertex,
                                         const tin::core::Point2DI* armEnd1,
                                         const tin::core::Point2DI* armEnd2, mvc::core::View* view,
                                         const QPen& pen)
    : AngleMainViewHelper(vertex, armEnd1, armEnd2, view, pen, QBrush())
{
}

AngleMainViewHelper::AngleMainViewHelper(const tin::core::Point2DI* vertex,
                                         const tin::core::Point2DI* armEnd1,
                                         const tin::core::Point2DI* armEnd2, mvc::core::View* view,
                                         const QPen& pen, const QBrush& brush)
    : MainViewHelperI(view, pen, brush), m_vertex(vertex), m_armEnd1(armEnd1), m_armEnd2(armEnd2)
{
}

void AngleMainViewHelper::setFontSize(int size)
{
    m_fontSize = size;
}

void AngleMainViewHelper::paintView(QPainter* painter, const QTransform& transform,
                                    const QRectF& rect)
{
    if (!m_vertex || !m_armEnd1 || !m_armEnd2) {
        return;
    }
    ArcMainViewHelper arc(m_vertex, m_armEnd1, m_armEnd2, view(), pen(), brush());
    arc.setSweepMode(3);
    arc.paintView(painter, transform, rect);

    guimisc::restorer::QPainterFontChanger font(painter, m_fontSize);
    const tin::core::Point2D e1(m_armEnd1->x() - m_vertex->x(), m_armEnd1->y() - m_vertex->y());
    const tin::core::Point2D e2(m_armEnd2->x() - m_vertex->x(), m_armEnd2->y() - m_vertex->y());
    const double theta = tin::core::angle(e1, e2);
    if (!std::isfinite(theta)) {
        return;
    }
    const double a = signedAngle(theta);
    if (a == 0.0) {
        return;
    }
    vec::Vector2D bisector(e1.x(), e1.y());
    bisector.rotate(a / 2.0);
    const tin::core::Point2D anchor(m_vertex->x() + bisector.x(), m_vertex->y() + bisector.y());
    QString text;
    text.setNum(std::fabs(a), 'f', m_decimals);
    text += QChar(0x00B0);
    const int alignment = (bisector.x() < 0.0 ? Qt::AlignRight : Qt::AlignLeft) |
                          (bisector.y() > 0.0 ? Qt::AlignBottom : Qt::AlignTop);
    TextMainViewHelper label(&anchor, &text, view(), pen(), brush());
    label.setAlignment(alignment);
    label.paintView(painter, transform, rect);
}

} // namespace varnel
