#include "movarin/surfaces/DetailView.h"

#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldItemController.h"
#include "movarin/surfaces/MoldItemView.h"

#include "brask/core/View.h"

#include <guimisc/UserDialogs.h>

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <exception>

namespace varnel {

DetailView::DetailView(QWidget* parent) : PrimitiveView(parent)
{
}

DetailView::~DetailView() = default;

MoldItem* DetailView::moldItem() const
{
    return m_moldItem;
}

void DetailView::setMoldItem(MoldItem* item)
{
    if (m_moldItem && m_moldItem->detailView() == this) {
        m_moldItem->setDetailView(nullptr);
    }
    m_moldItem = item;
    if (item) {
        item->setDetailView(this);
    }
    fitToMold();
}

void DetailView::setContextMenuEnabled(bool enabled)
{
    m_contextMenuEnabled = enabled;
}

void DetailView::fitToMold()
{
    const QRectF r = MoldItem::withExtent(m_moldItem ? m_moldItem->boundingRect() : QRectF(), 10.0);
    setCenterPoint(r.center());
    setScale(std::min(0.9 * width() / r.width(), 0.9 * height() / r.height()));
    updateView();
}

template <typename Hook> void DetailView::toEditor(Hook hook)
{
    if (!m_moldItem) {
        return;
    }
    try {
        hook(*m_moldItem->controller());
    } catch (const std::exception& e) {
        guimisc::UserDialogs::critical(this, tr("Error"), QString::fromLocal8Bit(e.what()));
    }
}

void DetailView::keyPressEvent(QKeyEvent* event)
{
    // Taken here, not passed on (the base would): Return and Escape belong to the editor.
    toEditor([&](MoldItemController& editor) { editor.keyPressEvent(event, this); });
}

void DetailView::mouseDoubleClickEvent(QMouseEvent* event)
{
    toEditor([&](MoldItemController& editor) { editor.mouseDoubleClickEvent(event, this); });
}

void DetailView::mouseMoveEvent(QMouseEvent* event)
{
    const bool navigating = inViewOperation();
    viewMouseMoveEvent(event);
    if (!navigating) {
        toEditor([&](MoldItemController& editor) { editor.mouseMoveEvent(event, this); });
    }
}

void DetailView::mousePressEvent(QMouseEvent* event)
{
    viewMousePressEvent(event);
    if (!inViewOperation()) {
        toEditor([&](MoldItemController& editor) { editor.mousePressEvent(event, this); });
    }
}

void DetailView::mouseReleaseEvent(QMouseEvent* event)
{
    const bool navigating = inViewOperation();
    viewMouseReleaseEvent(event);
    if (navigating) {
        return;
    }
    toEditor([&](MoldItemController& editor) { editor.mouseReleaseEvent(event, this); });
    if (m_moldItem && m_contextMenuEnabled && event->button() == Qt::RightButton
        && mvc::core::View::isClick(rightClickPos(), event->pos())) {
        m_moldItem->showContextMenu(event->globalPos());
    }
}

void DetailView::wheelEvent(QWheelEvent* event)
{
    viewWheelEvent(event);
    toEditor([&](MoldItemController& editor) { editor.wheelEvent(event, this); });
}

void DetailView::resizeEvent(QResizeEvent* event)
{
    PrimitiveView::resizeEvent(event);
    if (!m_fitted) {
        m_fitted = true;
        fitToMold();
    }
}

QPixmap DetailView::drawModel()
{
    QPixmap picture(size());
    picture.fill(Qt::darkGray);
    if (m_moldItem) {
        QPainter painter(&picture);
        MoldItemView* view = m_moldItem->view();
        view->resetColors();
        view->setGridVisible(true);
        view->paint(&painter, transform(), drawnArea());
    }
    return picture;
}

} // namespace varnel
