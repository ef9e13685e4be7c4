// Item views: the painting walk, preparing and discarding caches, and how a controller's
// selection helpers put their view helpers into the item view's list.

#include "BraskTestSupport.h"

#include "brask/core/ModelItemControllerT.h"
#include "brask/util/MainViewHelperI.h"
#include "brask/util/MainViewSelectionHelperT.h"

#include <QPainter>
#include <QPixmap>
#include <gtest/gtest.h>

using namespace brasktest;
using mvc::core::ModelItem;
using mvc::core::ModelItemView;

namespace {

// Writes what it does into a shared log.
class LoggingView : public ModelItemView {
public:
    LoggingView(const ModelItem* item, QStringList* log, bool prepares = true)
        : ModelItemView(item), m_log(log), m_prepares(prepares)
    {
    }

protected:
    void doPaintMainView(QPainter*, const QTransform&, const QRectF&) const override
    {
        *m_log << QStringLiteral("paint ") + item()->caption();
    }

private:
    void doDiscardPaintCache() override
    {
        *m_log << QStringLiteral("discard ") + item()->caption();
    }
    bool doPreparePaintMainView(const QTransform&, const QRectF&) override
    {
        *m_log << QStringLiteral("prepare ") + item()->caption();
        return m_prepares;
    }

    QStringList* m_log;
    bool m_prepares;
};

class ItemViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_model = std::make_unique<TestModel>();
        m_group = logged(m_model->root()->addTopLevel(QStringLiteral("group")));
        for (const char* name : {"first", "second", "third"}) {
            logged(TestItem::attachedTo(m_group, QString::fromLatin1(name)));
        }
    }
    TestItem* logged(TestItem* item, bool prepares = true)
    {
        item->makeView = [this, prepares](const TestItem* i) {
            return new LoggingView(i, &m_log, prepares);
        };
        return item;
    }
    void paint()
    {
        QPixmap pixmap(10, 10);
        QPainter painter(&pixmap);
        m_model->paintMainView(&painter, QTransform(), QRectF(0, 0, 10, 10));
    }

    QStringList m_log;
    std::unique_ptr<TestModel> m_model;
    TestItem* m_group = nullptr;
};

} // namespace

TEST_F(ItemViewTest, AnItemPaintsBeforeItsChildrenInReverseOrder)
{
    paint();
    EXPECT_EQ(m_log, QStringList({"paint group", "paint third", "paint second", "paint first"}));
}

TEST_F(ItemViewTest, AnUncheckedItemHidesItsCheckedChildren)
{
    m_group->childItems()[1]->setUnchecked();
    paint();
    EXPECT_EQ(m_log, QStringList({"paint group", "paint third", "paint first"}));
    m_log.clear();
    m_group->setUnchecked();
    paint();
    EXPECT_TRUE(m_log.isEmpty());
}

TEST_F(ItemViewTest, PreparingStopsAtTheFirstFailureAndDiscardingReachesEveryone)
{
    auto failing = static_cast<TestItem*>(m_group->childItems()[1]);
    logged(TestItem::attachedTo(failing, QStringLiteral("inner")), false);
    EXPECT_FALSE(m_model->preparePaintMainView(QTransform(), QRectF()));
    EXPECT_EQ(m_log, QStringList({"prepare group", "prepare third", "prepare second",
                                  "prepare inner"}));
    m_log.clear();
    m_model->rootItem()->view()->discardPaintCache();
    EXPECT_EQ(m_log, QStringList({"discard group", "discard first", "discard second",
                                  "discard inner", "discard third"}));
}

namespace {

class Marker : public mvc::util::MainViewHelperI {
public:
    Marker() : MainViewHelperI(nullptr) {}
    void paintView(QPainter*, const QTransform&, const QRectF&) override {}
};

class ModeController;

// A mode of ModeController: a key press switches to a new mode with fresh markers, any
// other key press stays.
class Mode : public mvc::util::MainViewSelectionHelperT<ModeController> {
public:
    Mode(ModeController* controller, int markers)
        : MainViewSelectionHelperT(controller)
    {
        for (int i = 0; i < markers; ++i) {
            viewHelpers().push_back(std::make_unique<Marker>());
        }
    }
    guimisc::helper::SelectionHelper* keyPressEvent(QKeyEvent*, mvc::core::View*) override
    {
        if (foreignDeleted) {
            return new Foreign(foreignDeleted);
        }
        return switches ? new Mode(controller(), 1) : this;
    }
    bool switches = true;

    // A helper of another view's kind, which a controller cannot install; it notes its end.
    struct Foreign : guimisc::helper::SelectionHelper {
        explicit Foreign(bool* deleted) : deleted(deleted) {}
        ~Foreign() override { *deleted = true; }
        bool* deleted;
    };
    bool* foreignDeleted = nullptr;
};

class ModeController : public mvc::core::ModelItemControllerT<TestItem> {
public:
    explicit ModeController(const TestItem* item)
        : ModelItemControllerT(item, nullptr)
    {
        updateSelectionHelper(new Mode(this, 2));
    }
};

} // namespace

TEST_F(ItemViewTest, ANewHelperSwapsTheViewHelpersAndTheSameHelperChangesNothing)
{
    TestItem* item = static_cast<TestItem*>(m_group->childItems()[0]);
    item->makeController = [](const TestItem* i) { return new ModeController(i); };
    auto controller = static_cast<ModeController*>(item->controller());
    auto& painted = item->view()->viewHelpers();
    Marker foreign;
    auto first = static_cast<Mode*>(controller->selectionHelper());
    ASSERT_EQ(painted.size(), 2u);
    // A helper from elsewhere stays in its place when the mode changes.
    painted.insert(painted.begin() + 1, &foreign);
    EXPECT_EQ(first->view(), nullptr) << "a model without main view";

    first->switches = false;
    controller->keyPressEvent(nullptr, nullptr);
    EXPECT_EQ(controller->selectionHelper(), first);
    EXPECT_EQ(painted.size(), 3u);

    // A helper of another kind is dropped, not installed and not leaked.
    bool foreignDeleted = false;
    first->foreignDeleted = &foreignDeleted;
    controller->keyPressEvent(nullptr, nullptr);
    EXPECT_TRUE(foreignDeleted);
    EXPECT_EQ(controller->selectionHelper(), first);
    EXPECT_EQ(painted.size(), 3u);
    first->foreignDeleted = nullptr;

    first->switches = true;
    controller->keyPressEvent(nullptr, nullptr);
    auto second = static_cast<Mode*>(controller->selectionHelper());
    ASSERT_NE(second, first);
    ASSERT_EQ(painted.size(), 2u);
    EXPECT_EQ(painted[0], &foreign);
    EXPECT_EQ(painted[1], second->viewHelpers()[0].get());
    EXPECT_EQ(second->controller(), controller);
}
