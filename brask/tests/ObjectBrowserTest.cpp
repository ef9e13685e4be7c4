// The object browser: selection signals, the item actions bound to the selected item, the
// right-click menu, and the dock that owns its view.

#include "BraskTestSupport.h"

#include "brask/core/DeleteMeCommand.h"
#include "brask/core/ModelItemControllerT.h"
#include "brask/core/ObjectBrowser.h"
#include "brask/core/ObjectBrowserView.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

using namespace brasktest;
using mvc::core::ModelItem;
using mvc::core::ObjectBrowserView;

namespace {

class MenuController : public mvc::core::ModelItemControllerT<TestItem> {
public:
    MenuController(const TestItem* item, QStringList entries, bool hasDialog)
        : ModelItemControllerT(item), m_entries(std::move(entries)), m_hasDialog(hasDialog)
    {
    }
    void addCustomMenuItems(QMenu* menu) override
    {
        for (const QString& entry : m_entries) {
            if (entry == QLatin1String("-")) {
                menu->addSeparator();
            } else {
                menu->addAction(entry);
            }
        }
    }
    QDialog* propertyDialog(QWidget* parent) override
    {
        return m_hasDialog ? new QDialog(parent) : nullptr;
    }

private:
    QStringList m_entries;
    bool m_hasDialog;
};

class BrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_browser = new ObjectBrowserView(&m_window);
        m_window.setCentralWidget(m_browser);
        m_window.resize(300, 400);
        m_model = std::make_unique<TestModel>(m_browser, nullptr, &m_window);
        m_top = m_model->root()->addTopLevel(QStringLiteral("top"));
        m_group = TestItem::attachedTo(m_top, QStringLiteral("group"));
        for (const char* name : {"a", "b", "c"}) {
            TestItem::attachedTo(m_group, QString::fromLatin1(name));
        }
        m_browser->expandAll();
    }
    void TearDown() override { m_model.reset(); }

    ModelItem* child(int i) const { return m_group->childItems()[i]; }
    QModelIndex indexOf(ModelItem* item) const { return item->browserItem()->index(); }

    // The entries of the browser's menu after a right press on the item's row; "-" for a
    // separator.
    QStringList menuAfterRightPress(ModelItem* item)
    {
        m_window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_window));
        const QRect rect = m_browser->visualRect(indexOf(item));
        const QPoint inWindow =
            m_browser->viewport()->mapTo(&m_window, rect.center());
        QTest::mousePress(m_window.windowHandle(), Qt::RightButton, Qt::NoModifier, inWindow);
        QTest::mouseRelease(m_window.windowHandle(), Qt::RightButton, Qt::NoModifier, inWindow);
        QStringList entries;
        for (QAction* action : m_model->rightClickMenu()->actions()) {
            entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        m_model->rightClickMenu()->hide();
        return entries;
    }

    QMainWindow m_window;
    ObjectBrowserView* m_browser = nullptr;
    std::unique_ptr<TestModel> m_model;
    TestItem* m_top = nullptr;
    TestItem* m_group = nullptr;
};

} // namespace

TEST_F(BrowserTest, ChangingTheCurrentRowDeselectsSelectsAndTellsTheChange)
{
    QStringList log;
    QObject guard; // ends the connections before the log goes
    QObject::connect(m_browser, &ObjectBrowserView::itemDeselected, &guard,
                     [&](const QModelIndex& i) {
                         log << QStringLiteral("deselected ") + i.data().toString();
                     });
    QObject::connect(m_browser, &ObjectBrowserView::itemSelected, &guard,
                     [&](const QModelIndex& i) {
                         log << QStringLiteral("selected ") + i.data().toString();
                     });
    QObject::connect(m_browser, QOverload<>::of(&ObjectBrowserView::selectionChanged), &guard,
                     [&] { log << QStringLiteral("changed"); });

    m_model->select(child(0));
    log.clear();
    m_model->select(child(1));
    EXPECT_EQ(log, QStringList({"deselected a", "selected b", "changed"}));
    EXPECT_EQ(m_model->selectedItem(), child(1));
    EXPECT_TRUE(child(1)->controller()->isSelected());
    EXPECT_FALSE(child(0)->controller()->isSelected());

    log.clear();
    m_browser->selectionModel()->clearCurrentIndex();
    EXPECT_EQ(log, QStringList({"deselected b", "changed"}));
    EXPECT_EQ(m_model->selectedItem(), nullptr);
    EXPECT_FALSE(child(1)->controller()->isSelected());
}

TEST_F(BrowserTest, MoveActionsFollowThePlaceOfTheSelectedRow)
{
    m_model->select(child(0));
    EXPECT_FALSE(m_browser->moveUpAction()->isEnabled());
    EXPECT_TRUE(m_browser->moveDownAction()->isEnabled());
    m_model->select(child(1));
    EXPECT_TRUE(m_browser->moveUpAction()->isEnabled());
    m_model->select(child(2));
    EXPECT_FALSE(m_browser->moveDownAction()->isEnabled());

    // The actions drive the selected item's controller, and only it.
    m_model->select(child(1));
    m_browser->moveUpAction()->trigger();
    EXPECT_EQ(captions(m_group), QStringList({"b", "a", "c"}));
    EXPECT_EQ(m_model->selectedItem(), m_group->childItems()[0]) << "the moved item stays selected";
    EXPECT_FALSE(m_browser->moveUpAction()->isEnabled());
}

TEST_F(BrowserTest, RightClickMenuHoldsEntriesMovesDeleteAndPropertyWithCleanSeparators)
{
    auto setController = [](TestItem* item, QStringList entries, bool dialog) {
        item->makeController = [entries, dialog](const TestItem* i) {
            return new MenuController(i, entries, dialog);
        };
    };
    auto a = static_cast<TestItem*>(child(0));
    auto b = static_cast<TestItem*>(child(1));
    auto c = static_cast<TestItem*>(child(2));
    setController(a, {"Export", "-"}, true);
    setController(b, {}, false);
    setController(c, {"-", "Export", "-", "-", "Colour", "-"}, true);
    setController(m_group, {}, true);

    EXPECT_EQ(menuAfterRightPress(a),
              QStringList({"Export", "-", "Move up", "Move down", "-", "Delete", "-", "Property"}));
    EXPECT_EQ(menuAfterRightPress(b), QStringList({"Move up", "Move down", "-", "Delete"}));
    const QStringList forC = menuAfterRightPress(c);
    EXPECT_EQ(forC.front(), QStringLiteral("Export"));
    for (int i = 1; i < forC.size(); ++i) {
        EXPECT_FALSE(forC[i] == "-" && forC[i - 1] == "-") << forC.join(' ').toStdString();
    }
    EXPECT_EQ(forC.back(), QStringLiteral("Property"));
    // A top-level item, made with options 0, gets no entries at all.
    EXPECT_EQ(menuAfterRightPress(m_top), QStringList({}));
}

TEST_F(BrowserTest, ReplacingTheViewOfTheDockDeletesTheOldOne)
{
    class Dock : public mvc::core::ObjectBrowser {
    public:
        using ObjectBrowser::ObjectBrowser;
        using ObjectBrowser::setView;
    };
    Dock dock(nullptr);
    EXPECT_EQ(dock.windowTitle(), QStringLiteral("Object Browser"));
    EXPECT_FALSE(dock.features() & QDockWidget::DockWidgetFloatable);
    QPointer<ObjectBrowserView> first = new ObjectBrowserView;
    dock.setView(first);
    EXPECT_EQ(dock.widget(), first.data());
    auto second = new ObjectBrowserView;
    dock.setView(second);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(dock.view(), second);
}

TEST_F(BrowserTest, DeletingTheSelectedItemMovesTheSelectionOnAndUndoBringsItBack)
{
    m_model->select(child(1));
    ModelItem* b = child(1);
    mvc::core::DeleteMeCommand command(QStringLiteral("Delete"), b);
    command.redo();
    EXPECT_NE(m_model->selectedItem(), b);
    EXPECT_FALSE(b->controller()->isSelected());
    command.undo();
    EXPECT_EQ(captions(m_group), QStringList({"a", "b", "c"}));
    m_model->select(b);
    EXPECT_EQ(m_model->selectedItem(), b);
    // The tree goes while an item is selected.
    m_model->deleteRootItem();
    EXPECT_EQ(m_model->selectedItem(), nullptr);
    EXPECT_EQ(m_model->standardItemModel()->rowCount(), 0);
}

TEST_F(BrowserTest, AnItemDeletedWithItsGroupIsNoLongerSelectedNorReachedByTheActions)
{
    // Counts the property dialogs asked of it (and shows none).
    class Counting : public mvc::core::ModelItemControllerT<TestItem> {
    public:
        using ModelItemControllerT::ModelItemControllerT;
        QDialog* propertyDialog(QWidget*) override
        {
            ++asked;
            return nullptr;
        }
        int asked = 0;
    };
    auto b = static_cast<TestItem*>(child(1));
    b->makeController = [](const TestItem* i) { return new Counting(i); };
    auto counting = static_cast<Counting*>(b->controller());
    m_model->select(b);
    m_browser->propertyAction()->trigger();
    ASSERT_EQ(counting->asked, 1);

    mvc::core::DeleteMeCommand deleteGroup(QStringLiteral("Delete"), m_group);
    deleteGroup.redo();
    EXPECT_EQ(m_model->selectedItem(), nullptr);
    EXPECT_FALSE(b->controller()->isSelected());
    m_browser->propertyAction()->trigger();
    EXPECT_EQ(counting->asked, 1) << "Property reached the detached item";

    deleteGroup.undo();
    EXPECT_EQ(m_model->selectedItem(), nullptr);
    m_model->select(child(0));
    EXPECT_EQ(m_model->selectedItem(), child(0));
    EXPECT_FALSE(b->controller()->isSelected());
    m_browser->propertyAction()->trigger();
    EXPECT_EQ(counting->asked, 1);
    m_model->select(b);
    EXPECT_FALSE(child(0)->controller()->isSelected());
    m_browser->propertyAction()->trigger();
    EXPECT_EQ(counting->asked, 2) << "bound once, asked once";
}
