#include "brask/view/PrimitiveView.h"

#include "brask/core/View.h"
#include "brask/util/TransformSupport.h"
#include "brask/util/ViewOperation.h"

#include <QMetaObject>
#include <QMouseEvent>
#include <QPixmap>
#include <QWheelEvent>

namespace mvc::view {

using util::TransformSupport;

struct PrimitiveView::Impl {
    QTransform transform;
    QTransform inverse;
    QPointF centerPoint{0.0, 0.0};
    double scale = 1.0;
    double relativeScaleX = 1.0;
    double relativeScaleY = 1.0;
    util::ViewOperation operation;
    QPoint rightClickPos;
    QPixmap picture;
    QTransform pictureInverse;
};

PrimitiveView::PrimitiveView(QWidget* parent) : QWidget(parent), m_impl(std::make_unique<Impl>())
{
    if (objectName().isEmpty()) {
        setObjectName(QStringLiteral("PrimitiveView"));
    }
    QMetaObject::connectSlotsByName(this);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

PrimitiveView::~PrimitiveView() = default;

QPointF PrimitiveView::conv(const QPointF& world) const
{
    return m_impl->transform.map(world);
}

QPointF PrimitiveView::rconv(const QPointF& widget) const
{
    return m_impl->inverse.map(widget);
}

QRectF PrimitiveView::drawnArea() const
{
    return m_impl->inverse.mapRect(QRectF(0.0, 0.0, width(), height()));
}

void PrimitiveView::updateView()
{
    updateTransform();
    update();
}

void PrimitiveView::updateTransform()
{
    m_impl->transform =
        core::View::getTransform(size(), m_impl->centerPoint, m_impl->scale * m_impl->relativeScaleX,
                                 m_impl->scale * m_impl->relativeScaleY, 0.0, false)
        * modifyTransform();
    m_impl->inverse = TransformSupport::inverted(m_impl->transform);
    emit drawnAreaChanged();
}

const QTransform& PrimitiveView::transform() const
{
    return m_impl->transform;
}

QPointF PrimitiveView::centerPoint() const
{
    return m_impl->centerPoint;
}

void PrimitiveView::setCenterPoint(const QPointF& center)
{
    if (TransformSupport::isFinite(center)) {
        m_impl->centerPoint = center;
    }
}

double PrimitiveView::scale() const
{
    return m_impl->scale;
}

void PrimitiveView::setScale(double scale)
{
    if (TransformSupport::isValidScale(scale)) {
        m_impl->scale = scale;
    }
}

double PrimitiveView::relativeScaleX() const
{
    return m_impl->relativeScaleX;
}

void PrimitiveView::setRelativeScaleX(double factor)
{
    if (TransformSupport::isValidScale(factor)) {
        m_impl->relativeScaleX = factor;
    }
}

double PrimitiveView::relativeScaleY() const
{
    return m_impl->relativeScaleY;
}

void PrimitiveView::setRelativeScaleY(double factor)
{
    if (TransformSupport::isValidScale(factor)) {
        m_impl->relativeScaleY = factor;
    }
}

double PrimitiveView::angleDegree() const
{
    return 0.0;
}

QPoint PrimitiveView::rightClickPos() const
{
    return m_impl->rightClickPos;
}

bool PrimitiveView::inViewOperation() const
{
    return m_impl->operation.isRunning();
}

void PrimitiveView::viewMousePressEvent(QMouseEvent* event)
{
    if (inViewOperation() || m_impl->operation.start(this, event)) {
        return;
    }
    if (event->modifiers() != Qt::ControlModifier && event->button() == Qt::RightButton) {
        m_impl->rightClickPos = event->pos();
    }
}

void PrimitiveView::viewMouseMoveEvent(QMouseEvent* event)
{
    if (!inViewOperation()) {
        return;
    }
    m_impl->operation.drag(this, event->pos(), [this](const QPointF& pixels) {
        return QPointF(pixels.x() / m_impl->relativeScaleX / m_impl->scale,
                       pixels.y() / m_impl->relativeScaleY / m_impl->scale);
    });
    updateTransform();
    update();
}

void PrimitiveView::viewMouseReleaseEvent(QMouseEvent*)
{
    if (inViewOperation()) {
        m_impl->operation.end(this);
        updateView();
    }
}

void PrimitiveView::viewWheelEvent(QWheelEvent* event)
{
    const int direction = util::ViewOperation::wheelDirection(event);
    if (direction == 0) {
        return;
    }
    setScale(m_impl->scale * (direction > 0 ? 2.0 : 0.5));
    updateView();
}

QTransform PrimitiveView::modifyTransform() const
{
    return QTransform();
}

QPixmap PrimitiveView::drawModel()
{
    QPixmap picture(size());
    picture.fill(Qt::darkGray);
    return picture;
}

void PrimitiveView::mousePressEvent(QMouseEvent* event)
{
    viewMousePressEvent(event);
}

void PrimitiveView::mouseMoveEvent(QMouseEvent* event)
{
    viewMouseMoveEvent(event);
}

void PrimitiveView::mouseReleaseEvent(QMouseEvent* event)
{
    viewMouseReleaseEvent(event);
}

void PrimitiveView::wheelEvent(QWheelEvent* event)
{
    viewWheelEvent(event);
}

void PrimitiveView::paintEvent(QPaintEvent*)
{
    if (!inViewOperation()) {
        m_impl->pictureInverse = m_impl->inverse;
        m_impl->picture = drawModel();
    }
    core::View::paintEvent(this, m_impl->picture, Qt::darkGray,
                           m_impl->pictureInverse * m_impl->transform);
}

} // namespace mvc::view
