// The georeference mode of a background image on the main view: what the open dialog
// disables, and how the control points' map positions are selected and dragged.

#include "images/ImageControllerTestSupport.h"

#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "movarin/survey/BackgroundImageItemControllerGcpPointsInRectangleSelectionHelper.h"
#include "movarin/survey/BackgroundImageItemControllerGcpTranslationSelectionHelper.h"
#include "movarin/survey/BackgroundImageItemControllerSourceOperationWaitingSelectionHelper.h"
#include "movarin/survey/BackgroundImageItemControllerWaitingSelectionHelper.h"
#include "movarin/survey/BackgroundImageItemGeoreferenceDialog.h"
#include "movarin/survey/GcpTableModel.h"

#include "brask/core/Model.h"
#include "brask/core/ObjectBrowserView.h"
#include "brask/core/View.h"
#include "pelkas/GdalImage.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTableView>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <set>

using namespace varnel;
using namespace varnel::test;

namespace {

using Controller = BackgroundImageItemController;

std::set<GcpTable::size_type> sorted(const GcpRowIndices& rows)
{
    return {rows.begin(), rows.end()};
}

/// A background image with the georeference dialog open and a few control points typed
/// into its table; records what the main view announces.
class GeoreferenceModeTest : public ImageControllerTest {
protected:
    GeoreferenceModeTest()
        : m_item(placeImage(40, 30, placement({-20.0, 15.0}, 1.0, 0.0))),
          m_controller(controllerOf(m_item))
    {
        m_controller->georeferenceAction()->trigger();
        m_dialog = m_controller->georeferenceDialog();
        QObject::connect(m_controller, &Controller::selectedIndexChanged,
                         [this](const GcpRowIndices& rows) { m_announced.push_back(sorted(rows)); });
        QObject::connect(m_dialog->gcpTableModel(), &QAbstractItemModel::modelReset,
                         [this] { ++m_resets; });
    }

    /// Appends pairs whose map positions are `destinations` (sources (i, -i)).
    void addPairs(const std::vector<QPointF>& destinations)
    {
        for (const QPointF& d : destinations) {
            const double i = static_cast<double>(m_dialog->gcpTable()->size());
            m_dialog->gcpTableModel()->appendRow({true, i, -i, d.x(), d.y()});
        }
    }

    Controller::SelectionHelper* mode() const
    {
        return dynamic_cast<Controller::SelectionHelper*>(m_controller->selectionHelper());
    }
    template <class Mode>
    bool isIn() const
    {
        return dynamic_cast<Mode*>(m_controller->selectionHelper()) != nullptr;
    }
    std::set<GcpTable::size_type> selected() const { return sorted(mode()->selectedRows()); }
    QPointF destination(GcpTable::size_type row) const
    {
        const GcpTableRow& r = m_dialog->gcpTable()->at(row);
        return {r.dstX, r.dstY};
    }
    std::set<int> tableSelection() const
    {
        std::set<int> rows;
        const auto* table = m_dialog->findChild<QTableView*>("gcpTableView");
        for (const QModelIndex& index : table->selectionModel()->selectedIndexes()) {
            rows.insert(index.row());
        }
        return rows;
    }
    /// A left drag on the main view between two world points.
    void dragWorld(const QPointF& from, const QPointF& to, Qt::KeyboardModifiers modifiers = {})
    {
        mainView().drag(pixel(from), pixel(to), Qt::LeftButton, modifiers);
    }

    BackgroundImageItem* m_item;
    Controller* m_controller;
    BackgroundImageItemGeoreferenceDialog* m_dialog = nullptr;
    std::vector<std::set<GcpTable::size_type>> m_announced;
    int m_resets = 0;
};

} // namespace

TEST_F(GeoreferenceModeTest, OpenDialogDisablesTheActionAndTheBrowserAndStaysOne)
{
    ASSERT_NE(m_dialog, nullptr);
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_TRUE(isIn<Controller::SourceOperationWaitingSelectionHelper>());
    mvc::core::ObjectBrowserView* browser = window()->model()->objectBrowserView();
    EXPECT_FALSE(m_controller->georeferenceAction()->isEnabled());
    EXPECT_FALSE(browser->isEnabled());

    m_controller->showGeoreferenceDialog();
    EXPECT_EQ(m_controller->georeferenceDialog(), m_dialog);
    EXPECT_EQ(window()->findChildren<BackgroundImageItemGeoreferenceDialog*>().size(), 1);

    // The main view marks the control points' map positions while the dialog is open.
    addPairs({{60.0, 40.0}});
    EXPECT_EQ(picture().pixel(pixel({60.0, 40.0})), QColor(Qt::magenta).rgb());

    QPointer<BackgroundImageItemGeoreferenceDialog> watched(m_dialog);
    m_dialog->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Cancel)->click();
    settle();
    EXPECT_EQ(picture().pixel(pixel({60.0, 40.0})), backgroundColour());
    EXPECT_TRUE(watched.isNull());
    EXPECT_EQ(m_controller->georeferenceDialog(), nullptr);
    EXPECT_TRUE(m_controller->georeferenceAction()->isEnabled());
    EXPECT_TRUE(browser->isEnabled());
    EXPECT_TRUE(isIn<Controller::WaitingSelectionHelper>());
    EXPECT_EQ(undoStack()->count(), 0);

    // The normal mode is back: a left drag moves the image.
    mainView().drag({200, 150}, {210, 150});
    EXPECT_EQ(m_item->image()->setting().topLeft(), QPointF(-15.0, 15.0));

    // Once closed, the action opens a new dialog.
    m_controller->georeferenceAction()->trigger();
    EXPECT_NE(m_controller->georeferenceDialog(), nullptr);
    EXPECT_FALSE(m_controller->georeferenceAction()->isEnabled());
}

TEST_F(GeoreferenceModeTest, ClickNearADestinationSelectsItAndDragsIt)
{
    addPairs({{10.0, 10.0}, {-30.0, 20.0}, {40.0, -30.0}});
    const int resets = m_resets;

    // 2 pixels off in x and y: the row is picked and a drag starts.
    mainView().press(pixel({10.0, 10.0}) + QPoint(2, -2));
    EXPECT_TRUE(isIn<Controller::GcpTranslationSelectionHelper>());
    EXPECT_EQ(selected(), (std::set<GcpTable::size_type>{0}));
    // Released without a move: the same map position is written back.
    mainView().release(pixel({10.0, 10.0}) + QPoint(2, -2));
    EXPECT_EQ(m_resets, resets + 1);
    EXPECT_EQ(destination(0), QPointF(10.0, 10.0));
    EXPECT_TRUE(isIn<Controller::SourceOperationWaitingSelectionHelper>());
    ASSERT_FALSE(m_announced.empty());
    EXPECT_EQ(m_announced.back(), (std::set<GcpTable::size_type>{0}));
    EXPECT_EQ(tableSelection(), (std::set<int>{0}));

    // A click away from the selection keeps it and changes nothing.
    mainView().click(pixel({-80.0, -60.0}));
    EXPECT_EQ(selected(), (std::set<GcpTable::size_type>{0}));
    EXPECT_EQ(m_resets, resets + 1);

    // Escape clears the main view's selection only.
    const std::size_t announcements = m_announced.size();
    mainView().key(Qt::Key_Escape);
    EXPECT_TRUE(selected().empty());
    EXPECT_TRUE(mode()->previewPoints().empty());
    EXPECT_EQ(m_announced.size(), announcements);
    EXPECT_EQ(tableSelection(), (std::set<int>{0}));

    // With nothing selected, a click 3 pixels from every map position picks nothing.
    mainView().click(pixel({40.0, -30.0}) + QPoint(3, 0));
    EXPECT_TRUE(selected().empty());
    EXPECT_TRUE(isIn<Controller::SourceOperationWaitingSelectionHelper>());
    EXPECT_EQ(m_resets, resets + 1);
    EXPECT_EQ(destination(2), QPointF(40.0, -30.0));
}

TEST_F(GeoreferenceModeTest, RubberBandReplacesTheSelectionOrTogglesWithShift)
{
    addPairs({{10.0, 10.0}, {20.0, 20.0}, {30.0, 30.0}});

    dragWorld({5.0, 25.0}, {25.0, 5.0});
    EXPECT_EQ(selected(), (std::set<GcpTable::size_type>{0, 1}));
    EXPECT_EQ(m_announced.back(), (std::set<GcpTable::size_type>{0, 1}));
    EXPECT_EQ(tableSelection(), (std::set<int>{0, 1}));

    // From outside the selection's bounds: a band over rows 1 and 2.
    dragWorld({15.0, 35.0}, {35.0, 15.0}, Qt::ShiftModifier);
    EXPECT_EQ(selected(), (std::set<GcpTable::size_type>{0, 2}));
    dragWorld({15.0, 35.0}, {35.0, 15.0});
    EXPECT_EQ(selected(), (std::set<GcpTable::size_type>{1, 2}));

    // A band whose edge runs through a map position leaves it out.
    ASSERT_EQ(view()->rconv(QPointF(pixel({10.0, 0.0}))).x(), 10.0);
    mainView().key(Qt::Key_Escape);
    dragWorld({10.0, 40.0}, {40.0, 5.0});
    EXPECT_EQ(selected(), (std::set<GcpTable::size_type>{1, 2}));
    dragWorld({10.0, 40.0}, {40.0, 10.0});
    EXPECT_EQ(selected(), (std::set<GcpTable::size_type>{1, 2}));
    dragWorld({9.5, 40.0}, {40.0, 9.5});
    EXPECT_EQ(selected(), (std::set<GcpTable::size_type>{0, 1, 2}));
}

TEST_F(GeoreferenceModeTest, ClickInTheRubberBandModeTogglesTheRowsWithinThreePixels)
{
    addPairs({{10.0, 10.0}, {-30.0, 20.0}, {40.0, -30.0}});
    m_controller->selectPoints({0});
    ASSERT_EQ(selected(), (std::set<GcpTable::size_type>{0}));

    // A press near row 2 (not on the selection), a move of one pixel and a release.
    const QPoint near2 = pixel({40.0, -30.0}) + QPoint(1, 1);
    mainView().press(near2);
    mainView().move(near2 + QPoint(1, 0), Qt::LeftButton);
    EXPECT_TRUE(isIn<Controller::GcpPointsInRectangleSelectionHelper>());
    mainView().release(near2 + QPoint(1, 0));
    EXPECT_EQ(selected(), (std::set<GcpTable::size_type>{2}));

    const QPoint near1 = pixel({-30.0, 20.0}) + QPoint(-2, 0);
    mainView().press(near1, Qt::LeftButton, Qt::ShiftModifier);
    mainView().move(near1 + QPoint(0, 1), Qt::LeftButton, Qt::ShiftModifier);
    mainView().release(near1 + QPoint(0, 1), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(selected(), (std::set<GcpTable::size_type>{1, 2}));

    // Return takes the band as it is, without clearing.
    mainView().press(pixel({35.0, -35.0}));
    mainView().move(pixel({45.0, -25.0}), Qt::LeftButton);
    mainView().move(pixel({45.0, -25.0}) + QPoint(1, 1), Qt::LeftButton);
    mainView().key(Qt::Key_Return);
    EXPECT_EQ(selected(), (std::set<GcpTable::size_type>{1}));
    EXPECT_TRUE(isIn<Controller::SourceOperationWaitingSelectionHelper>());
}

TEST_F(GeoreferenceModeTest, DraggingTwoSelectedDestinationsMovesBothAndKeepsTheSources)
{
    addPairs({{0.0, 0.0}, {20.0, 10.0}, {-40.0, -40.0}});
    const GcpTable before = *m_dialog->gcpTable();
    m_controller->selectPoints({0, 1});

    // 20 pixels right and 10 down are (10, -5) in the world.
    mainView().press(pixel({0.0, 0.0}));
    EXPECT_TRUE(isIn<Controller::GcpTranslationSelectionHelper>());
    mainView().move(pixel({0.0, 0.0}) + QPoint(20, 10), Qt::LeftButton);
    // While dragging, the table keeps the old positions.
    EXPECT_EQ(destination(0), QPointF(0.0, 0.0));
    mainView().release(pixel({0.0, 0.0}) + QPoint(20, 10));

    const GcpTable& after = *m_dialog->gcpTable();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(destination(0), QPointF(10.0, -5.0));
    EXPECT_EQ(destination(1), QPointF(30.0, 5.0));
    EXPECT_EQ(destination(2), QPointF(-40.0, -40.0));
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].srcX, before[i].srcX);
        EXPECT_EQ(after[i].srcY, before[i].srcY);
        EXPECT_TRUE(after[i].enabled);
    }
    EXPECT_EQ(selected(), (std::set<GcpTable::size_type>{0, 1}));
    ASSERT_EQ(mode()->previewPoints().size(), 2u);
}

TEST_F(GeoreferenceModeTest, RowsThatLeaveTheTableLeaveTheSelection)
{
    addPairs({{0.0, 0.0}, {20.0, 10.0}, {-40.0, -40.0}});
    m_controller->selectPoints({1, 2, 7});
    EXPECT_EQ(selected(), (std::set<GcpTable::size_type>{1, 2}));

    // The last row goes without anyone announcing a selection: the index is dropped.
    m_dialog->gcpTableModel()->removeRows(2, 1);
    EXPECT_EQ(selected(), (std::set<GcpTable::size_type>{1}));
    ASSERT_EQ(mode()->previewPoints().size(), 1u);
    EXPECT_EQ(mode()->previewPoints()[0].x(), 20.0);

    // A typed value moves the shown selection with it.
    m_dialog->gcpTableModel()->setData(m_dialog->gcpTableModel()->index(1, GcpTableModel::DstXColumn),
                                       25.0);
    EXPECT_EQ(mode()->previewPoints()[0].x(), 25.0);

    // Dragging what is left works on the rows that exist.
    mainView().drag(pixel({25.0, 10.0}), pixel({25.0, 10.0}) + QPoint(4, 0));
    EXPECT_EQ(destination(1), QPointF(27.0, 10.0));
    EXPECT_EQ(m_dialog->gcpTable()->size(), 2u);
}

TEST_F(GeoreferenceModeTest, ClosingTheProjectWithTheDialogOpenTakesTheDialogAlong)
{
    addPairs({{0.0, 0.0}, {20.0, 10.0}});
    m_controller->selectPoints({1});
    QPointer<BackgroundImageItemGeoreferenceDialog> watched(m_dialog);
    newWindow();
    settle();
    EXPECT_TRUE(watched.isNull());
}
