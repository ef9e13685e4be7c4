#pragma once

// Test support of the background image controllers: a window holding placed pictures with a
// main view of known scale; the mouse and keys reach its widgets through `MouseOn`.

#include "images/ImagesTestSupport.h"
#include "support/MouseOn.h"

#include "pelkas/GdalImageSetting.h"

#include <QPoint>
#include <QPointF>

class QUndoStack;
class QWidget;

namespace varnel {
class BackgroundImageItemController;
class BackgroundImageItemGeoreferenceDialog;
class GeoreferenceView;
} // namespace varnel

namespace varnel::test {

/// A setting from its parts.
gdalimg::GdalImageSetting placement(const QPointF& topLeft, double scale, double angle);

/// A create-mode window whose 400 x 300 main view shows world x from -100 to 100 and y
/// from -75 to 75: 2 pixels per metre, the world origin at pixel (200, 150).
class ImageControllerTest : public ImagesTest {
protected:
    ImageControllerTest();

    QUndoStack* undoStack();
    /// A picture of `width` x `height` pixels placed by `setting`, attached at the front of
    /// the group and selected, so that the main view's input reaches its controller.
    BackgroundImageItem* placeImage(int width, int height,
                                    const gdalimg::GdalImageSetting& setting);
    static BackgroundImageItemController* controllerOf(const BackgroundImageItem* item);
    MouseOn mainView() const;
    /// The widget pixel of a world point (rounded).
    QPoint pixel(const QPointF& world) const;
    /// The georeference pane of a dialog.
    static GeoreferenceView* paneOf(const BackgroundImageItemGeoreferenceDialog* dialog);
    /// Runs the queued end of the georeference mode and the deletion of its dialog.
    static void settle();
};

} // namespace varnel::test
