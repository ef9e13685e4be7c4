#pragma once

// Test support of the georeference dialog and its pane: an image item whose controller
// stands in for the background image controller (it has that controller's signals and
// slots, wires the dialog as that controller does, and records what reaches it), a
// fixture with such an item in a create-mode window, and mouse and key events sent to the
// pane as the widget would receive them.

#include "images/ImagesTestSupport.h"

#include "brask/core/ModelItemController.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "movarin/survey/BackgroundImageItemGeoreferenceDialog.h"
#include "movarin/survey/GcpTableRow.h"
#include "pelkas/GdalImageSetting.h"

#include <QDialogButtonBox>
#include <QPointer>
#include <QPointF>

#include <vector>

namespace varnel {
class GeoreferenceView;
}

namespace varnel::test {

/// The background image controller as the dialog and the pane see it.
/// - `showGeoreferenceDialog()` makes the dialog (once) and connects: `accepted` pushes
///   `setting()` as one undoable command, `appliedSettingKept` pushes the setting it
///   carries, `georeferenceModeEnded` reaches `endGeoreferenceMode` queued, which forgets
///   the dialog and deletes it later.
/// - `startGcpSelect()`, `selectPoints` and `endGeoreferenceMode` are recorded; the test
///   answers the map position with `emitGcpDefined` and makes a main-view selection with
///   `emitSelectedIndexChanged`.
/// - `imageSettingWhenAccepted` is the image's setting at the moment `accepted` arrived.
class StandInImageController : public mvc::core::ModelItemController {
    Q_OBJECT
public:
    explicit StandInImageController(const BackgroundImageItem* item);

    BackgroundImageItemGeoreferenceDialog* dialog() const { return m_dialog; }
    BackgroundImageItem* imageItem() const;

    void emitGcpDefined(const QPointF& mapPosition) { emit gcpDefined(mapPosition); }
    void emitSelectedIndexChanged(const GcpRowIndices& rows) { emit selectedIndexChanged(rows); }

    int gcpRequests = 0;
    int modeEnds = 0;
    std::vector<GcpRowIndices> selections;
    std::vector<gdalimg::GdalImageSetting> pushed;
    gdalimg::GdalImageSetting imageSettingWhenAccepted;

signals:
    void gcpDefined(const QPointF& point);
    void selectedIndexChanged(const GcpRowIndices& indices);

public slots:
    void selectPoints(const GcpRowIndices& indices);
    void startGcpSelect();
    void showGeoreferenceDialog();
    void endGeoreferenceMode();

private:
    void pushSetting(const gdalimg::GdalImageSetting& setting);

    QPointer<BackgroundImageItemGeoreferenceDialog> m_dialog;
};

/// A background image item driven by a `StandInImageController`.
class StandInImageItem : public BackgroundImageItem {
public:
    using BackgroundImageItem::BackgroundImageItem;
    StandInImageController* standIn() const;

protected:
    mvc::core::ModelItemController* buildController() const override;
};

/// A create-mode window holding one stand-in image of 200 x 100 pixels placed at
/// top-left (1000, 5000), scale 2, angle 30 (the opening placement), and its dialog.
class GeoreferenceTest : public ImagesTest {
protected:
    GeoreferenceTest();
    ~GeoreferenceTest() override;

    StandInImageItem* item() const { return m_item; }
    StandInImageController* standIn() const { return m_item->standIn(); }
    /// Opens the dialog through the stand-in and shows it.
    BackgroundImageItemGeoreferenceDialog* openDialog();
    BackgroundImageItemGeoreferenceDialog* dialog() const { return standIn()->dialog(); }
    GeoreferenceView* pane() const;
    /// A button of the dialog's button box.
    QPushButton* button(QDialogButtonBox::StandardButton which) const;
    /// The pane at one unit a pixel with the image's pixel (100, 50) in its middle.
    void aimPane() const;
    /// Pairs at the given pane positions, their map positions placed by `truth`.
    void addExactPairs(const std::vector<QPointF>& sources,
                       const gdalimg::GdalImageSetting& truth) const;
    gdalimg::GdalImageSetting imageSetting() const;
    int undoCount() const;

    static gdalimg::GdalImageSetting opening();
    static gdalimg::GdalImageSetting setting(double x, double y, double scale, double angle);
    static void expectSameSetting(const gdalimg::GdalImageSetting& expected,
                                  const gdalimg::GdalImageSetting& actual,
                                  double tolerance = 1e-9);

private:
    StandInImageItem* m_item = nullptr;
};

/// Input as the pane receives it (sent straight to the widget, buttons and modifiers set).
void press(QWidget* widget, const QPointF& pos, Qt::MouseButton button = Qt::LeftButton,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void move(QWidget* widget, const QPointF& pos, Qt::MouseButtons buttons = Qt::NoButton,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void release(QWidget* widget, const QPointF& pos, Qt::MouseButton button = Qt::LeftButton,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier);
/// Press and release at `pos`.
void click(QWidget* widget, const QPointF& pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

} // namespace varnel::test
