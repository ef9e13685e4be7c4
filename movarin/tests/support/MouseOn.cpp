#include "support/MouseOn.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace varnel::test {

void MouseOn::press(const QPoint& pos, Qt::MouseButton button,
                    Qt::KeyboardModifiers modifiers) const
{
    send(QEvent::MouseButtonPress, pos, button, button, modifiers);
}

void MouseOn::release(const QPoint& pos, Qt::MouseButton button,
                      Qt::KeyboardModifiers modifiers) const
{
    send(QEvent::MouseButtonRelease, pos, button, Qt::NoButton, modifiers);
}

void MouseOn::move(const QPoint& pos, Qt::MouseButtons buttons,
                   Qt::KeyboardModifiers modifiers) const
{
    send(QEvent::MouseMove, pos, Qt::NoButton, buttons, modifiers);
}

void MouseOn::click(const QPoint& pos, Qt::KeyboardModifiers modifiers) const
{
    press(pos, Qt::LeftButton, modifiers);
    release(pos, Qt::LeftButton, modifiers);
}

void MouseOn::drag(const QPoint& from, const QPoint& to, Qt::MouseButton button,
                   Qt::KeyboardModifiers modifiers) const
{
    press(from, button, modifiers);
    move((from + to) / 2, button, modifiers);
    move(to, button, modifiers);
    release(to, button, modifiers);
}

void MouseOn::doubleClick(const QPoint& pos) const
{
    press(pos);
    release(pos);
    send(QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    release(pos);
}

void MouseOn::key(int key, Qt::KeyboardModifiers modifiers) const
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(m_widget, &event);
}

void MouseOn::send(QEvent::Type type, const QPoint& pos, Qt::MouseButton button,
                   Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const
{
    QMouseEvent event(type, QPointF(pos), QPointF(m_widget->mapToGlobal(pos)), button, buttons,
                      modifiers);
    QApplication::sendEvent(m_widget, &event);
}

} // namespace varnel::test
