// Random sequences of surface work as a user does it on the main view at 4 pixels a metre:
// mold surfaces drawn with the path tool, brush strokes, vertex drags, deletions through the
// object browser, "Delete all", undo and redo from the main window, and a save, close and
// reopen of the project at a random step, on flat, sloped, wavy and random Delaunay terrains.
// After every step the edited TIN is whole: the plan area and outline of the base TIN, one or
// two triangles per side, none of no area (TinWholeness, from corner coordinates alone).
// "Delete all" gives the base TIN's vertex triples; undo back to the last open gives that
// open's triangle objects, and redo then the objects before the undo. Each seed fixes its
// terrain and its steps; a failure names the seed and the step.
#include "SurfaceEditTestSupport.h"
#include "TinWholeness.h"

#include "movarin/shell/MainWindowActionManager.h"

#include "orlin/core/PointFactory.h"
#include "orlin/util/TriangleRun.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <array>
#include <random>
#include <sstream>

namespace varnel::test {
namespace {

enum class Terrain { Flat, Sloped, Wavy, Delaunay };

const char* terrainName(Terrain t)
{
    switch (t) {
    case Terrain::Flat:
        return "flat";
    case Terrain::Sloped:
        return "sloped";
    case Terrain::Wavy:
        return "wavy";
    case Terrain::Delaunay:
        return "random Delaunay";
    }
    return "?";
}

/// The 2 m grid of the flat square under z(x, y), its vertices interned by the point factory
/// as every TIN the program reads or builds has them.
tin::core::Tin gridTerrain(const std::function<double(double, double)>& z)
{
    const tin::core::Tin flat = flatTerrain();
    tin::core::Tin tin;
    for (const auto& t : flat.allTriangles()) {
        std::shared_ptr<tin::core::Point> corners[3];
        for (int v = 0; v < 3; ++v) {
            const double x = t->point(v)->x(), y = t->point(v)->y();
            corners[v] = tin::core::PointFactory::instance().factory(tin::core::Point(x, y, z(x, y)));
        }
        tin.addTriangle(corners[0], corners[1], corners[2]);
    }
    return tin;
}

/// The Delaunay triangulation of the square's corners, points along its sides and random
/// points inside, on a gentle wave.
tin::core::Tin delaunayTerrain(std::mt19937& rng)
{
    std::uniform_real_distribution<double> inside(0.5, 99.5);
    std::vector<std::array<double, 2>> xy = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    for (int k = 1; k < 25; ++k) {
        for (const auto& side : {std::array<double, 2>{4.0 * k, 0}, {4.0 * k, 100}, {0, 4.0 * k}, {100, 4.0 * k}}) {
            xy.push_back(side);
        }
    }
    for (int k = 0; k < 1500; ++k) {
        xy.push_back({inside(rng), inside(rng)});
    }
    std::vector<double> flat;
    for (const auto& p : xy) {
        flat.push_back(p[0]);
        flat.push_back(p[1]);
    }
    const tin::util::TriangleRun run("zQ", flat, {}, {});
    std::vector<std::shared_ptr<tin::core::Point>> points;
    for (const auto& p : xy) {
        points.push_back(tin::core::PointFactory::instance().factory(
            tin::core::Point(p[0], p[1], 0.5 * std::sin(p[0] / 9.0) + 0.02 * p[1])));
    }
    tin::core::Tin tin;
    for (int i = 0; i < run.triangleCount(); ++i) {
        tin.addTriangle(points[static_cast<std::size_t>(run.corner(i, 0))],
                        points[static_cast<std::size_t>(run.corner(i, 1))],
                        points[static_cast<std::size_t>(run.corner(i, 2))]);
    }
    return tin;
}

using Triples = std::multiset<std::array<double, 9>>;

/// Every triangle as its corners' coordinates, corners in a fixed order.
Triples vertexTriples(const tin::core::Tin& tin)
{
    Triples triples;
    for (const auto& t : tin.allTriangles()) {
        std::array<std::array<double, 3>, 3> c;
        for (int v = 0; v < 3; ++v) {
            c[v] = {t->point(v)->x(), t->point(v)->y(), t->point(v)->elevation()};
        }
        std::sort(c.begin(), c.end());
        triples.insert({c[0][0], c[0][1], c[0][2], c[1][0], c[1][1], c[1][2], c[2][0], c[2][1], c[2][2]});
    }
    return triples;
}

/// The boxes a step may answer with a refusal (the step then changes nothing).
bool isRefusal(const QString& text)
{
    static const QStringList refusals = {
        QStringLiteral(" is overlapped with "),
        QStringLiteral("Invalid Tin shape."),
        QStringLiteral("Translation failed."),
        QStringLiteral("Cannot add the same position more than once."),
        QStringLiteral("No valid GeoEdit Surface was created from specified Mold and Path."),
        QStringLiteral("Tin creation failed."),
    };
    return std::any_of(refusals.begin(), refusals.end(), [&](const QString& r) { return text.contains(r); });
}

/// One sequence: its own project in a main window, its terrain, its random steps.
class Sequence {
public:
    /// A new edit-mode project of `session`'s main window.
    Sequence(ProjectSession& session, unsigned seed, int steps)
        : m_seed(seed), m_steps(steps), m_rng(seed), m_session(&session)
    {
        m_terrain = static_cast<Terrain>(seed % 4);
        m_session->newEditProject();
        m_window = m_session->createEditWindow();
        switch (m_terrain) {
        case Terrain::Flat:
            m_window->setTin(gridTerrain([](double, double) { return 0.0; }));
            break;
        case Terrain::Sloped:
            m_window->setTin(gridTerrain([](double x, double y) { return 0.01 * x + 0.02 * y; }));
            break;
        case Terrain::Wavy:
            m_window->setTin(gridTerrain([](double x, double y) { return std::sin(x / 7.0) + std::cos(y / 5.0); }));
            break;
        case Terrain::Delaunay:
            m_window->setTin(delaunayTerrain(m_rng));
            break;
        }
        showView();
        m_whole = TinWholeness::of(base());
        m_baseTriples = vertexTriples(base());
        m_openTriangles = identities(edited());
    }

    /// Runs every step; the first fault found, with the seed and the step, or empty.
    std::string run()
    {
        m_reopenAt = std::uniform_int_distribution<int>(1, m_steps - 1)(m_rng);
        for (m_step = 1; m_step <= m_steps && m_fault.empty(); ++m_step) {
            if (m_step == m_reopenAt) {
                reopen();
            } else {
                randomStep();
            }
            check();
        }
        if (m_fault.empty()) {
            undoToTheOpen();
        }
        return m_fault;
    }

private:
    mvc::core::View* view() const { return m_window->view(); }
    EditModeMainWindowModelRootItem* root() const { return m_window->model()->rootItem(); }
    GeoEditSurfaceGroupItem* group() const { return root()->geoEditSurfaceGroupItem(); }
    GeoEditSurfaceGroupItemController* groupController() const { return group()->groupController(); }
    tin::core::Tin& edited() const { return *root()->tinItem()->tin(); }
    const tin::core::Tin& base() const { return *root()->baseTinItem()->tin(); }
    QUndoStack& stack() const { return *m_session->project()->undoStack(); }
    MouseOn mouse() const { return MouseOn(view()); }

    /// The view of 480 by 360 pixels at 4 pixels a metre over -10 .. 110 by -5 .. 85: whole
    /// pixels fall on quarter metres, and some clicks fall beside the terrain.
    void showView()
    {
        view()->setFixedSize(480, 360);
        view()->setScale(4.0);
        view()->setCenterPoint(QPointF(50.0, 40.0));
        view()->updateView();
    }
    QPoint px(double x, double y) const { return view()->conv(QPointF(x, y)).toPoint(); }
    QPointF at(const QPoint& pixel) const { return view()->rconv(QPointF(pixel)); }
    QPoint randomPixel()
    {
        return QPoint(std::uniform_int_distribution<int>(0, 479)(m_rng),
                      std::uniform_int_distribution<int>(0, 359)(m_rng));
    }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

    void fail(const std::string& what)
    {
        if (m_fault.empty()) {
            std::ostringstream out;
            out << "seed " << m_seed << " (" << terrainName(m_terrain) << "), step " << m_step << " (" << m_what
                << "): " << what;
            m_fault = out.str();
        }
    }

    /// The boxes of a step: refusals are part of the game, anything else is a fault.
    void judge(const guimisc::UserDialogScript& script)
    {
        for (const auto& box : script.messageBoxes()) {
            // The delete questions, answered Yes.
            if (box.buttons.testFlag(QMessageBox::Yes)) {
                continue;
            }
            if (!isRefusal(box.text)) {
                fail("box \"" + box.text.toStdString() + "\"");
            }
        }
    }

    void randomStep()
    {
        const int dice = below(100);
        guimisc::UserDialogScript script;
        script.setFallback([](const guimisc::UserDialogScript::Record& record) {
            guimisc::UserDialogScript::Answer yes;
            yes.sort = guimisc::UserDialogScript::Answer::Sort::Button;
            yes.button = record.buttons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
            return yes;
        });
        if (dice < 36) {
            moldSurface();
        } else if (dice < 50) {
            brushStroke();
        } else if (dice < 64) {
            dragVertex();
        } else if (dice < 71) {
            deleteOne();
        } else if (dice < 74) {
            deleteAll();
        } else if (dice < 88) {
            m_what = "undo";
            m_session->mainWindow().actionManager()->action(QStringLiteral("Undo"))->trigger();
        } else {
            m_what = "redo";
            m_session->mainWindow().actionManager()->action(QStringLiteral("Redo"))->trigger();
        }
        judge(script);
    }

    /// "Add" on the group, the mold clicked in the Mold Browser, 2 to 5 clicks and Return.
    void moldSurface()
    {
        std::vector<const MoldItem*> molds;
        for (auto type : {mold::core::Mold::Add, mold::core::Mold::Subtract}) {
            for (const MoldItem* m : group()->moldsContainer()->group(type)->molds()) {
                molds.push_back(m);
            }
        }
        const MoldItem* mold = molds[static_cast<std::size_t>(below(static_cast<int>(molds.size())))];
        pickMold(mold->name());
        group()->model()->select(group());
        groupController()->addAction()->trigger();
        const int clicks = 2 + below(4);
        QPoint p = randomPixel();
        std::ostringstream path;
        for (int k = 0; k < clicks; ++k) {
            mouse().move(p);
            mouse().click(p);
            path << " (" << at(p).x() << ", " << at(p).y() << ")";
            // Mostly short legs, sometimes across the view.
            const int reach = below(3) == 0 ? 160 : 50;
            p = QPoint(std::clamp(p.x() + std::uniform_int_distribution<int>(-reach, reach)(m_rng), 0, 479),
                       std::clamp(p.y() + std::uniform_int_distribution<int>(-reach, reach)(m_rng), 0, 359));
        }
        m_what = "mold surface " + mold->name().toStdString() + " along" + path.str();
        mouse().key(Qt::Key_Return);
    }

    void pickMold(const QString& name)
    {
        MoldsContainerWidget* browser = groupController()->moldsContainerBrowser()->moldsContainerWidget();
        for (auto type : {mold::core::Mold::Add, mold::core::Mold::Subtract}) {
            for (IconView* icon : browser->groupWidget(type)->icons()) {
                if (icon->moldItem()->name() == name) {
                    browser->findChild<QTabWidget*>("tabWidget")->setCurrentIndex(type);
                    QTest::mouseClick(icon, Qt::LeftButton);
                    return;
                }
            }
        }
    }

    void brushMouse(QEvent::Type type, const QPoint& pixel, Qt::MouseButtons held, Qt::KeyboardModifiers modifiers)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(pixel), view()->mapToGlobal(pixel), button, held, modifiers);
        QApplication::sendEvent(view(), &event);
    }

    /// "Add by brushing", one or two strokes (Shift lowers), Return.
    void brushStroke()
    {
        group()->model()->select(group());
        groupController()->addByBrushingAction()->trigger();
        const int strokes = 1 + below(2);
        std::ostringstream what;
        what << "brush";
        for (int s = 0; s < strokes; ++s) {
            const Qt::KeyboardModifiers modifiers = below(3) == 0 ? Qt::ShiftModifier : Qt::NoModifier;
            QPoint p = randomPixel();
            what << (modifiers ? " lowering from" : " raising from") << " (" << at(p).x() << ", " << at(p).y() << ")";
            brushMouse(QEvent::MouseMove, p, Qt::NoButton, modifiers);
            brushMouse(QEvent::MouseButtonPress, p, Qt::LeftButton, modifiers);
            const int moves = below(4);
            for (int k = 0; k < moves; ++k) {
                p = QPoint(std::clamp(p.x() + std::uniform_int_distribution<int>(-30, 30)(m_rng), 0, 479),
                           std::clamp(p.y() + std::uniform_int_distribution<int>(-30, 30)(m_rng), 0, 359));
                brushMouse(QEvent::MouseMove, p, Qt::LeftButton, modifiers);
            }
            brushMouse(QEvent::MouseButtonRelease, p, Qt::NoButton, modifiers);
            what << " to (" << at(p).x() << ", " << at(p).y() << ")";
        }
        m_what = what.str();
        mouse().key(Qt::Key_Return);
    }

    std::vector<GeoEditSurfaceItem*> moldSurfaces() const
    {
        std::vector<GeoEditSurfaceItem*> surfaces;
        for (GeoEditSurfaceItemI* s : surfacesOf(*group())) {
            if (auto m = qobject_cast<GeoEditSurfaceItem*>(s)) {
                surfaces.push_back(m);
            }
        }
        return surfaces;
    }

    /// A vertex of a mold surface selected on the view and dragged (applied at once).
    void dragVertex()
    {
        const std::vector<GeoEditSurfaceItem*> surfaces = moldSurfaces();
        if (surfaces.empty()) {
            m_what = "drag without a mold surface";
            return;
        }
        GeoEditSurfaceItem* surface = surfaces[static_cast<std::size_t>(below(static_cast<int>(surfaces.size())))];
        surface->model()->select(surface);
        const std::vector<tin::core::Point> path = surface->path();
        const tin::core::Point& vertex = path[static_cast<std::size_t>(below(static_cast<int>(path.size())))];
        const QPoint from = px(vertex.x(), vertex.y());
        const QPoint to(std::clamp(from.x() + std::uniform_int_distribution<int>(-40, 40)(m_rng), 0, 479),
                        std::clamp(from.y() + std::uniform_int_distribution<int>(-40, 40)(m_rng), 0, 359));
        std::ostringstream what;
        what << "drag of " << surface->name().toStdString() << " from (" << vertex.x() << ", " << vertex.y() << ") to ("
             << at(to).x() << ", " << at(to).y() << ")";
        m_what = what.str();
        mouse().move(from);
        mouse().click(from);
        mouse().move(from);
        mouse().drag(from, to);
    }

    /// A surface deleted through the object browser (Yes to the question).
    void deleteOne()
    {
        const std::vector<GeoEditSurfaceItemI*> surfaces = surfacesOf(*group());
        if (surfaces.empty()) {
            m_what = "delete without a surface";
            return;
        }
        GeoEditSurfaceItemI* surface = surfaces[static_cast<std::size_t>(below(static_cast<int>(surfaces.size())))];
        m_what = "delete " + surface->name().toStdString();
        surface->model()->select(surface);
        surface->model()->objectBrowserView()->deleteAction()->trigger();
    }

    void deleteAll()
    {
        m_what = "delete all";
        const bool any = !group()->childItems().empty();
        group()->model()->select(group());
        groupController()->deleteAllAction()->trigger();
        if (any && vertexTriples(edited()) != m_baseTriples) {
            fail("the edited TIN is not the base TIN after \"Delete all\"");
        }
    }

    /// Save, close and open again; the view as before.
    void reopen()
    {
        m_what = "save, close and reopen";
        const QString archive = m_outside.filePath(QStringLiteral("sequence.emvn"));
        if (!m_session->project()->save() || !m_session->project()->zipTo(archive)) {
            fail("the project was not saved");
            return;
        }
        Project& reopened = m_session->newEditProject();
        if (!reopened.unzipFrom(archive)) {
            fail("the archive was not unpacked");
            return;
        }
        reopened.load();
        m_window = qobject_cast<EditModeMainWindow*>(reopened.projectWindow());
        if (!m_window) {
            fail("no edit-mode window after the reopen");
            return;
        }
        showView();
        m_openTriangles = identities(edited());
    }

    void check()
    {
        if (!m_fault.empty() || !root()->tinItem()->tin()) {
            if (m_fault.empty()) {
                fail("no edited TIN");
            }
            return;
        }
        for (GeoEditSurfaceItem* surface : moldSurfaces()) {
            if (!surface->tin() || !surface->extendedTin()) {
                fail(surface->name().toStdString() + " has lost a TIN");
            }
        }
        const std::string faults = TinWholeness::of(edited()).faultsAgainst(m_whole);
        if (!faults.empty()) {
            fail(faults);
        }
    }

    void undoToTheOpen()
    {
        m_step = m_steps + 1;
        m_what = "undo to the open and redo";
        const Identities before = identities(edited());
        const int index = stack().index();
        stack().setIndex(0);
        if (identities(edited()) != m_openTriangles) {
            fail("undo back to the open does not give the triangles of the open");
        }
        stack().setIndex(index);
        if (identities(edited()) != before) {
            fail("redo does not give the triangles before the undo");
        }
    }

    unsigned m_seed;
    int m_steps;
    std::mt19937 m_rng;
    Terrain m_terrain = Terrain::Flat;
    ProjectSession* m_session;
    EditModeMainWindow* m_window = nullptr;
    QTemporaryDir m_outside;
    TinWholeness m_whole;
    Triples m_baseTriples;
    Identities m_openTriangles;
    int m_step = 0;
    int m_reopenAt = 0;
    std::string m_what;
    std::string m_fault;
};

/// A batch of seeds; each runs a sequence of `steps` steps.
struct Batch {
    unsigned first;
    unsigned count;
    int steps;
};

std::ostream& operator<<(std::ostream& os, const Batch& b)
{
    return os << "seeds " << b.first << " to " << b.first + b.count - 1 << ", " << b.steps << " steps";
}

std::string batchName(const ::testing::TestParamInfo<Batch>& info)
{
    return "From" + std::to_string(info.param.first) + "Count" + std::to_string(info.param.count) + "Steps"
           + std::to_string(info.param.steps);
}

class SurfaceSequenceTest : public ::testing::TestWithParam<Batch> {
protected:
    ScratchSettings m_scratch;
};

// SURFACE_SEQUENCES="first,count,steps" runs those seeds instead, to look further.
TEST_P(SurfaceSequenceTest, EditedTinStaysWhole)
{
    Batch batch = GetParam();
    if (const char* other = std::getenv("SURFACE_SEQUENCES")) {
        std::sscanf(other, "%u,%u,%d", &batch.first, &batch.count, &batch.steps);
    }
    ScratchSettings::writeStartupDefaults();
    ProjectSession session;
    for (unsigned seed = batch.first; seed < batch.first + batch.count; ++seed) {
        EXPECT_EQ(Sequence(session, seed, batch.steps).run(), "");
    }
}

// 300 sequences of 16 steps.
INSTANTIATE_TEST_SUITE_P(Seeds, SurfaceSequenceTest,
                         ::testing::Values(Batch{1, 20, 16}, Batch{21, 20, 16}, Batch{41, 20, 16}, Batch{61, 20, 16},
                                           Batch{81, 20, 16}, Batch{101, 20, 16}, Batch{121, 20, 16}, Batch{141, 20, 16},
                                           Batch{161, 20, 16}, Batch{181, 20, 16}, Batch{201, 20, 16}, Batch{221, 20, 16},
                                           Batch{241, 20, 16}, Batch{261, 20, 16}, Batch{281, 20, 16}),
                         batchName);

// Sequences that once failed, each a case of its own: holes along a Slope 2 surface lying on
// the ground, cracks at vertical steps, triangles of no area, a triangle put in twice, brush
// strokes beside a step, and surfaces that lost their extended TIN after an edit.
INSTANTIATE_TEST_SUITE_P(
    FailedOnce, SurfaceSequenceTest,
    ::testing::Values(Batch{8, 1, 16}, Batch{9, 1, 16}, Batch{18, 1, 16}, Batch{26, 1, 16}, Batch{37, 1, 16},
                      Batch{57, 1, 16}, Batch{79, 1, 16}, Batch{141, 1, 16}, Batch{217, 1, 16}, Batch{242, 1, 16},
                      Batch{1008, 1, 40}, Batch{1069, 1, 40}, Batch{1105, 1, 40}, Batch{1109, 1, 40},
                      Batch{1143, 1, 40}, Batch{1165, 1, 40}, Batch{1173, 1, 40}, Batch{1186, 1, 40},
                      Batch{1205, 1, 40}, Batch{1209, 1, 40}, Batch{1247, 1, 40}, Batch{1265, 1, 40},
                      Batch{1290, 1, 40}, Batch{1293, 1, 40}, Batch{1295, 1, 40}, Batch{1360, 1, 40},
                      Batch{1361, 1, 40}, Batch{1384, 1, 40}, Batch{1409, 1, 40}, Batch{1413, 1, 40},
                      Batch{1435, 1, 40}, Batch{1535, 1, 40}, Batch{1898, 1, 40}, Batch{1905, 1, 40},
                      Batch{1979, 1, 40}),
    batchName);

} // namespace
} // namespace varnel::test
