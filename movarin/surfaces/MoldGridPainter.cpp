#include "movarin/surfaces/MoldGridPainter.h"

#include "movarin/surfaces/MoldItem.h"

#include <QLineF>
#include <QPainter>
#include <QPolygonF>

#include <cmath>
#include <vector>

namespace varnel {

namespace {

constexpr double MAX_GRID_LINES = 10000.0;

QPen cosmeticPen(const QColor& color, double width, Qt::PenStyle style)
{
    QPen pen(color, width, style);
    pen.setCosmetic(true);
    return pen;
}

// The multiples k * step within [from, to] as indexes k, or none for a step that is unusable
// or too fine for the range.
bool multiplesWithin(double from, double to, double step, long long* first, long long* last)
{
    if (!(step > 0.0) || !std::isfinite(step) || !std::isfinite(from) || !std::isfinite(to) ||
        (to - from) / step > MAX_GRID_LINES) {
        return false;
    }
    *first = static_cast<long long>(std::ceil(from / step));
    *last = static_cast<long long>(std::floor(to / step));
    return *first <= *last;
}

void drawCross(QPainter* painter, const QRectF& visible, double x, double y)
{
    painter->setPen(cosmeticPen(Qt::black, 1.0, Qt::DashLine));
    painter->drawLine(QLineF(visible.left(), y, visible.right(), y));
    painter->drawLine(QLineF(x, visible.top(), x, visible.bottom()));
}

} // namespace

void MoldGridPainter::setGridVisible(bool visible)
{
    m_showGrid = visible;
}

void MoldGridPainter::setGridWidth(double x, double y)
{
    m_gridWidthX = x;
    m_gridWidthY = y;
}

void MoldGridPainter::paint(QPainter* painter, const QTransform& transform, const QRectF& visible,
                            const MoldItem* item) const
{
    painter->save();
    painter->setTransform(transform, true);
    painter->setBrush(Qt::NoBrush);
    const bool withPoints = item && !item->mold().empty();
    if (m_showGrid) {
        paintGrid(painter, visible);
        if (!withPoints) {
            drawCross(painter, visible, 0.0, 0.0);
        }
    }
    if (withPoints) {
        const mold::core::Mold& mold = item->mold();
        if (m_showBaseLines) {
            drawCross(painter, visible, mold.baseL(), mold.baseH());
        }
        QPolygonF outline;
        for (std::size_t i = 0; i < mold.size(); ++i) {
            outline << QPointF(mold.l()[i], mold.h()[i]);
        }
        painter->setPen(cosmeticPen(Qt::black, 2.0, Qt::SolidLine));
        painter->drawPolyline(outline);
    }
    painter->restore();
}

void MoldGridPainter::paintGrid(QPainter* painter, const QRectF& visible) const
{
    std::vector<QLineF> thin;
    std::vector<QLineF> thick;
    long long first = 0;
    long long last = 0;
    if (multiplesWithin(visible.left(), visible.right(), m_gridWidthX, &first, &last)) {
        for (long long k = first; k <= last; ++k) {
            const double x = static_cast<double>(k) * m_gridWidthX;
            (k % 5 == 0 ? thick : thin).emplace_back(x, visible.top(), x, visible.bottom());
        }
    }
    if (multiplesWithin(visible.top(), visible.bottom(), m_gridWidthY, &first, &last)) {
        for (long long k = first; k <= last; ++k) {
            const double y = static_cast<double>(k) * m_gridWidthY;
            (k % 5 == 0 ? thick : thin).emplace_back(visible.left(), y, visible.right(), y);
        }
    }
    painter->setPen(cosmeticPen(Qt::lightGray, 1.0, Qt::SolidLine));
    painter->drawLines(thin.data(), static_cast<int>(thin.size()));
    painter->setPen(cosmeticPen(Qt::lightGray, 2.0, Qt::SolidLine));
    painter->drawLines(thick.data(), static_cast<int>(thick.size()));
}

} // namespace varnel
