// The create-mode road end to end, as a user takes it in the main window: a new project with
// a coordinate system, a JPGIS elevation model and a survey imported, all their points copied
// to the points for the TIN, a breakline clicked on the main view, "Create TIN", a
// georeferenced picture imported under the TIN, "Save As", the archive read by a checker of
// its own (Python's standard library and gdalinfo), the project closed and reopened, and the
// main window grabbed from the screen. The window is driven through its own slots and
// actions, with mouse and key events (QTest) at the view positions of known points; every
// message box and file dialog goes through the message seam, the import's setting dialog is
// answered by a timer. The grab needs an X server: the program runs under xvfb-run.
//
// Each step is a method of the fixture, run in order by the one test, so that a later step
// (a background image, say) joins the road without touching the others.
#include "WorkflowTestSupport.h"

#include "support/ModalAnswerer.h"
#include "support/QtPrinters.h"

#include "survey/SurveyTestSupport.h"

#include "brask/core/View.h"
#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/ProjectProperty.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/BackgroundImageGroupItemController.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "movarin/survey/BreaklineItem.h"
#include "movarin/survey/CoordinatePointsBaseItemView.h"
#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsForTinItemController.h"
#include "movarin/survey/CoordinatePointsGroupItem.h"
#include "movarin/survey/CoordinatePointsGroupItemController.h"
#include "movarin/survey/CoordinatePointsItem.h"
#include "movarin/survey/CoordinatePointsItemController.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageSetting.h"

#include <guimisc/UserDialogScript.h>
#include <guimisc/colormapper/ElevationColorMapper.h>

#include <QAction>
#include <QDialogButtonBox>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <set>
#include <vector>

namespace varnel::test {
namespace {

using PointPtr = std::shared_ptr<tin::core::Point>;

const char* const DEM_FILE = "FG-GML-5238-74-00-DEM5A-20161001.xml";
constexpr int DEM_POINTS = 33448;
constexpr int SURVEY_POINTS = 100;
constexpr int ALL_POINTS = DEM_POINTS + SURVEY_POINTS;
// The survey: 10 x 10 points at 1 m from its south-west corner, inside the elevation model.
constexpr double SURVEY_X = 600.25;
constexpr double SURVEY_Y = -82750.25;
// The breakline's grid indices (i east, j north); neither segment passes another grid point.
const std::array<std::array<int, 2>, 3> BREAKLINE_NODES = {{{1, 1}, {4, 2}, {8, 7}}};

double surveyElevation(int i, int j)
{
    return 150.0 + 0.1 * i + 0.2 * j;
}

// The background picture: 260 x 200 pixels at 5 m a pixel, its top-left corner at
// (-100, -82181), so that it reaches west of the elevation model and lies under the survey.
// Each quadrant has a flat colour of its own, none of them a colour of the view.
constexpr int IMAGE_WIDTH = 260;
constexpr int IMAGE_HEIGHT = 200;
constexpr double IMAGE_SCALE = 5.0;
const QPointF IMAGE_TOP_LEFT(-100.0, -82181.0);
const std::array<QColor, 4> IMAGE_COLOURS = {
    {QColor(214, 170, 52), QColor(61, 163, 142), QColor(171, 77, 166), QColor(90, 110, 210)}};

/// The picture's colour at world point `at`: its quadrant's (top-left, top-right,
/// bottom-left, bottom-right).
QColor imageColourAt(const QPointF& at)
{
    const double column = (at.x() - IMAGE_TOP_LEFT.x()) / IMAGE_SCALE;
    const double row = (IMAGE_TOP_LEFT.y() - at.y()) / IMAGE_SCALE;
    return IMAGE_COLOURS.at((row < IMAGE_HEIGHT / 2 ? 0 : 2) + (column < IMAGE_WIDTH / 2 ? 0 : 1));
}

QImage areaPicture()
{
    QImage picture(IMAGE_WIDTH, IMAGE_HEIGHT, QImage::Format_RGB32);
    QPainter painter(&picture);
    const int w = IMAGE_WIDTH / 2;
    const int h = IMAGE_HEIGHT / 2;
    painter.fillRect(0, 0, w, h, IMAGE_COLOURS[0]);
    painter.fillRect(w, 0, w, h, IMAGE_COLOURS[1]);
    painter.fillRect(0, h, w, h, IMAGE_COLOURS[2]);
    painter.fillRect(w, h, w, h, IMAGE_COLOURS[3]);
    return picture;
}

/// Twice the signed area of a, b, c: positive when they turn counter-clockwise.
double cross(const tin::core::Point& a, const tin::core::Point& b, const tin::core::Point& c)
{
    return (b.x() - a.x()) * (c.y() - a.y()) - (b.y() - a.y()) * (c.x() - a.x());
}

/// The area of the convex hull of the points (Andrew's monotone chain).
double convexHullArea(const tin::core::PointSet& set)
{
    std::vector<PointPtr> points = set.allPoints();
    std::sort(points.begin(), points.end(), [](const PointPtr& a, const PointPtr& b) {
        return std::make_pair(a->x(), a->y()) < std::make_pair(b->x(), b->y());
    });
    std::vector<PointPtr> hull(2 * points.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && cross(*hull[k - 2], *hull[k - 1], *points[i]) <= 0.0) {
            --k;
        }
        hull[k++] = points[i];
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && cross(*hull[k - 2], *hull[k - 1], *points[i]) <= 0.0) {
            --k;
        }
        hull[k++] = points[i];
    }
    double twice = 0.0;
    for (std::size_t i = 0; i + 1 < k; ++i) {
        twice += hull[i]->x() * hull[i + 1]->y() - hull[i + 1]->x() * hull[i]->y();
    }
    return twice / 2.0;
}

/// What the reopened project is compared with.
struct Saved {
    Coordinates survey;
    Coordinates dem;
    std::vector<std::array<double, 3>> breakline;
    std::set<TriangleKey> triangles;
};

class CreateModeWorkflow : public WorkflowTest {
protected:
    // --- the window and its items ------------------------------------------------------

    CreateModeMainWindow* projectWindow() const
    {
        return m_window->project()
                   ? qobject_cast<CreateModeMainWindow*>(m_window->project()->projectWindow())
                   : nullptr;
    }
    CreateModeMainWindowModelRootItem* root() const
    {
        return projectWindow()->model()->rootItem();
    }
    mvc::core::View* view() const { return projectWindow()->view(); }
    CoordinatePointsGroupItem* group() const { return root()->coordinatePointsGroupItem(); }
    CoordinatePointsForTinItem* pointsForTin() const
    {
        return root()->coordinatePointsForTinItem();
    }
    ReadOnlyTinItem* tinItem() const { return root()->tinItem(); }
    BackgroundImageGroupItem* imageGroup() const { return root()->backgroundImageGroupItem(); }
    BackgroundImageItem* backgroundImage() const
    {
        const std::vector<mvc::core::ModelItem*> children = imageGroup()->childItems();
        return children.size() == 1 ? qobject_cast<BackgroundImageItem*>(children.front())
                                    : nullptr;
    }
    std::vector<CoordinatePointsItem*> imported() const
    {
        std::vector<CoordinatePointsItem*> items;
        for (mvc::core::ModelItem* child : group()->childItems()) {
            items.push_back(qobject_cast<CoordinatePointsItem*>(child));
        }
        return items;
    }
    bool modified() const { return m_window->project()->projectFile()->isModified(); }
    QUndoStack* undoStack() const { return m_window->undoStack(); }

    /// The widget pixel that shows the world point (x, y).
    QPoint pixel(double x, double y) const { return pixelOf(view(), QPointF(x, y)); }
    static QPointF surveyNode(int i, int j) { return {SURVEY_X + i, SURVEY_Y + j}; }

    /// The survey's point object at grid node (i, j).
    PointPtr surveyPoint(int i, int j) const
    {
        const QPointF at = surveyNode(i, j);
        for (const PointPtr& p : imported().front()->pointSet()->allPoints()) {
            if (p->x() == at.x() && p->y() == at.y()) {
                return p;
            }
        }
        ADD_FAILURE() << "no survey point at (" << i << ", " << j << ")";
        return nullptr;
    }

    // --- the steps -----------------------------------------------------------------------

    /// 1. A new create-mode project whose property names EPSG:6676.
    void newProjectWithCoordinateSystem()
    {
        m_window->newCreateProject();
        ASSERT_NE(projectWindow(), nullptr);
        QApplication::processEvents();
        proj::ProjectionPair* pair = m_window->projectionPairBuilder()->projectionPair("EPSG:6676");
        ASSERT_NE(pair, nullptr);
        m_window->project()->projectFile()->property()->setProjectionPair(pair);
        EXPECT_EQ(m_window->project()->projectFile()->property()->projectionPair(), pair);
    }

    /// 2. The elevation model: "JPGIS XML files", step 1 in the setting dialog, and a release
    /// without a drag while the import waits for a region (the whole file).
    void importElevationModel()
    {
        const QString filter = CoordinatePointsGroupItem::fileFilters().at(2);
        ASSERT_TRUE(filter.startsWith("JPGIS XML files"));
        m_script.answerFile(QStringLiteral(MOVARIN_SHARED_DATA_DIR "/real/gml/") + DEM_FILE, filter);
        ModalAnswerer answerer([](QWidget* dialog) {
            dialog->findChild<QSpinBox*>(QStringLiteral("stepSpinBox"))->setValue(1);
            dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))
                ->button(QDialogButtonBox::Ok)
                ->click();
        });
        CoordinatePointsGroupItemController* controller = group()->controller();
        bool released = false;
        QTimer release;
        release.setInterval(10);
        QObject::connect(&release, &QTimer::timeout, [&] {
            if (controller->isWaitingForRegion()) {
                release.stop();
                released = true;
                QTest::mouseRelease(view(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
            }
        });
        release.start();
        controller->importData();

        EXPECT_TRUE(answerer.answered());
        EXPECT_FALSE(answerer.leftOpen());
        EXPECT_TRUE(released);
        EXPECT_TRUE(m_script.messageBoxes().empty());
        ASSERT_EQ(imported().size(), 1u);
        EXPECT_EQ(imported()[0]->caption(), DEM_FILE);
        EXPECT_EQ(imported()[0]->pointSet()->allPoints().size(), std::size_t(DEM_POINTS));
        EXPECT_EQ(imported()[0]->view()->viewSetting().color(), QColor(Qt::cyan));
    }

    /// 3. The survey as point text with a header line; it becomes the first child.
    void importSurvey()
    {
        QFile file(m_dir.filePath(QStringLiteral("survey.tpo")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x,y,z\n");
        for (int j = 0; j < 10; ++j) {
            for (int i = 0; i < 10; ++i) {
                const QPointF at = surveyNode(i, j);
                file.write(QStringLiteral("%1,%2,%3\n")
                               .arg(at.x(), 0, 'f', 2)
                               .arg(at.y(), 0, 'f', 2)
                               .arg(surveyElevation(i, j), 0, 'f', 2)
                               .toLatin1());
            }
        }
        file.close();
        m_script.answerFile(file.fileName(), CoordinatePointsGroupItem::fileFilters().at(3));
        group()->controller()->importData();

        ASSERT_EQ(imported().size(), 2u);
        EXPECT_EQ(imported()[0]->caption(), "survey.tpo");
        EXPECT_EQ(imported()[0]->pointSet()->allPoints().size(), std::size_t(SURVEY_POINTS));
        EXPECT_EQ(imported()[0]->view()->viewSetting().color(), QColor(Qt::magenta));
        EXPECT_EQ(imported()[1]->caption(), DEM_FILE);
    }

    /// 4. "Select All Points" and "Copy Selected Points To Points For Tin" on each item.
    void copyAllPointsForTheTin()
    {
        std::set<const tin::core::Point*> expected;
        for (CoordinatePointsItem* item : imported()) {
            auto* controller = static_cast<CoordinatePointsItemController*>(item->controller());
            controller->selectAllAction()->trigger();
            controller->copyToPointsForTinAction()->trigger();
            const std::set<const tin::core::Point*> objects = identitiesOf(item->pointSet()->allPoints());
            expected.insert(objects.begin(), objects.end());
        }
        EXPECT_EQ(expected.size(), std::size_t(ALL_POINTS));
        EXPECT_EQ(identitiesOf(pointsForTin()->pointSet()->allPoints()), expected);
    }

    /// 5. The view fitted to the survey; the breakline tool with the mouse moved to three grid
    /// nodes and pressed there, finished with Return.
    void drawBreakline()
    {
        view()->fit(QRectF(SURVEY_X - 1.0, SURVEY_Y - 1.0, 11.0, 11.0));
        QApplication::processEvents();
        pointsForTin()->controller()->addBreaklineAction()->trigger();
        // As a hand moves: the line follows the cursor, and a press fixes the point under it.
        for (const auto& node : BREAKLINE_NODES) {
            const QPointF at = surveyNode(node[0], node[1]);
            QTest::mouseMove(view(), pixel(at.x(), at.y()));
            QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, pixel(at.x(), at.y()));
        }
        QTest::keyClick(view(), Qt::Key_Return);

        const std::vector<BreaklineItem*> breaklines = pointsForTin()->breaklineItems();
        ASSERT_EQ(breaklines.size(), 1u);
        EXPECT_EQ(breaklines[0]->caption(), "Breakline 1");
        std::vector<PointPtr> expected;
        for (const auto& node : BREAKLINE_NODES) {
            expected.push_back(surveyPoint(node[0], node[1]));
        }
        EXPECT_EQ(breaklines[0]->points(), expected);
    }

    /// 6. "Create TIN", answered No.
    void createTin()
    {
        m_script.answer(QMessageBox::No);
        pointsForTin()->controller()->createTinAction()->trigger();
        ASSERT_NE(tinItem()->tin(), nullptr);
        const tin::core::Tin& tin = *tinItem()->tin();
        const tin::core::PointSet& set = *pointsForTin()->pointSet();

        const std::set<const tin::core::Point*> vertices = verticesOf(tin);
        const std::set<const tin::core::Point*> points = identitiesOf(set.allPoints());
        EXPECT_TRUE(std::includes(points.begin(), points.end(), vertices.begin(), vertices.end()))
            << "a vertex that is no point of the set";
        EXPECT_GE(vertices.size(), 0.999 * ALL_POINTS);

        double area = 0.0;
        for (const auto& t : tin.allTriangles()) {
            const double twice = cross(*t->point1(), *t->point2(), *t->point3());
            EXPECT_GT(twice, 0.0) << "a triangle that is not counter-clockwise";
            area += twice / 2.0;
        }
        for (const tin::core::Point* p : vertices) {
            EXPECT_GE(p->elevation(), 120.00);
            EXPECT_LE(p->elevation(), 608.39);
        }
        const double hull = convexHullArea(set);
        EXPECT_GE(area, 0.999 * hull);
        EXPECT_LE(area, hull * (1.0 + 1e-12));

        const std::vector<PointPtr>& line = pointsForTin()->breaklineItems()[0]->points();
        EXPECT_TRUE(hasEdge(tin, line[0], line[1]));
        EXPECT_TRUE(hasEdge(tin, line[1], line[2]));
        EXPECT_EQ(undoStack()->text(undoStack()->count() - 1), "Create TIN");
    }

    /// 7. The background picture "area.png" with its world file "area.pgw", imported through
    /// the group's "Import": placed by the world file, at the front of the group, one undo
    /// entry, under the TIN.
    void importBackgroundImage()
    {
        m_areaPicture = areaPicture();
        m_areaFile = m_dir.filePath(QStringLiteral("area.png"));
        ASSERT_TRUE(m_areaPicture.save(m_areaFile, "PNG"));
        // A world file names the centre of the top-left pixel.
        QFile world(m_dir.filePath(QStringLiteral("area.pgw")));
        ASSERT_TRUE(world.open(QIODevice::WriteOnly));
        const QPointF centre = IMAGE_TOP_LEFT + QPointF(IMAGE_SCALE, -IMAGE_SCALE) / 2.0;
        world.write(QStringLiteral("%1\n0\n0\n%2\n%3\n%4\n")
                        .arg(IMAGE_SCALE)
                        .arg(-IMAGE_SCALE)
                        .arg(centre.x(), 0, 'f', 1)
                        .arg(centre.y(), 0, 'f', 1)
                        .toLatin1());
        world.close();
        const int entries = undoStack()->count();
        const std::size_t boxes = m_script.messageBoxes().size();

        m_script.answerFile(m_areaFile);
        static_cast<BackgroundImageGroupItemController*>(imageGroup()->controller())
            ->importAction()
            ->trigger();

        EXPECT_EQ(m_script.messageBoxes().size(), boxes);
        ASSERT_NO_FATAL_FAILURE(expectTheAreaImage());
        ASSERT_EQ(undoStack()->count(), entries + 1);
        EXPECT_EQ(undoStack()->text(entries), "Add new background image");
        // Painted first, so the TIN covers it.
        const std::vector<mvc::core::ModelItem*> order = root()->paintingOrder();
        const auto place = [&](mvc::core::ModelItem* item) {
            return std::find(order.begin(), order.end(), item) - order.begin();
        };
        EXPECT_LT(place(imageGroup()), place(tinItem()));
    }

    /// The group's one image is "area.png" with its pixels, placed as its world file says.
    void expectTheAreaImage() const
    {
        BackgroundImageItem* image = backgroundImage();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->caption(), "area.png");
        ASSERT_NE(image->image(), nullptr);
        const gdalimg::GdalImageSetting& setting = image->image()->setting();
        EXPECT_DOUBLE_EQ(setting.topLeft().x(), IMAGE_TOP_LEFT.x());
        EXPECT_DOUBLE_EQ(setting.topLeft().y(), IMAGE_TOP_LEFT.y());
        EXPECT_DOUBLE_EQ(setting.scale(), IMAGE_SCALE);
        EXPECT_EQ(setting.angle(), 0.0);
        EXPECT_EQ(image->image()->image().convertToFormat(QImage::Format_RGB32), m_areaPicture);
    }

    /// 8. "Save As" t.cmvn; what the reopened project must show again.
    void saveAs()
    {
        m_archive = m_dir.filePath(QStringLiteral("t.cmvn"));
        m_script.answerFile(m_archive);
        ASSERT_TRUE(m_window->saveProjectAs());
        EXPECT_FALSE(modified());

        const QStringList members = archiveMembers(m_archive);
        for (const char* name :
             {"project.xml", "coordinatePointsGroup/coordinatePoints1.tpobin",
              "coordinatePointsGroup/coordinatePoints2.tpobin",
              "coordinatePointsForTin/coordinatePointsForTin.tpobin",
              "coordinatePointsForTin/breakline1.bln", "readOnlyTin.tin",
              "backgroundImageGroup/background1.png"}) {
            EXPECT_TRUE(members.contains(QString::fromLatin1(name))) << name;
        }

        m_saved.survey = coordinatesOf(*imported()[0]->pointSet());
        m_saved.dem = coordinatesOf(*imported()[1]->pointSet());
        for (const PointPtr& p : pointsForTin()->breaklineItems()[0]->points()) {
            m_saved.breakline.push_back({p->x(), p->y(), p->elevation()});
        }
        m_saved.triangles = trianglesOf(*tinItem()->tin());
    }

    /// 9. The archive through the checker beside this test, with the picture's source.
    void checkArchive()
    {
        QStringList arguments{m_archive, m_areaFile};
        for (const auto& node : BREAKLINE_NODES) {
            const QPointF at = surveyNode(node[0], node[1]);
            arguments << QStringLiteral("%1,%2,%3")
                             .arg(at.x(), 0, 'f', 2)
                             .arg(at.y(), 0, 'f', 2)
                             .arg(surveyElevation(node[0], node[1]), 0, 'f', 2);
        }
        const ScriptRun run = runPython(
            QStringLiteral(MOVARIN_SOURCE_DIR "/movarin/tests/workflow/check_create_mode_archive.py"),
            arguments);
        EXPECT_TRUE(run.passed()) << run.output.toStdString();
    }

    /// 10. The archive opened again, after the project was closed.
    void reopen()
    {
        ASSERT_TRUE(m_window->closeProject());
        ASSERT_EQ(m_window->project(), nullptr);
        m_window->openProject(m_archive);
        ASSERT_NE(projectWindow(), nullptr);
        QApplication::processEvents();

        ASSERT_EQ(imported().size(), 2u);
        EXPECT_EQ(imported()[0]->caption(), "survey.tpo");
        EXPECT_EQ(imported()[1]->caption(), DEM_FILE);
        EXPECT_EQ(coordinatesOf(*imported()[0]->pointSet()), m_saved.survey);
        EXPECT_EQ(coordinatesOf(*imported()[1]->pointSet()), m_saved.dem);
        EXPECT_EQ(imported()[0]->view()->viewSetting().color(), QColor(Qt::magenta));
        EXPECT_EQ(imported()[1]->view()->viewSetting().color(), QColor(Qt::cyan));

        const tin::core::PointSet& set = *pointsForTin()->pointSet();
        EXPECT_EQ(set.allPoints().size(), std::size_t(ALL_POINTS));
        ASSERT_EQ(pointsForTin()->breaklineItems().size(), 1u);
        std::vector<std::array<double, 3>> breakline;
        for (const PointPtr& p : pointsForTin()->breaklineItems()[0]->points()) {
            breakline.push_back({p->x(), p->y(), p->elevation()});
        }
        EXPECT_EQ(breakline, m_saved.breakline);

        ASSERT_NE(tinItem()->tin(), nullptr);
        EXPECT_EQ(trianglesOf(*tinItem()->tin()), m_saved.triangles);
        const std::set<const tin::core::Point*> vertices = verticesOf(*tinItem()->tin());
        const std::set<const tin::core::Point*> points = identitiesOf(set.allPoints());
        EXPECT_TRUE(std::includes(points.begin(), points.end(), vertices.begin(), vertices.end()))
            << "the TIN's vertices are not the points for the TIN";

        ASSERT_NO_FATAL_FAILURE(expectTheAreaImage());

        EXPECT_EQ(undoStack()->count(), 0);
        EXPECT_FALSE(modified());
        expectViewShowsTheTin();
    }

    /// 11. The main window at 1280 x 800 as the screen shows it, the point sets unchecked and
    /// the view on the whole model with a margin all round, kept as
    /// "screenshots/create-mode-workflow.png" in the build folder: the picture west of the
    /// TIN, the TIN over the picture, the picture's corner against the view's background.
    void screenshot()
    {
        group()->setUnchecked();
        pointsForTin()->setUnchecked();
        // The colour range of this terrain, without edges, as an engineer sets it for a survey
        // whose triangles are about a pixel wide: the picture then shows the relief.
        QSettings settings;
        settings.setValue(QString::fromLatin1(varnel::settings::graphicsColormapMin), 120.0);
        settings.setValue(QString::fromLatin1(varnel::settings::graphicsColormapMax), 610.0);
        settings.setValue(QString::fromLatin1(varnel::settings::graphicsColormapWaterSurface), 120.0);
        settings.setValue(QString::fromLatin1(varnel::settings::graphicsShowTinEdges), false);
        emit m_window->preferenceChanged();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        ASSERT_EQ(m_window->size(), QSize(1280, 800));
        view()->fit();
        view()->setScale(0.8 * view()->scale());
        view()->updateView();
        QTest::qWait(300);

        const QImage shot = grabScreen(QStringLiteral("create-mode-workflow"));
        ASSERT_EQ(shot.size(), QSize(1280, 800));

        // The window pixel that shows world point (x, y), moved by (dx, dy) pixels.
        const auto at = [&](double x, double y, int dx = 0, int dy = 0) {
            return view()->mapTo(m_window.get(), pixel(x, y) + QPoint(dx, dy));
        };
        // Colours by name ("#rrggbb"), which a failure prints readably.
        const auto colour = [&](const QPoint& p) {
            EXPECT_TRUE(shot.rect().contains(p)) << p.x() << ", " << p.y();
            return shot.rect().contains(p) ? shot.pixelColor(p).name() : QString();
        };
        const QPointF west(-50.0, -82500.0);
        EXPECT_EQ(colour(at(west.x(), west.y())), imageColourAt(west).name())
            << "west of the TIN";
        const QPointF covered(500.0, -82700.0);
        EXPECT_NE(colour(at(covered.x(), covered.y())), imageColourAt(covered).name())
            << "the TIN does not cover the picture";
        EXPECT_EQ(colour(at(IMAGE_TOP_LEFT.x(), IMAGE_TOP_LEFT.y(), 2, 2)),
                  imageColourAt(IMAGE_TOP_LEFT).name())
            << "just inside the picture's top-left corner";
        EXPECT_EQ(colour(at(IMAGE_TOP_LEFT.x(), IMAGE_TOP_LEFT.y(), -2, -2)),
                  QColor(Qt::darkGray).name())
            << "just outside the picture's top-left corner";
    }

    /// With the point sets unchecked and the view on the survey, the view's picture at the
    /// centroid of each triangle in view is that triangle's fill: the mean of its corners'
    /// elevation colours.
    void expectViewShowsTheTin()
    {
        group()->setUnchecked();
        pointsForTin()->setUnchecked();
        view()->fit(QRectF(SURVEY_X - 1.0, SURVEY_Y - 1.0, 11.0, 11.0));
        const QImage picture = view()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const tin::core::Tin& tin = *tinItem()->tin();
        const auto& colors = *m_window->project()->elevationColorMapper();
        int checked = 0;
        for (const auto& t : tin.allTriangles()) {
            const tin::core::Point2D centre = t->getInteriorPoint();
            const QPoint at = pixel(centre.x(), centre.y());
            // The centroid lies a third of each height from that side: skip triangles whose
            // centroid is within 3 pixels of a side, where the pixel may be a neighbour's.
            double clearance = std::numeric_limits<double>::infinity();
            for (int i = 0; i < 3; ++i) {
                const double side = std::hypot(t->point(i + 1)->x() - t->point(i + 2)->x(),
                                               t->point(i + 1)->y() - t->point(i + 2)->y());
                clearance = std::min(clearance, 2.0 * t->area() / (3.0 * side));
            }
            if (!QRect(QPoint(0, 0), picture.size()).contains(at) ||
                clearance * view()->scale() < 3.0) {
                continue;
            }
            int rgb[3] = {0, 0, 0};
            for (int i = 0; i < 3; ++i) {
                const QColor c = colors.color(t->point(i)->elevation());
                rgb[0] += c.red();
                rgb[1] += c.green();
                rgb[2] += c.blue();
            }
            EXPECT_EQ(picture.pixelColor(at), QColor(rgb[0] / 3, rgb[1] / 3, rgb[2] / 3))
                << "at pixel (" << at.x() << ", " << at.y() << ")";
            ++checked;
        }
        EXPECT_GT(checked, 50);
    }

    QString m_archive;
    QString m_areaFile;
    QImage m_areaPicture;
    Saved m_saved;
};

TEST_F(CreateModeWorkflow, FromImportedPointsToAReopenedTin)
{
    ASSERT_NO_FATAL_FAILURE(newProjectWithCoordinateSystem());
    ASSERT_NO_FATAL_FAILURE(importElevationModel());
    ASSERT_NO_FATAL_FAILURE(importSurvey());
    ASSERT_NO_FATAL_FAILURE(copyAllPointsForTheTin());
    ASSERT_NO_FATAL_FAILURE(drawBreakline());
    ASSERT_NO_FATAL_FAILURE(createTin());
    ASSERT_NO_FATAL_FAILURE(importBackgroundImage());
    ASSERT_NO_FATAL_FAILURE(saveAs());
    ASSERT_NO_FATAL_FAILURE(checkArchive());
    ASSERT_NO_FATAL_FAILURE(reopen());
    ASSERT_NO_FATAL_FAILURE(screenshot());
}

} // namespace
} // namespace varnel::test
