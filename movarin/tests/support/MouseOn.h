#pragma once

// The mouse and keyboard of a test: events built with their buttons and modifiers and sent
// to one widget (a main view, a secondary view), synchronously.

#include <QEvent>
#include <QPoint>

class QWidget;

namespace varnel::test {

/// Sends the events a user's mouse and keyboard make to one widget, synchronously.
class MouseOn {
public:
    explicit MouseOn(QWidget* widget) : m_widget(widget) {}

    void press(const QPoint& pos, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    void release(const QPoint& pos, Qt::MouseButton button = Qt::LeftButton,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    void move(const QPoint& pos, Qt::MouseButtons buttons = Qt::NoButton,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    /// Press and release at one place, no move between.
    void click(const QPoint& pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    /// Press at `from`, moves half way and to `to` with the button held, release at `to`.
    void drag(const QPoint& from, const QPoint& to, Qt::MouseButton button = Qt::LeftButton,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    /// What a double click sends: press, release, double click, release at one place.
    void doubleClick(const QPoint& pos) const;
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;

private:
    void send(QEvent::Type type, const QPoint& pos, Qt::MouseButton button,
              Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const;

    QWidget* m_widget;
};

} // namespace varnel::test
