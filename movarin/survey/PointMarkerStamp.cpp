#include "movarin/survey/PointMarkerStamp.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace varnel {

namespace {

/// std::llround for a finite value far inside the range of long long (halves away from
/// zero), without the library call: the fraction a double drops when truncated is exact.
long long roundHalfAway(double v)
{
    const long long whole = static_cast<long long>(v);
    const double rest = v - static_cast<double>(whole);
    if (rest >= 0.5) {
        return whole + 1;
    }
    if (rest <= -0.5) {
        return whole - 1;
    }
    return whole;
}

} // namespace

PointMarkerStamp::PointMarkerStamp(double radius, const QPen& pen, bool filled)
{
    const double halfPen = std::max(pen.widthF(), 1.0) / 2.0;
    m_reach = static_cast<int>(std::ceil(radius + halfPen)) + 2;
    const int origin = m_reach + 1;
    const int size = 2 * origin + 1;
    QPen black(pen);
    black.setColor(Qt::black);
    for (int phaseY = 0; phaseY < PHASES; ++phaseY) {
        for (int phaseX = 0; phaseX < PHASES; ++phaseX) {
            QImage shape(size, size, QImage::Format_ARGB32_Premultiplied);
            shape.fill(Qt::transparent);
            {
                QPainter painter(&shape);
                painter.setPen(black);
                painter.setBrush(filled ? QBrush(Qt::black) : QBrush(Qt::NoBrush));
                const QPointF centre(origin + static_cast<double>(phaseX) / PHASES,
                                     origin + static_cast<double>(phaseY) / PHASES);
                painter.drawEllipse(centre, radius, radius);
            }
            std::vector<Run>& runs = m_runs[phaseY * PHASES + phaseX];
            for (int y = 0; y < size; ++y) {
                const auto* row = reinterpret_cast<const QRgb*>(shape.constScanLine(y));
                int x = 0;
                while (x < size) {
                    if (qAlpha(row[x]) == 0) {
                        ++x;
                        continue;
                    }
                    const int start = x;
                    while (x < size && qAlpha(row[x]) != 0) {
                        ++x;
                    }
                    runs.push_back(Run{y - origin, start - origin, x - 1 - origin});
                }
            }
        }
    }
}

bool PointMarkerStamp::touches(const QImage& layer, const QPointF& centre) const
{
    // Also false for a centre that is not finite.
    return centre.x() > -m_reach && centre.x() < layer.width() + m_reach
        && centre.y() > -m_reach && centre.y() < layer.height() + m_reach;
}

PointMarkerStamp::Placement PointMarkerStamp::place(const QPointF& centre)
{
    // The centre in quarter pixels: its whole pixel and its sub-pixel phase. The caller has
    // bounded the centre (touches()): the rounding stays far inside long long.
    const long long qx = roundHalfAway(centre.x() * PHASES);
    const long long qy = roundHalfAway(centre.y() * PHASES);
    const long long floorX = qx >= 0 ? qx / PHASES : -((-qx + PHASES - 1) / PHASES);
    const long long floorY = qy >= 0 ? qy / PHASES : -((-qy + PHASES - 1) / PHASES);
    const int phaseX = static_cast<int>(qx - floorX * PHASES);
    const int phaseY = static_cast<int>(qy - floorY * PHASES);
    return Placement{static_cast<int>(floorX), static_cast<int>(floorY), phaseY * PHASES + phaseX};
}

bool PointMarkerStamp::rowsOf(const QImage& layer, const QPointF& centre, int& first,
                              int& last) const
{
    if (!touches(layer, centre)) {
        return false;
    }
    // Every run lies within m_reach + 1 pixels of the centre's whole pixel (the shape's canvas).
    const int baseY = place(centre).baseY;
    first = baseY - (m_reach + 1);
    last = baseY + (m_reach + 1);
    return true;
}

void PointMarkerStamp::stamp(QImage& layer, const QPointF& centre, QRgb colour) const
{
    stamp(layer, centre, colour, 0, layer.height());
}

void PointMarkerStamp::stamp(QImage& layer, const QPointF& centre, QRgb colour, int top,
                             int bottom) const
{
    if (!touches(layer, centre)) {
        return;
    }
    const Placement at = place(centre);
    const int baseX = at.baseX;
    const int baseY = at.baseY;
    const int width = layer.width();
    top = std::max(top, 0);
    bottom = std::min(bottom, layer.height());
    uchar* bits = layer.bits();
    const qsizetype stride = layer.bytesPerLine();
    const std::vector<Run>& runs = m_runs[at.phase];
    // Every run lies within m_reach + 1 pixels of the centre (the shape's canvas).
    const int span = m_reach + 1;
    if (baseX >= span && baseX + span < width && baseY - span >= top && baseY + span < bottom) {
        // Wholly inside: no clipping.
        for (const Run& run : runs) {
            auto* row = reinterpret_cast<QRgb*>(bits + (baseY + run.dy) * stride);
            std::fill(row + baseX + run.x0, row + baseX + run.x1 + 1, colour);
        }
        return;
    }
    for (const Run& run : runs) {
        const int y = baseY + run.dy;
        if (y < top || y >= bottom) {
            continue;
        }
        const int x0 = std::max(baseX + run.x0, 0);
        const int x1 = std::min(baseX + run.x1, width - 1);
        if (x0 > x1) {
            continue;
        }
        auto* row = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(row + x0, row + x1 + 1, colour);
    }
}

QImage PointMarkerStamp::makeLayer(int width, int height)
{
    QImage layer(std::max(width, 0), std::max(height, 0), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    return layer;
}

void PointMarkerStamp::drawLayer(QPainter* painter, const QImage& layer)
{
    painter->drawImage(QPointF(0.0, 0.0), layer);
}

} // namespace varnel
