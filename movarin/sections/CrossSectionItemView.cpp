#include "movarin/sections/CrossSectionItemView.h"

#include "movarin/sections/CrossSectionItem.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/ShapePainter.h"
#include "movarin/shell/TextMainViewHelper.h"

#include "brask/core/View.h"

#include <guimisc/restorer/QPainterFontChanger.h>
#include <guimisc/restorer/QPainterPenBrushChanger.h>

#include <QPainter>
#include <QSettings>

#include <utility>

namespace varnel {

namespace {

constexpr double LINE_WIDTH = 3.0;
constexpr double DOT_RADIUS = 3.0;

void paintDot(QPainter* painter, const QPointF& at, const QColor& fill)
{
    guimisc::restorer::QPainterPenBrushChanger changer(painter, QPen(Qt::black, LINE_WIDTH),
                                                       QBrush(fill));
    painter->drawEllipse(at, DOT_RADIUS, DOT_RADIUS);
}

/// The alignments of "L" (at S) and "R" (at E) for the screen positions of S and E (y
/// growing downwards): each label on the far side of its end.
std::pair<int, int> labelAlignments(const QPointF& start, const QPointF& end)
{
    const double dx = end.x() - start.x();
    const double dy = end.y() - start.y();
    const int left = (dy < 0 ? Qt::AlignTop : Qt::AlignBottom)
                     | (dx < 0 ? Qt::AlignLeft : Qt::AlignRight);
    const int right = (dy > 0 ? Qt::AlignTop : Qt::AlignBottom)
                      | (dx > 0 ? Qt::AlignLeft : Qt::AlignRight);
    return {left, right};
}

} // namespace

CrossSectionItemView::CrossSectionItemView(const CrossSectionItem* item)
    : mvc::core::ModelItemViewT<CrossSectionItem>(item)
{
}

CrossSectionItemView::~CrossSectionItemView() = default;

bool CrossSectionItemView::widgetLine(QPointF line[2]) const
{
    const mvc::core::View* mainView = view();
    if (!mainView) {
        return false;
    }
    line[0] = mainView->conv(ShapePainter::world(item()->startPoint()));
    line[1] = mainView->conv(ShapePainter::world(item()->endPoint()));
    return true;
}

void CrossSectionItemView::paintLine(QPainter* painter, const QPointF line[2])
{
    guimisc::restorer::QPainterPenBrushChanger changer(painter, QPen(Qt::black, LINE_WIDTH),
                                                       QBrush());
    // As a line, not a polyline of two points: the raster engine draws a line of a plain pen
    // straight into the rows it covers, without outlining it first, and only the rows of the
    // clip (a band of a picture drawn on several threads).
    painter->drawLine(line[0], line[1]);
}

void CrossSectionItemView::doPaintMainView(QPainter* painter, const QTransform&,
                                           const QRectF&) const
{
    QPointF line[2];
    if (widgetLine(line)) {
        paintLine(painter, line);
    }
}

void CrossSectionItemView::doPaintMainViewOnSelected(QPainter* painter,
                                                     const QTransform& transform,
                                                     const QRectF& rect) const
{
    doPaintMainView(painter, transform, rect);
    const mvc::core::View* mainView = view();
    if (!mainView) {
        return;
    }
    const tin::core::Point start = item()->startPoint();
    const tin::core::Point end = item()->endPoint();
    const QPointF startPixel = mainView->conv(ShapePainter::world(start));
    const QPointF endPixel = mainView->conv(ShapePainter::world(end));
    const auto [leftAlignment, rightAlignment] = labelAlignments(startPixel, endPixel);

    guimisc::restorer::QPainterFontChanger font(
        painter, QSettings().value(QLatin1String(settings::fontGlobalSize)).toInt());
    const QPen labelPen(Qt::magenta);
    paintDot(painter, startPixel, Qt::magenta);
    TextMainViewHelper::paintText(painter, start, QStringLiteral("L"), 0.0, leftAlignment,
                                  mainView, labelPen, QBrush());
    paintDot(painter, endPixel, Qt::green);
    TextMainViewHelper::paintText(painter, end, QStringLiteral("R"), 0.0, rightAlignment,
                                  mainView, labelPen, QBrush());
}

} // namespace varnel
