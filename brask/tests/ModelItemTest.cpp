// The item tree: folders and files of items, contained files, bounding boxes, the
// ancestor check, moving and deleting with their rows and map entries.

#include "BraskTestSupport.h"

#include <QDir>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace brasktest;
using mvc::core::ModelItem;

namespace {

class ModelItemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_project = std::make_unique<TestProject>(m_dir.filePath(QStringLiteral("work")));
    }
    TestRootItem* root() const { return m_project->root(); }

    QTemporaryDir m_dir;
    std::unique_ptr<TestProject> m_project;
};

// Every row of the subtree maps to its item, and no other row is mapped.
void expectMapMatches(TestRootItem* root, const ModelItem* item, int* count)
{
    if (item->browserItem()) {
        EXPECT_EQ(root->fromBrowserItem(item->browserItem()), item)
            << item->caption().toStdString();
        ++*count;
    }
    for (const ModelItem* child : item->childItems()) {
        expectMapMatches(root, child, count);
    }
}

/// Counts the row edits that reach it.
class RowWatcher : public mvc::core::ModelItemController {
public:
    RowWatcher(const TestItem* item, int* changes) : ModelItemController(item), m_changes(changes)
    {
    }
    void handleStandardItemChange() override { ++*m_changes; }

private:
    int* m_changes;
};

} // namespace

TEST_F(ModelItemTest, SubPathsNestAndAnEmptySubPathSharesTheParentsFolder)
{
    TestItem* b = root()->addTopLevel(QStringLiteral("b"));
    b->setSubPath("b");
    TestItem* a = TestItem::attachedTo(b, QStringLiteral("a"));
    a->setSubPath("a");
    a->setFilename("data.bin");
    TestItem* shared = TestItem::attachedTo(b, QStringLiteral("shared"));
    shared->setFilename("shared.bin");

    EXPECT_EQ(a->relativeSubPath(), "b/a");
    EXPECT_EQ(shared->relativeSubPath(), "b");
    EXPECT_EQ(a->relativeFilename(), "b/a/data.bin");
    EXPECT_EQ(QString::fromStdString(a->absoluteFilename()),
              QDir(m_project->workFolder()).absoluteFilePath(QStringLiteral("b/a/data.bin")));

    // Saving makes the folders, parent first, and puts each file in its item's folder.
    a->payload = "A";
    shared->payload = "S";
    ASSERT_TRUE(m_project->mainfile()->save());
    EXPECT_TRUE(QFileInfo(QDir(m_project->workFolder()).filePath("b/a/data.bin")).isFile());
    EXPECT_TRUE(QFileInfo(QDir(m_project->workFolder()).filePath("b/shared.bin")).isFile());
}

TEST_F(ModelItemTest, ContainedFilesAreDepthFirstAndAnItemWithoutFileNeverTouchesData)
{
    TestItem* top = root()->addTopLevel(QStringLiteral("top"));
    top->setFilename("top.bin");
    TestItem* first = TestItem::attachedTo(top, QStringLiteral("first"));
    first->setFilename("first.bin");
    TestItem* grandchild = TestItem::attachedTo(first, QStringLiteral("grandchild"));
    grandchild->setFilename("grandchild.bin");
    TestItem* plain = TestItem::attachedTo(top, QStringLiteral("plain"));
    TestItem* second = TestItem::attachedTo(top, QStringLiteral("second"));
    second->setFilename("second.bin");

    EXPECT_EQ(m_project->file()->containedFiles(),
              (std::vector<std::string>{"top.bin", "first.bin", "grandchild.bin", "second.bin"}));
    EXPECT_TRUE(plain->containedFiles().empty());

    ASSERT_TRUE(m_project->mainfile()->save());
    m_project->load();
    EXPECT_EQ(plain->saves, 0);
    EXPECT_EQ(plain->loads, 0);
    EXPECT_EQ(second->saves, 1);
    EXPECT_EQ(second->loads, 1);
}

TEST_F(ModelItemTest, BoundingBoxSkipsUncheckedSubtreesAndUnitesAroundANullOwnBox)
{
    TestItem* group = root()->addTopLevel(QStringLiteral("group"));
    TestItem* left = TestItem::attachedTo(group, QStringLiteral("left"));
    TestItem* right = TestItem::attachedTo(group, QStringLiteral("right"));
    left->setBox(QRectF(QPointF(0, 0), QPointF(1, 2)));
    right->setBox(QRectF(QPointF(5, -1), QPointF(6, 1)));

    EXPECT_EQ(group->boundingBox(), QRectF(QPointF(0, -1), QPointF(6, 2)));
    EXPECT_EQ(m_project->model()->boundingBox(), group->boundingBox());

    right->setUnchecked();
    EXPECT_EQ(group->boundingBox(), left->myBoundingBox());

    // An unchecked parent of checked children contributes nothing, partly checked neither.
    right->setChecked();
    group->setUnchecked();
    EXPECT_TRUE(group->boundingBox().isNull());
    group->browserItem()->setCheckState(Qt::PartiallyChecked);
    EXPECT_TRUE(group->boundingBox().isNull());
    EXPECT_TRUE(m_project->model()->boundingBox().isNull());
}

TEST_F(ModelItemTest, AncestorCheckLooksThroughEveryRowedAncestorButNeverTheRoot)
{
    TestItem* top = root()->addTopLevel(QStringLiteral("top"));
    TestItem* middle = TestItem::attachedTo(top, QStringLiteral("middle"));
    TestItem* leaf = TestItem::attachedTo(middle, QStringLiteral("leaf"));

    EXPECT_FALSE(root()->isAncientChecked());
    EXPECT_TRUE(top->isAncientChecked());
    EXPECT_TRUE(leaf->isAncientChecked());
    top->setUnchecked();
    EXPECT_TRUE(top->isAncientChecked()) << "a top-level item has no rowed ancestor";
    EXPECT_FALSE(leaf->isAncientChecked());
    top->setChecked();
    middle->setUnchecked();
    EXPECT_FALSE(leaf->isAncientChecked());
    EXPECT_TRUE(middle->isAncientChecked());

}

TEST_F(ModelItemTest, MovingKeepsRowsAndChildListInStep)
{
    TestItem* group = root()->addTopLevel(QStringLiteral("group"));
    TestItem* a = TestItem::attachedTo(group, QStringLiteral("a"));
    TestItem* b = TestItem::attachedTo(group, QStringLiteral("b"));
    TestItem* c = TestItem::attachedTo(group, QStringLiteral("c"));

    group->moveUpChild(c);
    EXPECT_EQ(captions(group), QStringList({"a", "c", "b"}));
    EXPECT_EQ(rowTexts(group->browserItem()), captions(group));
    group->moveUpChild(a);
    group->moveDownChild(b);
    EXPECT_EQ(captions(group), QStringList({"a", "c", "b"}));
    EXPECT_EQ(rowTexts(group->browserItem()), captions(group));
    group->moveDownChild(a);
    EXPECT_EQ(captions(group), QStringList({"c", "a", "b"}));
    EXPECT_EQ(rowTexts(group->browserItem()), captions(group));

    // A stranger is neither moved nor detached.
    TestItem stranger(QStringLiteral("stranger"), nullptr);
    group->moveUpChild(&stranger);
    group->detachChild(&stranger);
    EXPECT_EQ(captions(group), QStringList({"c", "a", "b"}));

    int mapped = 0;
    expectMapMatches(root(), root(), &mapped);
    EXPECT_EQ(mapped, 4);
}

TEST_F(ModelItemTest, ARowlessChildKeepsTheRowsOfItsSiblingsInPlace)
{
    TestItem* group = root()->addTopLevel(QStringLiteral("group"));
    TestItem* a = TestItem::attachedTo(group, QStringLiteral("a"));
    auto rowless = new ModelItem(static_cast<ModelItem*>(nullptr));
    rowless->setParent(group);
    group->attachChildAtBack(rowless);
    TestItem* b = TestItem::attachedTo(group, QStringLiteral("b"));

    group->detachChild(a);
    group->attachChildAt(a, 2);
    EXPECT_EQ(group->childItems(), (std::vector<ModelItem*>{rowless, b, a}));
    EXPECT_EQ(rowTexts(group->browserItem()), QStringList({"b", "a"}));
}

TEST_F(ModelItemTest, DeletingAnItemWithChildrenLeavesNoRowAndNoMapEntry)
{
    TestItem* group = root()->addTopLevel(QStringLiteral("group"));
    TestItem* keep = TestItem::attachedTo(group, QStringLiteral("keep"));
    TestItem* doomed = TestItem::attachedTo(group, QStringLiteral("doomed"));
    TestItem* child = TestItem::attachedTo(doomed, QStringLiteral("child"));
    TestItem::attachedTo(child, QStringLiteral("grandchild"));
    std::vector<QStandardItem*> rows{doomed->browserItem(), child->browserItem(),
                                     child->childItems()[0]->browserItem()};
    QSignalSpy destroyed(child, &QObject::destroyed);

    group->deleteChild(doomed);

    EXPECT_EQ(destroyed.count(), 1);
    EXPECT_EQ(captions(group), QStringList({"keep"}));
    EXPECT_EQ(rowTexts(group->browserItem()), QStringList({"keep"}));
    for (QStandardItem* row : rows) {
        EXPECT_EQ(root()->fromBrowserItem(row), nullptr);
    }
    EXPECT_EQ(root()->fromBrowserItem(keep->browserItem()), keep);

    // Deleting an attached item directly takes its row out as well.
    delete keep;
    EXPECT_TRUE(group->childItems().empty());
    EXPECT_EQ(group->browserItem()->rowCount(), 0);
    // And a top-level one leaves the item model.
    delete group;
    EXPECT_EQ(m_project->model()->standardItemModel()->rowCount(), 0);
    EXPECT_TRUE(root()->childItems().empty());
}

TEST_F(ModelItemTest, StateAttributesRoundTripAndMissingOnesUncheck)
{
    TestItem* group = root()->addTopLevel(QStringLiteral("group"));
    TestItem* off = TestItem::attachedTo(group, QStringLiteral("off"));
    TestItem* on = TestItem::attachedTo(group, QStringLiteral("on"));
    off->setUnchecked();
    ASSERT_TRUE(m_project->mainfile()->save());
    off->setChecked();
    m_project->load();
    EXPECT_FALSE(off->isChecked());
    EXPECT_TRUE(on->isChecked());

    QDomDocument document;
    ASSERT_TRUE(document.setContent(QByteArray("<Item/>")));
    on->loadFromProjectMainFile(document.documentElement());
    EXPECT_FALSE(on->isChecked());
}

// Reading the tree fills rows in (their text, their check state): no edits of the user's,
// and a controller built for them would have started from an item not read yet. An edit of
// the row once the tree is read reaches the controller.
TEST_F(ModelItemTest, LoadingBuildsNoControllerAndARowEditAfterwardsReachesIt)
{
    TestItem* group = root()->addTopLevel(QStringLiteral("group"));
    TestItem::attachedTo(group, QStringLiteral("off"))->setUnchecked();
    ASSERT_TRUE(m_project->mainfile()->save());

    // The tree as a new window makes it: the same items, checked, none with a controller.
    delete group;
    group = root()->addTopLevel(QStringLiteral("group"));
    TestItem* off = TestItem::attachedTo(group, QStringLiteral("off"));
    int built = 0;
    int changes = 0;
    for (TestItem* item : {group, off}) {
        item->makeController = [&](const TestItem* of) {
            ++built;
            return new RowWatcher(of, &changes);
        };
        item->onLoad = [item](const QDomElement& element) {
            item->browserItem()->setText(element.attribute(QStringLiteral("caption")) + " (read)");
        };
    }
    m_project->load();
    EXPECT_FALSE(off->isChecked());
    EXPECT_EQ(off->caption(), "off (read)");
    EXPECT_EQ(group->caption(), "group (read)");
    EXPECT_EQ(built, 0);
    EXPECT_EQ(off->builtController(), nullptr);

    off->browserItem()->setText(QStringLiteral("renamed"));
    off->setChecked();
    EXPECT_EQ(built, 1);
    EXPECT_EQ(changes, 2);
    EXPECT_NE(off->builtController(), nullptr);
}
