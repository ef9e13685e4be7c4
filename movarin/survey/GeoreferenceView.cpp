#include "movarin/survey/GeoreferenceView.h"

#include "movarin/survey/BackgroundImageItem.h"
#include "movarin/survey/BackgroundImageItemGeoreferenceDialog.h"
#include "movarin/survey/GeoreferenceViewImageItem.h"
#include "movarin/survey/GeoreferenceViewImageItemController.h"
#include "movarin/survey/GeoreferenceViewImageItemControllerSelectionHelper.h"
#include "movarin/survey/GeoreferenceViewImageItemView.h"

#include "brask/core/View.h"
#include "pelkas/GdalImage.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace varnel {

GeoreferenceView::GeoreferenceView(QWidget* parent) : PrimitiveView(parent)
{
}

GeoreferenceView::~GeoreferenceView()
{
    delete m_imageItem;
}

void GeoreferenceView::setImageItem(BackgroundImageItem* image, GcpTableModel* model)
{
    delete m_imageItem;
    m_imageItem = new ImageItem(image, model, this);
    fitImage();
}

void GeoreferenceView::connectDialog(BackgroundImageItemGeoreferenceDialog* dialog)
{
    if (!m_imageItem) {
        return;
    }
    ImageItemController* controller = m_imageItem->controller();
    controller->setDialog(dialog);
    connect(dialog, SIGNAL(selectionChanged(GcpRowIndices)), controller,
            SLOT(selectPoints(GcpRowIndices)));
}

void GeoreferenceView::fitImage()
{
    const gdalimg::GdalImage* image = m_imageItem ? m_imageItem->image() : nullptr;
    if (!image || image->image().isNull()) {
        setScale(1.0);
        setCenterPoint(QPointF(0.0, 0.0));
        updateView();
        return;
    }
    const QRect r = image->image().rect();
    const double sx = static_cast<double>(width()) / (r.right() - r.left() + 1);
    const double sy = static_cast<double>(height()) / (r.bottom() - r.top() + 1);
    // Integer halvings, as the pixel grid has it: the middle pixel's corner.
    setCenterPoint(QPointF((r.left() + r.right()) / 2, -((r.top() + r.bottom()) / 2)));
    setScale(std::min(sx, sy));
    updateView();
}

void GeoreferenceView::mousePressEvent(QMouseEvent* event)
{
    viewMousePressEvent(event);
    if (m_imageItem && !inViewOperation()) {
        m_imageItem->controller()->mousePressEvent(event, this);
    }
}

void GeoreferenceView::mouseMoveEvent(QMouseEvent* event)
{
    const bool navigating = inViewOperation();
    viewMouseMoveEvent(event);
    if (m_imageItem && !navigating) {
        m_imageItem->controller()->mouseMoveEvent(event, this);
    }
}

void GeoreferenceView::mouseReleaseEvent(QMouseEvent* event)
{
    const bool navigating = inViewOperation();
    viewMouseReleaseEvent(event);
    if (!m_imageItem || navigating) {
        return;
    }
    m_imageItem->controller()->mouseReleaseEvent(event, this);
    if (event->button() == Qt::RightButton
        && mvc::core::View::isClick(rightClickPos(), event->pos())) {
        m_imageItem->showRightClickMenu(event->globalPos());
    }
}

void GeoreferenceView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (m_imageItem) {
        m_imageItem->controller()->mouseDoubleClickEvent(event, this);
    }
}

void GeoreferenceView::wheelEvent(QWheelEvent* event)
{
    viewWheelEvent(event);
    if (m_imageItem) {
        m_imageItem->controller()->wheelEvent(event, this);
    }
}

void GeoreferenceView::keyPressEvent(QKeyEvent* event)
{
    // Accepted here (the base would pass it on), so that Escape and Return stay with the
    // pane's tools and do not close or accept the dialog.
    if (m_imageItem) {
        m_imageItem->controller()->keyPressEvent(event, this);
    }
}

void GeoreferenceView::resizeEvent(QResizeEvent* event)
{
    PrimitiveView::resizeEvent(event);
    if (!m_fitted) {
        m_fitted = true;
        fitImage();
    }
}

QPixmap GeoreferenceView::drawModel()
{
    QPixmap picture(size());
    picture.fill(Qt::darkGray);
    if (m_imageItem) {
        QPainter painter(&picture);
        m_imageItem->itemView()->paint(&painter, transform(), drawnArea());
    }
    return picture;
}

} // namespace varnel
