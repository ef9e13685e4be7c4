#include "movarin/surfaces/MoldItemView.h"

#include "movarin/shell/MoldDetailViewHelperI.h"
#include "movarin/surfaces/MoldItem.h"

#include <QPainter>
#include <QPen>

namespace varnel {

MoldItemView::MoldItemView(MoldItem* item) : m_item(item) {}

MoldItemView::~MoldItemView() = default;

void MoldItemView::paint(QPainter* painter, const QTransform& transform, const QRectF& rect)
{
    painter->save();
    painter->setTransform(transform, true);
    QPen frame(m_penColor, 2.0);
    frame.setCosmetic(true);
    painter->setPen(frame);
    painter->setBrush(m_brushColor);
    painter->drawRect(rect);
    painter->restore();

    m_gridPainter.paint(painter, transform, rect, m_item);
    for (MoldDetailViewHelperI* helper : m_viewHelpers) {
        if (helper->preparePaintView(transform, rect)) {
            helper->paintView(painter, transform, rect);
        }
    }
}

void MoldItemView::setColors(const QColor& pen, const QColor& brush)
{
    m_penColor = pen;
    m_brushColor = brush;
}

void MoldItemView::resetColors()
{
    setColors(Qt::black, Qt::white);
}

void MoldItemView::setGridWidth(double x, double y)
{
    m_gridPainter.setGridWidth(x, y);
}

void MoldItemView::setGridVisible(bool visible)
{
    m_gridPainter.setGridVisible(visible);
}

DetailView* MoldItemView::detailView() const
{
    return m_item ? m_item->detailView() : nullptr;
}

} // namespace varnel
