// The item tree: folders and files of items, contained files, bounding boxes, the
// ancestor check, moving and deleting with their rows and map entries.

#include "BraskTestSupport.h"

#include <QDir>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <stdexcept>

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

    // Joined as QDir joins them, whatever the slashes; an absolute file name stands alone.
    for (const char* sub : {"c", "c/", "c/d"}) {
        for (const char* name : {"x.bin", "/elsewhere/x.bin"}) {
            TestItem* item = TestItem::attachedTo(b, QStringLiteral("joined"));
            item->setSubPath(sub);
            item->setFilename(name);
            const QString folder = QString::fromStdString(item->relativeSubPath());
            const QString relative = QDir(folder).filePath(QString::fromLatin1(name));
            EXPECT_EQ(QString::fromStdString(item->relativeFilename()), relative) << sub << name;
            EXPECT_EQ(QString::fromStdString(item->absoluteFilename()),
                      QDir(m_project->workFolder()).absoluteFilePath(relative))
                << sub << name;
            item->setFilename(std::string()); // writes nothing when saved below
        }
    }
    // The paths of many children at once are those the children find one by one.
    const std::vector<std::string> names{"x.bin", "/elsewhere/x.bin", "", "sub/y.bin"};
    for (TestItem* parent : {b, a, root()->addTopLevel(QStringLiteral("top"))}) {
        const std::vector<std::string> paths = parent->childFilenames(names);
        ASSERT_EQ(paths.size(), names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            TestItem* child = TestItem::attachedTo(parent, QStringLiteral("child"));
            child->setFilename(names[i]);
            EXPECT_EQ(paths[i], child->absoluteFilename()) << names[i];
            child->setFilename(std::string());
        }
    }

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

// The rows of a block go in with one insertion, in the block's order, and leave in one pass;
// a subtree with rows of its own keeps them in the item model.
TEST_F(ModelItemTest, BlocksOfChildrenAttachAndDetachAsOneByOneWouldDoThem)
{
    TestItem* group = root()->addTopLevel(QStringLiteral("group"));
    TestItem* first = TestItem::attachedTo(group, QStringLiteral("first"));
    TestItem* last = TestItem::attachedTo(group, QStringLiteral("last"));
    std::vector<ModelItem*> block;
    for (const char* name : {"p", "q", "r"}) {
        auto item = new TestItem(QString::fromLatin1(name), nullptr);
        item->setParent(group);
        block.push_back(item);
    }
    TestItem* withChildren = static_cast<TestItem*>(block[1]);
    TestItem* grandchild = TestItem::attachedTo(withChildren, QStringLiteral("q1"));
    auto rowless = new ModelItem(static_cast<ModelItem*>(nullptr));
    rowless->setParent(group);
    block.insert(block.begin() + 2, rowless);

    QSignalSpy inserted(m_project->model()->standardItemModel(), &QAbstractItemModel::rowsInserted);
    group->attachChildrenAt(block, 1);
    EXPECT_EQ(captions(group), QStringList({"first", "p", "q", "", "r", "last"}));
    EXPECT_EQ(rowTexts(group->browserItem()), QStringList({"first", "p", "q", "r", "last"}));
    EXPECT_EQ(inserted.count(), 3) << "p; q alone, since it has rows of its own; r";
    EXPECT_EQ(grandchild->browserItem()->model(), m_project->model()->standardItemModel());
    EXPECT_EQ(root()->fromBrowserItem(grandchild->browserItem()), grandchild);
    int mapped = 0;
    expectMapMatches(root(), root(), &mapped);
    EXPECT_EQ(mapped, 7);

    // Nothing goes in when one of the block cannot: listed twice, attached already, no item.
    auto spare = new TestItem(QStringLiteral("spare"), nullptr);
    spare->setParent(group);
    EXPECT_THROW(group->attachChildrenAt({spare, spare}, 0), std::invalid_argument);
    EXPECT_THROW(group->attachChildrenAt({spare, first}, 0), std::invalid_argument);
    EXPECT_THROW(group->attachChildrenAt({spare, nullptr}, 0), std::invalid_argument);
    EXPECT_EQ(captions(group), QStringList({"first", "p", "q", "", "r", "last"}));
    EXPECT_FALSE(spare->browserItem()->parent());

    // Out again, strangers and repeats skipped; the rest keep their order.
    group->detachChildren({block[3], first, spare, block[0], withChildren, first});
    EXPECT_EQ(captions(group), QStringList({"", "last"}));
    EXPECT_EQ(rowTexts(group->browserItem()), QStringList({"last"}));
    EXPECT_TRUE(last->isAttachedToModel());
    for (ModelItem* gone : {static_cast<ModelItem*>(first), block[0], block[3]}) {
        EXPECT_FALSE(gone->isAttachedToModel());
        EXPECT_EQ(root()->fromBrowserItem(gone->browserItem()), nullptr);
        EXPECT_EQ(gone->browserItem()->model(), nullptr);
    }
    EXPECT_EQ(root()->fromBrowserItem(grandchild->browserItem()), nullptr);
    EXPECT_EQ(rowTexts(withChildren->browserItem()), QStringList({"q1"})) << "the rows go along";
    group->attachChildAtFront(withChildren);
    EXPECT_EQ(root()->fromBrowserItem(grandchild->browserItem()), grandchild);
}

// An independent oracle for the map: after every step of a random sequence of attaches,
// detaches, moves and deletions (single and in blocks, of subtrees attached or held outside),
// each row of an item that hangs from the root through the child lists maps to that item,
// every other row to nothing, and every item's rows read as its child list.
TEST_F(ModelItemTest, TheRowMapFollowsEveryChangeOfTheTree)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const auto pick = [&random](std::size_t n) {
            return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
        };
        TestItem* top = root()->addTopLevel(QStringLiteral("top %1").arg(seed));
        std::vector<ModelItem*> alive{top};
        // The test's own record of who lists whom, kept beside the tree's.
        std::map<const ModelItem*, const ModelItem*> listedBy{{top, root()}};
        int made = 0;
        const auto held = [&] {
            std::vector<ModelItem*> items;
            for (ModelItem* item : alive) {
                if (!listedBy.count(item)) {
                    items.push_back(item);
                }
            }
            return items;
        };
        // Whether `other` lies in the subtree of `item` (`item` itself included).
        const auto within = [&](const ModelItem* item, const ModelItem* other) {
            for (const ModelItem* up = other; up;) {
                if (up == item) {
                    return true;
                }
                const auto it = listedBy.find(up);
                up = it == listedBy.end() ? nullptr : it->second;
            }
            return false;
        };
        // Whether `item` owns `other` through Qt parents (`item` itself included).
        const auto owns = [](const ModelItem* item, const ModelItem* other) {
            for (const QObject* up = other; up; up = up->parent()) {
                if (up == item) {
                    return true;
                }
            }
            return false;
        };
        for (int step = 0; step < 200; ++step) {
            const int what = static_cast<int>(pick(7));
            std::vector<ModelItem*> outside = held();
            if (what == 0 || outside.empty()) {
                auto item = new TestItem(QStringLiteral("i%1").arg(++made), nullptr);
                item->setParent(top);
                alive.push_back(item);
            } else if (what <= 2) {
                std::shuffle(outside.begin(), outside.end(), random);
                const std::size_t count = what == 1 ? 1 : 1 + pick(std::min<std::size_t>(4, outside.size()));
                const std::vector<ModelItem*> block(outside.begin(), outside.begin() + static_cast<long>(count));
                ModelItem* parent = alive[pick(alive.size())];
                if (std::any_of(block.begin(), block.end(), [&](const ModelItem* b) {
                        return within(b, parent) || owns(b, parent);
                    })) {
                    continue;
                }
                // Owned by the item they hang from, as the program's items are.
                for (ModelItem* b : block) {
                    b->setParent(parent);
                }
                parent->attachChildrenAt(block, static_cast<int>(pick(parent->childItems().size() + 1)));
                for (const ModelItem* b : block) {
                    listedBy[b] = parent;
                }
            } else if (what <= 4) {
                ModelItem* parent = alive[pick(alive.size())];
                const std::vector<ModelItem*> children = parent->childItems();
                if (children.empty()) {
                    continue;
                }
                std::vector<ModelItem*> leaving;
                const std::size_t count = what == 3 ? 1 : 1 + pick(children.size());
                for (std::size_t k = 0; k < count; ++k) {
                    leaving.push_back(children[pick(children.size())]);
                }
                parent->detachChildren(leaving);
                for (const ModelItem* gone : leaving) {
                    listedBy.erase(gone);
                }
            } else if (what == 5) {
                ModelItem* parent = alive[pick(alive.size())];
                if (!parent->childItems().empty()) {
                    ModelItem* child = parent->childItems()[pick(parent->childItems().size())];
                    if (pick(2)) {
                        parent->moveUpChild(child);
                    } else {
                        parent->moveDownChild(child);
                    }
                }
            } else {
                // A deletion takes along what the item owns: the listed subtree and the items
                // detached from it.
                ModelItem* doomed = alive[pick(alive.size())];
                if (doomed == top) {
                    continue;
                }
                std::vector<const ModelItem*> gone;
                for (const ModelItem* item : alive) {
                    if (owns(doomed, item)) {
                        gone.push_back(item);
                    }
                }
                const auto lister = listedBy.find(doomed);
                if (lister != listedBy.end() && pick(2)) {
                    const_cast<ModelItem*>(lister->second)->deleteChild(doomed);
                } else {
                    delete doomed;
                }
                const auto isGone = [&](const ModelItem* i) {
                    return std::find(gone.begin(), gone.end(), i) != gone.end();
                };
                alive.erase(std::remove_if(alive.begin(), alive.end(), isGone), alive.end());
                for (const ModelItem* item : gone) {
                    listedBy.erase(item);
                }
            }
            for (const ModelItem* item : alive) {
                const bool inTree = within(root(), item);
                ASSERT_EQ(root()->fromBrowserItem(item->browserItem()), inTree ? item : nullptr)
                    << item->caption().toStdString() << " at step " << step;
                QStringList listed;
                for (const ModelItem* child : item->childItems()) {
                    listed << child->caption();
                    ASSERT_TRUE(listedBy.count(child) && listedBy.at(child) == item);
                }
                ASSERT_EQ(rowTexts(item->browserItem()), listed)
                    << item->caption().toStdString() << " at step " << step;
            }
        }
        root()->deleteChild(top);
    }
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

// A parent that goes takes every child with it whatever order they came in (at the back, at
// the front, rowless, with children of their own), and leaves no row, no map entry and no
// child alive; what the model shows besides it stays as it was.
TEST_F(ModelItemTest, DeletingAParentDeletesChildrenOfEveryKindOnceAndLeavesNoTrace)
{
    TestItem* keep = root()->addTopLevel(QStringLiteral("keep"));
    TestItem::attachedTo(keep, QStringLiteral("kept child"));
    TestItem* group = root()->addTopLevel(QStringLiteral("group"));
    std::vector<ModelItem*> children;
    std::mt19937 random(59);
    for (int i = 0; i < 60; ++i) {
        ModelItem* child = nullptr;
        switch (random() % 4) {
        case 0:
            child = TestItem::attachedTo(group, QStringLiteral("back %1").arg(i));
            break;
        case 1: {
            auto front = new TestItem(QStringLiteral("front %1").arg(i), nullptr);
            front->setParent(group);
            group->attachChildAtFront(front);
            child = front;
            break;
        }
        case 2: {
            auto rowless = new ModelItem(static_cast<ModelItem*>(nullptr));
            rowless->setParent(group);
            group->attachChildAt(rowless, static_cast<int>(random() % (children.size() + 1)));
            child = rowless;
            break;
        }
        default: {
            TestItem* parent = TestItem::attachedTo(group, QStringLiteral("parent %1").arg(i));
            TestItem::attachedTo(TestItem::attachedTo(parent, QStringLiteral("c")),
                                 QStringLiteral("gc"));
            child = parent;
        }
        }
        children.push_back(child);
    }
    // A detached child still hangs by its Qt parent and goes too.
    ModelItem* held = children[7];
    group->detachChild(held);

    std::vector<QStandardItem*> rows;
    std::function<void(ModelItem*)> collect = [&](ModelItem* item) {
        if (item->browserItem()) {
            rows.push_back(item->browserItem());
        }
        for (ModelItem* child : item->childItems()) {
            collect(child);
        }
    };
    collect(group);
    int alive = 0;
    for (ModelItem* child : children) {
        ++alive;
        QObject::connect(child, &QObject::destroyed, [&alive] { --alive; });
    }

    delete group;

    EXPECT_EQ(alive, 0);
    for (QStandardItem* row : rows) {
        EXPECT_EQ(root()->fromBrowserItem(row), nullptr);
    }
    EXPECT_EQ(captions(root()), QStringList({"keep"}));
    ASSERT_EQ(m_project->model()->standardItemModel()->rowCount(), 1);
    EXPECT_EQ(m_project->model()->standardItemModel()->item(0), keep->browserItem());
    EXPECT_EQ(rowTexts(keep->browserItem()), QStringList({"kept child"}));
    int mapped = 0;
    expectMapMatches(root(), root(), &mapped);
    EXPECT_EQ(mapped, 2);
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
