// The application part of "project.xml": the property with its coordinate system, the
// windows and the create-mode item tree, through the archive and back, and the cases a
// loader meets in files written by hand or by earlier versions.
#include "ProjectTestSupport.h"

#include "brask/core/View.h"
#include "brask/window/ProjectMdiArea.h"
#include "mirvel/EllipseToPlaneProjectionPairBuilder.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/ProjectProperty.h"
#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsGroupItem.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "proj/ProjectionPair.h"

#include "support/QtPrinters.h"
#include "support/ScratchSettings.h"

#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QStandardItem>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace varnel::test {
namespace {

const QString japanIX = QStringLiteral("EPSG:2451");

class ProjectFileTest : public ScratchSettingsTest {
protected:
    void SetUp() override { ScratchSettings::writeStartupDefaults(); }

    static CreateModeMainWindowModelRootItem* rootOf(CreateModeMainWindow* window)
    {
        return window->model()->rootItem();
    }
};

TEST_F(ProjectFileTest, RoundTripThroughTheArchiveKeepsProjectXml)
{
    QTemporaryDir outside;
    const QString archive = outside.filePath(QStringLiteral("river.cmvn"));

    ProjectSession first;
    Project& saved = first.newCreateProject();
    CreateModeMainWindow* window = first.createWindow();
    ASSERT_NE(window, nullptr);
    ProjectSession::subWindowOf(window)->show();
    proj::ProjectionPair* pair = first.mainWindow().projectionPairBuilder()->projectionPair(
        japanIX.toStdString());
    ASSERT_NE(pair, nullptr);
    saved.projectFile()->property()->setProjectionPair(pair);
    ASSERT_TRUE(saved.save());
    ASSERT_TRUE(saved.zipTo(archive));
    EXPECT_TRUE(archiveMembers(archive).contains(QStringLiteral("project.xml")));

    ProjectSession second;
    Project& loaded = second.newCreateProject();
    ASSERT_TRUE(loaded.unzipFrom(archive));
    loaded.load();
    ASSERT_NE(loaded.projectWindow(), nullptr);
    ProjectSession::subWindowOf(loaded.projectWindow())->show();
    ASSERT_TRUE(loaded.save());

    const XmlElement before = readXmlFile(first.projectXmlPath());
    const XmlElement after = readXmlFile(second.projectXmlPath());
    EXPECT_EQ(firstDifference(before, after), "");

    EXPECT_EQ(before.childNames(), QStringList({"Property", "Windows"}));
    EXPECT_EQ(before.child("Property").attributes.value("CSR"), japanIX);
    const XmlElement& windows = before.child("Windows");
    ASSERT_EQ(windows.childNames(), QStringList({"Window"}));
    const XmlElement& saveWindow = windows.child("Window");
    EXPECT_EQ(saveWindow.attributes.value("name"), "createMainWindow");
    EXPECT_EQ(saveWindow.childNames(), QStringList({"WindowGeometry", "View", "DataModel"}));
    EXPECT_EQ(saveWindow.child("DataModel").childNames(),
              QStringList({"CoordinatePoints", "CoordinatePointsForTin", "Tin",
                           "BackgroundImageGroup"}));
    for (const char* key : {"centerX", "centerY", "scale", "angle"}) {
        EXPECT_TRUE(saveWindow.child("View").attributes.contains(key)) << key;
    }
    // Shown, the window fitted its view: not the view's initial scale.
    EXPECT_NE(saveWindow.child("View").attributes.value("scale"), "1");

    // The second main window has a catalogue of its own: the same system, another object.
    const proj::ProjectionPair* reloaded = loaded.projectFile()->property()->projectionPair();
    ASSERT_NE(reloaded, nullptr);
    EXPECT_EQ(reloaded, second.mainWindow().projectionPairBuilder()->projectionPair(
                            japanIX.toStdString()));
    EXPECT_EQ(reloaded->caption(), pair->caption());
}

TEST_F(ProjectFileTest, PropertyIsWrittenBareWithoutSystemAndKeepsUnknownNames)
{
    ProjectSession session;
    Project& project = session.newCreateProject();
    session.createWindow();
    ASSERT_TRUE(project.save());
    XmlElement written = readXmlFile(session.projectXmlPath());
    EXPECT_TRUE(written.child("Property").attributes.isEmpty());

    // A system of another edition of the EPSG list: no system here, but written back.
    session.newCreateProject();
    session.writeProjectXml(QStringLiteral("<Property CSR=\"EPSG:99999\"/><Windows/>"));
    session.project()->load();
    ProjectProperty* property = session.project()->projectFile()->property();
    EXPECT_EQ(property->projectionPair(), nullptr);
    ASSERT_TRUE(session.project()->save());
    written = readXmlFile(session.projectXmlPath());
    EXPECT_EQ(written.child("Property").attributes,
              (QMap<QString, QString>{{"CSR", "EPSG:99999"}}));

    // A choice replaces it, "none" included.
    property->setProjectionPair(nullptr);
    ASSERT_TRUE(session.project()->save());
    EXPECT_TRUE(readXmlFile(session.projectXmlPath()).child("Property").attributes.isEmpty());

    // An empty or missing attribute leaves the system as it was.
    session.newCreateProject();
    session.writeProjectXml(QStringLiteral("<Property CSR=\"\"/>"));
    session.project()->load();
    EXPECT_EQ(session.project()->projectFile()->property()->projectionPair(), nullptr);
    EXPECT_EQ(session.project()->projectFile()->property()->projectionPairName(), "");
}

TEST_F(ProjectFileTest, WithoutWindowsNoProjectWindowIsRestored)
{
    ProjectSession session;
    Project& project = session.newCreateProject();
    session.writeProjectXml(QStringLiteral("<Property/>"));
    project.load();
    EXPECT_EQ(project.projectWindow(), nullptr);
    EXPECT_EQ(project.projectWindow(), nullptr);
    EXPECT_TRUE(session.mainWindow().mdiArea()->subWindowList().isEmpty());

    // Nothing is cached while there is no window: one made later is found.
    CreateModeMainWindow* window = session.createWindow();
    EXPECT_EQ(project.projectWindow(), window);
}

TEST_F(ProjectFileTest, WindowsAreRestoredInDocumentOrderWhateverTheirTags)
{
    ProjectSession session;
    Project& project = session.newCreateProject();
    session.writeProjectXml(QStringLiteral(
        "<Windows>"
        "<Window name=\"createMainWindow\"><View angle=\"10\"/></Window>"
        "<!-- a comment restores nothing -->"
        "<Window name=\"noSuchWindow\"><View angle=\"99\"/></Window>"
        "<Window><View angle=\"98\"/></Window>"
        "<Other name=\"createMainWindow\"><View angle=\"20\"/></Other>"
        "</Windows>"));
    project.load();
    const std::vector<CreateModeMainWindow*> windows = session.createModeWindows();
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_DOUBLE_EQ(windows[0]->view()->angleDegree(), 10.0);
    EXPECT_DOUBLE_EQ(windows[1]->view()->angleDegree(), 20.0);
    EXPECT_EQ(project.projectWindow(), windows[0]);

    // Every restored window is written back, in the area's order.
    ASSERT_TRUE(project.save());
    const XmlElement written = readXmlFile(session.projectXmlPath());
    EXPECT_EQ(written.child("Windows").childNames(), QStringList({"Window", "Window"}));
}

TEST_F(ProjectFileTest, ElementsOfTheItemTreeLoadWhenPresent)
{
    // checkState 0 unchecks, 2 checks; a missing attribute unchecks; a missing element
    // leaves the item as made (checked).
    const auto load = [](ProjectSession& session, const QString& dataModel) {
        session.newCreateProject();
        // The points for the TIN always come with their point file: an empty one is no points.
        QDir(session.project()->workFolder()).mkdir(QStringLiteral("coordinatePointsForTin"));
        QFile(session.project()->absoluteFileName(
                  QStringLiteral("coordinatePointsForTin/coordinatePointsForTin.tpobin")))
            .open(QIODevice::WriteOnly);
        session.writeProjectXml(
            QStringLiteral("<Windows><Window name=\"createMainWindow\"><DataModel>%1"
                           "</DataModel></Window></Windows>")
                .arg(dataModel));
        session.project()->load();
        return session.createModeWindows().at(0)->model()->rootItem();
    };
    const auto checked = [](const mvc::core::ModelItem* item) {
        return item->browserItem()->checkState() == Qt::Checked;
    };
    ProjectSession session;

    {
        SCOPED_TRACE("only the name of earlier versions");
        auto root = load(session, QStringLiteral("<BackgroundImages checkState=\"0\"/>"));
        EXPECT_FALSE(checked(root->backgroundImageGroupItem()));
        EXPECT_TRUE(checked(root->tinItem()));
    }
    for (const QString& both :
         {QStringLiteral("<BackgroundImageGroup checkState=\"2\"/>"
                         "<BackgroundImages checkState=\"0\"/>"),
          QStringLiteral("<BackgroundImages checkState=\"0\"/>"
                         "<BackgroundImageGroup checkState=\"2\"/>")}) {
        SCOPED_TRACE("both names: only BackgroundImageGroup counts");
        auto root = load(session, both);
        EXPECT_TRUE(checked(root->backgroundImageGroupItem()));
    }
    {
        SCOPED_TRACE("a missing checkState unchecks");
        auto root = load(session, QStringLiteral("<Tin/><CoordinatePoints checkState=\"2\"/>"
                                                 "<CoordinatePointsForTin checkState=\"0\"/>"));
        EXPECT_FALSE(checked(root->tinItem()));
        EXPECT_TRUE(checked(root->coordinatePointsGroupItem()));
        EXPECT_FALSE(checked(root->coordinatePointsForTinItem()));
        EXPECT_TRUE(checked(root->backgroundImageGroupItem()));
    }
}

TEST_F(ProjectFileTest, LoadingFitsTheViewAndShowingFitsItAgain)
{
    // An empty tree has no extent: a fit makes one metre fill the smaller side.
    // The empty model counts as 1 by 1, fitted with the margin free around it.
    const auto fitScale = [](const mvc::core::View* view) {
        return static_cast<double>(std::min(view->width(), view->height())
                                   - 2 * mvc::core::View::FIT_MARGIN);
    };
    ProjectSession session;
    for (const QString& view : {QStringLiteral("<View centerX=\"7\" centerY=\"8\" scale=\"5\""
                                               " angle=\"30\"/>"),
                                QString()}) {
        SCOPED_TRACE(view.isEmpty() ? "without View" : "with View");
        Project& project = session.newCreateProject();
        session.writeProjectXml(
            QStringLiteral("<Windows><Window name=\"createMainWindow\">%1</Window></Windows>")
                .arg(view));
        project.load();
        ASSERT_NE(project.projectWindow(), nullptr);
        const mvc::core::View* mainView = session.createModeWindows().at(0)->view();
        EXPECT_DOUBLE_EQ(mainView->angleDegree(), view.isEmpty() ? 0.0 : 30.0);
        EXPECT_DOUBLE_EQ(mainView->scale(), fitScale(mainView));
        EXPECT_NE(mainView->scale(), 5.0);

        ProjectSession::subWindowOf(project.projectWindow())->show();
        EXPECT_GT(mainView->width(), 100);
        EXPECT_DOUBLE_EQ(mainView->scale(), fitScale(mainView));
        EXPECT_DOUBLE_EQ(mainView->angleDegree(), view.isEmpty() ? 0.0 : 30.0);
    }
}

} // namespace
} // namespace varnel::test
