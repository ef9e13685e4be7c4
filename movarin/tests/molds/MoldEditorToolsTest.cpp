// The mold editor's tools driven through the detail view of a "Mold Setting" dialog: snapping,
// dragging, adding, deleting, rubber-band selection and the point-by-point definition.
#include "molds/MoldEditorTestSupport.h"

#include "movarin/surfaces/MoldItemControllerLhSelectionHelper.h"
#include "movarin/surfaces/MoldItemControllerWaitingSelectionHelper.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

using Points = std::vector<QPointF>;
using Waiting = MoldItemController::WaitingSelectionHelper;
using Defining = MoldItemController::LhSelectionHelper;

void expectPoints(const Points& expected, const mold::core::Mold& mold)
{
    const Points actual = pointsOf(mold);
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(expected[i].x(), actual[i].x(), 1e-9) << "point " << i;
        EXPECT_NEAR(expected[i].y(), actual[i].y(), 1e-9) << "point " << i;
    }
}

class MoldEditorTools : public MoldEditorTest {
protected:
    template <class Tool> bool is() const { return dynamic_cast<Tool*>(tool()) != nullptr; }
    void gridOf10cm() const
    {
        dialog()->findChild<QSlider*>(QStringLiteral("gridWidthSlider"))->setValue(1);
    }
    int tableRows() const
    {
        return dialog()->findChild<QAbstractItemView*>(QStringLiteral("lhTableView"))->model()->rowCount();
    }
    void deleteWarns(const QString& message, const Points& kept)
    {
        m_script.clearRecords();
        editor()->deletePointsAction()->trigger();
        const auto boxes = m_script.messageBoxes();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(guimisc::UserDialogs::Kind::Warning, boxes[0].kind);
        EXPECT_EQ(QStringLiteral("Warning"), boxes[0].title);
        EXPECT_EQ(message, boxes[0].text);
        EXPECT_EQ(view(), boxes[0].parent);
        expectPoints(kept, mold());
    }
};

TEST_F(MoldEditorTools, NewPointsSnapToTheGridUnlessAltIsHeld)
{
    newDialog();
    gridOf10cm();
    click(px(1.234, 0.56));
    expectPoints({{1.2, 0.6}}, workingCopy());
    key(Qt::Key_Escape);
    click(px(1.234, 0.56), Qt::AltModifier);
    expectPoints({{1.234, 0.56}}, workingCopy());
}

TEST_F(MoldEditorTools, DragMovesByWholeGridStepsUnlessExactlyAlt)
{
    editDialog(moldOf({-2.0, 0.0, 2.0}, {0.0, 1.0, 0.0}));
    gridOf10cm();
    // Pixels of 2.5 cm: (0.325, 0.275) is no whole number of 10 cm steps.
    drag(px(0.0, 1.0), px(0.325, 1.275), Qt::AltModifier | Qt::ShiftModifier);
    expectPoints({{-2, 0}, {0.3, 1.3}, {2, 0}}, mold());
    EXPECT_EQ(std::set<std::size_t>{1}, selection());

    // The selection is grabbed where it lies now; the mold changes when the drag ends.
    move(px(0.3, 1.3));
    press(px(0.3, 1.3));
    move(px(0.325, 1.275), Qt::LeftButton, Qt::AltModifier);
    EXPECT_NEAR(1.3, mold().h()[1], 1e-9);
    release(px(0.325, 1.275), Qt::LeftButton, Qt::AltModifier);
    expectPoints({{-2, 0}, {0.325, 1.275}, {2, 0}}, mold());
    EXPECT_TRUE(is<Waiting>());
}

TEST_F(MoldEditorTools, AddPointAppendsPrependsAndInsertsWhereTheMouseIs)
{
    editDialog(moldOf({-2.0, 0.0, 2.0}, {1.0, 0.0, 1.0}));
    gridOf10cm();
    const auto addAt = [this](const QPointF& p) {
        editor()->addPointAction()->trigger();
        click(px(p.x(), p.y()));
    };
    addAt({3.0, 1.0});
    expectPoints({{-2, 1}, {0, 0}, {2, 1}, {3, 1}}, mold());
    EXPECT_EQ(std::set<std::size_t>{3}, selection()) << "the new point is selected";
    addAt({-3.0, 0.5});
    expectPoints({{-3, 0.5}, {-2, 1}, {0, 0}, {2, 1}, {3, 1}}, mold());
    // The foot on segment (2, 3) is nearer than any end point.
    addAt({1.0, 0.2});
    expectPoints({{-3, 0.5}, {-2, 1}, {0, 0}, {1, 0.2}, {2, 1}, {3, 1}}, mold());

    // Above the V's bottom both segments' feet lie at one distance: the lower index wins.
    editDialog(moldOf({-2.0, 0.0, 2.0}, {1.0, 0.0, 1.0}));
    gridOf10cm();
    addAt({0.0, 1.0});
    expectPoints({{-2, 1}, {0, 1}, {0, 0}, {2, 1}}, mold());
}

TEST_F(MoldEditorTools, AddPointPressDragsTheNewPointAndReturnOrEscapeEndAtOnce)
{
    editDialog(moldOf({-2.0, 0.0, 2.0}, {1.0, 0.0, 1.0}));
    gridOf10cm();
    editor()->addPointAction()->trigger();
    EXPECT_EQ(view(), dialog()->focusWidget()) << "Return must reach the view";
    drag(px(3.0, 1.0), px(3.5, 2.0));
    expectPoints({{-2, 1}, {0, 0}, {2, 1}, {3.5, 2}}, mold());

    editor()->addPointAction()->trigger();
    move(px(-3.0, 1.0));
    key(Qt::Key_Escape);
    EXPECT_TRUE(is<Waiting>());
    EXPECT_EQ(4u, mold().size());

    editor()->addPointAction()->trigger();
    move(px(-3.0, 1.0));
    key(Qt::Key_Return);
    EXPECT_TRUE(is<Waiting>());
    expectPoints({{-3, 1}, {-2, 1}, {0, 0}, {2, 1}, {3.5, 2}}, mold());
    EXPECT_EQ(5, tableRows()) << "the table follows a finished gesture";
}

TEST_F(MoldEditorTools, DeleteLeavesAtLeastTwoPoints)
{
    const Points four = {{-3, 0}, {-1, 1}, {1, 1}, {3, 0}};
    editDialog(moldOf({-3.0, -1.0, 1.0, 3.0}, {0.0, 1.0, 1.0, 0.0}));
    deleteWarns(QStringLiteral("No point is selected."), four);

    drag(px(-3.5, 1.5), px(1.5, -0.5));
    EXPECT_EQ((std::set<std::size_t>{0, 1, 2}), selection());
    deleteWarns(QStringLiteral("Too many points are selected."), four);

    drag(px(-1.5, 1.5), px(1.5, 0.5));
    EXPECT_EQ((std::set<std::size_t>{1, 2}), selection());
    m_script.clearRecords();
    editor()->deletePointsAction()->trigger();
    EXPECT_TRUE(m_script.messageBoxes().empty());
    expectPoints({{-3, 0}, {3, 0}}, mold());
    EXPECT_TRUE(selection().empty());
    EXPECT_EQ(2, tableRows());

    click(px(3.0, 0.0));
    deleteWarns(QStringLiteral("No point can be further deleted."), {{-3, 0}, {3, 0}});
}

TEST_F(MoldEditorTools, RubberBandClickShiftAndReturn)
{
    editDialog(moldOf({-3.0, -1.0, 1.0, 3.0}, {0.0, 1.0, 1.0, 0.0}));
    click(px(-3.0, 0.0));
    EXPECT_EQ(std::set<std::size_t>{0}, selection()) << "a click on a point selects it";

    // Beside the selection: a release within 3 pixels selects the point under it instead.
    move(px(1.0, 1.0) + QPointF(1, 1));
    press(px(1.0, 1.0) + QPointF(1, 1));
    release(px(1.0, 1.0) + QPointF(2, -1));
    EXPECT_EQ(std::set<std::size_t>{2}, selection());

    click(px(-3.0, 0.0), Qt::ShiftModifier);
    EXPECT_EQ((std::set<std::size_t>{0, 2}), selection()) << "Shift adds";
    click(px(-3.0, 0.0), Qt::ShiftModifier);
    EXPECT_EQ(std::set<std::size_t>{2}, selection()) << "Shift takes away";

    // Return toggles what the band holds, keeping the rest; the release after it is idle.
    move(px(-1.5, 1.5));
    press(px(-1.5, 1.5), Qt::LeftButton, Qt::ShiftModifier);
    move(px(1.5, -0.5), Qt::LeftButton);
    key(Qt::Key_Return);
    EXPECT_TRUE(is<Waiting>());
    release(px(1.5, -0.5));
    EXPECT_EQ((std::set<std::size_t>{1}), selection());
}

TEST_F(MoldEditorTools, DefinitionBuildsAStrictlyMonotonicMold)
{
    newDialog();
    QSignalSpy defined(view(), &DetailView::moldDefined);
    QPushButton* ok = dialog()->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    auto* table = dialog()->findChild<QAbstractItemView*>(QStringLiteral("lhTableView"));
    EXPECT_FALSE(ok->isEnabled() || table->isEnabled()) << "nothing to accept or edit yet";

    click(px(-2.0, 0.0));
    key(Qt::Key_Return);
    EXPECT_TRUE(is<Defining>()) << "one point is no mold";

    // A press without a move before it fixes a second point, the first stays; a press on
    // the last point is ignored.
    press(px(0.0, 1.0));
    release(px(0.0, 1.0));
    press(px(0.0, 1.0));
    expectPoints({{-2, 0}, {0, 1}}, workingCopy());

    // A step back in L is ignored; the loose point follows the mouse.
    click(px(-1.0, 2.0));
    expectPoints({{-2, 0}, {0, 1}, {-1, 2}}, workingCopy());
    click(px(2.0, 0.0));
    move(px(3.0, -1.0));
    expectPoints({{-2, 0}, {0, 1}, {2, 0}, {3, -1}}, workingCopy());
    EXPECT_EQ(0, defined.count());

    key(Qt::Key_Return);
    EXPECT_EQ(1, defined.count());
    EXPECT_TRUE(ok->isEnabled() && table->isEnabled());
    EXPECT_TRUE(is<Waiting>());
    expectPoints({{-2, 0}, {0, 1}, {2, 0}}, mold()); // without the loose point
    EXPECT_EQ(3, tableRows());

    // Escape clears a definition; a double click ends one.
    dialog()->startDefinition();
    click(px(2.0, 0.0));
    doubleClick(px(2.0, 0.0));
    EXPECT_TRUE(is<Defining>());
    key(Qt::Key_Escape);
    EXPECT_EQ(0u, workingCopy().size());
    click(px(2.0, 0.0));
    click(px(-1.0, 1.0));
    doubleClick(px(-1.0, 1.0));
    EXPECT_TRUE(is<Waiting>());
    expectPoints({{2, 0}, {-1, 1}}, mold());
}

TEST_F(MoldEditorTools, AnErrorOfAToolEndsInAnErrorBoxAndChangesNothing)
{
    editDialog(moldOf({}, {}));
    MoldItemController::SelectionHelper* before = tool();
    click(px(1.0, 1.0));
    const auto boxes = m_script.messageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(guimisc::UserDialogs::Kind::Critical, boxes[0].kind);
    EXPECT_EQ(QStringLiteral("Error"), boxes[0].title);
    EXPECT_EQ(QStringLiteral("Empty MoldItem."), boxes[0].text);
    EXPECT_EQ(before, tool());
    EXPECT_EQ(0u, mold().size());
}

} // namespace
} // namespace varnel::test
