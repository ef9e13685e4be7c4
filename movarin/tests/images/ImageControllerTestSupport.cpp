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
#include <QStandardItem>

namespace varnel::test {

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
