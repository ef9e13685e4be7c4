// The georeference dialog with a stand-in image controller: Apply, Cancel, Escape, OK and
// the window's close button, their undo entries, the refusals of the fit, the table and
// its delegate, the hide button, and the selection kept in step with the views.

#include "images/GcpTestSupport.h"
#include "images/GeoreferenceTestSupport.h"
#include "support/QtPrinters.h"

#include "brask/proj/Project.h"
#include "movarin/shell/ProjectFile.h"
#include "orlin/core/Point.h"
#include "movarin/survey/AddibleGcpTableModel.h"
#include "movarin/survey/GeoreferenceView.h"
#include "movarin/survey/GcpSimilarityFit.h"
#include "pelkas/GdalImage.h"

#include <guimisc/MultiCellOperableTableView.h>
#include <guimisc/UserDialogScript.h>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QPushButton>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <algorithm>

namespace varnel::test {
namespace {

const std::vector<QPointF> sources = {{10, -10}, {190, -20}, {100, -90}, {30, -70}};

/// Runs the queued end of the mode and the deferred deletion.
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class GeoreferenceDialogTest : public GeoreferenceTest {
protected:
    /// The dialog with the exact pairs of `truth` at `sources`.
    void openWithPairs()
    {
        openDialog();
        addExactPairs(sources, truth);
    }
    /// The fit reached the image as one undo entry that marks the project modified, the
    /// mode ended, and undo returns to the opening placement.
    void expectFitPushedOnceAndUndoable()
    {
        ASSERT_EQ(standIn()->pushed.size(), 1u);
        expectSameSetting(truth, standIn()->pushed[0]);
        expectSameSetting(truth, imageSetting());
        EXPECT_EQ(undoCount(), 1);
        EXPECT_TRUE(project().projectFile()->isModified());
        settle();
        EXPECT_EQ(standIn()->modeEnds, 1);
        EXPECT_EQ(dialog(), nullptr);
        project().undoStack()->undo();
        expectSameSetting(opening(), imageSetting(), 0.0);
        project().undoStack()->redo();
        expectSameSetting(truth, imageSetting());
    }
    /// Nothing reached the undo stack.
    void expectNothingPushed() const
    {
        EXPECT_TRUE(standIn()->pushed.empty());
        EXPECT_EQ(undoCount(), 0);
    }

    const gdalimg::GdalImageSetting truth = setting(352000.5, 4120000.25, 0.37, 112.5);
    guimisc::UserDialogScript m_script;
};

TEST_F(GeoreferenceDialogTest, ApplyPlacesEveryPairOnItsMapPositionWithoutUndoEntry)
{
    openWithPairs();
    // A disabled pair elsewhere does not move the result.
    dialog()->gcpTableModel()->appendRow({false, 50, -50, 0, 0});
    button(QDialogButtonBox::Apply)->click();

    expectSameSetting(truth, imageSetting());
    for (const QPointF& s : sources) {
        const QPointF mapped = placeSource(imageSetting(), s);
        const QPointF expected = placeSource(truth, s);
        EXPECT_NEAR(mapped.x(), expected.x(), 1e-9 * std::abs(expected.x()));
        EXPECT_NEAR(mapped.y(), expected.y(), 1e-9 * std::abs(expected.y()));
    }
    // The item's box is the box of the four mapped corners of the 200 x 100 picture.
    std::vector<double> xs, ys;
    for (const QPointF& c : {QPointF(0, 0), QPointF(200, 0), QPointF(0, -100), QPointF(200, -100)}) {
        const QPointF p = placeSource(truth, c);
        xs.push_back(p.x());
        ys.push_back(p.y());
    }
    const QRectF box = item()->myBoundingBox();
    EXPECT_NEAR(box.left(), *std::min_element(xs.begin(), xs.end()), 1e-6);
    EXPECT_NEAR(box.right(), *std::max_element(xs.begin(), xs.end()), 1e-6);
    EXPECT_NEAR(box.top(), *std::min_element(ys.begin(), ys.end()), 1e-6);
    EXPECT_NEAR(box.bottom(), *std::max_element(ys.begin(), ys.end()), 1e-6);
    EXPECT_EQ(undoCount(), 0);
    EXPECT_TRUE(m_script.messageBoxes().empty());
}

TEST_F(GeoreferenceDialogTest, CancelAndEscapeRestoreTheOpeningPlacement)
{
    openWithPairs();
    button(QDialogButtonBox::Apply)->click();
    key(dialog(), Qt::Key_Escape);
    expectSameSetting(opening(), imageSetting(), 0.0);
    EXPECT_TRUE(dialog()->isVisible());
    settle();
    ASSERT_NE(dialog(), nullptr);
    EXPECT_EQ(standIn()->modeEnds, 0);

    button(QDialogButtonBox::Apply)->click();
    button(QDialogButtonBox::Cancel)->click();
    expectSameSetting(opening(), imageSetting(), 0.0);
    settle();
    EXPECT_EQ(standIn()->modeEnds, 1);
    EXPECT_EQ(dialog(), nullptr);
    expectNothingPushed();
}

TEST_F(GeoreferenceDialogTest, OkPushesTheFitFromTheOpeningPlacement)
{
    openWithPairs();
    // An Apply before OK does not become the undo state.
    button(QDialogButtonBox::Apply)->click();
    button(QDialogButtonBox::Ok)->click();

    expectSameSetting(opening(), standIn()->imageSettingWhenAccepted, 0.0);
    expectFitPushedOnceAndUndoable();
}

TEST_F(GeoreferenceDialogTest, RefusedFitWarnsAndChangesNothing)
{
    openDialog();
    const QString text = "At least two enabled control points with different positions are needed.";
    // One enabled pair, and a second one disabled.
    addExactPairs({{10, -10}, {100, -90}}, truth);
    dialog()->gcpTableModel()->setData(dialog()->gcpTableModel()->index(1, 0), Qt::Unchecked,
                                       Qt::CheckStateRole);
    button(QDialogButtonBox::Apply)->click();
    button(QDialogButtonBox::Ok)->click();
    // Two pairs on one map position.
    dialog()->gcpTableModel()->setData(dialog()->gcpTableModel()->index(1, 0), Qt::Checked,
                                       Qt::CheckStateRole);
    dialog()->gcpTableModel()->setDestinations({0, 1}, {tin::core::Point(5, 5), tin::core::Point(5, 5)});
    button(QDialogButtonBox::Ok)->click();

    const auto boxes = m_script.messageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    for (const auto& box : boxes) {
        EXPECT_EQ(box.kind, guimisc::UserDialogs::Kind::Warning);
        EXPECT_EQ(box.title, "Warning");
        EXPECT_EQ(box.text, text);
    }
    expectSameSetting(opening(), imageSetting(), 0.0);
    EXPECT_TRUE(dialog()->isVisible());
    settle();
    ASSERT_NE(dialog(), nullptr);
    EXPECT_EQ(standIn()->modeEnds, 0);
    expectNothingPushed();
}

TEST_F(GeoreferenceDialogTest, WindowCloseAfterApplyKeepsThePlacementAsOneUndoEntry)
{
    openWithPairs();
    button(QDialogButtonBox::Apply)->click();
    project().projectFile()->setModified(false);
    dialog()->close();
    expectFitPushedOnceAndUndoable();
}

TEST_F(GeoreferenceDialogTest, WindowCloseWithoutApplyAnnouncesNothing)
{
    openWithPairs();
    button(QDialogButtonBox::Apply)->click();
    key(dialog(), Qt::Key_Escape); // the applied placement is taken back
    dialog()->close();
    settle();
    EXPECT_EQ(standIn()->modeEnds, 1);
    expectNothingPushed();
    expectSameSetting(opening(), imageSetting(), 0.0);
}

TEST_F(GeoreferenceDialogTest, HideButtonHidesTheImageUntilTheDialogCloses)
{
    openDialog();
    QPushButton* hide = dialog()->findChild<QPushButton*>("hideButton");
    ASSERT_NE(hide, nullptr);
    EXPECT_EQ(hide->text(), "Hide");
    hide->click();
    EXPECT_FALSE(item()->isVisible());
    EXPECT_EQ(hide->text(), "Show");
    hide->click();
    EXPECT_TRUE(item()->isVisible());
    EXPECT_EQ(hide->text(), "Hide");
    hide->click();
    button(QDialogButtonBox::Cancel)->click();
    EXPECT_TRUE(item()->isVisible());
}

// Map coordinates run to seven digits before their five decimals; at the minimum width of
// 400 pixels they were cut off. The dialog opens wide enough for them in every column.
TEST_F(GeoreferenceDialogTest, MapCoordinatesFitTheirColumnsWhenTheDialogOpens)
{
    openDialog();
    QCoreApplication::processEvents();
    auto* table = dialog()->findChild<guimisc::MultiCellOperableTableView*>("gcpTableView");
    ASSERT_NE(table, nullptr);
    auto* delegate = dynamic_cast<QStyledItemDelegate*>(table->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    const QString widest = delegate->displayText(-5234567.12345, table->locale());
    const int needed = table->fontMetrics().horizontalAdvance(widest);
    for (int column = 1; column <= 4; ++column) {
        EXPECT_GT(table->horizontalHeader()->sectionSize(column), needed) << column;
    }
    EXPECT_EQ(dialog()->minimumSize(), QSize(400, 500));
}

TEST_F(GeoreferenceDialogTest, FormTableAndDelegate)
{
    openDialog();
    EXPECT_EQ(dialog()->windowTitle(), "Georeference");
    EXPECT_EQ(dialog()->minimumSize(), QSize(400, 500));
    EXPECT_FALSE(dialog()->windowFlags() & Qt::WindowContextHelpButtonHint);
    auto* table = dialog()->findChild<guimisc::MultiCellOperableTableView*>("gcpTableView");
    ASSERT_NE(table, nullptr);
    ASSERT_NE(pane(), nullptr);
    // Shown and laid out, the pane fits the 200 x 100 picture into its final size.
    QCoreApplication::processEvents();
    EXPECT_DOUBLE_EQ(pane()->scale(), std::min(pane()->width() / 200.0, pane()->height() / 100.0));
    EXPECT_EQ(pane()->centerPoint(), QPointF(99, -49));

    addExactPairs({{10, -10}, {190, -20}, {100, -90}}, truth);
    QAbstractItemModel* model = table->model();
    EXPECT_EQ(model->rowCount(), 4); // the pairs and the row for a new one
    EXPECT_EQ(table->horizontalHeader()->sectionSize(0), 20);

    QAbstractItemDelegate* delegate = table->itemDelegate();
    auto* styled = dynamic_cast<QStyledItemDelegate*>(delegate);
    ASSERT_NE(styled, nullptr);
    EXPECT_EQ(styled->displayText(1234.5, QLocale::c()), "1234.50000");
    std::unique_ptr<QWidget> editor(
        delegate->createEditor(table->viewport(), QStyleOptionViewItem(), model->index(0, 3)));
    auto* spinBox = qobject_cast<QDoubleSpinBox*>(editor.get());
    ASSERT_NE(spinBox, nullptr);
    EXPECT_EQ(spinBox->decimals(), 5);
    delegate->setEditorData(spinBox, model->index(0, 3));
    EXPECT_DOUBLE_EQ(spinBox->value(), std::round(dialog()->gcpTable()->at(0).dstX * 1e5) / 1e5);
}

TEST_F(GeoreferenceDialogTest, SelectionsStayInStepBetweenTableAndViews)
{
    openWithPairs();
    auto* table = dialog()->findChild<guimisc::MultiCellOperableTableView*>("gcpTableView");

    // A row selected in the table reaches the main view's controller and the pane.
    standIn()->selections.clear();
    table->selectionModel()->select(table->model()->index(2, 1), QItemSelectionModel::Select);
    ASSERT_FALSE(standIn()->selections.empty());
    EXPECT_EQ(standIn()->selections.back(), (GcpRowIndices{2}));

    // A selection made on the main view is mirrored into the table, whole rows.
    move(pane(), QPointF(5, 5)); // the pane's first tool waits for the mouse
    standIn()->emitSelectedIndexChanged({0, 3});
    const QModelIndexList selected = table->selectionModel()->selectedIndexes();
    EXPECT_EQ(selected.size(), 10);
    GcpRowIndices rows;
    for (const QModelIndex& index : selected) {
        rows.insert(static_cast<GcpTable::size_type>(index.row()));
    }
    EXPECT_EQ(rows, (GcpRowIndices{0, 3}));
}

} // namespace
} // namespace varnel::test
