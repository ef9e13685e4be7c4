#include "images/GeoreferenceTestSupport.h"

#include "images/GcpTestSupport.h"

#include "brask/proj/Project.h"
#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/GcpTableModel.h"
#include "movarin/survey/GeoreferenceView.h"
#include "pelkas/GdalImage.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QMouseEvent>
#include <QStandardItem>
#include <QUndoCommand>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace varnel::test {

namespace {

/// One placement change of an image, both ways.
class SetSettingCommand : public QUndoCommand {
public:
    SetSettingCommand(gdalimg::GdalImage* image, const gdalimg::GdalImageSetting& setting)
        : m_image(image), m_new(setting), m_old(image->setting())
    {
    }
    void redo() override { m_image->setSetting(m_new); }
    void undo() override { m_image->setSetting(m_old); }

private:
    gdalimg::GdalImage* m_image;
    gdalimg::GdalImageSetting m_new;
    gdalimg::GdalImageSetting m_old;
};

void sendMouse(QWidget* widget, QEvent::Type type, const QPointF& pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos.toPoint()), button, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

} // namespace

StandInImageController::StandInImageController(const BackgroundImageItem* item)
    : mvc::core::ModelItemController(item)
{
}

BackgroundImageItem* StandInImageController::imageItem() const
{
    return static_cast<BackgroundImageItem*>(item());
}

void StandInImageController::selectPoints(const GcpRowIndices& indices)
{
    selections.push_back(indices);
}

void StandInImageController::startGcpSelect()
{
    ++gcpRequests;
}

void StandInImageController::showGeoreferenceDialog()
{
    if (m_dialog) {
        return;
    }
    m_dialog = new BackgroundImageItemGeoreferenceDialog(imageItem(), nullptr);
    BackgroundImageItemGeoreferenceDialog* dialog = m_dialog;
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        imageSettingWhenAccepted = imageItem()->image()->setting();
        pushSetting(dialog->setting());
    });
    connect(dialog, &BackgroundImageItemGeoreferenceDialog::appliedSettingKept, this,
            &StandInImageController::pushSetting);
    connect(dialog, SIGNAL(georeferenceModeEnded()), this, SLOT(endGeoreferenceMode()),
            Qt::QueuedConnection);
}

void StandInImageController::endGeoreferenceMode()
{
    ++modeEnds;
    if (m_dialog) {
        m_dialog->deleteLater();
        m_dialog = nullptr;
    }
}

void StandInImageController::pushSetting(const gdalimg::GdalImageSetting& setting)
{
    pushed.push_back(setting);
    pushUpdateViewCommand(new SetSettingCommand(imageItem()->image(), setting));
}

StandInImageController* StandInImageItem::standIn() const
{
    return static_cast<StandInImageController*>(controller());
}

mvc::core::ModelItemController* StandInImageItem::buildController() const
{
    return new StandInImageController(this);
}

GeoreferenceTest::GeoreferenceTest()
{
    auto* image = new gdalimg::GdalImage(filledPicture(200, 100, QColor(40, 160, 90)), opening());
    m_item = new StandInImageItem("photo.png", image, group());
    group()->browserItem()->takeRow(m_item->browserItem()->row());
    group()->attachChildAtFront(m_item);
}

GeoreferenceTest::~GeoreferenceTest()
{
    delete dialog();
    // A dialog the stand-in handed to deleteLater goes before the item it shows.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

BackgroundImageItemGeoreferenceDialog* GeoreferenceTest::openDialog()
{
    standIn()->showGeoreferenceDialog();
    dialog()->show();
    return dialog();
}

GeoreferenceView* GeoreferenceTest::pane() const
{
    return dialog()->findChild<GeoreferenceView*>("imageWidget");
}

QPushButton* GeoreferenceTest::button(QDialogButtonBox::StandardButton which) const
{
    return dialog()->findChild<QDialogButtonBox*>("buttonBox")->button(which);
}

void GeoreferenceTest::aimPane() const
{
    pane()->setScale(1.0);
    pane()->setCenterPoint(QPointF(100.0, -50.0));
    pane()->updateView();
}

void GeoreferenceTest::addExactPairs(const std::vector<QPointF>& sources,
                                     const gdalimg::GdalImageSetting& truth) const
{
    for (const QPointF& s : sources) {
        const QPointF d = placeSource(truth, s);
        dialog()->gcpTableModel()->appendRow({true, s.x(), s.y(), d.x(), d.y()});
    }
}

gdalimg::GdalImageSetting GeoreferenceTest::imageSetting() const
{
    return m_item->image()->setting();
}

int GeoreferenceTest::undoCount() const
{
    return const_cast<GeoreferenceTest*>(this)->project().undoStack()->count();
}

gdalimg::GdalImageSetting GeoreferenceTest::opening()
{
    return setting(1000.0, 5000.0, 2.0, 30.0);
}

gdalimg::GdalImageSetting GeoreferenceTest::setting(double x, double y, double scale,
                                                     double angle)
{
    gdalimg::GdalImageSetting s;
    s.setTopLeft(QPointF(x, y));
    s.setScale(scale);
    s.setAngle(angle);
    return s;
}

void GeoreferenceTest::expectSameSetting(const gdalimg::GdalImageSetting& expected,
                                         const gdalimg::GdalImageSetting& actual,
                                         double tolerance)
{
    EXPECT_NEAR(actual.topLeft().x(), expected.topLeft().x(),
                tolerance * std::max(1.0, std::abs(expected.topLeft().x())));
    EXPECT_NEAR(actual.topLeft().y(), expected.topLeft().y(),
                tolerance * std::max(1.0, std::abs(expected.topLeft().y())));
    EXPECT_NEAR(actual.scale(), expected.scale(), tolerance * expected.scale());
    EXPECT_NEAR(actual.angle(), expected.angle(), tolerance * 360.0);
}

void press(QWidget* widget, const QPointF& pos, Qt::MouseButton button,
           Qt::KeyboardModifiers modifiers)
{
    sendMouse(widget, QEvent::MouseButtonPress, pos, button, button, modifiers);
}

void move(QWidget* widget, const QPointF& pos, Qt::MouseButtons buttons,
          Qt::KeyboardModifiers modifiers)
{
    sendMouse(widget, QEvent::MouseMove, pos, Qt::NoButton, buttons, modifiers);
}

void release(QWidget* widget, const QPointF& pos, Qt::MouseButton button,
             Qt::KeyboardModifiers modifiers)
{
    sendMouse(widget, QEvent::MouseButtonRelease, pos, button, Qt::NoButton, modifiers);
}

void click(QWidget* widget, const QPointF& pos, Qt::KeyboardModifiers modifiers)
{
    press(widget, pos, Qt::LeftButton, modifiers);
    release(widget, pos, Qt::LeftButton, modifiers);
}

void key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &event);
}

} // namespace varnel::test
