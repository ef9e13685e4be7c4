#include "movarin/sections/CrossSectionLhViewLhTableItemDrawer.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QTransform>

#include <cmath>
#include <vector>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = CrossSectionLhView::LhTableItemDrawer;

namespace {

constexpr double TICK = CrossSectionLhView::TICK;
constexpr double LABEL_GAP = CrossSectionLhView::LABEL_GAP;
const QColor AXIS_COLOR(160, 160, 50);

/// The widget x of world L and the widget y of world H (the transform does not rotate).
double pixelX(const QTransform& t, double l)
{
    return t.map(QPointF(l, 0.0)).x();
}

double pixelY(const QTransform& t, double h)
{
    return t.map(QPointF(0.0, h)).y();
}

} // namespace

CrossSectionLhView::LhTableItemDrawer::LhTableItemDrawer(QObject* parent) : QObject(parent) {}

CrossSectionLhView::LhTableItemDrawer::~LhTableItemDrawer() = default;

bool CrossSectionLhView::LhTableItemDrawer::lineIndices(double from, double to, double step,
                                                        double pixelsPerStep, long long* first,
                                                        long long* last)
{
    if (!(step > 0.0) || !std::isfinite(step) || !std::isfinite(from) || !std::isfinite(to)
        || !(pixelsPerStep >= MIN_SPACING)) {
        return false;
    }
    const double lo = std::ceil(from / step);
    const double hi = std::floor(to / step);
    // Compared as doubles first: indices beyond 64 bits must not reach the conversion.
    if (!(lo <= hi) || hi - lo >= MAX_LINES) {
        return false;
    }
    *first = static_cast<long long>(lo);
    *last = static_cast<long long>(hi);
    return true;
}

void CrossSectionLhView::LhTableItemDrawer::paintGrid(QPainter* painter,
                                                      const QTransform& transform,
                                                      const QRectF& area) const
{
    painter->save();
    painter->setBrush(Qt::NoBrush);
    const double perMetreX = std::abs(transform.m11());
    const double perMetreY = std::abs(transform.m22());
    const QPen fine(Qt::lightGray);
    const QPen coarse(QBrush(Qt::lightGray), 2.0);
    const auto drawLevel = [&](double stepX, double stepY, const QPen& pen) {
        std::vector<QLineF> lines;
        long long first = 0;
        long long last = 0;
        if (m_showGridX
            && lineIndices(area.left(), area.right(), stepX, perMetreX * stepX, &first, &last)) {
            for (long long k = first; k <= last; ++k) {
                const double l = static_cast<double>(k) * stepX;
                lines.emplace_back(transform.map(QPointF(l, area.top())),
                                   transform.map(QPointF(l, area.bottom())));
            }
        }
        if (m_showGridY
            && lineIndices(area.top(), area.bottom(), stepY, perMetreY * stepY, &first, &last)) {
            for (long long k = first; k <= last; ++k) {
                const double h = static_cast<double>(k) * stepY;
                lines.emplace_back(transform.map(QPointF(area.left(), h)),
                                   transform.map(QPointF(area.right(), h)));
            }
        }
        painter->setPen(pen);
        painter->drawLines(lines.data(), static_cast<int>(lines.size()));
    };
    drawLevel(m_gridWidthX, m_gridWidthY, fine);
    drawLevel(5.0 * m_gridWidthX, 5.0 * m_gridWidthY, coarse);

    painter->setPen(QPen(QBrush(Qt::black), 1.0, Qt::DashLine));
    if (m_showGridY && area.top() <= 0.0 && 0.0 <= area.bottom()) {
        painter->drawLine(QLineF(transform.map(QPointF(area.left(), 0.0)),
                                 transform.map(QPointF(area.right(), 0.0))));
    }
    if (m_showGridX && area.left() <= 0.0 && 0.0 <= area.right()) {
        painter->drawLine(QLineF(transform.map(QPointF(0.0, area.top())),
                                 transform.map(QPointF(0.0, area.bottom()))));
    }
    painter->restore();
}

void CrossSectionLhView::LhTableItemDrawer::paintAxes(QPainter* painter,
                                                      const QTransform& transform,
                                                      const QRectF& plot) const
{
    bool invertible = false;
    const QRectF world = transform.inverted(&invertible).mapRect(plot);
    if (!invertible) {
        return;
    }
    painter->save();
    painter->setPen(QPen(QBrush(AXIS_COLOR), 2.0));
    painter->setBrush(Qt::NoBrush);
    const QFontMetricsF metrics(painter->font());
    const double fontHeight = metrics.height();
    std::vector<QLineF> ticks{QLineF(plot.topLeft(), plot.bottomLeft()),
                              QLineF(plot.topLeft(), plot.topRight())};
    long long first = 0;
    long long last = 0;

    // The elevation title stands upright against the widget's left edge; a tick label that
    // would run into it is left out rather than drawn over it.
    const double titleRight = metrics.ascent() + 1.0;
    const double titleHalf = metrics.horizontalAdvance(elevationTitle()) / 2.0 + LABEL_GAP;
    const double stepH = 5.0 * m_gridWidthY;
    if (lineIndices(world.top(), world.bottom(), stepH, std::abs(transform.m22()) * stepH, &first,
                    &last)) {
        for (long long k = first; k <= last; ++k) {
            const double value = static_cast<double>(k) * stepH;
            const double y = pixelY(transform, value);
            const QString text = QString::number(value, 'f', 2);
            const double right = plot.left() - TICK - LABEL_GAP;
            const double left = right - metrics.horizontalAdvance(text);
            const bool hitsTitle = left < titleRight
                && std::abs(y - plot.center().y()) < titleHalf + fontHeight / 2.0;
            if (!hitsTitle) {
                painter->drawText(QPointF(left, y + fontHeight / 2.0), text);
            }
            ticks.emplace_back(plot.left() - TICK, y, plot.left(), y);
        }
    }
    const double stepL = 5.0 * m_gridWidthX;
    if (lineIndices(world.left(), world.right(), stepL, std::abs(transform.m11()) * stepL, &first,
                    &last)) {
        for (long long k = first; k <= last; ++k) {
            const double value = static_cast<double>(k) * stepL;
            const double x = pixelX(transform, value);
            const QString text = QString::number(value, 'f', 2);
            // The plot reaches the widget's right edge: a label that would run past it is
            // left out rather than cut.
            const double half = metrics.horizontalAdvance(text) / 2.0;
            if (x + half <= plot.right()) {
                painter->drawText(QPointF(x - half, plot.top() - TICK + LABEL_GAP), text);
            }
            ticks.emplace_back(x, plot.top() - TICK, x, plot.top());
        }
    }

    painter->save();
    painter->translate(0.0, plot.center().y());
    painter->rotate(-90.0);
    painter->drawText(QPointF(-metrics.horizontalAdvance(elevationTitle()) / 2.0, titleRight),
                      elevationTitle());
    painter->restore();
    painter->drawText(QPointF(plot.center().x() - metrics.horizontalAdvance(distanceTitle()) / 2.0,
                              fontHeight),
                      distanceTitle());

    painter->drawLines(ticks.data(), static_cast<int>(ticks.size()));
    painter->restore();
}

const QString& CrossSectionLhView::LhTableItemDrawer::elevationTitle()
{
    static const QString title = tr("Elevation (m)");
    return title;
}

const QString& CrossSectionLhView::LhTableItemDrawer::distanceTitle()
{
    static const QString title = tr("Cross-sectional distance (m)");
    return title;
}

} // namespace varnel
