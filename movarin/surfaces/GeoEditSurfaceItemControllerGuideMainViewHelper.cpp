#include "movarin/surfaces/GeoEditSurfaceItemControllerGuideMainViewHelper.h"

#include "movarin/shell/AngleMainViewHelper.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/TextMainViewHelper.h"

#include "brask/core/View.h"
#include "orlin/core/GeometryFunctions.h"

#include <guimisc/restorer/QPainterFontChanger.h>
#include <guimisc/restorer/QPainterPenBrushChanger.h>

#include <QPainter>
#include <QSettings>

#include <algorithm>
#include <cmath>

namespace varnel {

using Self = GeoEditSurfaceItemController::GuideMainViewHelper;

namespace {

constexpr int LABEL_ALIGNMENT = Qt::AlignHCenter | Qt::AlignBottom;

/// The font size under `key`: 0 when it is missing or holds no whole number.
int fontSize(const QSettings& settings, const char* key)
{
    bool ok = false;
    const int size = settings.value(QString::fromLatin1(key)).toInt(&ok);
    return ok ? size : 0;
}

QPen magenta()
{
    return QPen(QBrush(Qt::magenta), 2.0);
}

} // namespace

Self::GuideMainViewHelper(const std::vector<tin::core::Point>* points,
                          const ReferenceLines* referenceLines, mvc::core::View* view,
                          const QPen& pen, const QBrush& brush)
    : MainViewHelperI(view, pen, brush), m_points(points), m_referenceLines(referenceLines)
{
}

Self::~GuideMainViewHelper() = default;

Self& Self::setDecimals(int decimals)
{
    m_decimals = decimals;
    return *this;
}

double Self::lengthLabelRotation(const tin::core::Point2D& d, const mvc::core::View* view)
{
    if (d.x() == 0.0 && d.y() == 0.0) {
        return 0.0;
    }
    // One pixel down the screen, in world units.
    const QPointF down = view->rconv(QPointF(0.0, 1.0)) - view->rconv(QPointF(0.0, 0.0));
    const double a = tin::core::angle(tin::core::Point2D(down.x(), down.y()), d);
    if (!std::isfinite(a)) {
        return 0.0;
    }
    return 90.0 - std::fmod(a + 360.0, 180.0);
}

void Self::paintView(QPainter* painter, const QTransform& transform, const QRectF& rect)
{
    if (!m_points || !view()) {
        return;
    }
    guimisc::restorer::QPainterPenBrushChanger changer(painter, pen(), brush());
    const QSettings settings;
    paintLengths(painter, transform, rect, fontSize(settings, settings::fontDistanceSize));
    paintElevations(painter, transform, rect, fontSize(settings, settings::fontElevationSize));
    paintReferenceLines(painter, transform, rect, fontSize(settings, settings::fontAngleSize));
}

void Self::paintLengths(QPainter* painter, const QTransform& transform, const QRectF& rect,
                        int size) const
{
    const guimisc::restorer::QPainterFontChanger font(painter, size);
    const std::vector<tin::core::Point>& points = *m_points;
    for (std::size_t k = 1; k < points.size(); ++k) {
        const tin::core::Point& a = points[k - 1];
        const tin::core::Point& b = points[k];
        const tin::core::Point2D d(b.x() - a.x(), b.y() - a.y());
        const QString text = number(std::hypot(d.x(), d.y()));
        const tin::core::Point2D middle((a.x() + b.x()) / 2.0, (a.y() + b.y()) / 2.0);
        TextMainViewHelper label(&middle, &text, view(), pen(), brush());
        label.setRotation(lengthLabelRotation(d, view()));
        label.setAlignment(LABEL_ALIGNMENT);
        label.paintView(painter, transform, rect);
    }
}

void Self::paintElevations(QPainter* painter, const QTransform& transform, const QRectF& rect,
                           int size) const
{
    const guimisc::restorer::QPainterFontChanger font(painter, size);
    for (const tin::core::Point& vertex : *m_points) {
        const QString text = number(vertex.elevation());
        TextMainViewHelper label(&vertex, &text, view(), pen(), brush());
        label.setAlignment(LABEL_ALIGNMENT);
        label.paintView(painter, transform, rect);
    }
}

void Self::paintReferenceLines(QPainter* painter, const QTransform& transform,
                               const QRectF& rect, int size) const
{
    if (!m_referenceLines || m_points->size() < 2) {
        return;
    }
    const std::vector<tin::core::Point>& points = *m_points;
    const std::size_t count = std::min(m_referenceLines->size(), points.size() - 1);
    for (std::size_t i = 0; i < count; ++i) {
        const tin::core::Point& vertex = points[i];
        const tin::core::Point& next = points[i + 1];
        const QPointF s(next.x() - vertex.x(), next.y() - vertex.y());
        const tin::core::Point2D& direction = (*m_referenceLines)[i].direction;
        const double length = std::hypot(direction.x(), direction.y());
        if (!(length > 0.0) || !std::isfinite(length)) {
            continue;
        }
        QPointF v = QPointF(direction.x(), direction.y()) * (0.5 * std::hypot(s.x(), s.y()) / length);
        if (v.x() * s.x() + v.y() * s.y() < 0.0) {
            v = -v;
        }
        const QPointF line[] = {view()->conv(QPointF(vertex.x(), vertex.y())),
                                view()->conv(QPointF(vertex.x() + v.x(), vertex.y() + v.y()))};
        {
            guimisc::restorer::QPainterPenBrushChanger changer(painter, magenta(), brush());
            painter->drawPolyline(line, 2);
        }
        const tin::core::Point2D arm(vertex.x() + 0.6 * v.x(), vertex.y() + 0.6 * v.y());
        AngleMainViewHelper angle(&vertex, &arm, &next, view(), magenta(), brush());
        angle.setFontSize(size);
        angle.paintView(painter, transform, rect);
    }
}

QString Self::number(double value) const
{
    QString text;
    text.setNum(value, 'f', m_decimals);
    return text;
}

} // namespace varnel
