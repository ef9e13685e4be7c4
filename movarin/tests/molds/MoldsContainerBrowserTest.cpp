// The Mold Browser as the user meets it in a new edit-mode project: icons clicked, the
// buttons pressed, the "Mold Setting" dialog answered, Undo and Redo from the main window's
// Edit menu, and the preview and the selection that new surfaces read afterwards.
#include "shell/MainWindowTestSupport.h"
#include "support/ModalAnswerer.h"

#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/IconView.h"
#include "movarin/surfaces/MoldGroupItem.h"
#include "movarin/surfaces/MoldGroupItemWidget.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldItemPropertyDialog.h"
#include "movarin/surfaces/MoldsContainer.h"
#include "movarin/surfaces/MoldsContainerBrowser.h"
#include "movarin/surfaces/MoldsContainerWidget.h"

#include "support/QtPrinters.h"

#include <guimisc/UserDialogScript.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>

namespace varnel::test {
namespace {

using mold::core::Mold;

class MoldsContainerBrowserTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window().newEditProject();
        auto edit = qobject_cast<EditModeMainWindow*>(window().project()->projectWindow());
        ASSERT_NE(edit, nullptr);
        m_container = edit->moldsContainer();
        m_browser = qobject_cast<WindowWithMoldsContainerBrowserI*>(static_cast<QWidget*>(edit))
                        ->dockWidget();
        ASSERT_NE(m_browser, nullptr);
        ASSERT_TRUE(m_browser->isVisible());
    }

    MoldsContainerWidget* widget() const { return m_browser->moldsContainerWidget(); }
    MoldGroupItemWidget* tab(Mold::EditType type) const { return widget()->groupWidget(type); }
    MoldGroupItem& group(Mold::EditType type) const { return *m_container->group(type); }
    template <class W> W* child(const char* name) const
    {
        auto found = widget()->findChild<W*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString shownName() const { return child<QLineEdit>("nameLineEdit")->text(); }
    MoldItem* previewed() const { return widget()->detailView()->moldItem(); }
    bool canCopy() const { return child<QPushButton>("copyButton")->isEnabled(); }

    void clickIcon(Mold::EditType type, int i)
    {
        QApplication::processEvents();
        QTest::mouseClick(tab(type)->icons().at(i), Qt::LeftButton);
    }
    void press(const char* button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }
    void showTab(Mold::EditType type) { child<QTabWidget>("tabWidget")->setCurrentIndex(type); }
    void edit(const char* command) { window().actionManager()->action(command)->trigger(); }
    QUndoStack& stack() { return *window().undoStack(); }

    /// Presses `button`, answering the "Mold Setting" dialog with `answer` and then OK.
    void pressAndAnswer(const char* button, const std::function<void(MoldItemPropertyDialog*)>& answer)
    {
        ModalAnswerer answerer([&](QWidget* shown) {
            auto dialog = qobject_cast<MoldItemPropertyDialog*>(shown);
            ASSERT_NE(dialog, nullptr);
            answer(dialog);
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
        });
        press(button);
        EXPECT_TRUE(answerer.answered());
        EXPECT_FALSE(answerer.leftOpen());
    }

    static QStringList names(const MoldGroupItem& group)
    {
        QStringList names;
        for (const MoldItem* mold : group.molds()) {
            names << mold->name();
        }
        return names;
    }
    /// The icons' molds, as the group's order must be.
    static bool iconsFollow(const MoldGroupItemWidget* tab)
    {
        const std::vector<MoldItem*>& molds = tab->group()->molds();
        if (tab->icons().size() != molds.size()) {
            return false;
        }
        for (std::size_t i = 0; i < molds.size(); ++i) {
            if (tab->icons()[i]->moldItem() != molds[i]) {
                return false;
            }
        }
        return true;
    }

    MoldsContainer* m_container = nullptr;
    MoldsContainerBrowser* m_browser = nullptr;
};

TEST_F(MoldsContainerBrowserTest, IconsFollowTheGroupsSixToARow)
{
    for (const Mold::EditType type : {Mold::Add, Mold::Subtract}) {
        EXPECT_EQ(tab(type)->icons().size(), 5u);
        EXPECT_TRUE(iconsFollow(tab(type)));
    }
    EXPECT_EQ(previewed(), nullptr);
    EXPECT_FALSE(canCopy());

    clickIcon(Mold::Add, 0);
    press("copyButton");
    press("copyButton");
    ASSERT_EQ(tab(Mold::Add)->icons().size(), 7u);
    QApplication::processEvents();
    const std::vector<IconView*>& icons = tab(Mold::Add)->icons();
    for (int i = 1; i < 6; ++i) {
        EXPECT_EQ(icons[i]->y(), icons[0]->y()) << i;
        EXPECT_GT(icons[i]->x(), icons[i - 1]->x()) << i;
    }
    EXPECT_EQ(icons[6]->x(), icons[0]->x());
    EXPECT_GT(icons[6]->y(), icons[0]->y());
    EXPECT_EQ(icons[0]->size(), QSize(25, 25));
}

TEST_F(MoldsContainerBrowserTest, CopyGoesToTheFrontSelectedAndUndoRedoKeepsItThere)
{
    clickIcon(Mold::Add, 1);
    EXPECT_EQ(shownName(), "Convex (Add)");
    EXPECT_EQ(child<QLabel>("typeLabel")->text(), "Add");
    EXPECT_TRUE(tab(Mold::Add)->icons()[1]->isSelected());

    press("copyButton");
    ASSERT_EQ(group(Mold::Add).molds().size(), 6u);
    MoldItem* copy = group(Mold::Add).molds().front();
    EXPECT_EQ(copy->name(), "Convex (Add) (Copy)");
    EXPECT_EQ(copy->l(), group(Mold::Add).molds()[2]->l());
    EXPECT_EQ(copy->h(), group(Mold::Add).molds()[2]->h());
    EXPECT_EQ(widget()->selectedMoldItem(), copy);
    EXPECT_EQ(previewed(), copy);
    EXPECT_TRUE(tab(Mold::Add)->icons()[0]->isSelected());
    EXPECT_FALSE(tab(Mold::Add)->icons()[2]->isSelected());
    EXPECT_EQ(stack().undoText(), "Add new mold");
    EXPECT_TRUE(window().project()->mainfile()->isModified());

    // Undo takes away the selected copy: nothing is selected or shown any more.
    edit("Undo");
    EXPECT_EQ(names(group(Mold::Add)), QStringList({"Slope 1 (Add)", "Convex (Add)", "Slope 2(Add)",
                                                     "Concave (Add)", "Level plane (Add)"}));
    EXPECT_TRUE(iconsFollow(tab(Mold::Add)));
    EXPECT_EQ(widget()->selectedMoldItem(), nullptr);
    EXPECT_EQ(previewed(), nullptr);
    EXPECT_TRUE(shownName().isEmpty());
    EXPECT_FALSE(canCopy());
    EXPECT_FALSE(window().project()->mainfile()->isModified());

    edit("Redo");
    ASSERT_EQ(group(Mold::Add).molds().size(), 6u);
    EXPECT_EQ(group(Mold::Add).molds().front(), copy) << "the very mold, back at the front";
    EXPECT_TRUE(iconsFollow(tab(Mold::Add)));
}

TEST_F(MoldsContainerBrowserTest, DeleteAsksAndUndoPutsTheMoldBackInItsPlace)
{
    const std::vector<MoldItem*> before = group(Mold::Add).molds();
    clickIcon(Mold::Add, 2);
    EXPECT_EQ(shownName(), "Slope 2(Add)");
    const int entries = stack().count();
    {
        guimisc::UserDialogScript script;
        script.answer(QMessageBox::No);
        press("deleteButton");
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_EQ(script.messageBoxes()[0].title, "Warning");
        EXPECT_EQ(script.messageBoxes()[0].text, "Are you sure you want to delete Slope 2(Add)?");
    }
    EXPECT_EQ(group(Mold::Add).molds(), before);
    EXPECT_EQ(stack().count(), entries);
    EXPECT_EQ(widget()->selectedMoldItem(), before[2]) << "a kept mold stays selected";
    EXPECT_EQ(previewed(), before[2]);
    EXPECT_TRUE(canCopy());

    {
        guimisc::UserDialogScript script;
        script.answer(QMessageBox::Yes);
        press("deleteButton");
    }
    EXPECT_EQ(group(Mold::Add).molds().size(), 4u);
    EXPECT_TRUE(iconsFollow(tab(Mold::Add)));
    EXPECT_EQ(stack().undoText(), "Delete mold Slope 2(Add)");
    EXPECT_EQ(widget()->selectedMoldItem(), nullptr);
    EXPECT_EQ(previewed(), nullptr);
    EXPECT_FALSE(canCopy());

    edit("Undo");
    EXPECT_EQ(group(Mold::Add).molds(), before);
    EXPECT_TRUE(iconsFollow(tab(Mold::Add)));
    edit("Redo");
    EXPECT_EQ(group(Mold::Add).molds().size(), 4u);
    // Closing with the deleted mold held by the stack: the command lets go of it once.
    guimisc::UserDialogScript script;
    script.answer(QMessageBox::No);
    EXPECT_TRUE(window().closeProject());
}

TEST_F(MoldsContainerBrowserTest, EditChangesTheMoldWithoutUndoAndClosingAsksToSave)
{
    clickIcon(Mold::Subtract, 0);
    EXPECT_EQ(previewed(), nullptr) << "the Sub tab is not shown";
    showTab(Mold::Subtract);
    clickIcon(Mold::Subtract, 0);
    MoldItem* mold = group(Mold::Subtract).molds()[0];
    ASSERT_EQ(previewed(), mold);
    const int entries = stack().count();
    pressAndAnswer("editButton", [](MoldItemPropertyDialog* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("nameLineEdit"))->setText("Bank");
        QAbstractItemModel* table =
            dialog->findChild<QAbstractItemView*>(QStringLiteral("lhTableView"))->model();
        table->setData(table->index(0, 1), -4.0, Qt::EditRole);
    });
    EXPECT_EQ(mold->name(), "Bank");
    EXPECT_EQ(mold->h(), (std::vector<double>{-4.0, 1.0, 1.0}));
    EXPECT_EQ(mold->editType(), Mold::Subtract);
    EXPECT_EQ(shownName(), "Bank");
    EXPECT_EQ(previewed(), mold);
    EXPECT_EQ(stack().count(), entries);
    EXPECT_TRUE(window().project()->mainfile()->isModified());

    guimisc::UserDialogScript script;
    script.answer(QMessageBox::Cancel);
    EXPECT_FALSE(window().closeProject());
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].text, "This Project is modified. Do you want to save?");
}

TEST_F(MoldsContainerBrowserTest, UndoingANewMoldLetsGoOfItOnlyInItsOwnTab)
{
    pressAndAnswer("addButton", [](MoldItemPropertyDialog* dialog) {
        DetailView* view = dialog->detailView();
        view->setScale(20.0);
        view->setCenterPoint(QPointF(0.0, 0.0));
        view->updateView();
        for (const QPointF& p : {QPointF(-4, 1), QPointF(0, -2), QPointF(4, 1)}) {
            QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->conv(p).toPoint());
        }
        QTest::keyClick(view, Qt::Key_Return);
        dialog->findChild<QLineEdit*>(QStringLiteral("nameLineEdit"))->setText("Ditch");
    });
    MoldItem* ditch = group(Mold::Add).molds().front();
    EXPECT_EQ(ditch->name(), "Ditch");
    EXPECT_EQ(ditch->editType(), Mold::Add);
    EXPECT_EQ(ditch->l(), (std::vector<double>{-4.0, 0.0, 4.0}));
    EXPECT_EQ(widget()->selectedMoldItem(), ditch);
    EXPECT_EQ(m_browser->selectedMoldItem(), ditch);

    // Undo from the Sub tab leaves its preview alone; the Add tab has let go of the mold.
    showTab(Mold::Subtract);
    clickIcon(Mold::Subtract, 3);
    MoldItem* concave = group(Mold::Subtract).molds()[3];
    edit("Undo");
    EXPECT_EQ(previewed(), concave);
    EXPECT_EQ(widget()->selectedMoldItem(), concave);
    showTab(Mold::Add);
    EXPECT_EQ(widget()->selectedMoldItem(), nullptr);
    EXPECT_EQ(previewed(), nullptr);

    // Undone while shown: the preview empties too.
    edit("Redo");
    clickIcon(Mold::Add, 0);
    ASSERT_EQ(previewed(), ditch);
    edit("Undo");
    EXPECT_EQ(previewed(), nullptr);
    EXPECT_EQ(widget()->selectedMoldItem(), nullptr);
    EXPECT_EQ(tab(Mold::Add)->icons().size(), 5u);
}

TEST_F(MoldsContainerBrowserTest, SelectedIconIsDrawnLightGreyTheOthersWhite)
{
    clickIcon(Mold::Add, 4);
    const auto dominant = [](IconView* icon) {
        const QImage image = icon->grab().toImage();
        int white = 0;
        int grey = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                white += c == QColor(Qt::white);
                grey += c == QColor(Qt::lightGray);
            }
        }
        return white > grey ? QColor(Qt::white) : QColor(Qt::lightGray);
    };
    EXPECT_EQ(dominant(tab(Mold::Add)->icons()[4]), QColor(Qt::lightGray));
    EXPECT_EQ(dominant(tab(Mold::Add)->icons()[0]), QColor(Qt::white));
}

} // namespace
} // namespace varnel::test
