#include "movarin/sections/CrossSectionLhViewLhTableItemView.h"

#include "movarin/sections/CrossSectionLhViewHelper.h"
#include "movarin/sections/CrossSectionLhViewLhTableItem.h"
#include "movarin/sections/CrossSectionLhViewLhTableItemDrawer.h"
#include "movarin/sections/GeoDataPolylineItem.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

namespace varnel {

using Self = CrossSectionLhView::LhTableItemView;

namespace {

constexpr double LEVEL_CLEARANCE = 5.0;
constexpr double END_MARK_SIZE = 6.0;
/// Crossing flags: the post's height, the bar's length beyond the caption, the caption's
/// inset, the first level's distance below the plot's top and the gap between levels.
constexpr double FLAG_POST = 10.0;
constexpr double FLAG_PADDING = 8.0;
constexpr double FLAG_INSET = 4.0;
constexpr double FLAG_TOP = 20.0;
constexpr double FLAG_LEVEL_GAP = 15.0;

QPolygonF profileLine(const CrossSectionLhView::Rows& rows, const QTransform& transform)
{
    QPolygonF line;
    line.reserve(static_cast<int>(rows.size()));
    for (const CrossSectionLhTableRow& row : rows) {
        line << transform.map(QPointF(row.L, row.H));
    }
    return line;
}

void paintEndMark(QPainter* painter, const QPointF& centre, const QColor& color)
{
    painter->setPen(QPen());
    painter->setBrush(QBrush(color, Qt::SolidPattern));
    painter->drawEllipse(centre, END_MARK_SIZE / 2.0, END_MARK_SIZE / 2.0);
}

} // namespace

Self::LhTableItemView(LhTableItem* item)
    : m_item(item), m_drawer(std::make_unique<LhTableItemDrawer>())
{
}

Self::~LhTableItemView() = default;

void Self::paint(QPainter* painter, const QTransform& transform, const QRectF& area)
{
    const QRectF plot = m_item->lhView()->plotRect();
    const QRectF widget(QPointF(0.0, 0.0), QSizeF(m_item->lhView()->size()));
    painter->save();

    painter->setPen(Qt::NoPen);
    painter->setBrush(m_backgroundColor);
    painter->drawRect(plot);

    m_drawer->paintGrid(painter, transform, area);

    painter->setBrush(Qt::NoBrush);
    if (m_showBase && m_item->baseRows()) {
        painter->setPen(QPen(QBrush(Qt::darkGray), 2.0, Qt::DotLine));
        painter->drawPolyline(profileLine(*m_item->baseRows(), transform));
    }
    if (m_item->auxiliaryRows()) {
        painter->setPen(QPen(QBrush(Qt::magenta), 2.0));
        painter->drawPolyline(profileLine(*m_item->auxiliaryRows(), transform));
    }
    const Rows& rows = m_item->rows();
    QPen profilePen;
    profilePen.setWidthF(3.0);
    painter->setPen(profilePen);
    painter->drawPolyline(profileLine(rows, transform));
    if (!rows.empty()) {
        paintEndMark(painter, transform.map(QPointF(rows.front().L, rows.front().H)), Qt::magenta);
        paintEndMark(painter, transform.map(QPointF(rows.back().L, rows.back().H)), Qt::green);
    }

    paintPolylineCrossings(painter, transform, plot);

    painter->setPen(Qt::NoPen);
    painter->setBrush(m_backgroundColor);
    painter->drawPolygon(QPolygonF({widget.topLeft(), widget.topRight(),
                                    QPointF(widget.right(), plot.top()), plot.topLeft(),
                                    QPointF(plot.left(), widget.bottom()), widget.bottomLeft()}));

    painter->setPen(QPen(QBrush(m_frameColor), 2.0));
    painter->setBrush(Qt::NoBrush);
    // The right and bottom edges lie on the widget's: a pixel in, so that both show.
    painter->drawRect(plot.adjusted(0.0, 0.0, -1.0, -1.0));
    m_drawer->paintAxes(painter, transform, plot);
    painter->restore();
}

void Self::paintHelpers(QPainter* painter, const QTransform& transform, const QRectF& area)
{
    painter->save();
    painter->setClipRect(m_item->lhView()->plotRect());
    for (CrossSectionLhViewHelper* helper : m_viewHelpers) {
        if (helper->preparePaintView(transform, area)) {
            helper->paintView(painter, transform, area);
        }
    }
    painter->restore();
}

void Self::setColors(const QColor& frame, const QColor& background)
{
    m_frameColor = frame;
    m_backgroundColor = background;
}

std::size_t Self::labelLevel(std::vector<Interval>* levels, double a, double b)
{
    for (std::size_t k = 0; k < levels->size(); ++k) {
        const auto [c, d] = (*levels)[k];
        if (d + LEVEL_CLEARANCE < a || b + LEVEL_CLEARANCE < c) {
            return k;
        }
    }
    levels->emplace_back(a, b);
    return levels->size() - 1;
}

void Self::paintPolylineCrossings(QPainter* painter, const QTransform& transform,
                                  const QRectF& plot) const
{
    const CrossSectionPolylineCrossings* crossings = m_item->polylineCrossings();
    if (!crossings) {
        return;
    }
    const QFontMetricsF metrics(painter->font());
    std::vector<Interval> levels;
    painter->setBrush(Qt::NoBrush);
    for (const CrossSectionPolylineCrossing& crossing : *crossings) {
        const GeoDataPolylineItem* polyline = crossing.polyline;
        if (!polyline || !polyline->isChecked()) {
            continue;
        }
        const QString caption = polyline->caption();
        const double length = metrics.horizontalAdvance(caption) + FLAG_PADDING;
        painter->setPen(QPen(QBrush(polyline->setting().color.value()), 2.0));
        for (const double l : crossing.ls) {
            const double x = transform.map(QPointF(l, 0.0)).x();
            const std::size_t level = labelLevel(&levels, x, x + length);
            const double y = static_cast<double>(level) * (metrics.height() + FLAG_LEVEL_GAP)
                             + plot.top() + FLAG_TOP;
            painter->drawPolyline(
                QPolygonF({QPointF(x, y + FLAG_POST), QPointF(x, y), QPointF(x + length, y)}));
            painter->drawText(QPointF(x + FLAG_INSET, y - FLAG_INSET), caption);
        }
    }
}

} // namespace varnel
