#include "brask/util/ViewOperation.h"

#include <QMouseEvent>
#include <QPixmap>
#include <QWheelEvent>
#include <QWidget>

#include <cmath>

namespace mvc::util {

namespace {

const double ZOOM_DRAG_RATE = 0.01;

QCursor centredCursor(const QString& path)
{
    return QCursor(QPixmap(path), -1, -1);
}

} // namespace

ViewOperation::ViewOperation()
    : m_moveCursor(centredCursor(QStringLiteral(":/libs/mvc/images/cursorMove.png"))),
      m_zoomCursor(centredCursor(QStringLiteral(":/libs/mvc/images/cursorZoom.png")))
{
}

bool ViewOperation::start(QWidget* widget, const QMouseEvent* event)
{
    if (event->modifiers() != Qt::ControlModifier) {
        return false;
    }
    if (event->button() == Qt::LeftButton) {
        m_panning = true;
        widget->setCursor(m_moveCursor);
    } else if (event->button() == Qt::MiddleButton) {
        m_zooming = true;
        widget->setCursor(m_zoomCursor);
    } else {
        return false;
    }
    m_lastPos = event->pos();
    return true;
}

bool ViewOperation::isRunning() const
{
    return m_panning || m_zooming;
}

bool ViewOperation::isPanning() const
{
    return m_panning;
}

bool ViewOperation::isZooming() const
{
    return m_zooming;
}

QPointF ViewOperation::panOffset(const QPoint& pos)
{
    const QPointF offset(pos.x() - m_lastPos.x(), m_lastPos.y() - pos.y());
    m_lastPos = pos;
    return offset;
}

double ViewOperation::zoomFactor(const QPoint& pos)
{
    const double factor = std::exp((m_lastPos.y() - pos.y()) * ZOOM_DRAG_RATE);
    m_lastPos = pos;
    return factor;
}

void ViewOperation::end(QWidget* widget)
{
    m_panning = false;
    m_zooming = false;
    widget->setCursor(Qt::ArrowCursor);
}

int ViewOperation::wheelDirection(const QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    const int d = delta.y() != 0 ? delta.y() : delta.x();
    return (d > 0) - (d < 0);
}

} // namespace mvc::util
