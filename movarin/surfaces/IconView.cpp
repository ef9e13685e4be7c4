#include "movarin/surfaces/IconView.h"

#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldItemView.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace varnel {

IconView::IconView(MoldItem* item, QWidget* parent) : QWidget(parent), m_item(item)
{
    setObjectName(QStringLiteral("Form"));
    setFixedSize(25, 25);
    fitToMold();
}

IconView::~IconView() = default;

MoldItem* IconView::moldItem() const
{
    return m_item;
}

bool IconView::isSelected() const
{
    return m_selected;
}

void IconView::setSelected(bool selected)
{
    if (m_selected != selected) {
        m_selected = selected;
        update();
    }
}

void IconView::fitToMold()
{
    const QRectF r = MoldItem::withExtent(m_item ? m_item->boundingRect() : QRectF(), 2.0);
    m_center = r.center();
    m_scaleX = 0.9 * width() / r.width();
    m_scaleY = 0.9 * height() / r.height();
    updateTransform();
    update();
}

const QTransform& IconView::transform() const
{
    return m_transform;
}

QRectF IconView::drawnArea() const
{
    return m_transform.inverted().mapRect(QRectF(rect()));
}

void IconView::mousePressEvent(QMouseEvent*)
{
    emit itemSelected(m_item);
}

void IconView::paintEvent(QPaintEvent*)
{
    QPixmap picture(size());
    picture.fill(Qt::darkGray);
    if (m_item) {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        MoldItemView* view = m_item->view();
        if (m_selected) {
            view->setColors(Qt::black, Qt::lightGray);
        } else {
            view->setColors(Qt::lightGray, Qt::white);
        }
        view->setGridVisible(false);
        view->paint(&painter, m_transform, drawnArea());
        // The item view is shared with the detail views, which set their own colours and
        // grid before they paint; leave it as they expect it anyway.
        view->resetColors();
        view->setGridVisible(true);
    }
    QPainter(this).drawPixmap(0, 0, picture);
}

void IconView::updateTransform()
{
    const double sx = m_separateScales ? m_scaleX : std::min(m_scaleX, m_scaleY);
    const double sy = m_separateScales ? m_scaleY : sx;
    m_transform = QTransform();
    m_transform.translate(width() / 2.0 + m_offset.x(), height() / 2.0 + m_offset.y());
    m_transform.scale(sx, -sy);
    m_transform.translate(-m_center.x(), -m_center.y());
}

} // namespace varnel
