// The end points typed in "Cross Section Path Property" (the section's "Edit Path"): an X
// written into every row, Cancel dropping the edits, OK as one undo step, OK refused for a
// table that holds no section, and the rows that insertion and removal leave.
#include "SectionsTestSupport.h"

#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionItemController.h"
#include "movarin/sections/CrossSectionItemPathPropertyDialog.h"
#include "movarin/sections/CrossSectionItemPropertyPathTableModel.h"

#include "support/ModalAnswerer.h"

#include <guimisc/MultiCellOperableTableView.h>
#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>

namespace varnel::test {
namespace {

using Dialog = CrossSectionItemPathPropertyDialog;

class CrossSectionPathDialogTest : public SectionsTest {
protected:
    void SetUp() override
    {
        m_section = addSection(QStringLiteral("K7"), {-20.0, 5.0}, {30.0, 15.0});
        select(m_section);
    }

    /// Runs "Edit Path" with `edit` as the user in front of the dialog.
    void editPath(const std::function<void(Dialog*)>& edit)
    {
        ModalAnswerer answerer([&](QWidget* widget) {
            auto dialog = qobject_cast<Dialog*>(widget);
            ASSERT_NE(dialog, nullptr) << widget->metaObject()->className();
            edit(dialog);
        });
        m_section->controller()->editPathAction()->trigger();
        EXPECT_TRUE(answerer.answered());
        EXPECT_FALSE(answerer.leftOpen());
    }

    /// Types `text` into the cell as a paste does.
    static void type(Dialog* dialog, int row, int column, const QString& text)
    {
        dialog->tableView()->setCurrentIndex(dialog->model()->index(row, column));
        dialog->tableView()->pasteText(text);
    }

    static void press(Dialog* dialog, QDialogButtonBox::StandardButton which)
    {
        dialog->findChild<QDialogButtonBox*>()->button(which)->click();
    }

    std::vector<tin::core::Point2D> sectionPath() const { return m_section->path(); }

    CrossSectionItem* m_section = nullptr;
};

TEST_F(CrossSectionPathDialogTest, EditAllColumnsWritesEveryRowAndOkIsOneStep)
{
    editPath([](Dialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Cross Section Path Property");
        ASSERT_EQ(dialog->model()->rowCount(), 2);
        dialog->editAllColumnsCheckBox()->setChecked(true);
        type(dialog, 1, 0, QStringLiteral("12.5"));
        EXPECT_EQ(dialog->model()->index(0, 0).data().toDouble(), 12.5);
        EXPECT_EQ(dialog->model()->index(1, 0).data().toDouble(), 12.5);
        // Hovering a cell highlights its column while "Edit all columns" is on.
        emit dialog->tableView()->entered(dialog->model()->index(0, 1));
        EXPECT_EQ(dialog->activeColumn(), 1);
        press(dialog, QDialogButtonBox::Ok);
    });
    const std::vector<tin::core::Point2D> path = sectionPath();
    EXPECT_EQ(path[0].x(), 12.5);
    EXPECT_EQ(path[1].x(), 12.5);
    EXPECT_EQ(path[0].y(), 5.0);
    EXPECT_EQ(path[1].y(), 15.0);
    ASSERT_EQ(undoStack()->count(), 1);
    EXPECT_EQ(undoStack()->undoText(), "Edit K7");
    undoStack()->undo();
    EXPECT_EQ(sectionPath()[0].x(), -20.0);
}

// OK stays open on a table that holds no section; Cancel then drops every edit.
TEST_F(CrossSectionPathDialogTest, OkRefusesATableThatHoldsNoSectionAndCancelDropsTheEdits)
{
    guimisc::UserDialogScript script;
    editPath([this](Dialog* dialog) {
        // What is no number, or no plan coordinate, is refused and the cell keeps its value.
        for (const char* bad : {"nan", "abc", "1e10", "-1e308"}) {
            type(dialog, 0, 0, QString::fromLatin1(bad));
            type(dialog, 0, 1, QString::fromLatin1(bad));
        }
        EXPECT_EQ(dialog->model()->index(0, 0).data().toDouble(), -20.0);
        EXPECT_EQ(dialog->model()->index(0, 1).data().toDouble(), sectionPath()[0].y());
        type(dialog, 0, 1, QStringLiteral("-1e9"));
        EXPECT_EQ(dialog->model()->index(0, 1).data().toDouble(), -1e9) << "the limit itself";
        type(dialog, 0, 1, QString::number(sectionPath()[0].y(), 'g', 17));
        type(dialog, 1, 0, QStringLiteral("-20"));
        type(dialog, 1, 1, QStringLiteral("5"));
        press(dialog, QDialogButtonBox::Ok);
        EXPECT_TRUE(dialog->isVisible()) << "S = E";
        dialog->model()->removeRows(1, 1);
        press(dialog, QDialogButtonBox::Ok);
        EXPECT_TRUE(dialog->isVisible()) << "one point";
        press(dialog, QDialogButtonBox::Cancel);
    });
    const std::vector<guimisc::UserDialogScript::Record> boxes = script.messageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].kind, guimisc::UserDialogs::Kind::Critical);
    EXPECT_EQ(boxes[0].title, "Error");
    EXPECT_EQ(boxes[0].text, "Cannot add the same position more than once.");
    EXPECT_EQ(boxes[1].title, "Error");
    EXPECT_EQ(undoStack()->count(), 0);
    EXPECT_EQ(sectionPath()[1].x(), 30.0);
    const std::vector<tin::core::Point2D> working = m_section->controller()->editedPath();
    ASSERT_EQ(working.size(), 2u);
    EXPECT_EQ(working[1].x(), 30.0);
}

TEST_F(CrossSectionPathDialogTest, RemovingTheFirstTwoOfFourRowsLeavesTheLastTwo)
{
    editPath([](Dialog* dialog) {
        CrossSectionItemPropertyPathTableModel* model = dialog->model();
        ASSERT_TRUE(model->insertRows(2, 2));
        ASSERT_EQ(model->rowCount(), 4);
        EXPECT_EQ(model->index(3, 0).data().toDouble(), 0.0);
        type(dialog, 2, 0, QStringLiteral("7"));
        type(dialog, 3, 1, QStringLiteral("8"));
        EXPECT_FALSE(model->removeRows(3, 2)) << "beyond the table";
        ASSERT_TRUE(model->removeRows(0, 2));
        ASSERT_EQ(model->rowCount(), 2);
        EXPECT_EQ(model->index(0, 0).data().toDouble(), 7.0);
        EXPECT_EQ(model->index(0, 1).data().toDouble(), 0.0);
        EXPECT_EQ(model->index(1, 0).data().toDouble(), 0.0);
        EXPECT_EQ(model->index(1, 1).data().toDouble(), 8.0);
        press(dialog, QDialogButtonBox::Ok);
    });
    const std::vector<tin::core::Point2D> path = sectionPath();
    EXPECT_EQ(QPointF(path[0].x(), path[0].y()), QPointF(7.0, 0.0));
    EXPECT_EQ(QPointF(path[1].x(), path[1].y()), QPointF(0.0, 8.0));
}

} // namespace
} // namespace varnel::test
