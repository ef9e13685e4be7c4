// Project windows and their items, the MDI area's look-ups, the window interfaces as Qt
// sees them, and the view settings in XML.

#include "brask/core/ObjectBrowser.h"
#include "brask/core/View.h"
#include "brask/proj/ProjectFile.h"
#include "brask/window/ProjectMdiArea.h"
#include "brask/window/ProjectWindow.h"
#include "brask/window/ProjectWindowItem.h"
#include "brask/window/WindowProvidingOperationToolBarI.h"
#include "brask/window/WindowWithQDockWidgetI.h"
#include "brask/window/WindowWithViewI.h"
#include "brask/xml/ViewSettingContainer.h"

#include <QDomDocument>
#include <QMdiSubWindow>
#include <QPointer>
#include <QToolBar>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using mvc::window::ProjectMdiArea;
using mvc::window::ProjectWindow;
using mvc::window::ProjectWindowItem;

namespace {

class TestWindowItem : public ProjectWindowItem {
public:
    TestWindowItem(ProjectWindow* window, mvc::proj::ProjectItem* parent)
        : ProjectWindowItem(window, parent)
    {
    }
};

// A project window as the application builds one: the item first, then the window, which
// implements the three window interfaces.
class TestWindow : public ProjectWindow,
                   public mvc::window::WindowProvidingOperationToolBarI,
                   public mvc::window::WindowWithViewI,
                   public mvc::window::WindowWithQDockWidgetI<mvc::core::ObjectBrowser> {
    Q_OBJECT
    Q_INTERFACES(mvc::window::WindowProvidingOperationToolBarI mvc::window::WindowWithViewI
                     mvc::window::WindowWithObjectBrowserI)
public:
    explicit TestWindow(mvc::proj::ProjectItem* file, QWidget* parent = nullptr)
        : ProjectWindow(new TestWindowItem(this, file), parent)
    {
        setDockWidgetFunction([this] { return m_browser; });
        m_view = new mvc::core::View(this);
        m_browser = new mvc::core::ObjectBrowser(this);
        m_toolBar = new QToolBar(this);
    }

    std::string windowIdPrefix() const override { return "testWindow"; }
    QToolBar* operationToolBar() const override { return m_toolBar; }
    mvc::core::View* view() const override { return m_view; }

private:
    mvc::core::View* m_view;
    mvc::core::ObjectBrowser* m_browser;
    QToolBar* m_toolBar;
};

} // namespace

TEST(ProjectWindow, IdsAndInterfacesFoundThroughQt)
{
    mvc::proj::ProjectFile file(nullptr);
    TestWindow window(&file);
    EXPECT_EQ(window.generateWindowId(3), "testWindow3");
    EXPECT_EQ(window.windowId(), "");
    window.setWindowId(window.generateWindowId(12));
    EXPECT_EQ(window.windowId(), "testWindow12");
    ASSERT_NE(window.windowItem(), nullptr);
    EXPECT_EQ(window.windowItem()->window(), &window);
    EXPECT_EQ(window.windowItem()->parent(), &file);

    QObject* object = &window;
    auto withView = qobject_cast<mvc::window::WindowWithViewI*>(object);
    auto withToolBar = qobject_cast<mvc::window::WindowProvidingOperationToolBarI*>(object);
    auto withDock =
        qobject_cast<mvc::window::WindowWithQDockWidgetI<mvc::core::ObjectBrowser>*>(object);
    ASSERT_TRUE(withView && withToolBar && withDock);
    EXPECT_EQ(withView->view(), window.view());
    EXPECT_EQ(withToolBar->operationToolBar(), window.operationToolBar());
    EXPECT_EQ(withDock->dockWidget(), window.findChild<mvc::core::ObjectBrowser*>());
}

TEST(ProjectWindow, WindowAndProjectFileGoInEitherOrderWithoutDoubleDelete)
{
    {
        auto file = std::make_unique<mvc::proj::ProjectFile>(nullptr);
        auto window = std::make_unique<TestWindow>(file.get());
        QPointer<ProjectWindowItem> item = window->windowItem();
        file.reset();
        EXPECT_TRUE(item.isNull());
        EXPECT_EQ(window->windowItem(), nullptr);
        window.reset();
    }
    {
        auto file = std::make_unique<mvc::proj::ProjectFile>(nullptr);
        auto window = std::make_unique<TestWindow>(file.get());
        QPointer<ProjectWindowItem> item = window->windowItem();
        window.reset();
        EXPECT_TRUE(item.isNull());
        EXPECT_TRUE(file->children().isEmpty());
    }
}

TEST(ProjectMdiArea, LookUpsSkipPlainSubWindowsThatClosingStillCloses)
{
    mvc::proj::ProjectFile file(nullptr);
    ProjectMdiArea area(nullptr);
    auto first = new TestWindow(&file);
    auto plain = new QWidget;
    auto second = new TestWindow(&file);
    first->setWindowId("shared");
    second->setWindowId("shared");
    QPointer<QMdiSubWindow> subs[] = {area.addSubWindow(first), area.addSubWindow(plain),
                                      area.addSubWindow(second)};
    QPointer<QWidget> contents[] = {first, plain, second};

    EXPECT_EQ(area.allSubWindows(), (std::vector<ProjectWindow*>{first, second}));
    EXPECT_EQ(area.findByWindowId("shared"), first);
    EXPECT_EQ(area.findByWindowId("shared "), nullptr);
    EXPECT_EQ(area.findByWindowId(""), nullptr);
    second->setWindowId("other");
    EXPECT_EQ(area.findByWindowId("other"), second);

    area.closeAllSubWindows();
    EXPECT_TRUE(area.subWindowList().isEmpty());
    for (const auto& sub : subs) {
        EXPECT_TRUE(sub.isNull());
    }
    for (const auto& content : contents) {
        EXPECT_TRUE(content.isNull());
    }
    EXPECT_TRUE(file.children().isEmpty());
    EXPECT_TRUE(area.allSubWindows().empty());
}

// --- view settings ----------------------------------------------------------------------

namespace {

QString saveSettings(const mvc::core::View& view)
{
    QString text;
    QXmlStreamWriter writer(&text);
    writer.writeStartElement("View");
    mvc::xml::ViewSettingContainer(const_cast<mvc::core::View*>(&view)).save(&writer);
    writer.writeEndElement();
    return text;
}

QDomElement element(const QString& text)
{
    static QDomDocument document; // keeps the element's nodes alive
    document.setContent(text);
    return document.documentElement();
}

} // namespace

TEST(ViewSettingContainer, RoundTripsExactlyInAttributeOrderAndDefaultsWithoutTouchingTheOrigin)
{
    mvc::core::View source;
    source.setCenterPoint(QPointF(123456.789012345, -0.1));
    source.setScale(1.0 / 3.0);
    source.setAngleDegree(-37.5);
    const QString text = saveSettings(source);

    QXmlStreamReader reader(text);
    reader.readNextStartElement();
    QStringList names;
    for (const QXmlStreamAttribute& attribute : reader.attributes()) {
        names << attribute.name().toString();
    }
    EXPECT_EQ(names, (QStringList{"centerX", "centerY", "scale", "angle"}));

    mvc::core::View target;
    target.resize(400, 200);
    target.fit(QRectF(1000, 2000, 40, 20));
    const QPointF origin = target.localOrigin();
    mvc::xml::ViewSettingContainer container(&target);
    container.load(element(text));
    EXPECT_EQ(target.centerPoint(), source.centerPoint());
    EXPECT_EQ(target.scale(), source.scale());
    EXPECT_EQ(target.angleDegree(), source.angleDegree());
    EXPECT_EQ(target.localOrigin(), origin);

    container.load(element("<View/>"));
    EXPECT_EQ(target.centerPoint(), QPointF(0, 0));
    EXPECT_EQ(target.scale(), 1.0);
    EXPECT_EQ(target.angleDegree(), 0.0);
    EXPECT_EQ(target.localOrigin(), origin);

    // Numbers a view cannot take read as the defaults.
    target.setScale(5.0);
    container.load(element(R"(<View centerX="nan" centerY="inf" scale="0" angle="-inf"/>)"));
    EXPECT_EQ(target.centerPoint(), QPointF(0, 0));
    EXPECT_EQ(target.scale(), 1.0);
    EXPECT_EQ(target.angleDegree(), 0.0);
}

#include "ProjectWindowTest.moc"
