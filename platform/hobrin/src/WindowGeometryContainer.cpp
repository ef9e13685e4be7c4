#include "guimisc/xml/WindowGeometryContainer.h"

#include "guimisc/xml/XmlSupport.h"

#include <QDomElement>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>

namespace guimisc::xml {

namespace {

// The area the frame's top-left corner must stay in, in the frame's parent coordinates.
QRect allowedArea(const QWidget* frame)
{
    if (const QWidget* parent = frame->parentWidget()) {
        return parent->rect();
    }
    const QScreen* screen = frame->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

int clampInto(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

} // namespace

WindowGeometryContainer::WindowGeometryContainer(QWidget* widget, bool useWidgetItself)
    : m_widget(widget), m_useWidgetItself(useWidgetItself)
{
}

WindowGeometryContainer::~WindowGeometryContainer() = default;

QWidget* WindowGeometryContainer::frame() const
{
    QWidget* widget = m_widget.data();
    if (widget == nullptr || m_useWidgetItself) {
        return widget;
    }
    for (QWidget* w = widget->parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto sub = qobject_cast<QMdiSubWindow*>(w)) {
            return sub;
        }
    }
    return widget;
}

void WindowGeometryContainer::load(const QDomElement& element)
{
    QWidget* f = frame();
    if (f == nullptr) {
        return;
    }
    const bool wasMaximized = f->isMaximized();
    const QRect current = f->geometry();
    QRect geometry(XmlSupport::getIntAttribute(element, QStringLiteral("x"), current.x()),
                   XmlSupport::getIntAttribute(element, QStringLiteral("y"), current.y()),
                   XmlSupport::getIntAttribute(element, QStringLiteral("width"), current.width()),
                   XmlSupport::getIntAttribute(element, QStringLiteral("height"),
                                               current.height()));
    const QRect area = allowedArea(f);
    if (area.isValid()) {
        geometry.moveTopLeft(QPoint(clampInto(geometry.x(), area.left(), area.right()),
                                    clampInto(geometry.y(), area.top(), area.bottom())));
    }
    const bool maximized =
        XmlSupport::getBooleanAttribute(element, QStringLiteral("maximized"), wasMaximized);
    if (wasMaximized) {
        f->setWindowState(f->windowState() & ~Qt::WindowMaximized);
    }
    f->setGeometry(geometry);
    if (maximized) {
        f->setWindowState(f->windowState() | Qt::WindowMaximized);
    }
}

void WindowGeometryContainer::save(QXmlStreamWriter* writer) const
{
    const QWidget* f = frame();
    if (f == nullptr) {
        return;
    }
    const QRect geometry = f->geometry();
    XmlSupport::setIntAttribute(writer, QStringLiteral("x"), geometry.x());
    XmlSupport::setIntAttribute(writer, QStringLiteral("y"), geometry.y());
    XmlSupport::setIntAttribute(writer, QStringLiteral("width"), geometry.width());
    XmlSupport::setIntAttribute(writer, QStringLiteral("height"), geometry.height());
    XmlSupport::setBooleanAttribute(writer, QStringLiteral("maximized"), f->isMaximized());
}

} // namespace guimisc::xml
