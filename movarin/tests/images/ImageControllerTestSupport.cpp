#include "ImageControllerTestSupport.h"

#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "movarin/survey/BackgroundImageItemController.h"
#include "movarin/survey/BackgroundImageItemGeoreferenceDialog.h"
#include "movarin/survey/GeoreferenceView.h"

#include "brask/core/View.h"
#include "pelkas/GdalImage.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStandardItem>

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

gdalimg::GdalImageSetting placement(const QPointF& topLeft, double scale, double angle)
{
    gdalimg::GdalImageSetting setting;
    setting.setTopLeft(topLeft);
    setting.setScale(scale);
    setting.setAngle(angle);
    return setting;
}

ImageControllerTest::ImageControllerTest()
{
    view()->fit(QRectF(-100.0, -75.0, 200.0, 150.0));
}

QUndoStack* ImageControllerTest::undoStack()
{
    return session().mainWindow().undoStack();
}

BackgroundImageItem* ImageControllerTest::placeImage(int width, int height,
                                                     const gdalimg::GdalImageSetting& setting)
{
    auto image = new gdalimg::GdalImage(filledPicture(width, height, Qt::yellow), setting);
    auto item = new BackgroundImageItem(QStringLiteral("picture.png"), image, group());
    // As the import leaves it: the row goes where the item is attached.
    group()->browserItem()->takeRow(item->browserItem()->row());
    group()->attachChildAtFront(item);
    window()->model()->select(item);
    return item;
}

BackgroundImageItemController* ImageControllerTest::controllerOf(const BackgroundImageItem* item)
{
    return static_cast<BackgroundImageItemController*>(item->controller());
}

MouseOn ImageControllerTest::mainView() const
{
    return MouseOn(view());
}

QPoint ImageControllerTest::pixel(const QPointF& world) const
{
    return view()->conv(world).toPoint();
}

GeoreferenceView* ImageControllerTest::paneOf(const BackgroundImageItemGeoreferenceDialog* dialog)
{
    return dialog->findChild<GeoreferenceView*>(QStringLiteral("imageWidget"));
}

void ImageControllerTest::settle()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace varnel::test
