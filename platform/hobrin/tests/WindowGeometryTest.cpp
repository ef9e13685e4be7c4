// Window geometry in the project file and the window configuration manager.
#include "guimisc/WindowConfigurationManager.h"
#include "guimisc/xml/WindowGeometryContainer.h"

#include <QBuffer>
#include <QDomDocument>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QXmlStreamWriter>
#include <gtest/gtest.h>

#include <memory>

using guimisc::xml::WindowGeometryContainer;

namespace {

// A main window with an MDI area and one project window inside a sub-window.
struct Frame {
    Frame()
    {
        main.resize(1000, 800);
        main.setCentralWidget(area);
        sub = area->addSubWindow(content);
        main.show();
        sub->show();
        QTest::qWait(10);
    }
    QMainWindow main;
    QMdiArea* area = new QMdiArea;
    QMainWindow* content = new QMainWindow;
    QMdiSubWindow* sub = nullptr;
};

QDomElement save(const WindowGeometryContainer& container)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter writer(&buffer);
    writer.writeStartDocument();
    writer.writeStartElement("WindowGeometry");
    container.save(&writer);
    writer.writeEndElement();
    writer.writeEndDocument();
    QDomDocument document;
    EXPECT_TRUE(document.setContent(buffer.data()));
    return document.documentElement();
}

} // namespace

TEST(WindowGeometry, SubWindowGeometryAndMaximisedStateSurviveSaveAndLoad)
{
    QDomElement normal;
    QDomElement maximized;
    {
        Frame before;
        before.sub->setGeometry(40, 30, 420, 310);
        const WindowGeometryContainer geometry(before.content, false);
        normal = save(geometry);
        before.sub->showMaximized();
        QTest::qWait(10);
        maximized = save(geometry);
    }
    {
        Frame after;
        WindowGeometryContainer geometry(after.content, false);
        geometry.load(normal);
        EXPECT_EQ(after.sub->geometry(), QRect(40, 30, 420, 310));
        EXPECT_FALSE(after.sub->isMaximized());
        geometry.load(maximized);
        QTest::qWait(10);
        EXPECT_TRUE(after.sub->isMaximized());
        EXPECT_EQ(after.sub->size(), after.area->viewport()->size());
        geometry.load(normal);
        QTest::qWait(10);
        EXPECT_FALSE(after.sub->isMaximized());
        EXPECT_EQ(after.sub->geometry(), QRect(40, 30, 420, 310));
    }
}

TEST(WindowConfigurationManager, RestoresOnlyLostGeometryOfKnownWindows)
{
    Frame frame;
    guimisc::WindowConfigurationManager manager(&frame.main);
    frame.sub->setGeometry(10, 20, 300, 200);
    manager.init(frame.sub);

    frame.sub->setGeometry(70, 80, 250, 150); // the user or a project file moved it
    manager.restoreConfiguration(frame.sub);
    EXPECT_EQ(frame.sub->geometry(), QRect(70, 80, 250, 150));

    frame.sub->setGeometry(70, 80, 0, 0); // lost its size
    manager.restoreConfiguration(frame.sub);
    EXPECT_EQ(frame.sub->geometry(), QRect(10, 20, 300, 200));

    auto other = frame.area->addSubWindow(new QWidget);
    other->setGeometry(5, 5, 0, 0);
    manager.restoreConfiguration(other); // unknown: untouched
    EXPECT_EQ(other->geometry(), QRect(5, 5, 0, 0));
    delete frame.sub; // forgotten with the window
    manager.restoreConfiguration(nullptr);
}
