// A georeferencing as a user does it: control points picked in the dialog's pane and on the
// main view, moved and deleted, then OK, or Apply and the window's close button; the image's
// placement is checked against numpy's least squares and the undo stack.

#include "images/ImageControllerTestSupport.h"

#include "movarin/shell/ProjectFile.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "movarin/survey/BackgroundImageItemControllerSelectionHelper.h"
#include "movarin/survey/BackgroundImageItemGeoreferenceDialog.h"
#include "movarin/survey/GcpTableModel.h"
#include "movarin/survey/GeoreferenceView.h"
#include "movarin/survey/GeoreferenceViewImageItem.h"
#include "movarin/survey/GeoreferenceViewImageItemController.h"

#include "brask/core/View.h"
#include "pelkas/GdalImage.h"

#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <cmath>

using namespace varnel;
using namespace varnel::test;

namespace {

/// The similarity X = a x + b y + tx, Y = -b x + a y + ty.
struct Similarity {
    double a = 0.0;
    double b = 0.0;
    double tx = 0.0;
    double ty = 0.0;
};

/// The least-squares similarity of the enabled pairs as the Python reference (numpy's
/// lstsq) computes it.
Similarity numpySimilarity(const GcpTable& table)
{
    QJsonArray pairs;
    for (const GcpTableRow& row : table) {
        if (row.enabled) {
            pairs.append(QJsonArray{row.srcX, row.srcY, row.dstX, row.dstY});
        }
    }
    QTemporaryDir folder;
    QFile cases(folder.filePath("in.json"));
    if (!cases.open(QIODevice::WriteOnly)) {
        throw std::runtime_error("cannot write the reference's input");
    }
    cases.write(QJsonDocument(QJsonArray{QJsonObject{{"pairs", pairs}}}).toJson());
    cases.close();
    const QString python =
        QFile::exists("/usr/bin/python3") ? QStringLiteral("/usr/bin/python3") : "python3";
    const QString script =
        QStringLiteral(MOVARIN_SOURCE_DIR) + "/movarin/tests/images/gcp_fit_reference.py";
    QProcess reference;
    reference.start(python, {script, cases.fileName(), folder.filePath("out.json")});
    if (!reference.waitForFinished(60000) || reference.exitCode() != 0) {
        throw std::runtime_error("the reference failed: "
                                 + reference.readAllStandardError().toStdString());
    }
    QFile results(folder.filePath("out.json"));
    if (!results.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("the reference wrote nothing");
    }
    const QJsonObject r = QJsonDocument::fromJson(results.readAll()).array().at(0).toObject();
    return {r["a"].toDouble(), r["b"].toDouble(), r["tx"].toDouble(), r["ty"].toDouble()};
}

void expectSameSetting(const gdalimg::GdalImageSetting& actual,
                       const gdalimg::GdalImageSetting& expected)
{
    EXPECT_EQ(actual.topLeft(), expected.topLeft());
    EXPECT_EQ(actual.scale(), expected.scale());
    EXPECT_EQ(actual.angle(), expected.angle());
}

class GeoreferenceWorkflowTest : public ImageControllerTest {
protected:
    GeoreferenceWorkflowTest()
        : m_opening(placement({-50.0, 40.0}, 0.5, 0.0)),
          m_item(placeImage(200, 100, m_opening)),
          m_controller(controllerOf(m_item))
    {
    }

    BackgroundImageItemGeoreferenceDialog* openDialog()
    {
        m_controller->georeferenceAction()->trigger();
        BackgroundImageItemGeoreferenceDialog* dialog = m_controller->georeferenceDialog();
        QApplication::processEvents();
        return dialog;
    }

    void pushButton(BackgroundImageItemGeoreferenceDialog* dialog,
                    QDialogButtonBox::StandardButton which)
    {
        dialog->findChild<QDialogButtonBox*>("buttonBox")->button(which)->click();
    }

    const gdalimg::GdalImageSetting& setting() const { return m_item->image()->setting(); }

    gdalimg::GdalImageSetting m_opening;
    BackgroundImageItem* m_item;
    BackgroundImageItemController* m_controller;
};

} // namespace

TEST_F(GeoreferenceWorkflowTest, PairsPickedInBothViewsMovedAndDeletedThenOk)
{
    BackgroundImageItemGeoreferenceDialog* dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    GeoreferenceView* pane = paneOf(dialog);
    ASSERT_GT(pane->width(), 0);
    const MouseOn paneMouse(pane);
    const GcpTable& table = *dialog->gcpTable();
    guimisc::UserDialogScript script;

    // Three pairs: a click in the pane, the box answered, a click on the main view.
    const QPointF sources[] = {{20.0, -20.0}, {180.0, -30.0}, {100.0, -90.0}};
    const QPointF destinations[] = {{-40.0, 30.0}, {45.0, 20.5}, {0.5, -5.0}};
    paneMouse.move(pane->conv(sources[0]).toPoint());
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(testing::Message() << "pair " << i);
        script.clearRecords();
        paneMouse.click(pane->conv(sources[i]).toPoint());
        ASSERT_EQ(table.size(), static_cast<std::size_t>(i + 1));
        mainView().click(pixel(destinations[i]));
        const auto boxes = script.messageBoxes();
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[0].title, "Information");
        EXPECT_EQ(boxes[0].text, "Select a corresponding point on Main Window.");
        EXPECT_EQ(boxes[1].text, "Select a point on Georeference dialog.");
        EXPECT_EQ(QPointF(table[i].dstX, table[i].dstY), destinations[i]);
        EXPECT_NEAR(table[i].srcX, sources[i].x(), 1.0);
        EXPECT_NEAR(table[i].srcY, sources[i].y(), 1.0);
    }

    // The last map position dragged 10 pixels right and 6 up: (5, 3) in the world.
    mainView().drag(pixel(destinations[2]), pixel(destinations[2]) + QPoint(10, -6));
    EXPECT_EQ(QPointF(table[2].dstX, table[2].dstY), destinations[2] + QPointF(5.0, 3.0));
    auto mode = dynamic_cast<BackgroundImageItemController::SelectionHelper*>(
        m_controller->selectionHelper());
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->selectedRows(), GcpRowIndices{2});

    // The pane shows the same selection; "Delete Points" there removes the row.
    pane->imageItem()->controller()->deletePointsAction()->trigger();
    ASSERT_EQ(table.size(), 2u);
    mode = dynamic_cast<BackgroundImageItemController::SelectionHelper*>(
        m_controller->selectionHelper());
    EXPECT_TRUE(mode->selectedRows().empty());
    m_controller->selectPoints({2});
    EXPECT_TRUE(mode->selectedRows().empty());

    // Another drag on the main view works on the rows that are left.
    mainView().drag(pixel(destinations[0]), pixel(destinations[0]) + QPoint(-4, 4));
    EXPECT_EQ(QPointF(table[0].dstX, table[0].dstY), destinations[0] + QPointF(-2.0, -2.0));
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(QPointF(table[1].dstX, table[1].dstY), destinations[1]);

    const GcpTable remaining = table;
    const int entries = undoStack()->count();
    pushButton(dialog, QDialogButtonBox::Ok);
    settle();
    EXPECT_EQ(m_controller->georeferenceDialog(), nullptr);
    ASSERT_EQ(undoStack()->count(), entries + 1);

    const Similarity expected = numpySimilarity(remaining);
    const double s = setting().scale();
    const double theta = setting().angle() * M_PI / 180.0;
    EXPECT_LE(std::abs(s * std::cos(theta) - expected.a), 1e-9 * s);
    EXPECT_LE(std::abs(-s * std::sin(theta) - expected.b), 1e-9 * s);
    EXPECT_LE(std::abs(setting().topLeft().x() - expected.tx),
              1e-9 * std::max(1.0, std::abs(expected.tx)));
    EXPECT_LE(std::abs(setting().topLeft().y() - expected.ty),
              1e-9 * std::max(1.0, std::abs(expected.ty)));

    undoStack()->undo();
    expectSameSetting(setting(), m_opening);
}

TEST_F(GeoreferenceWorkflowTest, CloseAfterApplyLeavesOneUndoEntryAndAModifiedProject)
{
    ASSERT_FALSE(project().projectFile()->isModified());
    BackgroundImageItemGeoreferenceDialog* dialog = openDialog();
    // Pixel column 100 is 50 m: scale 0.5, angle 0, top-left (10, 20).
    dialog->gcpTableModel()->appendRow({true, 0.0, 0.0, 10.0, 20.0});
    dialog->gcpTableModel()->appendRow({true, 100.0, 0.0, 60.0, 20.0});
    dialog->gcpTableModel()->appendRow({false, 50.0, -50.0, 1e6, 1e6});

    pushButton(dialog, QDialogButtonBox::Apply);
    const gdalimg::GdalImageSetting applied = setting();
    EXPECT_NEAR(applied.scale(), 0.5, 1e-12);
    EXPECT_EQ(undoStack()->count(), 0);

    dialog->close();
    settle();
    EXPECT_EQ(m_controller->georeferenceDialog(), nullptr);
    ASSERT_EQ(undoStack()->count(), 1);
    EXPECT_TRUE(project().projectFile()->isModified());
    expectSameSetting(setting(), applied);
    EXPECT_TRUE(m_item->isVisible());

    undoStack()->undo();
    expectSameSetting(setting(), m_opening);
    EXPECT_FALSE(project().projectFile()->isModified());
    undoStack()->redo();
    expectSameSetting(setting(), applied);

    // A close without an Apply leaves nothing.
    dialog = openDialog();
    dialog->close();
    settle();
    EXPECT_EQ(undoStack()->count(), 1);
}
