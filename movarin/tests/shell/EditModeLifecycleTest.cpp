// Edit-mode projects through the real main window: STL surfaces opened as new projects, a
// new project saved and reopened, the conversion of a create-mode project, the bird's-eye
// command without a TIN, and the Mold Browser action.
#include "MainWindowTestSupport.h"
#include "ProjectTestSupport.h"

#include "survey/SurveyTestSupport.h"

#include "brask/core/View.h"
#include "brask/window/ProjectMdiArea.h"
#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"
#include "orlin/io/StlTinImporter.h"
#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageSetting.h"

#include "support/QtPrinters.h"
#include "support/TerrainStl.h"

#include <guimisc/SettingsSupport.h>
#include <guimisc/LastIODirectory.h>
#include <guimisc/UserDialogScript.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <stdexcept>

namespace varnel::test {
namespace {

using Script = guimisc::UserDialogScript;

QString realStl(const char* name)
{
    return QStringLiteral(MOVARIN_SHARED_DATA_DIR "/real/stl/") + QLatin1String(name);
}

class EditModeLifecycleTest : public MainWindowTest {
protected:
    EditModeMainWindow* editModeWindow() const
    {
        Project* project = m_window->project();
        return project ? qobject_cast<EditModeMainWindow*>(project->projectWindow()) : nullptr;
    }
    QString workspaceFolder() { return m_window->workspace()->workspace().absolutePath(); }

    /// "project.xml" of an archive, as a second reader sees it.
    XmlElement projectXmlOf(const QString& archive)
    {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archive,
                                              QStringLiteral("project.xml")});
        if (!unzip.waitForFinished(10000) || unzip.exitCode() != 0) {
            throw std::runtime_error("unzip -p failed on " + archive.toStdString());
        }
        const QString path = file(QStringLiteral("extracted.xml"));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            throw std::runtime_error("cannot write " + path.toStdString());
        }
        out.write(unzip.readAllStandardOutput());
        out.close();
        return readXmlFile(path);
    }
};

TEST_F(EditModeLifecycleTest, StlSurfacesOpenAsUntitledEditModeProjects)
{
    const QString ioFolder = file(QStringLiteral("io"));
    ASSERT_TRUE(QDir().mkpath(ioFolder));
    guimisc::LastIODirectory::set(ioFolder);
    const QStringList recent{file(QStringLiteral("a.cmvn"))};
    guimisc::SettingsSupport::setValue(QStringLiteral("general/recentprojects"), recent);

    // The program's own export of a TIN, in both forms.
    const struct {
        QString file;
        std::size_t facets;
    } cases[] = {{file(QStringLiteral("terrain.stl")), TerrainStl::write(file(QStringLiteral("terrain.stl")))},
                 {file(QStringLiteral("ascii.stl")),
                  TerrainStl::write(file(QStringLiteral("ascii.stl")), false, 20, 10)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        Script script;
        // The project made from the first surface has no file yet: it is not dropped unasked.
        const bool hadProject = window().project() != nullptr;
        if (hadProject) {
            script.answer(QMessageBox::No);
        }
        window().openProject(c.file);
        ASSERT_EQ(script.records().size(), hadProject ? 1u : 0u);
        if (hadProject) {
            EXPECT_EQ(script.records()[0].text, "This Project is modified. Do you want to save?");
        }
        EditModeMainWindow* edit = editModeWindow();
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(window().actionManager()->mode(), MainWindowActionManager::EditMode);
        EXPECT_EQ(window().windowTitle(), "Untitled - Movarin");
        EXPECT_TRUE(window().project()->filename().isEmpty());
        EXPECT_TRUE(window().project()->projectFile()->isModified());
        EXPECT_EQ(recentProjects(), recent);
        EXPECT_EQ(guimisc::LastIODirectory::get(), ioFolder);

        tin::core::Tin* base = edit->model()->rootItem()->baseTinItem()->tin();
        tin::core::Tin* edited = edit->tinItem()->tin();
        ASSERT_NE(base, nullptr);
        ASSERT_NE(edited, nullptr);
        EXPECT_NE(base, edited);
        EXPECT_EQ(base->allTriangles().size(), c.facets);
        EXPECT_EQ(trianglesOf(*base), trianglesOf(*edited));
        QStandardItemModel* rows = edit->model()->standardItemModel();
        EXPECT_EQ(rows->item(0)->text(), "base TIN");
        EXPECT_EQ(rows->item(2)->text(), "TIN");
        // The view is fitted to the surface.
        const QPointF middle = edit->model()->boundingBox().center();
        EXPECT_NEAR(edit->view()->centerPoint().x(), middle.x(), 1e-6);
        EXPECT_NEAR(edit->view()->centerPoint().y(), middle.y(), 1e-6);

        // Each TIN is its own: a triangle leaves one only. The points are shared, so an
        // elevation edit reaches both.
        const std::shared_ptr<tin::core::Triangle> gone = *edited->allTriangles().begin();
        edited->removeTriangle(gone);
        EXPECT_EQ(edited->allTriangles().size(), c.facets - 1);
        EXPECT_EQ(base->allTriangles().size(), c.facets);
        EXPECT_TRUE(base->containsTriangle(gone));
        const std::shared_ptr<tin::core::Triangle> kept = *edited->allTriangles().begin();
        ASSERT_TRUE(base->containsTriangle(kept));
        kept->point1()->setElevation(kept->point1()->elevation() + 1.0);
        tin::core::Tin raised;
        raised.addTriangle(kept);
        const TriangleKey key = *trianglesOf(raised).begin();
        EXPECT_EQ(trianglesOf(*base).count(key), 1u);
        EXPECT_EQ(trianglesOf(*edited).count(key), 1u);
    }
}

// The window of a surface opened as a project: the Mold Browser opens wide enough to read,
// and the surface is shown whole (with the fit's margin) in the view as laid out, and again
// when the user maximises the window.
TEST_F(EditModeLifecycleTest, SurfaceWindowOpensUsableAndStaysFittedWhenMaximised)
{
    TerrainStl::write(file(QStringLiteral("terrain.stl")));
    window().openProject(file(QStringLiteral("terrain.stl")));
    EditModeMainWindow* edit = editModeWindow();
    ASSERT_NE(edit, nullptr);
    QCoreApplication::processEvents();
    MoldsContainerBrowser* dock =
        static_cast<WindowWithMoldsContainerBrowserI*>(edit)->dockWidget();
    ASSERT_NE(dock, nullptr);
    EXPECT_GE(dock->width(), EditModeMainWindow::MOLD_BROWSER_WIDTH);
    EXPECT_GT(dock->width(), 3 * dock->fontMetrics().horizontalAdvance(dock->windowTitle()) / 2);

    mvc::core::View* view = edit->view();
    const QRectF box = edit->model()->boundingBox();
    ASSERT_FALSE(box.isEmpty());
    // The surface's corners lie within the view, the margin free, and touch it on one axis.
    const auto expectFittedWhole = [&] {
        const QRectF shown = QRectF(view->conv(box.topLeft()), view->conv(box.bottomRight()))
                                 .normalized();
        const double margin = mvc::core::View::FIT_MARGIN;
        EXPECT_GE(shown.left(), margin - 1e-6);
        EXPECT_GE(shown.top(), margin - 1e-6);
        EXPECT_LE(shown.right(), view->width() - margin + 1e-6);
        EXPECT_LE(shown.bottom(), view->height() - margin + 1e-6);
        EXPECT_TRUE(std::abs(shown.left() - margin) < 1e-6 || std::abs(shown.top() - margin) < 1e-6);
    };
    {
        SCOPED_TRACE("as opened");
        expectFittedWhole();
    }
    const QSize before = view->size();
    ProjectSession::subWindowOf(edit)->showMaximized();
    QCoreApplication::processEvents();
    ASSERT_NE(view->size(), before);
    view->updateView(); // the transform of the view's size, as the next update has it
    {
        SCOPED_TRACE("maximised");
        expectFittedWhole();
    }
}

TEST_F(EditModeLifecycleTest, TruncatedStlShowsTheReadersErrorAndLeavesNoProject)
{
    QFile whole(realStl("hmstl_scene-thick_binary.stl"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QString cut = file(QStringLiteral("cut.stl"));
    QFile part(cut);
    ASSERT_TRUE(part.open(QIODevice::WriteOnly));
    part.write(whole.read(84 + 50 * 100 + 17));
    part.close();
    std::string readerMessage;
    try {
        tin::io::StlTinImporter().importTin(cut.toStdString().c_str());
    } catch (const std::exception& e) {
        readerMessage = e.what();
    }
    ASSERT_FALSE(readerMessage.empty()) << "the reader takes the truncated file";

    window().newCreateProject();
    Script script;
    window().openProject(cut);
    ASSERT_EQ(script.messageBoxes().size(), 1u);
    EXPECT_EQ(script.messageBoxes()[0].title, "Error");
    EXPECT_EQ(script.messageBoxes()[0].text.toStdString(), readerMessage);
    EXPECT_EQ(window().project(), nullptr);
    EXPECT_TRUE(window().mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(window().windowTitle(), "Movarin");
    EXPECT_TRUE(folderEntries(workspaceFolder()).isEmpty());
    EXPECT_TRUE(recentProjects().isEmpty());
}

// A closed solid (a terrain with walls and a flat base under it) read as a surface would
// give the edited TIN a base under its top: it is refused as a whole, with no project made,
// after the open project was given up as for any other open.
TEST_F(EditModeLifecycleTest, SolidStlIsRefusedAsNoSingleValuedSurfaceAndMakesNoProject)
{
    const QString solid = file(QStringLiteral("scene.stl"));
    ASSERT_TRUE(QFile::copy(realStl("hmstl_scene-thick_binary.stl"), solid));
    ASSERT_EQ(tin::io::StlTinImporter().importTin(solid.toStdString().c_str()).allTriangles().size(), 29184u)
        << "the library reads the solid as it stands";
    const QStringList recent{file(QStringLiteral("a.emvn"))};
    guimisc::SettingsSupport::setValue(QStringLiteral("general/recentprojects"), recent);

    window().newEditProject();
    window().project()->projectFile()->setModified(true);
    Script script;
    script.answerFile(solid).answer(QMessageBox::No);
    window().actionManager()->action(QStringLiteral("Open"))->trigger();
    ASSERT_EQ(script.records().size(), 3u) << "the file dialog, the question, the refusal";
    EXPECT_EQ(script.records()[1].text, "This Project is modified. Do you want to save?");
    EXPECT_EQ(script.records()[2].title, "Error");
    EXPECT_EQ(script.records()[2].text,
              solid + " is no single-valued surface: its triangles overlap in plan.");
    EXPECT_EQ(window().project(), nullptr);
    EXPECT_TRUE(window().mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(window().windowTitle(), "Movarin");
    EXPECT_TRUE(folderEntries(workspaceFolder()).isEmpty()) << "no work folder made or left";
    EXPECT_EQ(recentProjects(), recent);
    EXPECT_FALSE(window().actionManager()->action(QStringLiteral("Save"))->isEnabled());

    // The same terrain without its walls and base opens.
    const QString terrain = file(QStringLiteral("terrain.stl"));
    TerrainStl::write(terrain);
    script.answerFile(terrain);
    window().actionManager()->action(QStringLiteral("Open"))->trigger();
    EXPECT_NE(editModeWindow(), nullptr);
    EXPECT_EQ(script.records().size(), 4u) << "the file dialog only";
}

TEST_F(EditModeLifecycleTest, NewEditModeProjectIsSavedAndReopened)
{
    Script script;
    window().newEditProject();
    ASSERT_NE(editModeWindow(), nullptr);
    EXPECT_EQ(window().windowTitle(), "Untitled - Movarin");
    QStandardItemModel* rows = editModeWindow()->model()->standardItemModel();
    rows->item(1)->setCheckState(Qt::Unchecked);
    rows->item(3)->setCheckState(Qt::Unchecked);
    const auto before = browserRows(editModeWindow());

    const QString archive = saveAs(QStringLiteral("x"));
    EXPECT_EQ(archive, file("x.emvn"));
    const XmlElement project = projectXmlOf(archive);
    const XmlElement& windowElement = project.child("Windows").child("Window");
    EXPECT_EQ(windowElement.attributes.value("name"), "editMainWindow");
    EXPECT_EQ(windowElement.childNames(), QStringList({"WindowGeometry", "View", "DataModel"}));
    const XmlElement& dataModel = windowElement.child("DataModel");
    EXPECT_EQ(dataModel.childNames(),
              QStringList({"BaseTin", "Tin", "BackgroundImageGroup", "GeoEditSurfaceGroup",
                           "CrossSectionTop", "GeoDataTop", "ZindralExportSetting"}));
    const XmlElement& crossSectionTop = dataModel.child("CrossSectionTop");
    ASSERT_EQ(crossSectionTop.childNames(), QStringList({"CrossSectionGroup"}));
    EXPECT_EQ(crossSectionTop.children[0].attributes.value("name"), "cross sections 1");
    EXPECT_EQ(crossSectionTop.children[0].attributes.value("checkState"), "0");
    EXPECT_EQ(unzipListing(archive), QStringList({"project.xml"}) + defaultMoldFiles())
        << "no TIN: the molds' files only";

    ASSERT_TRUE(window().closeProject());
    window().openProject(archive);
    ASSERT_NE(editModeWindow(), nullptr);
    EXPECT_EQ(window().actionManager()->mode(), MainWindowActionManager::EditMode);
    EXPECT_EQ(window().windowTitle(), "x.emvn - Movarin");
    EXPECT_EQ(browserRows(editModeWindow()), before);
    EXPECT_TRUE(script.messageBoxes().empty());
}

// Counts the paint events that views of the model receive, anywhere in the program.
class ViewPaintCounter : public QObject {
public:
    ViewPaintCounter() { qApp->installEventFilter(this); }
    ~ViewPaintCounter() override { qApp->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && qobject_cast<mvc::core::View*>(watched)) {
            ++count;
        }
        return false;
    }
};

// A project of many items takes as long to draw as a part of its reading: "Open" draws the
// view once, before it returns, and the event loop does not draw it again.
TEST_F(EditModeLifecycleTest, OpenDrawsTheViewOnce)
{
    Script script;
    window().newEditProject();
    const QString archive = saveAs(QStringLiteral("once"));
    ASSERT_TRUE(window().closeProject());
    QCoreApplication::processEvents();

    ViewPaintCounter paints;
    script.answerFile(archive);
    window().actionManager()->action(QStringLiteral("Open"))->trigger();
    ASSERT_NE(editModeWindow(), nullptr);
    EXPECT_EQ(paints.count, 1) << "drawn before the cursor goes";
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(paints.count, 1) << "not drawn again by updates left queued";
    EXPECT_TRUE(script.messageBoxes().empty());
}

QImage picture(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// The conversion keeps the created TIN and the images; and it makes the edit-mode window
// before the create-mode project goes, so that nothing of the user's is lost on the way.
TEST_F(EditModeLifecycleTest, CreateModeProjectBecomesASavedEditModeProject)
{
    window().newCreateProject();
    CreateModeMainWindow* create = createModeWindow();
    ASSERT_NE(create, nullptr);
    const tin::core::Tin created = gridTin(6, 100000.0, -35000.0, 12.5);
    create->tinItem()->setTin(new tin::core::Tin(created));
    BackgroundImageGroupItem* group = create->backgroundImageGroupItem();
    const struct {
        QString name;
        QImage image;
        gdalimg::GdalImageSetting setting;
    } images[] = {{"north.jpg", picture(6, 4, qRgb(200, 10, 10)),
                   imagePlacement(100000.5, -34990.0, 0.25, 15)},
                  {"south.png", picture(3, 5, qRgb(10, 10, 200)),
                   imagePlacement(99990.0, -35010.0, 2.0, 0)}};
    for (const auto& image : images) {
        auto item = new BackgroundImageItem(
            image.name, new gdalimg::GdalImage(image.image, image.setting), group);
        group->browserItem()->takeRow(item->browserItem()->row());
        group->attachChildAtBack(item);
    }
    window().project()->projectFile()->setModified(true);
    // Where the user left the create-mode window.
    QMdiSubWindow* createSub = ProjectSession::subWindowOf(create);
    ASSERT_NE(createSub, nullptr);
    createSub->setGeometry(12, 9, 700, 500);
    const QRect place = createSub->geometry();

    bool editWindowStoodFirst = false;
    QObject::connect(window().project(), &QObject::destroyed, [this, &editWindowStoodFirst] {
        for (mvc::window::ProjectWindow* w : window().mdiArea()->allSubWindows()) {
            auto edit = qobject_cast<EditModeMainWindow*>(w);
            editWindowStoodFirst = editWindowStoodFirst || (edit && !edit->isTinEmpty());
        }
    });
    Script script;
    script.answer(QMessageBox::No).answerFile(file("e"));
    EXPECT_TRUE(window().saveProjectAsEdit());
    EXPECT_TRUE(editWindowStoodFirst);
    ASSERT_EQ(script.records().size(), 2u) << "the question and the save dialog, nothing more";
    EXPECT_EQ(script.records()[1].filter, "project file (*.emvn)");

    const QString archive = file("e.emvn");
    ASSERT_NE(editModeWindow(), nullptr);
    EXPECT_EQ(window().actionManager()->mode(), MainWindowActionManager::EditMode);
    EXPECT_EQ(window().windowTitle(), "e.emvn - Movarin");
    EXPECT_EQ(window().project()->filename(), archive);
    EXPECT_FALSE(window().project()->projectFile()->isModified());
    EXPECT_EQ(recentProjects().value(0), archive);
    EXPECT_EQ(folderEntries(workspaceFolder()).size(), 1u) << "the create-mode work folder went";
    EXPECT_EQ(window().mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(ProjectSession::subWindowOf(editModeWindow())->geometry(), place)
        << "the edit-mode window takes the create-mode window's place";
    EXPECT_EQ(unzipListing(archive),
              QStringList({"project.xml"}) + defaultMoldFiles()
                  + QStringList({"readOnlyTin.tin", "tin.tin",
                                 "backgroundImageGroup/background1.png",
                                 "backgroundImageGroup/background2.png"}));

    ASSERT_TRUE(window().closeProject());
    window().openProject(archive);
    EditModeMainWindow* edit = editModeWindow();
    ASSERT_NE(edit, nullptr);
    EditModeMainWindowModelRootItem* root = edit->model()->rootItem();
    ASSERT_NE(root->baseTinItem()->tin(), nullptr);
    ASSERT_NE(edit->tinItem()->tin(), nullptr);
    EXPECT_EQ(trianglesOf(*root->baseTinItem()->tin()), trianglesOf(created));
    EXPECT_EQ(trianglesOf(*edit->tinItem()->tin()), trianglesOf(created));
    const std::vector<mvc::core::ModelItem*>& reopened =
        root->backgroundImageGroupItem()->childItems();
    ASSERT_EQ(reopened.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        auto item = qobject_cast<BackgroundImageItem*>(reopened[i]);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->caption(), images[i].name);
        EXPECT_EQ(item->image()->image().convertToFormat(QImage::Format_ARGB32), images[i].image);
        EXPECT_EQ(item->image()->setting().topLeft(), images[i].setting.topLeft());
        EXPECT_EQ(item->image()->setting().scale(), images[i].setting.scale());
        EXPECT_EQ(item->image()->setting().angle(), images[i].setting.angle());
    }
    EXPECT_EQ(script.messageBoxes().size(), 1u) << "only the question";
}

TEST_F(EditModeLifecycleTest, BirdEyeWindowNeedsATinInEitherMode)
{
    for (bool editMode : {false, true}) {
        SCOPED_TRACE(editMode ? "edit mode" : "create mode");
        if (editMode) {
            window().newEditProject();
        } else {
            window().newCreateProject();
        }
        Script script;
        window().focusBirdEyeWindow();
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_EQ(script.messageBoxes()[0].title, "Warning");
        EXPECT_EQ(script.messageBoxes()[0].text, "No TIN data.");
        EXPECT_EQ(window().mdiArea()->subWindowList().size(), 1);
    }
}

TEST_F(EditModeLifecycleTest, MoldBrowserActionFollowsTheEditModeWindow)
{
    window().newEditProject();
    EditModeMainWindow* edit = editModeWindow();
    ASSERT_NE(edit, nullptr);
    QMdiSubWindow* editSubWindow = ProjectSession::subWindowOf(edit);
    MoldsContainerBrowser* dock = qobject_cast<WindowWithMoldsContainerBrowserI*>(
                                      static_cast<QWidget*>(edit))
                                      ->dockWidget();
    QAction* action = window().actionManager()->action(QStringLiteral("Mold Browser"));
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled());
    EXPECT_TRUE(dock->isVisible());
    EXPECT_TRUE(action->isChecked());

    QSignalSpy visibility(dock, &QDockWidget::visibilityChanged);
    action->trigger();
    EXPECT_FALSE(dock->isVisible());
    EXPECT_FALSE(action->isChecked());

    // Another sub-window takes the action away; coming back binds it once again.
    QMdiSubWindow* other = window().mdiArea()->addSubWindow(new QWidget);
    other->show();
    window().mdiArea()->setActiveSubWindow(other);
    EXPECT_FALSE(action->isEnabled());
    window().mdiArea()->setActiveSubWindow(editSubWindow);
    EXPECT_TRUE(action->isEnabled());
    EXPECT_FALSE(action->isChecked());
    visibility.clear();
    action->trigger();
    EXPECT_TRUE(dock->isVisible());
    EXPECT_TRUE(action->isChecked());
    EXPECT_EQ(visibility.count(), 1) << "one click, one toggle";
    action->trigger();
    EXPECT_FALSE(dock->isVisible());
    EXPECT_EQ(visibility.count(), 2);
}

} // namespace
} // namespace varnel::test
