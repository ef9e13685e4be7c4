// The user's commands on background images: import through the file dialog, "Delete all"
// and the position dialog, each at most one undo entry, and the failures that add nothing.

#include "images/ImageControllerTestSupport.h"

#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/BackgroundImageGroupItemController.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "movarin/survey/BackgroundImageItemController.h"

#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/ProjectFile.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"
#include "pelkas/GdalImage.h"
#include "support/ModalAnswerer.h"

#include <guimisc/LastIODirectory.h>
#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QUndoStack>

#include <gtest/gtest.h>

using namespace varnel;
using namespace varnel::test;

namespace {

class BackgroundImageCommandsTest : public ImageControllerTest {
protected:
    BackgroundImageGroupItemController* groupController() const
    {
        return static_cast<BackgroundImageGroupItemController*>(group()->controller());
    }

    /// "Import" with the file dialog answered by `path` (cancelled when empty).
    void importThroughDialog(guimisc::UserDialogScript& script, const std::string& path)
    {
        if (path.empty()) {
            script.answerCancel();
        } else {
            script.answerFile(QString::fromStdString(path));
        }
        groupController()->importAction()->trigger();
    }

    BackgroundImageItem* child(std::size_t i) const
    {
        return static_cast<BackgroundImageItem*>(group()->childItems().at(i));
    }
};

} // namespace

TEST_F(BackgroundImageCommandsTest, ImportIntoAnEmptyWindowFitsTheViewToTheImage)
{
    const std::string path = writePicture("first.png", filledPicture(100, 50, Qt::red));
    guimisc::UserDialogScript script;
    importThroughDialog(script, path);

    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].title, "Add background image");
    EXPECT_EQ(script.records()[0].filter, "Image files(*.jpg *.jpeg *.png *.tif)");
    ASSERT_EQ(group()->childItems().size(), 1u);
    EXPECT_EQ(undoStack()->count(), 1);
    EXPECT_EQ(undoStack()->text(0), "Add new background image");
    EXPECT_EQ(window()->model()->selectedItem(), child(0));
    EXPECT_EQ(QDir(guimisc::LastIODirectory::get()),
              QDir(QFileInfo(QString::fromStdString(path)).absolutePath()));
    // The image covers [0, 100] x [0, 50]; the 400 x 300 view shows it whole, the fit's
    // margin free on either side.
    EXPECT_EQ(view()->centerPoint(), QPointF(50.0, 25.0));
    EXPECT_DOUBLE_EQ(view()->scale(), (400.0 - 2 * mvc::core::View::FIT_MARGIN) / 100.0);

    undoStack()->undo();
    EXPECT_TRUE(group()->childItems().empty());
}

TEST_F(BackgroundImageCommandsTest, ImportIntoAWindowWithDataLeavesTheViewAndGoesOnTop)
{
    addExtent(QRectF(100.0, 50.0, 200.0, 30.0));
    view()->setCenterPoint(QPointF(7.0, 8.0));
    view()->setScale(0.5);
    view()->updateView();
    guimisc::UserDialogScript script;
    importThroughDialog(script, writePicture("a.png", filledPicture(10, 10, Qt::red)));
    importThroughDialog(script, writePicture("b.png", filledPicture(10, 10, Qt::blue)));

    EXPECT_EQ(view()->centerPoint(), QPointF(7.0, 8.0));
    EXPECT_EQ(view()->scale(), 0.5);
    ASSERT_EQ(group()->childItems().size(), 2u);
    EXPECT_EQ(child(0)->caption(), "b.png");
    EXPECT_EQ(undoStack()->count(), 2);
}

TEST_F(BackgroundImageCommandsTest, CancelledOrFailedImportsAddNothing)
{
    const QString lastFolder = QDir::tempPath();
    guimisc::LastIODirectory::set(lastFolder);
    guimisc::UserDialogScript script;

    importThroughDialog(script, "");
    EXPECT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].directory, lastFolder);

    const std::string broken = gdaltest::scratchFile("broken.png");
    QFile file(QString::fromStdString(broken));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture at all");
    file.close();
    importThroughDialog(script, broken);

    const std::vector<guimisc::UserDialogScript::Record> boxes = script.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, guimisc::UserDialogs::Kind::Critical);
    EXPECT_EQ(boxes[0].title, "Error");
    EXPECT_TRUE(boxes[0].text.startsWith(
        QString("Error occured while loading %1 : ").arg(QString::fromStdString(broken))))
        << boxes[0].text.toStdString();
    EXPECT_GT(boxes[0].text.size(),
              QString("Error occured while loading %1 : ").arg(QString::fromStdString(broken)).size());

    // A photo cut short (GDAL alone shows its lower part grey), also under a name that is
    // copied to an ASCII one for GDAL: the box names the file the user chose, and why.
    const QString photo = QStringLiteral(MOVARIN_SHARED_DATA_DIR "/real/image/autzen.jpg");
    for (const QString& name : {QStringLiteral("cut.jpg"), QString::fromUtf8("航空写真 cut.jpg")}) {
        SCOPED_TRACE(name.toStdString());
        script.clearRecords();
        const QString cut = QString::fromStdString(gdaltest::scratchFile(name.toStdString()));
        QFile::remove(cut);
        ASSERT_TRUE(QFile::copy(photo, cut));
        ASSERT_TRUE(QFile::resize(cut, QFileInfo(photo).size() / 2));
        importThroughDialog(script, cut.toStdString());
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        const QString text = script.messageBoxes()[0].text;
        EXPECT_TRUE(text.startsWith(QString("Error occured while loading %1 : RasterIO returned error: %1: ")
                                        .arg(cut)))
            << text.toStdString();
        EXPECT_TRUE(text.contains("Premature end of JPEG file")) << text.toStdString();
    }

    EXPECT_TRUE(group()->childItems().empty());
    EXPECT_EQ(undoStack()->count(), 0);
    EXPECT_EQ(guimisc::LastIODirectory::get(), lastFolder);
    EXPECT_FALSE(project().projectFile()->isModified());
}

TEST_F(BackgroundImageCommandsTest, DeleteAllIsOneUndoEntry)
{
    guimisc::UserDialogScript script;
    importThroughDialog(script, writePicture("a.png", filledPicture(10, 10, Qt::red)));
    importThroughDialog(script, writePicture("b.png", filledPicture(10, 10, Qt::blue)));
    const int entries = undoStack()->count();

    script.answer(QMessageBox::Yes);
    groupController()->deleteAllAction()->trigger();
    EXPECT_TRUE(group()->childItems().empty());
    ASSERT_EQ(undoStack()->count(), entries + 1);

    undoStack()->undo();
    ASSERT_EQ(group()->childItems().size(), 2u);
    EXPECT_EQ(child(0)->caption(), "b.png");
    EXPECT_EQ(child(1)->caption(), "a.png");

    // Answered No: nothing.
    script.answer(QMessageBox::No);
    groupController()->deleteAllAction()->trigger();
    EXPECT_EQ(group()->childItems().size(), 2u);
    EXPECT_EQ(undoStack()->count(), entries + 1);
}

TEST_F(BackgroundImageCommandsTest, PositionDialogOkIsOneUndoEntryAndCancelNone)
{
    BackgroundImageItem* item = placeImage(40, 30, placement({-20.0, 15.0}, 1.0, 0.0));
    BackgroundImageItemController* controller = controllerOf(item);

    ModalAnswerer cancel([](QWidget* dialog) {
        dialog->findChild<QDoubleSpinBox*>("scale")->setValue(3.0);
        static_cast<QDialog*>(dialog)->reject();
    });
    controller->showPropertyDialog();
    EXPECT_TRUE(cancel.answered());
    EXPECT_EQ(undoStack()->count(), 0);
    EXPECT_EQ(item->image()->setting().scale(), 1.0);

    ModalAnswerer ok([](QWidget* dialog) {
        dialog->findChild<QDoubleSpinBox*>("scale")->setValue(3.0);
        static_cast<QDialog*>(dialog)->accept();
    });
    controller->showPropertyDialog();
    EXPECT_TRUE(ok.answered());
    ASSERT_EQ(undoStack()->count(), 1);
    EXPECT_EQ(item->image()->setting().scale(), 3.0);
    undoStack()->undo();
    EXPECT_EQ(item->image()->setting().scale(), 1.0);
    EXPECT_EQ(item->image()->setting().topLeft(), QPointF(-20.0, 15.0));
}
