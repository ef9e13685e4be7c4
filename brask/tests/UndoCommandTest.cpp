// Controllers and undo: delete, attach and move commands with what they own, the modified
// state through the stack's clean index and changes outside the stack, merging, the delete
// questions and the property dialog.

#include "BraskTestSupport.h"

#include "brask/core/AttachChildAtFrontCommand.h"
#include "brask/core/DeleteMeCommand.h"
#include "brask/core/ModelItemControllerT.h"

#include <guimisc/UserDialogScript.h>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

using namespace brasktest;
using mvc::core::ModelItem;
using mvc::core::ModelItemController;

namespace {

class TypedItem : public TestItem {
public:
    using TestItem::TestItem;
    QString itemTypeName() const override { return QStringLiteral("Point set"); }
};

class TestController : public mvc::core::ModelItemControllerT<TypedItem> {
public:
    explicit TestController(const TypedItem* item) : ModelItemControllerT(item) {}
    using ModelItemController::pushUpdateViewCommand;

    QDialog* propertyDialog(QWidget* parent) override
    {
        auto dialog = new QDialog(parent);
        lastDialog = dialog;
        return dialog;
    }
    void handlePropertyDialogAccepted(QDialog*) override { ++accepted; }

    QPointer<QDialog> lastDialog;
    int accepted = 0;
};

// An inner command that counts and merges with its own kind.
class CountingCommand : public QUndoCommand {
public:
    CountingCommand(int* value, int step, int id) : m_value(value), m_step(step), m_id(id)
    {
        setText(QStringLiteral("Add %1").arg(step));
    }
    void redo() override { *m_value += m_step; }
    void undo() override { *m_value -= m_step; }
    int id() const override { return m_id; }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto counting = dynamic_cast<const CountingCommand*>(other);
        if (!counting || counting->m_id != m_id) {
            return false;
        }
        m_step += counting->m_step;
        return true;
    }

private:
    int* m_value;
    int m_step;
    int m_id;
};

class UndoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_project = std::make_unique<TestProject>(m_dir.filePath(QStringLiteral("work")));
        m_group = root()->addTopLevel(QStringLiteral("group"));
        for (const char* name : {"a", "b", "c"}) {
            m_items.push_back(typed(m_group, QString::fromLatin1(name)));
        }
    }

    TypedItem* typed(ModelItem* parent, const QString& caption)
    {
        auto item = new TypedItem(caption, nullptr, ModelItem::Deletable | ModelItem::Reorderable);
        item->makeController = [](const TestItem* i) {
            return new TestController(static_cast<const TypedItem*>(i));
        };
        item->setParent(parent);
        parent->attachChildAtBack(item);
        return item;
    }
    TestRootItem* root() const { return m_project->root(); }
    QUndoStack* stack() const { return m_project->undoStack(); }
    TestController* controllerOf(ModelItem* item) const
    {
        return static_cast<TestController*>(item->controller());
    }

    // Rows, list and map of the group agree and read `expected`.
    void expectGroup(const QStringList& expected)
    {
        EXPECT_EQ(captions(m_group), expected);
        EXPECT_EQ(rowTexts(m_group->browserItem()), expected);
        for (ModelItem* child : m_group->childItems()) {
            EXPECT_EQ(root()->fromBrowserItem(child->browserItem()), child);
            EXPECT_TRUE(child->isAttachedToModel());
        }
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TestProject> m_project;
    TestItem* m_group = nullptr;
    std::vector<TypedItem*> m_items;
};

} // namespace

TEST_F(UndoTest, DeleteUndoRedoUndoRestoresTheSubtreeAtItsRow)
{
    TypedItem* b = m_items[1];
    TypedItem* child = typed(b, QStringLiteral("b1"));
    TypedItem* grandchild = typed(child, QStringLiteral("b11"));

    controllerOf(b)->deleteMeSilently();
    expectGroup({"a", "c"});
    EXPECT_FALSE(b->isAttachedToModel());
    EXPECT_EQ(root()->fromBrowserItem(grandchild->browserItem()), nullptr);
    EXPECT_EQ(stack()->undoText(), QStringLiteral("Delete Point set b"));

    stack()->undo();
    expectGroup({"a", "b", "c"});
    stack()->redo();
    expectGroup({"a", "c"});
    stack()->undo();
    expectGroup({"a", "b", "c"});
    EXPECT_EQ(rowTexts(b->browserItem()), QStringList({"b1"}));
    EXPECT_EQ(rowTexts(child->browserItem()), QStringList({"b11"}));
    EXPECT_EQ(root()->fromBrowserItem(child->browserItem()), child);
    EXPECT_EQ(root()->fromBrowserItem(grandchild->browserItem()), grandchild);
}

TEST_F(UndoTest, ClearingTheStackFreesADeletedItemAndOnlyThen)
{
    TypedItem* a = m_items[0];
    TypedItem* c = m_items[2];
    QSignalSpy aGone(a, &QObject::destroyed);
    QSignalSpy cGone(c, &QObject::destroyed);
    controllerOf(a)->deleteMeSilently();
    controllerOf(c)->deleteMeSilently();
    stack()->undo(); // c is back in the tree
    stack()->clear();
    EXPECT_EQ(aGone.count(), 1);
    EXPECT_EQ(cGone.count(), 0);
    expectGroup({"b", "c"});
}

TEST_F(UndoTest, AnAttachCommandOwnsItsChildOnlyWhileUndone)
{
    auto dropped = new TypedItem(QStringLiteral("new"), m_group);
    m_group->browserItem()->takeRow(dropped->browserItem()->row());
    QSignalSpy droppedGone(dropped, &QObject::destroyed);
    auto kept = new TypedItem(QStringLiteral("kept"), m_group);
    m_group->browserItem()->takeRow(kept->browserItem()->row());
    QSignalSpy keptGone(kept, &QObject::destroyed);

    controllerOf(m_group->childItems()[0])->pushUpdateViewCommand(
        new mvc::core::AttachChildAtFrontCommand(QStringLiteral("Add"), dropped, m_group));
    expectGroup({"new", "a", "b", "c"});
    stack()->undo();
    expectGroup({"a", "b", "c"});
    stack()->clear();
    EXPECT_EQ(droppedGone.count(), 1);

    {
        mvc::core::AttachChildAtFrontCommand command(QStringLiteral("Add"), kept, m_group);
        command.redo();
        EXPECT_EQ(command.item(), kept);
    }
    EXPECT_EQ(keptGone.count(), 0);
    expectGroup({"kept", "a", "b", "c"});
}

TEST_F(UndoTest, MoveUpOfTheFirstItemAndItsUndoKeepTheOrder)
{
    controllerOf(m_items[0])->moveUp();
    expectGroup({"a", "b", "c"});
    stack()->undo();
    expectGroup({"a", "b", "c"});

    controllerOf(m_items[2])->moveUp();
    expectGroup({"a", "c", "b"});
    EXPECT_EQ(stack()->undoText(), QStringLiteral("Move up Point set"));
    stack()->undo();
    expectGroup({"a", "b", "c"});
}

TEST_F(UndoTest, TheModifiedFlagFollowsUndoAndRedo)
{
    mvc::proj::ProjectFile* file = m_project->mainfile();
    ASSERT_FALSE(file->isModified());
    controllerOf(m_items[0])->deleteMeSilently();
    EXPECT_TRUE(file->isModified());
    EXPECT_TRUE(m_items[1]->isModified()) << "every item reads the project's flag";
    stack()->undo();
    EXPECT_FALSE(file->isModified());
    stack()->redo();
    EXPECT_TRUE(file->isModified());
    stack()->undo();

    file->setModified(true);
    controllerOf(m_items[1])->moveUp();
    stack()->undo();
    EXPECT_TRUE(file->isModified());
}

// The project is modified exactly when it differs from the saved state: an undo past a save
// is a change, a redo back to it is none.
TEST_F(UndoTest, UndoPastASaveLeavesTheProjectModified)
{
    mvc::proj::ProjectFile* file = m_project->mainfile();
    controllerOf(m_items[0])->deleteMeSilently();
    controllerOf(m_items[2])->moveUp();
    expectGroup({"c", "b"});
    ASSERT_TRUE(m_project->save());
    EXPECT_FALSE(file->isModified());

    stack()->undo();
    expectGroup({"b", "c"});
    EXPECT_TRUE(file->isModified()) << "the move is undone: not what was saved";
    stack()->undo();
    expectGroup({"a", "b", "c"});
    EXPECT_TRUE(file->isModified());
    stack()->redo();
    stack()->redo();
    expectGroup({"c", "b"});
    EXPECT_FALSE(file->isModified()) << "back at the saved state";

    // A new edit after an undo past the save drops the saved state from the stack: the
    // project stays modified, whatever is undone or redone, until the next save.
    stack()->undo();
    controllerOf(m_items[2])->moveUp();
    for (int i = 0; i < 2; ++i) {
        stack()->undo();
        EXPECT_TRUE(file->isModified());
    }
    while (stack()->canRedo()) {
        stack()->redo();
        EXPECT_TRUE(file->isModified());
    }
    ASSERT_TRUE(m_project->save());
    EXPECT_FALSE(file->isModified());
}

// A change the stack does not hold (a rename, an edit without undo) counts until the next
// save, even when the stack comes back to the saved state.
TEST_F(UndoTest, AChangeOutsideTheStackKeepsTheProjectModifiedUntilSaved)
{
    mvc::proj::ProjectFile* file = m_project->mainfile();
    controllerOf(m_items[0])->moveDown();
    ASSERT_TRUE(m_project->save());
    file->setModified(true);
    stack()->undo();
    stack()->redo();
    EXPECT_TRUE(file->isModified());
    ASSERT_TRUE(m_project->save());
    EXPECT_FALSE(file->isModified());
    EXPECT_TRUE(stack()->isClean());

    // A project without a stack still marks what its controllers carry out.
    TestProject stackless(m_dir.filePath(QStringLiteral("stackless")));
    stackless.dropStack();
    TypedItem* item = typed(stackless.root()->addTopLevel(QStringLiteral("group")), "x");
    controllerOf(item)->deleteMeSilently();
    EXPECT_TRUE(stackless.mainfile()->isModified());
    EXPECT_TRUE(stackless.root()->childItems().front()->childItems().empty());
}

TEST_F(UndoTest, WrappedCommandsWithOneIdMergeIntoOneEntry)
{
    int value = 0;
    TestController* controller = controllerOf(m_items[0]);
    controller->pushUpdateViewCommand(new CountingCommand(&value, 2, 7));
    controller->pushUpdateViewCommand(new CountingCommand(&value, 3, 7));
    EXPECT_EQ(stack()->count(), 1);
    EXPECT_EQ(stack()->undoText(), QStringLiteral("Add 2"));
    controller->pushUpdateViewCommand(new CountingCommand(&value, 4, 8));
    EXPECT_EQ(stack()->count(), 2);
    EXPECT_EQ(value, 9);
    stack()->undo();
    stack()->undo();
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(m_project->mainfile()->isModified());
}

TEST_F(UndoTest, DeleteAsksWithTypeAndCaptionAndNoPushesNothing)
{
    TypedItem* b = m_items[1];
    {
        guimisc::UserDialogScript script;
        script.answer(QMessageBox::No);
        controllerOf(b)->deleteMe();
        ASSERT_EQ(script.records().size(), 1u);
        const auto& record = script.records()[0];
        EXPECT_EQ(record.kind, guimisc::UserDialogs::Kind::Warning);
        EXPECT_EQ(record.title, QStringLiteral("Warning"));
        EXPECT_EQ(record.text, QStringLiteral("Are you sure you want to delete Point set b?"));
        EXPECT_EQ(record.buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(record.defaultButton, QMessageBox::No);
    }
    EXPECT_EQ(stack()->count(), 0);
    expectGroup({"a", "b", "c"});

    guimisc::UserDialogScript script;
    script.answer(QMessageBox::Yes);
    controllerOf(b)->deleteMe();
    EXPECT_EQ(stack()->count(), 1);
    expectGroup({"a", "c"});
}

TEST_F(UndoTest, DeleteAllAsksOnlyWhenThereAreChildrenAndUndoRestoresTheirOrder)
{
    guimisc::UserDialogScript script;
    controllerOf(m_items[0])->deleteAllChildItems();
    EXPECT_TRUE(script.records().empty());
    EXPECT_EQ(stack()->count(), 0);

    TypedItem* holder = m_items[0];
    typed(holder, QStringLiteral("x"));
    typed(holder, QStringLiteral("y"));
    script.answer(QMessageBox::Yes);
    controllerOf(holder)->deleteAllChildItems();
    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].text,
              QStringLiteral("Are you sure you want to delete all Point sets?"));
    EXPECT_TRUE(holder->childItems().empty());
    EXPECT_EQ(holder->browserItem()->rowCount(), 0);
    EXPECT_EQ(stack()->undoText(), QStringLiteral("Delete all Point sets"));
    stack()->undo();
    EXPECT_EQ(captions(holder), QStringList({"x", "y"}));
    EXPECT_EQ(rowTexts(holder->browserItem()), QStringList({"x", "y"}));
    stack()->redo();
    stack()->clear(); // frees the detached children
}

TEST_F(UndoTest, ACancelledPropertyDialogIsDeletedWithoutBeingTaken)
{
    TestController* controller = controllerOf(m_items[0]);
    for (const bool accept : {false, true}) {
        QTimer::singleShot(0, [accept] {
            if (auto dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                accept ? dialog->accept() : dialog->reject();
            }
        });
        controller->showPropertyDialog();
        EXPECT_TRUE(controller->lastDialog.isNull());
        EXPECT_EQ(controller->accepted, accept ? 1 : 0);
    }
}

TEST_F(UndoTest, ATreeThatGoesBeforeTheStackLeavesTheCommandsNothingToDelete)
{
    TypedItem* b = m_items[1];
    QSignalSpy gone(b, &QObject::destroyed);
    controllerOf(b)->deleteMeSilently();
    controllerOf(m_items[0])->moveDown();
    // The tree goes first (the wrong order); the commands must not touch it afterwards.
    delete m_project->model();
    m_project->file()->model = nullptr;
    EXPECT_EQ(gone.count(), 1);
    stack()->undo();
    stack()->clear();
}
