// The edit-mode road end to end, as a user takes it in the main window: a survey of real
// ground points made into a TIN and saved as a new edit-mode project (road A), the TIN written
// as binary STL and opened as an edit-mode project of its own (road B, where a mold made in
// "Mold Setting" is swept along a path, the project is saved and reopened, and the reopened
// surface is edited on the main view), then on road A a mold surface and a brush stroke with
// undo and redo, a cross section with its window, a roughness polygon and the five reference
// lines, the soil volume, both exports, and the project saved, closed and reopened with
// everything as it was.
//
// Input goes to the widgets at pixels computed from their transforms (`View::conv`); the
// menus' own actions are triggered; message boxes and file dialogs are answered through the
// message seam, the other modal dialogs by `ModalAnswerer`. Oracles: the created TIN's sorted
// vertex triples, the TIN modifier's cut and fill, the TINs' own interpolation, the export
// checkers of the exports folder with xmllint and the schema, and the exports read back after
// the reopen. Each step is a method of the fixture, called in order by the one test, and ends
// with the main window grabbed from the screen ("screenshots/edit-mode-step<N>.png").
#include "WorkflowTestSupport.h"

#include "shell/ProjectTestSupport.h"
#include "support/ModalAnswerer.h"
#include "support/MouseOn.h"
#include "support/QtPrinters.h"
#include "surfaces/SurfacesTestSupport.h"
#include "survey/SurveyTestSupport.h"

#include "brask/core/Model.h"
#include "brask/core/ObjectBrowserView.h"
#include "brask/core/View.h"
#include "brask/window/ProjectMdiArea.h"
#include "movarin/sections/CalculateSoilVolumeDialog.h"
#include "movarin/sections/CrossSectionDialog.h"
#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionGroupItemController.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionItemController.h"
#include "movarin/sections/CrossSectionPolylineCrossing.h"
#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/sections/GeoDataGroupItemController.h"
#include "movarin/sections/GeoDataPolygonItem.h"
#include "movarin/sections/GeoDataPolylineItem.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/shell/CreateModeMainWindow.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/MainWindowActionManager.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/surfaces/GeoEditSurfaceItem.h"
#include "movarin/surfaces/GeoEditSurfaceItemController.h"
#include "movarin/surfaces/IconView.h"
#include "movarin/surfaces/MoldGroupItem.h"
#include "movarin/surfaces/MoldGroupItemWidget.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldItemPropertyDialog.h"
#include "movarin/surfaces/MoldsContainer.h"
#include "movarin/surfaces/MoldsContainerBrowser.h"
#include "movarin/surfaces/MoldsContainerWidget.h"
#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsForTinItemController.h"
#include "movarin/survey/CoordinatePointsGroupItem.h"
#include "movarin/survey/CoordinatePointsGroupItemController.h"
#include "movarin/survey/CoordinatePointsItem.h"
#include "movarin/survey/CoordinatePointsItemController.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/ReadOnlyTinItemController.h"
#include "movarin/survey/TinItem.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Polyline.h"

#include <guimisc/widget/RealNumberEditWidget.h>

#include <QAction>
#include <QDialogButtonBox>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextCodec>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <geos/geom/Geometry.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <vector>

namespace varnel::test {
namespace {

using mold::core::Mold;

const QString SURVEY =
    QStringLiteral(MOVARIN_SHARED_DATA_DIR "/real/points/warsaw_small-ground.tpo");
const QString SCHEMA = QStringLiteral(MOVARIN_SHARED_DATA_DIR "/landxml/LandXML-1.2.xsd");
const QString EXPORT_CHECKERS = QStringLiteral(MOVARIN_SOURCE_DIR "/movarin/tests/exports/");
constexpr std::size_t SURVEY_POINTS = 1381;

// The survey covers about 33 m x 33 m north-east of (X0, Y0); everything below is placed in
// metres from there. Its outline is a tilted square with corners near (0, 25), (9, 0),
// (34, 6) and (25, 33).
constexpr double X0 = 639913.0;
constexpr double Y0 = 485143.0;

QPointF local(double x, double y)
{
    return {X0 + x, Y0 + y};
}

/// What the main view shows while the road is drawn: the whole survey with a margin.
const QRectF AREA(X0 - 1.0, Y0 - 1.0, 36.0, 36.0);

// Road A. The mold path runs west to east through the middle; the brush stroke lies south-east
// of it, away from the section, which runs south to north across the mold surface. The
// roughness polygon holds the section's northern part; the five reference lines cross the
// section one after another.
const std::vector<QPointF> MOLD_PATH = {{7.0, 15.0}, {16.0, 16.5}, {25.0, 15.5}};
const std::vector<QPointF> BRUSH_STROKE = {{21.0, 6.5}, {22.0, 6.5}, {23.0, 6.5}, {24.0, 6.5}};
const QPointF SECTION_START(16.0, 4.0);
const QPointF SECTION_END(16.0, 28.0);
const std::vector<QPointF> ROUGHNESS_POLYGON = {
    {13.0, 22.5}, {19.0, 22.5}, {19.0, 27.0}, {13.0, 27.0}};
constexpr double ROUGHNESS = 0.035;
struct ReferenceLine {
    const char* caption;
    double y;
};
const ReferenceLine REFERENCE_LINES[] = {
    {"1", 6.0}, {"2", 10.0}, {"C", 14.0}, {"3", 21.0}, {"4", 25.5}};
// Road B: a mold of its own along a path through the middle.
const std::vector<QPointF> BERM_POINTS = {{-3.0, -0.5}, {-1.0, 0.5}, {1.0, 0.5}, {3.0, -0.5}};
const std::vector<QPointF> ROAD_B_PATH = {{10.0, 12.0}, {24.0, 20.0}};

/// The mold library as names and points, group by group.
using MoldLibrary =
    std::map<int, std::vector<std::tuple<QString, std::vector<double>, std::vector<double>>>>;

/// A surface of the stack as the project file and the archives keep it.
struct SurfaceRecord {
    QString caption;
    bool brush = false;
    bool closed = false;
    QString moldName;
    std::vector<std::array<double, 3>> path;

    bool operator==(const SurfaceRecord& o) const
    {
        return caption == o.caption && brush == o.brush && closed == o.closed
               && moldName == o.moldName && path == o.path;
    }
};

void PrintTo(const SurfaceRecord& s, std::ostream* out)
{
    *out << s.caption.toStdString() << (s.brush ? " brush" : " mold ") << s.moldName.toStdString()
         << (s.closed ? " closed" : "") << ", " << s.path.size() << " path points";
}

using Rows = std::vector<std::array<double, 3>>;

Rows rowsOf(const std::vector<CrossSectionLhTableRow>& rows)
{
    Rows out;
    for (const CrossSectionLhTableRow& r : rows) {
        out.push_back({r.enabled ? 1.0 : 0.0, r.L, r.H});
    }
    return out;
}

/// H of a profile at L, linear between its rows; NaN outside them.
double profileAt(const std::vector<CrossSectionLhTableRow>& rows, double l)
{
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        if (rows[i].L <= l && l <= rows[i + 1].L) {
            const double span = rows[i + 1].L - rows[i].L;
            return span == 0.0 ? rows[i].H
                               : rows[i].H + (rows[i + 1].H - rows[i].H) * (l - rows[i].L) / span;
        }
    }
    return std::numeric_limits<double>::quiet_NaN();
}

/// Even-odd rule; the ring closes from its last vertex to its first.
bool insideRing(const QPointF& p, const std::vector<QPointF>& ring)
{
    bool inside = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const QPointF& a = ring[i];
        const QPointF& b = ring[j];
        if ((a.y() > p.y()) != (b.y() > p.y())
            && p.x() < a.x() + (p.y() - a.y()) * (b.x() - a.x()) / (b.y() - a.y())) {
            inside = !inside;
        }
    }
    return inside;
}

/// A LandXML file as text to compare, the parts that legitimately change left out: the root's
/// `date` and `time`, and each surface's points and faces, which become the surface's
/// triangles by their corners' "y x z" texts, sorted (returned in `surfaces`).
QString comparableLandXml(const QString& path,
                          std::vector<std::multiset<std::array<QString, 3>>>* surfaces)
{
    QFile file(path);
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    QDomElement root = document.documentElement();
    root.removeAttribute(QStringLiteral("date"));
    root.removeAttribute(QStringLiteral("time"));
    const QDomNodeList definitions = document.elementsByTagName(QStringLiteral("Definition"));
    for (int d = 0; d < definitions.size(); ++d) {
        QDomElement definition = definitions.at(d).toElement();
        std::map<QString, QString> points;
        const QDomElement pnts = definition.firstChildElement(QStringLiteral("Pnts"));
        for (QDomElement p = pnts.firstChildElement(); !p.isNull(); p = p.nextSiblingElement()) {
            points[p.attribute(QStringLiteral("id"))] = p.text();
        }
        std::multiset<std::array<QString, 3>> triangles;
        const QDomElement faces = definition.firstChildElement(QStringLiteral("Faces"));
        for (QDomElement f = faces.firstChildElement(); !f.isNull(); f = f.nextSiblingElement()) {
            const QStringList ids = f.text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            std::array<QString, 3> corners;
            for (int k = 0; k < 3 && k < ids.size(); ++k) {
                corners[static_cast<std::size_t>(k)] = points[ids[k]];
            }
            std::sort(corners.begin(), corners.end());
            triangles.insert(corners);
        }
        surfaces->push_back(triangles);
        definition.removeChild(pnts);
        definition.removeChild(faces);
    }
    return document.toString();
}

/// The fields of the data rows of the one section block of "ZND_cross_section.csv".
std::vector<QStringList> crossSectionRows(const QString& folder)
{
    const QByteArray bytes = fileBytes(folder + QStringLiteral("/ZND_cross_section.csv"));
    const QStringList lines =
        QTextCodec::codecForName("Shift-JIS")->toUnicode(bytes).split(QLatin1Char('\n'));
    std::vector<QStringList> rows;
    const int start = lines.indexOf(QStringLiteral("[start]"));
    const int end = lines.indexOf(QStringLiteral("[end]"));
    for (int i = start + 2; start >= 0 && i < end; ++i) {
        rows.push_back(lines[i].split(QLatin1Char(',')));
    }
    return rows;
}

/// What the reopened project is compared with.
struct Saved {
    std::vector<SurfaceRecord> surfaces;
    MoldLibrary molds;
    std::set<TriangleKey> base;
    std::set<TriangleKey> edited;
    std::array<double, 4> section{};
    Rows currentRows;
    Rows baseRows;
    std::vector<std::pair<double, double>> polygon;
    QString polygonValue;
    std::map<QString, std::vector<std::pair<double, double>>> polylines;
    std::pair<QString, QString> soilVolume;
};

class EditModeWorkflow : public WorkflowTest {
protected:
    // --- the windows and their items ----------------------------------------------------

    Project* project() const { return m_window->project(); }
    CreateModeMainWindow* createWindow() const
    {
        return project() ? qobject_cast<CreateModeMainWindow*>(project()->projectWindow())
                         : nullptr;
    }
    EditModeMainWindow* editWindow() const
    {
        return project() ? qobject_cast<EditModeMainWindow*>(project()->projectWindow()) : nullptr;
    }
    EditModeMainWindowModelRootItem* root() const { return editWindow()->model()->rootItem(); }
    mvc::core::View* view() const { return editWindow()->view(); }
    MouseOn mouse() const { return MouseOn(view()); }
    tin::core::Tin& baseTin() const { return *root()->baseTinItem()->tin(); }
    tin::core::Tin& editedTin() const { return *root()->tinItem()->tin(); }
    GeoEditSurfaceGroupItem* surfaceGroup() const { return root()->geoEditSurfaceGroupItem(); }
    GeoEditSurfaceGroupItemController* surfaceController() const
    {
        return surfaceGroup()->groupController();
    }
    std::vector<GeoEditSurfaceItemI*> surfaces() const { return surfacesOf(*surfaceGroup()); }
    CrossSectionItem* section() const
    {
        const auto sections = root()->crossSectionGroupItem()->crossSections();
        return sections.size() == 1 ? sections.front() : nullptr;
    }
    GeoDataGroupItem* geoGroup(const char* name) const
    {
        return root()->geoDataTopItem()->groupItem(QLatin1String(name));
    }
    QUndoStack* undoStack() const { return m_window->undoStack(); }
    bool modified() const { return project()->projectFile()->isModified(); }
    QAction* action(const char* name) const
    {
        QAction* found = m_window->actionManager()->action(QLatin1String(name));
        if (!found) {
            ADD_FAILURE() << "no action " << name;
        }
        return found;
    }
    /// Undo and Redo of the Edit menu (their texts name the command).
    QAction* editAction(const char* objectName) const
    {
        return m_window->actionManager()->findChild<QAction*>(QLatin1String(objectName));
    }

    /// The main view on `AREA`.
    void showArea() const
    {
        view()->fit(AREA);
        view()->updateView();
        QApplication::processEvents();
    }
    /// The project window above, the section's window below it across the whole area, as a
    /// user arranges them to see both (a new window is placed where it overlaps the other),
    /// with the Mold Browser, no longer needed, closed (View > Mold Browser).
    void arrangeWindows() const
    {
        QMdiSubWindow* sectionWindow = section()->controller()->crossSectionSubWindow();
        ASSERT_NE(sectionWindow, nullptr);
        // The Mold Browser belongs to the project window, which the user brings forward first.
        action("Focus Main Window")->trigger();
        if (action("Mold Browser")->isChecked()) {
            action("Mold Browser")->trigger();
        }
        EXPECT_FALSE(surfaceController()->moldsContainerBrowser()->isVisible());
        QApplication::processEvents();
        QMdiSubWindow* projectWindow = ProjectSession::subWindowOf(editWindow());
        const QSize area = m_window->mdiArea()->viewport()->size();
        const int below = std::max(300, sectionWindow->minimumSizeHint().height());
        ASSERT_GE(area.height() - below, projectWindow->minimumSizeHint().height());
        projectWindow->setGeometry(0, 0, area.width(), area.height() - below);
        sectionWindow->setGeometry(0, area.height() - below, area.width(), below);
        showArea();
    }
    QPoint pixel(const QPointF& localPoint) const
    {
        return pixelOf(view(), local(localPoint.x(), localPoint.y()));
    }
    /// The world point that a click at the pixel of `localPoint` lands on.
    QPointF landing(const QPointF& localPoint) const { return view()->rconv(pixel(localPoint)); }
    /// A move to the point's pixel, then a left press and release there.
    void clickAt(const QPointF& localPoint) const
    {
        mouse().move(pixel(localPoint));
        mouse().click(pixel(localPoint));
    }
    void clickAll(const std::vector<QPointF>& points) const
    {
        for (const QPointF& p : points) {
            clickAt(p);
        }
    }

    /// The texts of the message boxes shown since the records were last cleared.
    QStringList boxes() const
    {
        QStringList texts;
        for (const auto& record : m_script.messageBoxes()) {
            texts << record.text;
        }
        return texts;
    }

    /// The main window after step `n`, not blank; the picture.
    QImage shootStep(int n)
    {
        const QImage shot = grabScreen(QStringLiteral("edit-mode-step%1").arg(n));
        EXPECT_EQ(shot.size(), QSize(1280, 800));
        EXPECT_GE(distinctColours(shot), 50) << "step " << n;
        return shot;
    }

    /// Opens `archive` through File > Open.
    void openThroughMenu(const QString& archive)
    {
        m_script.answerFile(archive);
        action("Open")->trigger();
        QApplication::processEvents();
    }

    // --- Mold Browser -----------------------------------------------------------------

    MoldsContainerWidget* moldBrowser() const
    {
        return surfaceController()->moldsContainerBrowser()->moldsContainerWidget();
    }
    /// Clicks the icon of the mold of that name in its tab of the Mold Browser.
    void pickMold(const QString& name) const
    {
        for (const Mold::EditType type : {Mold::Add, Mold::Subtract}) {
            for (IconView* icon : moldBrowser()->groupWidget(type)->icons()) {
                if (icon->moldItem()->name() == name) {
                    moldBrowser()
                        ->findChild<QTabWidget*>(QStringLiteral("tabWidget"))
                        ->setCurrentIndex(type);
                    QApplication::processEvents();
                    QTest::mouseClick(icon, Qt::LeftButton);
                    EXPECT_EQ(surfaceController()->selectedMoldItem(), icon->moldItem());
                    return;
                }
            }
        }
        ADD_FAILURE() << "no mold " << name.toStdString();
    }
    MoldLibrary moldLibrary() const
    {
        MoldLibrary library;
        for (const Mold::EditType type : {Mold::Add, Mold::Subtract}) {
            for (const MoldItem* m : surfaceGroup()->moldsContainer()->group(type)->molds()) {
                library[type].emplace_back(m->name(), m->l(), m->h());
            }
        }
        return library;
    }

    std::vector<SurfaceRecord> surfaceRecords() const
    {
        std::vector<SurfaceRecord> records;
        for (GeoEditSurfaceItemI* s : surfaces()) {
            SurfaceRecord record;
            record.caption = s->caption();
            if (auto mold = qobject_cast<GeoEditSurfaceItem*>(s)) {
                record.closed = mold->closed();
                record.moldName = mold->moldName();
                for (const tin::core::Point& p : mold->path()) {
                    record.path.push_back({p.x(), p.y(), p.elevation()});
                }
            } else {
                record.brush = qobject_cast<GeoEditSurfaceByBrushItem*>(s) != nullptr;
            }
            records.push_back(record);
        }
        return records;
    }

    /// Draws a path of clicks with the selected mold and ends it with Return.
    void drawMoldPath(const std::vector<QPointF>& path) const
    {
        surfaceController()->geoEditSurfaceAction()->trigger();
        clickAll(path);
        mouse().key(Qt::Key_Return);
    }

    // --- the road -------------------------------------------------------------------------

    /// 1. Road A, conversion: a create-mode project imports the survey, copies its points for
    /// the TIN and creates the TIN, writes it as binary STL and is saved as a new edit-mode
    /// project, whose base and edited TINs are the created one.
    void convertTheSurvey()
    {
        // The colour range of this terrain without the edges of its triangles (about a metre
        // long, a few pixels on the view), as an engineer sets the preferences for it: the
        // pictures then show the relief, the changes to it and the black reference lines.
        QSettings settings;
        settings.setValue(QString::fromLatin1(settings::graphicsColormapMin), 84.5);
        settings.setValue(QString::fromLatin1(settings::graphicsColormapMax), 86.5);
        settings.setValue(QString::fromLatin1(settings::graphicsColormapWaterSurface), 84.5);
        settings.setValue(QString::fromLatin1(settings::graphicsShowTinEdges), false);
        emit m_window->preferenceChanged();

        action("New Project")->trigger();
        ASSERT_NE(createWindow(), nullptr);
        CreateModeMainWindowModelRootItem* create = createWindow()->model()->rootItem();
        m_script.answerFile(SURVEY, CoordinatePointsGroupItem::fileFilters().at(3));
        create->coordinatePointsGroupItem()->controller()->importData();
        const std::vector<mvc::core::ModelItem*> imported =
            create->coordinatePointsGroupItem()->childItems();
        ASSERT_EQ(imported.size(), 1u);
        auto survey = qobject_cast<CoordinatePointsItem*>(imported[0]);
        ASSERT_NE(survey, nullptr);
        EXPECT_EQ(survey->caption(), "warsaw_small-ground.tpo");
        EXPECT_EQ(survey->pointSet()->allPoints().size(), SURVEY_POINTS);

        auto points = static_cast<CoordinatePointsItemController*>(survey->controller());
        points->selectAllAction()->trigger();
        points->copyToPointsForTinAction()->trigger();
        EXPECT_EQ(create->coordinatePointsForTinItem()->pointSet()->allPoints().size(),
                  SURVEY_POINTS);

        m_script.answer(QMessageBox::No);
        create->coordinatePointsForTinItem()->controller()->createTinAction()->trigger();
        ASSERT_NE(create->tinItem()->tin(), nullptr);
        const tin::core::Tin& created = *create->tinItem()->tin();
        m_createdCount = created.allTriangles().size();
        m_created = trianglesOf(created);
        EXPECT_GE(verticesOf(created).size(), SURVEY_POINTS * 99 / 100);
        for (const TriangleKey& corners : m_created) {
            m_createdVertices.insert(corners.begin(), corners.end());
        }

        m_stl = file(QStringLiteral("warsaw.stl"));
        m_script.answerFile(m_stl);
        create->tinItem()->controller()->exportAction()->trigger();
        // Binary STL: an 80-byte header, the count, 50 bytes a facet.
        EXPECT_EQ(QFileInfo(m_stl).size(), qint64(84 + 50 * m_createdCount));

        m_roadA = file(QStringLiteral("road-a.emvn"));
        m_script.clearRecords();
        m_script.answer(QMessageBox::No);
        m_script.answerFile(m_roadA);
        action("Save as Edit mode project")->trigger();
        EXPECT_EQ(boxes(), QStringList{"This Project is modified. Do you want to save it before "
                                       "migrating to Edit mode?"});
        ASSERT_NE(editWindow(), nullptr);
        EXPECT_EQ(project()->filename(), m_roadA);
        EXPECT_FALSE(modified());
        ASSERT_NE(root()->baseTinItem()->tin(), nullptr);
        ASSERT_NE(root()->tinItem()->tin(), nullptr);
        EXPECT_EQ(baseTin().allTriangles().size(), m_createdCount);
        EXPECT_EQ(editedTin().allTriangles().size(), m_createdCount);
        EXPECT_EQ(trianglesOf(baseTin()), m_created);
        EXPECT_EQ(trianglesOf(editedTin()), m_created);

        showArea();
        m_step1 = shootStep(1);
    }

    /// 2. Road B, STL: the file opens as a new edit-mode project; a mold made in "Mold
    /// Setting" is swept along a path there, and the project is saved, reopened with the
    /// surface in place, the reopened surface edited, and closed. Road A is opened again.
    void openTheStlAndSweepAMold()
    {
        m_script.clearRecords();
        openThroughMenu(m_stl);
        ASSERT_NE(editWindow(), nullptr);
        EXPECT_EQ(m_window->windowTitle(), "Untitled - Movarin");
        ASSERT_NE(root()->baseTinItem()->tin(), nullptr);
        EXPECT_EQ(baseTin().allTriangles().size(), m_createdCount);
        EXPECT_EQ(trianglesOf(baseTin()), trianglesOf(editedTin()));
        // Binary STL keeps single-precision floats: within 0.07 m of a created vertex (a
        // float's step is 1/16 m at these coordinates).
        const auto near = [&](const Corner& c) {
            constexpr double d = 0.07;
            auto it = m_createdVertices.lower_bound({c[0] - d, -INFINITY, -INFINITY});
            for (; it != m_createdVertices.end() && (*it)[0] <= c[0] + d; ++it) {
                if (std::abs((*it)[1] - c[1]) <= d && std::abs((*it)[2] - c[2]) <= d) {
                    return true;
                }
            }
            return false;
        };
        std::size_t far = 0;
        for (const TriangleKey& key : trianglesOf(baseTin())) {
            far +=
                static_cast<std::size_t>(std::count_if(key.begin(), key.end(), std::not_fn(near)));
        }
        EXPECT_EQ(far, 0u) << "corners farther than 0.07 m from every created vertex";

        // A new Add mold, "Berm", clicked in the detail view of "Mold Setting".
        ModalAnswerer answerer([](QWidget* shown) {
            auto dialog = qobject_cast<MoldItemPropertyDialog*>(shown);
            ASSERT_NE(dialog, nullptr);
            DetailView* detail = dialog->detailView();
            detail->setScale(20.0);
            detail->setCenterPoint(QPointF(0.0, 0.0));
            detail->updateView();
            for (const QPointF& p : BERM_POINTS) {
                QTest::mouseClick(detail, Qt::LeftButton, Qt::NoModifier,
                                  detail->conv(p).toPoint());
            }
            QTest::keyClick(detail, Qt::Key_Return);
            dialog->findChild<QLineEdit*>(QStringLiteral("nameLineEdit"))
                ->setText(QStringLiteral("Berm"));
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
        });
        moldBrowser()
            ->findChild<QTabWidget*>(QStringLiteral("tabWidget"))
            ->setCurrentIndex(Mold::Add);
        QTest::mouseClick(moldBrowser()->findChild<QPushButton*>(QStringLiteral("addButton")),
                          Qt::LeftButton);
        EXPECT_TRUE(answerer.answered());
        EXPECT_FALSE(answerer.leftOpen());
        MoldItem* berm = surfaceGroup()->moldsContainer()->group(Mold::Add)->molds().front();
        ASSERT_EQ(berm->name(), "Berm");
        EXPECT_EQ(berm->size(), BERM_POINTS.size());
        EXPECT_EQ(surfaceController()->selectedMoldItem(), berm);

        showArea();
        drawMoldPath(ROAD_B_PATH);
        ASSERT_EQ(surfaces().size(), 1u);
        EXPECT_EQ(surfaces()[0]->caption(), "GeoEdit 1 (Add)");
        const CutFill change = differences(baseTin(), editedTin());
        EXPECT_GT(change.fill, 1.0) << "the berm stands on the terrain";
        const std::vector<SurfaceRecord> records = surfaceRecords();
        EXPECT_EQ(records[0].moldName, "Berm");
        const std::set<TriangleKey> edited = trianglesOf(editedTin());
        const MoldLibrary molds = moldLibrary();

        const QString roadB = file(QStringLiteral("road-b.emvn"));
        m_script.answerFile(roadB);
        action("Save As")->trigger();
        EXPECT_EQ(project()->filename(), roadB);
        ASSERT_TRUE(m_window->closeProject());
        openThroughMenu(roadB);
        ASSERT_NE(editWindow(), nullptr);
        EXPECT_EQ(surfaceRecords(), records);
        EXPECT_EQ(trianglesOf(editedTin()), edited);
        EXPECT_EQ(moldLibrary(), molds);
        EXPECT_TRUE(boxes().isEmpty()) << boxes().join('\n').toStdString();
        ASSERT_NO_FATAL_FAILURE(editTheReopenedSurface());
        EXPECT_TRUE(modified());
        if (modified()) {
            m_script.answer(QMessageBox::No);
        }
        ASSERT_TRUE(m_window->closeProject());

        openThroughMenu(m_roadA);
        ASSERT_NE(editWindow(), nullptr);
        EXPECT_EQ(trianglesOf(baseTin()), m_created);
        EXPECT_TRUE(surfaces().empty());
        showArea();
        shootStep(2);
    }

    /// On road B reopened: the berm's second vertex dragged 1.5 m north on the main view with
    /// "Batch Apply" on, then "Apply Edit", as on the day the surface was made.
    void editTheReopenedSurface()
    {
        m_script.clearRecords();
        showArea();
        auto berm = qobject_cast<GeoEditSurfaceItem*>(surfaces().front());
        ASSERT_NE(berm, nullptr);
        ASSERT_EQ(berm->path().size(), ROAD_B_PATH.size());
        surfaceGroup()->model()->select(berm);
        auto controller = static_cast<GeoEditSurfaceItemController*>(berm->controller());
        using Action = GeoEditSurfaceItemController::Action;
        controller->action(Action::BatchApplyAction)->trigger();
        ASSERT_TRUE(controller->isBatchApply());
        const CutFill before = differences(baseTin(), editedTin());
        const tin::core::Point start = berm->path()[1];
        const QPointF to = ROAD_B_PATH[1] + QPointF(0.0, 1.5);
        mouse().move(pixel(ROAD_B_PATH[1]));
        mouse().drag(pixel(ROAD_B_PATH[1]), pixel(to));
        EXPECT_TRUE(controller->isEdited());
        EXPECT_EQ(berm->path()[1].y(), start.y()) << "nothing applied before Apply Edit";
        const int entries = undoStack()->count();
        controller->action(Action::ApplyEditAction)->trigger();
        EXPECT_FALSE(controller->isEdited());
        EXPECT_EQ(undoStack()->count(), entries + 1);
        EXPECT_EQ(undoStack()->undoText(), "Edit GeoEdit 1 (Add)");
        const QPointF landed = landing(to);
        EXPECT_EQ(QPointF(berm->path()[1].x(), berm->path()[1].y()), landed);
        // The berm keeps its height above the ground it was set on, within the ground's own
        // change over 1.5 m.
        EXPECT_NEAR(berm->path()[1].elevation(), start.elevation(), 1.0);
        const CutFill after = differences(baseTin(), editedTin());
        EXPECT_GT(after.fill, 1.0) << "the berm still stands on the terrain";
        EXPECT_NE(after.fill, before.fill) << "the edit reached the edited TIN";
        EXPECT_TRUE(berm->isValid());
        EXPECT_TRUE(boxes().isEmpty()) << boxes().join('\n').toStdString();
        controller->action(Action::BatchApplyAction)->trigger();
        EXPECT_FALSE(controller->isBatchApply());
    }

    /// 3. "Convex (Add)" along three clicks and a brush stroke beside it; undo twice and redo
    /// twice give back the very triangle objects.
    void reshapeTheTerrain()
    {
        m_script.clearRecords();
        const std::set<const tin::core::Triangle*> before =
            identitiesOf(editedTin().allTriangles());
        pickMold(QStringLiteral("Convex (Add)"));
        drawMoldPath(MOLD_PATH);
        ASSERT_EQ(surfaces().size(), 1u);
        EXPECT_EQ(surfaces()[0]->caption(), "GeoEdit 1 (Add)");
        const std::set<const tin::core::Triangle*> afterMold =
            identitiesOf(editedTin().allTriangles());
        EXPECT_NE(afterMold, before);

        // The brush: press, moves, release, Return.
        surfaceGroup()->model()->select(surfaceGroup());
        surfaceController()->addByBrushingAction()->trigger();
        const QPoint first = pixel(BRUSH_STROKE.front());
        mouse().move(first);
        mouse().press(first);
        for (const QPointF& p : BRUSH_STROKE) {
            mouse().move(pixel(p), Qt::LeftButton);
        }
        mouse().release(pixel(BRUSH_STROKE.back()));
        mouse().key(Qt::Key_Return);
        ASSERT_EQ(surfaces().size(), 2u);
        EXPECT_EQ(surfaces()[0]->caption(), "BrushEdit 2");
        EXPECT_EQ(surfaces()[1]->caption(), "GeoEdit 1 (Add)");
        const std::set<const tin::core::Triangle*> afterBrush =
            identitiesOf(editedTin().allTriangles());
        EXPECT_NE(afterBrush, afterMold);

        editAction("Undo")->trigger();
        EXPECT_EQ(identitiesOf(editedTin().allTriangles()), afterMold);
        editAction("Undo")->trigger();
        EXPECT_EQ(identitiesOf(editedTin().allTriangles()), before);
        EXPECT_TRUE(surfaces().empty());
        editAction("Redo")->trigger();
        EXPECT_EQ(identitiesOf(editedTin().allTriangles()), afterMold);
        editAction("Redo")->trigger();
        EXPECT_EQ(identitiesOf(editedTin().allTriangles()), afterBrush);
        ASSERT_EQ(surfaces().size(), 2u);
        EXPECT_TRUE(boxes().isEmpty()) << boxes().join('\n').toStdString();

        showArea();
        const QImage shot = shootStep(3);
        // The mold surface shows: inside its outline the picture has changed.
        auto mold = qobject_cast<GeoEditSurfaceItem*>(surfaces()[1]);
        ASSERT_NE(mold, nullptr);
        ASSERT_NE(mold->tin(), nullptr);
        // Every fourth pixel of the view whose world point the surface covers.
        int inside = 0;
        int changed = 0;
        for (int y = 0; y < view()->height(); y += 4) {
            for (int x = 0; x < view()->width(); x += 4) {
                const QPointF world = view()->rconv(QPoint(x, y));
                double z = 0.0;
                if (!mold->tin()->interpolatedElevation(tin::core::Point2D(world.x(), world.y()),
                                                        &z)) {
                    continue;
                }
                const QPoint at = view()->mapTo(m_window.get(), QPoint(x, y));
                ++inside;
                changed += shot.pixel(at) != m_step1.pixel(at) ? 1 : 0;
            }
        }
        EXPECT_GT(inside, 100);
        EXPECT_GT(changed, inside / 2) << "of " << inside << " pixels inside the surface";
    }

    /// 4. A section drawn across the mold surface and its window: above the base inside the
    /// surface, the base itself beyond the extended surface.
    void cutASection()
    {
        m_script.clearRecords();
        auto sections = static_cast<CrossSectionGroupItemController*>(
            root()->crossSectionGroupItem()->controller());
        sections->addAction()->trigger();
        clickAt(SECTION_START);
        clickAt(SECTION_END);
        ASSERT_NE(section(), nullptr);
        EXPECT_EQ(section()->caption(), "Cross section 1");
        EXPECT_EQ(QPointF(section()->startX(), section()->startY()), landing(SECTION_START));
        EXPECT_EQ(QPointF(section()->endX(), section()->endY()), landing(SECTION_END));

        section()->controller()->showAction()->trigger();
        CrossSectionDialog* dialog = section()->controller()->crossSectionDialog();
        ASSERT_NE(dialog, nullptr);
        QApplication::processEvents();
        const auto& current = dialog->currentRows();
        const auto& base = dialog->baseRows();
        ASSERT_GT(current.size(), 10u);
        auto mold = qobject_cast<GeoEditSurfaceItem*>(surfaces()[1]);
        ASSERT_NE(mold, nullptr);
        const QPointF s(section()->startX(), section()->startY());
        const QPointF e(section()->endX(), section()->endY());
        const double length = std::hypot(e.x() - s.x(), e.y() - s.y());
        double highest = -1e300;
        int beyond = 0;
        for (const CrossSectionLhTableRow& row : current) {
            const tin::core::Point2D at(s.x() + (e.x() - s.x()) * row.L / length,
                                        s.y() + (e.y() - s.y()) * row.L / length);
            double z = 0.0;
            const double under = profileAt(base, row.L);
            ASSERT_FALSE(std::isnan(under)) << "no base row around L " << row.L;
            if (mold->tin()->interpolatedElevation(at, &z)) {
                highest = std::max(highest, row.H - under);
            } else if (!mold->extendedTin()->interpolatedElevation(at, &z)) {
                EXPECT_NEAR(row.H, under, 1e-9) << "at L " << row.L;
                ++beyond;
            }
        }
        EXPECT_GT(highest, 0.1) << "the surface lies above the base along the section";
        EXPECT_GT(beyond, 4);
        EXPECT_TRUE(boxes().isEmpty()) << boxes().join('\n').toStdString();

        ASSERT_NO_FATAL_FAILURE(arrangeWindows());
        QMdiSubWindow* sub = section()->controller()->crossSectionSubWindow();
        const QRect frame(sub->mapTo(m_window.get(), QPoint(0, 0)), sub->size());
        const QImage window = grabScreen(QStringLiteral("edit-mode-step4-section"), frame);
        EXPECT_GE(distinctColours(window), 50);
        shootStep(4);
    }

    /// 5. A roughness polygon around part of the section and the five reference lines across
    /// it, each renamed in the object browser.
    void tagTheArea()
    {
        m_script.clearRecords();
        showArea();
        GeoDataGroupItem* roughness = geoGroup("roughness");
        ASSERT_NE(roughness, nullptr);
        static_cast<GeoDataGroupItemController*>(roughness->controller())
            ->addPolygonAction()
            ->trigger();
        ModalAnswerer value([](QWidget* dialog) {
            dialog->findChild<guimisc::widget::RealNumberEditWidget*>()->setText(
                QStringLiteral("0.035"));
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
        });
        clickAll(ROUGHNESS_POLYGON);
        mouse().key(Qt::Key_Return);
        EXPECT_TRUE(value.answered());
        EXPECT_FALSE(value.leftOpen());
        ASSERT_EQ(roughness->childItems().size(), 1u);
        auto polygon = qobject_cast<GeoDataPolygonItem*>(roughness->childItems()[0]);
        ASSERT_NE(polygon, nullptr);
        ASSERT_NE(polygon->polygon(), nullptr);
        EXPECT_EQ(polygon->polygon()->points().size(), ROUGHNESS_POLYGON.size());
        EXPECT_EQ(polygon->value().toDouble(), ROUGHNESS);

        GeoDataGroupItem* reference = geoGroup("referenceinformation");
        ASSERT_NE(reference, nullptr);
        for (const ReferenceLine& line : REFERENCE_LINES) {
            static_cast<GeoDataGroupItemController*>(reference->controller())
                ->addPolylineAction()
                ->trigger();
            clickAll({{12.0, line.y}, {16.5, line.y + 0.3}, {20.0, line.y}});
            mouse().key(Qt::Key_Return);
            auto polyline = qobject_cast<GeoDataPolylineItem*>(reference->childItems().front());
            ASSERT_NE(polyline, nullptr);
            renameInBrowser(polyline, QString::fromLatin1(line.caption));
            EXPECT_EQ(polyline->caption(), line.caption);
        }
        ASSERT_EQ(reference->childItems().size(), 5u);
        // Each crosses the section once, as its window finds them, and touches no other.
        QApplication::processEvents();
        std::map<QString, std::size_t> crossings;
        for (const CrossSectionPolylineCrossing& c :
             section()->controller()->crossSectionDialog()->polylineCrossings()) {
            ASSERT_FALSE(c.polyline.isNull());
            crossings[c.polyline->caption()] = c.ls.size();
        }
        EXPECT_EQ(crossings, (std::map<QString, std::size_t>{
                                 {"1", 1}, {"2", 1}, {"C", 1}, {"3", 1}, {"4", 1}}));
        const std::vector<mvc::core::ModelItem*> lines = reference->childItems();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            for (std::size_t j = i + 1; j < lines.size(); ++j) {
                EXPECT_FALSE(qobject_cast<GeoDataPolylineItem*>(lines[i])
                                 ->polyline()
                                 ->geosGeometry()
                                 ->intersects(qobject_cast<GeoDataPolylineItem*>(lines[j])
                                                  ->polyline()
                                                  ->geosGeometry()))
                    << lines[i]->caption().toStdString() << " touches "
                    << lines[j]->caption().toStdString();
            }
        }
        // Each definition starts with its hint.
        QStringList hints{"Please define polygon by mouse-clicking. Finish definining by double "
                          "clicking, or pressing return key."};
        for (int i = 0; i < 5; ++i) {
            hints << "Please define polyline by mouse-clicking. Finish definining by double "
                     "clicking, or pressing return key.";
        }
        EXPECT_EQ(boxes(), hints);
        shootStep(5);
    }

    /// Renames an item as the user does: the object browser's editor on its row, the new
    /// text typed, Return.
    void renameInBrowser(mvc::core::ModelItem* item, const QString& caption) const
    {
        mvc::core::ObjectBrowserView* browser = editWindow()->model()->objectBrowserView();
        const QModelIndex index = item->browserItem()->index();
        browser->scrollTo(index);
        browser->edit(index);
        auto editor = qobject_cast<QLineEdit*>(browser->indexWidget(index));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, caption);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits the text once the event loop runs.
        QApplication::processEvents();
    }

    /// 6. The soil volume of the whole surface, against the TIN modifier's own comparison.
    void measureTheSoilVolume()
    {
        m_script.clearRecords();
        ASSERT_NO_FATAL_FAILURE(
            wholeSoilVolume(&m_saved.soilVolume, QStringLiteral("edit-mode-step6-soil-volume")));
        const CutFill volumes = differences(baseTin(), editedTin());
        EXPECT_GT(volumes.fill, 0.0);
        EXPECT_EQ(m_saved.soilVolume.first, QString::number(std::abs(volumes.cut), 'f', 3));
        EXPECT_EQ(m_saved.soilVolume.second, QString::number(std::abs(volumes.fill), 'f', 3));
        EXPECT_TRUE(boxes().isEmpty()) << boxes().join('\n').toStdString();
        shootStep(6);
    }

    /// Tool > Calculate Soil Volume, "Execute" on the whole surface: "Cut" and "Fill" as the
    /// table shows them. The dialog is kept as `screenshot` when one is named, then closed.
    void wholeSoilVolume(std::pair<QString, QString>* shown, const QString& screenshot = QString())
    {
        action("Calculate Soil Volume")->trigger();
        auto dialog = editWindow()->findChild<CalculateSoilVolumeDialog*>();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
            if (b->text().remove(QLatin1Char('&')) == QLatin1String("Execute")) {
                QTest::mouseClick(b, Qt::LeftButton);
            }
        }
        auto table = dialog->findChild<QTableWidget*>();
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->item(0, 0)->text(), "Cut");
        EXPECT_EQ(table->item(1, 0)->text(), "Fill");
        *shown = {table->item(0, 1)->text(), table->item(1, 1)->text()};
        if (!screenshot.isEmpty()) {
            EXPECT_GE(distinctColours(grabScreen(dialog, screenshot)), 50);
        }
        dialog->reject();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    /// Export > LandXML into `path`.
    void exportLandXml(const QString& path)
    {
        ModalAnswerer answerer([&](QWidget* dialog) {
            m_script.answerFile(path);
            QTest::mouseClick(dialog->findChild<QWidget*>(QStringLiteral("filenameWidget"))
                                  ->findChild<QPushButton*>(),
                              Qt::LeftButton);
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
        });
        action("LandXML")->trigger();
        EXPECT_TRUE(answerer.answered());
        EXPECT_FALSE(answerer.leftOpen());
    }

    /// Export > Zindral Grid data into `folder`; the first export fills the dialog in, later
    /// ones take what the project kept but the folder.
    void exportGrid(const QString& folder, bool fillIn)
    {
        ModalAnswerer answerer([&](QWidget* dialog) {
            m_script.answerDirectory(folder);
            QTest::mouseClick(dialog->findChild<QWidget*>(QStringLiteral("folderWidget"))
                                  ->findChild<QPushButton*>(),
                              Qt::LeftButton);
            if (fillIn) {
                QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("riverNameEdit")),
                                 QStringLiteral("Wisla"));
                QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("surveyDateEdit")),
                                 QStringLiteral("2024-06-01"));
            }
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
        });
        action("Zindral Grid data")->trigger();
        EXPECT_TRUE(answerer.answered());
        EXPECT_FALSE(answerer.leftOpen());
    }

    /// 7. Both exports, checked against the saved project.
    void exportTheResult()
    {
        m_script.clearRecords();
        m_landXml = file(QStringLiteral("road-a.xml"));
        exportLandXml(m_landXml);
        m_grid = file(QStringLiteral("grid"));
        ASSERT_TRUE(QDir().mkpath(m_grid));
        exportGrid(m_grid, true);
        EXPECT_EQ(boxes(), (QStringList{QStringLiteral("LandXML successfully exported to %1.")
                                            .arg(QDir::toNativeSeparators(m_landXml)),
                                        QStringLiteral("Grid data is successfully exported to %1.")
                                            .arg(QDir::toNativeSeparators(m_grid))}));

        // The checkers compare with the project as saved.
        action("Save")->trigger();
        EXPECT_FALSE(modified());
        const ScriptRun landXml =
            runPython(EXPORT_CHECKERS + QStringLiteral("check_landxml.py"),
                      {m_landXml, m_roadA, QStringLiteral("--schema"), SCHEMA});
        EXPECT_TRUE(landXml.passed()) << landXml.output.toStdString();
        const ScriptRun grid =
            runPython(EXPORT_CHECKERS + QStringLiteral("check_grid_csv.py"), {m_grid, m_roadA});
        EXPECT_TRUE(grid.passed()) << grid.output.toStdString();

        // The section's stretches inside the roughness polygon carry its value.
        std::vector<QPointF> ring;
        for (const tin::core::Point2D& p :
             qobject_cast<GeoDataPolygonItem*>(geoGroup("roughness")->childItems()[0])
                 ->polygon()
                 ->points()) {
            ring.emplace_back(p.x(), p.y());
        }
        const QPointF s(section()->startX(), section()->startY());
        const QPointF e(section()->endX(), section()->endY());
        const double length = std::hypot(e.x() - s.x(), e.y() - s.y());
        const std::vector<QStringList> rows = crossSectionRows(m_grid);
        ASSERT_GT(rows.size(), 10u);
        int tagged = 0;
        for (std::size_t i = 1; i < rows.size(); ++i) {
            const double middle = (rows[i - 1][0].toDouble() + rows[i][0].toDouble()) / 2.0;
            const QPointF at = s + (e - s) * (middle / length);
            if (insideRing(at, ring)) {
                EXPECT_EQ(rows[i][3], "0.035") << "the stretch to L " << rows[i][0].toStdString();
                ++tagged;
            } else {
                EXPECT_EQ(rows[i][3], "0.020") << "the stretch to L " << rows[i][0].toStdString();
            }
        }
        EXPECT_GT(tagged, 2);
        shootStep(7);
    }

    /// What the project holds now, to be found again after the reopen.
    void record()
    {
        m_saved.surfaces = surfaceRecords();
        m_saved.molds = moldLibrary();
        m_saved.base = trianglesOf(baseTin());
        m_saved.edited = trianglesOf(editedTin());
        m_saved.section = {section()->startX(), section()->startY(), section()->endX(),
                           section()->endY()};
        CrossSectionDialog* dialog = section()->controller()->crossSectionDialog();
        ASSERT_NE(dialog, nullptr);
        m_saved.currentRows = rowsOf(dialog->currentRows());
        m_saved.baseRows = rowsOf(dialog->baseRows());
        auto polygon = qobject_cast<GeoDataPolygonItem*>(geoGroup("roughness")->childItems()[0]);
        m_saved.polygon = shapeVertices(*polygon->polygon());
        m_saved.polygonValue = polygon->value().toString();
        for (mvc::core::ModelItem* child : geoGroup("referenceinformation")->childItems()) {
            auto polyline = qobject_cast<GeoDataPolylineItem*>(child);
            m_saved.polylines[polyline->caption()] = shapeVertices(*polyline->polyline());
        }
    }

    template <class Shape>
    static std::vector<std::pair<double, double>> shapeVertices(const Shape& shape)
    {
        std::vector<std::pair<double, double>> vertices;
        for (const tin::core::Point2D& p : shape.points()) {
            vertices.emplace_back(p.x(), p.y());
        }
        return vertices;
    }

    /// 8. Saved, closed and opened again: everything as it was, nothing to undo, and the
    /// newest surface deleted and undone gives back the same edited TIN.
    void saveCloseAndReopen()
    {
        m_script.clearRecords();
        ASSERT_NO_FATAL_FAILURE(record());
        action("Save")->trigger();
        EXPECT_FALSE(modified());
        const QStringList members = archiveMembers(m_roadA);
        EXPECT_TRUE(members.contains("geoEditSurfaceGroupItem/geoedit1.geb"))
            << members.join(' ').toStdString();
        EXPECT_TRUE(members.contains("geoEditSurfaceGroupItem/geoedit2.ges"))
            << members.join(' ').toStdString();

        ASSERT_TRUE(m_window->closeProject());
        ASSERT_EQ(project(), nullptr);
        openThroughMenu(m_roadA);
        ASSERT_NE(editWindow(), nullptr);
        EXPECT_EQ(undoStack()->count(), 0);
        EXPECT_FALSE(modified());

        EXPECT_EQ(surfaceRecords(), m_saved.surfaces);
        EXPECT_EQ(moldLibrary(), m_saved.molds);
        EXPECT_EQ(trianglesOf(baseTin()), m_saved.base);
        EXPECT_EQ(trianglesOf(editedTin()), m_saved.edited);
        ASSERT_NE(section(), nullptr);
        EXPECT_EQ((std::array<double, 4>{section()->startX(), section()->startY(),
                                         section()->endX(), section()->endY()}),
                  m_saved.section);
        section()->controller()->showAction()->trigger();
        CrossSectionDialog* dialog = section()->controller()->crossSectionDialog();
        ASSERT_NE(dialog, nullptr);
        QApplication::processEvents();
        EXPECT_EQ(rowsOf(dialog->currentRows()), m_saved.currentRows);
        EXPECT_EQ(rowsOf(dialog->baseRows()), m_saved.baseRows);
        ASSERT_EQ(geoGroup("roughness")->childItems().size(), 1u);
        auto polygon = qobject_cast<GeoDataPolygonItem*>(geoGroup("roughness")->childItems()[0]);
        EXPECT_EQ(shapeVertices(*polygon->polygon()), m_saved.polygon);
        EXPECT_EQ(polygon->value().toString(), m_saved.polygonValue);
        std::map<QString, std::vector<std::pair<double, double>>> polylines;
        for (mvc::core::ModelItem* child : geoGroup("referenceinformation")->childItems()) {
            auto polyline = qobject_cast<GeoDataPolylineItem*>(child);
            polylines[polyline->caption()] = shapeVertices(*polyline->polyline());
        }
        EXPECT_EQ(polylines, m_saved.polylines);

        // The soil volume and both exports again.
        std::pair<QString, QString> soil;
        ASSERT_NO_FATAL_FAILURE(wholeSoilVolume(&soil));
        EXPECT_EQ(soil, m_saved.soilVolume);
        const QString landXml = file(QStringLiteral("reopened.xml"));
        exportLandXml(landXml);
        std::vector<std::multiset<std::array<QString, 3>>> before;
        std::vector<std::multiset<std::array<QString, 3>>> after;
        EXPECT_EQ(comparableLandXml(landXml, &after), comparableLandXml(m_landXml, &before));
        EXPECT_EQ(after, before);
        EXPECT_EQ(after.size(), 2u);
        const QString grid = file(QStringLiteral("reopened-grid"));
        ASSERT_TRUE(QDir().mkpath(grid));
        exportGrid(grid, false);
        for (const char* name :
             {"ZND_kilometer-post.csv", "ZND_longitudinal_section.csv", "ZND_cross_section.csv"}) {
            EXPECT_EQ(fileBytes(grid + '/' + name), fileBytes(m_grid + '/' + name)) << name;
        }
        EXPECT_EQ(boxes().size(), 2u) << boxes().join('\n').toStdString();

        // The newest surface deleted and undone: the same edited TIN.
        const std::set<const tin::core::Triangle*> edited =
            identitiesOf(editedTin().allTriangles());
        deleteThroughBrowser(surfaces().front(), m_script);
        ASSERT_EQ(surfaces().size(), 1u);
        EXPECT_NE(identitiesOf(editedTin().allTriangles()), edited);
        editAction("Undo")->trigger();
        ASSERT_EQ(surfaces().size(), 2u);
        EXPECT_EQ(identitiesOf(editedTin().allTriangles()), edited);
        EXPECT_EQ(trianglesOf(editedTin()), m_saved.edited);
        ASSERT_NO_FATAL_FAILURE(arrangeWindows());
        shootStep(8);
    }

    QString m_stl;
    QString m_roadA;
    QString m_landXml;
    QString m_grid;
    std::size_t m_createdCount = 0;
    std::set<TriangleKey> m_created;
    std::set<Corner> m_createdVertices;
    QImage m_step1;
    Saved m_saved;
};

TEST_F(EditModeWorkflow, FromASurveyToExportsAndAReopenedProject)
{
    ASSERT_NO_FATAL_FAILURE(convertTheSurvey());
    ASSERT_NO_FATAL_FAILURE(openTheStlAndSweepAMold());
    ASSERT_NO_FATAL_FAILURE(reshapeTheTerrain());
    ASSERT_NO_FATAL_FAILURE(cutASection());
    ASSERT_NO_FATAL_FAILURE(tagTheArea());
    ASSERT_NO_FATAL_FAILURE(measureTheSoilVolume());
    ASSERT_NO_FATAL_FAILURE(exportTheResult());
    ASSERT_NO_FATAL_FAILURE(saveCloseAndReopen());
}

} // namespace
} // namespace varnel::test
