// The georeference pane: adding a pair by a click and completing it from the main view,
// selecting by click, rectangle and from the other views, dragging and deleting sources,
// Escape, navigation that stays navigation, the fit of the image, and what the pane paints.

#include "images/GeoreferenceTestSupport.h"
#include "support/QtPrinters.h"

#include "movarin/survey/AddibleGcpTableModel.h"
#include "movarin/survey/GeoreferenceView.h"
#include "movarin/survey/GeoreferenceViewImageItem.h"
#include "movarin/survey/GeoreferenceViewImageItemController.h"
#include "movarin/survey/GeoreferenceViewImageItemControllerSelectionHelper.h"
#include "pelkas/GdalImage.h"

#include <guimisc/MultiCellOperableTableView.h>
#include <guimisc/UserDialogScript.h>

#include <QDialogButtonBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

class GeoreferenceViewTest : public GeoreferenceTest {
protected:
    GeoreferenceViewTest()
    {
        openDialog();
        aimPane();
        // The pane's first tool waits for the mouse to arrive.
        move(pane(), QPointF(1, 1));
    }

    /// The widget pixel nearest to the pane position `source`.
    QPoint at(const QPointF& source) const { return pane()->conv(source).toPoint(); }
    /// The pane position of a widget pixel, as a press there records it.
    QPointF sourceAt(const QPoint& pixel) const { return pane()->rconv(QPointF(pixel)); }

    void addPairs(const std::vector<QPointF>& sources) const
    {
        for (std::size_t i = 0; i < sources.size(); ++i) {
            const double d = static_cast<double>(i);
            model()->appendRow({true, sources[i].x(), sources[i].y(), 1000.0 + 10.0 * d, 2000.0});
        }
    }

    GcpTableModel* model() const { return dialog()->gcpTableModel(); }
    const GcpTable& table() const { return *dialog()->gcpTable(); }
    GeoreferenceView::ImageItemController* controller() const
    {
        return pane()->imageItem()->controller();
    }
    GcpRowIndices paneSelection() const { return controller()->selectionHelper()->selectedRows(); }
    GcpRowIndices tableSelection() const
    {
        GcpRowIndices rows;
        auto* view = dialog()->findChild<guimisc::MultiCellOperableTableView*>("gcpTableView");
        for (const QModelIndex& index : view->selectionModel()->selectedIndexes()) {
            rows.insert(static_cast<GcpTable::size_type>(index.row()));
        }
        return rows;
    }
    /// Press at `from`, move to `to` with the button held, release there.
    void drag(const QPoint& from, const QPoint& to,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        press(pane(), from, Qt::LeftButton, modifiers);
        move(pane(), from + (to - from) / 2, Qt::LeftButton, modifiers);
        move(pane(), to, Qt::LeftButton, modifiers);
        release(pane(), to, Qt::LeftButton, modifiers);
    }

    guimisc::UserDialogScript m_script;
};

void expectSource(const GcpTableRow& row, const QPointF& expected)
{
    EXPECT_NEAR(row.srcX, expected.x(), 1e-9);
    EXPECT_NEAR(row.srcY, expected.y(), 1e-9);
}

TEST_F(GeoreferenceViewTest, ClickAddsAPairAtThePressThatTheMainViewCompletes)
{
    const QPoint pressed = at(QPointF(40, -30));
    press(pane(), pressed);
    release(pane(), pressed + QPoint(2, 2));
    ASSERT_EQ(table().size(), 1u);
    expectSource(table()[0], sourceAt(pressed));
    EXPECT_TRUE(table()[0].enabled);
    EXPECT_EQ(table()[0].dstX, 0.0);
    EXPECT_EQ(standIn()->gcpRequests, 1);

    // While the map position is awaited, the pane does nothing.
    click(pane(), at(QPointF(120, -60)));
    drag(at(QPointF(10, -10)), at(QPointF(190, -90)));
    EXPECT_EQ(table().size(), 1u);
    EXPECT_EQ(standIn()->gcpRequests, 1);

    // A row inserted before the pending one does not misdirect the map position.
    model()->insertRows(0, 1);
    standIn()->emitGcpDefined(QPointF(500.5, 600.25));
    ASSERT_EQ(table().size(), 2u);
    EXPECT_EQ(table()[1].dstX, 500.5);
    EXPECT_EQ(table()[1].dstY, 600.25);
    EXPECT_EQ(table()[0].dstX, 0.0);
    const auto boxes = m_script.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Information");
    EXPECT_EQ(boxes[0].text, "Select a point on Georeference dialog.");

    // Idle again: the next click adds the next pair.
    click(pane(), at(QPointF(120, -60)));
    ASSERT_EQ(table().size(), 3u);
    EXPECT_EQ(standIn()->gcpRequests, 2);

    // A pending pair deleted meanwhile: the map position changes nothing, the pane listens
    // again.
    model()->removeRows(2, 1);
    standIn()->emitGcpDefined(QPointF(1, 1));
    EXPECT_EQ(table().size(), 2u);
    EXPECT_EQ(table()[1].dstX, 500.5);
    EXPECT_EQ(m_script.messageBoxes().size(), 1u);
    click(pane(), at(QPointF(150, -20)));
    EXPECT_EQ(table().size(), 3u);
}

TEST_F(GeoreferenceViewTest, PressNearASourceDragsItAndTheTableShowsWhereItWent)
{
    addPairs({{50, -20}, {150, -80}});
    // Nothing selected: a press within 3 pixels of a source picks it.
    const QPoint start = at(QPointF(50, -20)) + QPoint(2, -2);
    drag(start, start + QPoint(10, 5));
    expectSource(table()[0], QPointF(50, -20) + sourceAt(start + QPoint(10, 5)) - sourceAt(start));
    expectSource(table()[1], QPointF(150, -80));
    EXPECT_EQ(paneSelection(), (GcpRowIndices{0}));
    EXPECT_EQ(tableSelection(), (GcpRowIndices{0}));
    ASSERT_FALSE(standIn()->selections.empty());
    EXPECT_EQ(standIn()->selections.back(), (GcpRowIndices{0}));
    EXPECT_EQ(table().size(), 2u);

    // The selected source is grabbed within its 3-pixel rhombus.
    const QPointF moved(table()[0].srcX, table()[0].srcY);
    const QPoint grab = pane()->conv(moved).toPoint() + QPoint(1, 1);
    drag(grab, grab + QPoint(-20, 0));
    expectSource(table()[0], moved + sourceAt(grab + QPoint(-20, 0)) - sourceAt(grab));

    // Grabbing and letting go without a move writes the same position back.
    const QPointF before(table()[0].srcX, table()[0].srcY);
    const QPoint again = pane()->conv(before).toPoint();
    click(pane(), again);
    expectSource(table()[0], before);
    EXPECT_EQ(table().size(), 2u);
}

TEST_F(GeoreferenceViewTest, WithARowSelectedAClickElsewhereAddsAPairAndClearsTheSelection)
{
    addPairs({{50, -20}, {150, -80}});
    standIn()->emitSelectedIndexChanged({0});
    EXPECT_EQ(paneSelection(), (GcpRowIndices{0}));
    EXPECT_EQ(tableSelection(), (GcpRowIndices{0}));
    // Right on the other pair's source: it is not picked while something is selected.
    click(pane(), at(QPointF(150, -80)));
    ASSERT_EQ(table().size(), 3u);
    expectSource(table()[2], sourceAt(at(QPointF(150, -80))));
    EXPECT_TRUE(paneSelection().empty());
    EXPECT_TRUE(tableSelection().empty());
    EXPECT_EQ(standIn()->gcpRequests, 1);
}

TEST_F(GeoreferenceViewTest, RectangleSelectsAndShiftToggles)
{
    addPairs({{20, -20}, {60, -20}, {100, -60}, {160, -80}});
    drag(at(QPointF(10, -10)), at(QPointF(70, -30)));
    EXPECT_EQ(paneSelection(), (GcpRowIndices{0, 1}));
    EXPECT_EQ(tableSelection(), (GcpRowIndices{0, 1}));
    EXPECT_EQ(standIn()->selections.back(), (GcpRowIndices{0, 1}));

    drag(at(QPointF(90, -50)), at(QPointF(170, -90)), Qt::ShiftModifier);
    EXPECT_EQ(paneSelection(), (GcpRowIndices{0, 1, 2, 3}));
    drag(at(QPointF(50, -10)), at(QPointF(110, -70)), Qt::ShiftModifier);
    EXPECT_EQ(paneSelection(), (GcpRowIndices{0, 3}));
    // Without Shift the band replaces the selection.
    drag(at(QPointF(150, -5)), at(QPointF(170, -95)));
    EXPECT_EQ(paneSelection(), (GcpRowIndices{3}));
    EXPECT_EQ(standIn()->selections.back(), (GcpRowIndices{3}));

    // A band that is only a click toggles what lies within 3 pixels of the press.
    const QPoint near = at(QPointF(100, -60)) + QPoint(2, 0);
    press(pane(), near, Qt::LeftButton, Qt::ShiftModifier);
    move(pane(), near + QPoint(1, 0), Qt::LeftButton, Qt::ShiftModifier);
    release(pane(), near + QPoint(1, 0), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(paneSelection(), (GcpRowIndices{2, 3}));
    EXPECT_EQ(table().size(), 4u);
}

TEST_F(GeoreferenceViewTest, EscapeClearsThePaneSelectionOnly)
{
    addPairs({{20, -20}, {60, -20}, {100, -60}});
    button(QDialogButtonBox::Apply)->click();
    const gdalimg::GdalImageSetting applied = imageSetting();
    standIn()->emitSelectedIndexChanged({1});
    key(pane(), Qt::Key_Escape);
    EXPECT_TRUE(paneSelection().empty());
    EXPECT_EQ(tableSelection(), (GcpRowIndices{1}));
    // The dialog did not see the key: the applied placement stays, the dialog stays.
    expectSameSetting(applied, imageSetting(), 0.0);
    EXPECT_TRUE(dialog()->isVisible());
}

TEST_F(GeoreferenceViewTest, DeletePointsRemovesTheSelectedRowsAndPublishesNoSelection)
{
    addPairs({{10, -10}, {20, -10}, {30, -10}, {40, -10}, {50, -10}});
    controller()->deletePoints();
    auto boxes = m_script.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Warning");
    EXPECT_EQ(boxes[0].text, "No point is selected.");
    EXPECT_EQ(table().size(), 5u);

    standIn()->emitSelectedIndexChanged({1, 3});
    controller()->deletePointsAction()->trigger();
    ASSERT_EQ(table().size(), 3u);
    EXPECT_EQ(table()[0].srcX, 10.0);
    EXPECT_EQ(table()[1].srcX, 30.0);
    EXPECT_EQ(table()[2].srcX, 50.0);
    EXPECT_TRUE(paneSelection().empty());
    EXPECT_TRUE(tableSelection().empty());
    EXPECT_EQ(standIn()->selections.back(), GcpRowIndices());
    EXPECT_EQ(m_script.messageBoxes().size(), 1u);

    // Rows removed in the table keep the pane's selection on the same pairs.
    standIn()->emitSelectedIndexChanged({2});
    model()->removeRows(0, 1);
    EXPECT_EQ(paneSelection(), (GcpRowIndices{1}));
    EXPECT_EQ(controller()->selectionHelper()->positions(), (std::vector<QPointF>{{50, -10}}));
}

TEST_F(GeoreferenceViewTest, NavigationDragsAndStrayReleasesAddNothing)
{
    addPairs({{50, -20}});
    const QPointF centre = pane()->centerPoint();
    drag(at(QPointF(120, -60)), at(QPointF(60, -30)), Qt::ControlModifier);
    EXPECT_NE(pane()->centerPoint(), centre);
    click(pane(), at(QPointF(120, -60)), Qt::ControlModifier);
    // A release whose press the idle tool never saw.
    release(pane(), at(QPointF(120, -60)));
    EXPECT_EQ(table().size(), 1u);
    EXPECT_TRUE(paneSelection().empty());
    EXPECT_EQ(standIn()->gcpRequests, 0);
}

TEST_F(GeoreferenceViewTest, PaintsTheImageEveryPairAndTheSelectionRings)
{
    // Sources on whole widget pixels, so that the discs are centred on known pixels.
    const QPoint first(pane()->conv(QPointF(60, -40)).toPoint());
    const QPoint second = first + QPoint(40, 20);
    addPairs({sourceAt(first), sourceAt(second)});
    model()->setData(model()->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
    const auto picture = [this] { return pane()->grab().toImage(); };
    const auto blackNear = [](const QImage& image, const QPoint& p) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (image.pixelColor(p + QPoint(dx, dy)) == QColor(Qt::black)) {
                    return true;
                }
            }
        }
        return false;
    };

    QImage image = picture();
    const QColor photo(40, 160, 90);
    EXPECT_EQ(image.pixelColor(at(QPointF(150, -20))), photo);
    EXPECT_EQ(image.pixelColor(at(QPointF(-10, 10))), QColor(Qt::darkGray));
    for (const QPoint& p : {first, second}) { // the disabled pair too
        EXPECT_EQ(image.pixelColor(p), QColor(Qt::magenta));
        EXPECT_EQ(image.pixelColor(p + QPoint(2, 0)), QColor(Qt::magenta));
        EXPECT_EQ(image.pixelColor(p + QPoint(6, 0)), photo);
        EXPECT_FALSE(blackNear(image, p + QPoint(4, 0)));
    }

    // The selected source gets a ring of radius 4.
    standIn()->emitSelectedIndexChanged({0});
    image = picture();
    EXPECT_TRUE(blackNear(image, first + QPoint(4, 0)));
    EXPECT_TRUE(blackNear(image, first + QPoint(0, -4)));
    EXPECT_FALSE(blackNear(image, second + QPoint(4, 0)));
}

TEST(GeoreferenceViewFit, ImageFitsThePaneAndANullImageGivesScaleOne)
{
    GcpTableModel model;
    BackgroundImageItem image("photo.png", new gdalimg::GdalImage(QImage(200, 100, QImage::Format_RGB32)),
                              nullptr);
    GeoreferenceView pane;
    pane.resize(400, 400);
    pane.setImageItem(&image, &model);
    EXPECT_EQ(pane.scale(), 2.0);
    EXPECT_EQ(pane.centerPoint(), QPointF(99, -49));

    BackgroundImageItem missing(nullptr); // an item whose picture was never read
    GeoreferenceView empty;
    empty.resize(300, 200);
    empty.setImageItem(&missing, &model);
    EXPECT_EQ(empty.scale(), 1.0);
    EXPECT_EQ(empty.centerPoint(), QPointF(0, 0));
    EXPECT_EQ(empty.grab().toImage().pixelColor(150, 100), QColor(Qt::darkGray));

    BackgroundImageItem nullPicture("lost.png", new gdalimg::GdalImage(QImage()), nullptr);
    empty.setImageItem(&nullPicture, &model);
    EXPECT_EQ(empty.scale(), 1.0);
}

} // namespace
} // namespace varnel::test
