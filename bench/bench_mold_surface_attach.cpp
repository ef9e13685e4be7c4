// links: varnel
//
// A mold surface applied to a large edited TIN through the group controller, end to end. The
// scene: an edit-mode project tree (a project whose undo stack is the benchmark's own, no
// main window) whose base and edited TIN are a 708 x 708 grid of 1 m cells (about a million
// triangles), "Convex (Add)" selected in the Mold Browser and the path tool on a main view of
// 1000 x 800 pixels holding a zigzag path of 1066 vertices (about 5,000 surface triangles).
// Timed, repaint not counted (the view's paint is only scheduled):
// - BM_ApplyOnReturn: Return in the path tool: the surface and extended TINs swept, the
//   outline, the merge, the merged TIN moved into the edited TIN item, the relay signal and
//   the command on the stack (then taken back and dropped, untimed);
// - BM_Undo and BM_Redo of that command: triangle swaps;
// - BM_DeleteAllRedo and BM_DeleteAllUndo of "Delete all" over that surface: one copy of the
//   base TIN, then moves.
// For information, BM_Sweep: the surface made (both sweeps, the outline test), not applied;
// BM_Outline: the surface TIN's outline that limits the merge (the bare add is given it).
// Bare baseline in the same run, BM_BareAdd: `TinModifier::add` of the same extended TIN into
// the same edited TIN within the same outline.
// Goals: applying under 0.5 s (a small multiple of the bare add); undo and redo under 50 ms.
// BenchSupport.h (orlin) comes before any Qt header: Qt's keyword macros would spoil it.
#include "BenchSupport.h"

#include "brask/core/View.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/EditModeProject.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItem.h"
#include "movarin/surfaces/MoldGroupItem.h"
#include "movarin/surfaces/MoldGroupItemWidget.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldsContainer.h"
#include "movarin/surfaces/MoldsContainerBrowser.h"
#include "movarin/surfaces/MoldsContainerWidget.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include "orlin/util/TinModifier.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kCells = 708;
constexpr int kPathVertices = 1066;
const QSize kViewSize(1000, 800);

using varnel::GeoEditSurfaceGroupItemController;

// The application's project with the benchmark's undo stack in place of a main window's.
class StackedProject : public varnel::EditModeProject {
public:
    explicit StackedProject(const QString& workFolder) : EditModeProject(workFolder, nullptr) {}
    QUndoStack* undoStack() const override { return &m_stack; }

private:
    mutable QUndoStack m_stack;
};

double ground(double x, double y)
{
    return 10.0 * std::sin(x / 50.0) * std::cos(y / 70.0);
}

class Scene {
public:
    Scene()
    {
        m_project = std::make_unique<StackedProject>(m_folder.filePath(QStringLiteral("work")));
        m_model = std::make_unique<varnel::EditModeMainWindowModel>(nullptr, &m_view, nullptr,
                                                                    m_project->projectFile());
        const tin::core::Tin terrain = bench::regularGridTin(0.0, 0.0, 1.0, kCells + 1, ground);
        root()->baseTinItem()->setTin(new tin::core::Tin(terrain));
        root()->tinItem()->setTin(new tin::core::Tin(terrain));
        m_view.setModel(m_model.get());
        m_view.resize(kViewSize);
        m_view.fit();

        varnel::MoldGroupItem* add = group()->moldsContainer()->group(mold::core::Mold::Add);
        m_mold = add->molds()[1];  // "Convex (Add)"
        controller()->moldsContainerBrowser()->moldsContainerWidget()
            ->groupWidget(mold::core::Mold::Add)->handleItemSelection(m_mold);
        controller()->polylineSelect();
        // A zigzag across the grid: legs of 40 steps of (0.5, +-0.25) m, whose inner vertices
        // lie exactly on the leg (each a section of the sweep), turning at every leg's end.
        double x = 100.0;
        double y = 350.0;
        for (int k = 0; k < kPathVertices; ++k) {
            m_path.emplace_back(x, y, ground(x, y));
            x += 0.5;
            y += (k / 40) % 2 == 0 ? 0.25 : -0.25;
        }
    }

    ~Scene()
    {
        m_project->undoStack()->clear();
        m_view.setModel(nullptr);
    }

    varnel::EditModeMainWindowModelRootItem* root() const { return m_model->rootItem(); }
    varnel::GeoEditSurfaceGroupItem* group() const { return root()->geoEditSurfaceGroupItem(); }
    GeoEditSurfaceGroupItemController* controller() const { return group()->groupController(); }
    QUndoStack& stack() const { return *m_project->undoStack(); }
    const varnel::MoldItem& mold() const { return *m_mold; }
    const std::vector<tin::core::Point>& path() const { return m_path; }
    tin::core::Tin& edited() const { return *root()->tinItem()->tin(); }

    // Return in the path tool with the path in place; what the user's key does.
    void pressReturn()
    {
        auto tool = static_cast<GeoEditSurfaceGroupItemController::SelectionHelper*>(
            controller()->selectionHelper());
        tool->points() = m_path;
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        const bench::Clock::time_point start = bench::Clock::now();
        controller()->keyPressEvent(&key, &m_view);
        m_lastSeconds = bench::secondsSince(start);
    }
    double lastSeconds() const { return m_lastSeconds; }

private:
    QTemporaryDir m_folder;
    mvc::core::View m_view;
    std::unique_ptr<StackedProject> m_project;
    std::unique_ptr<varnel::EditModeMainWindowModel> m_model;
    varnel::MoldItem* m_mold = nullptr;
    std::vector<tin::core::Point> m_path;
    double m_lastSeconds = 0.0;
};

bench::MadeOnFirstUse<Scene> theScene;

Scene& scene()
{
    return theScene.get();
}

void BM_BareAdd(benchmark::State& state)
{
    Scene& s = scene();
    // The same surface the path tool makes, not attached.
    std::unique_ptr<varnel::GeoEditSurfaceItem> surface(
        s.group()->createGeoEditSurfaceItem(QStringLiteral("bare"), s.path(), s.mold()));
    if (!surface) {
        state.SkipWithError("the mold does not fit the path");
        return;
    }
    const std::vector<const geos::geom::Polygon*> outline = surface->tin()->geosPolygons();
    std::size_t added = 0;
    {
        // The edited TIN's index and caches built once, as the path tool's clicks build them.
        bool ok = false;
        tin::util::TinModifier::add(s.edited(), *surface->extendedTin(), outline, &ok, nullptr, nullptr,
                                    nullptr);
    }
    for (auto _ : state) {
        bool ok = false;
        tin::core::Tin in;
        tin::core::Tin out;
        const bench::Clock::time_point start = bench::Clock::now();
        tin::core::Tin merged = tin::util::TinModifier::add(s.edited(), *surface->extendedTin(), outline,
                                                           &ok, nullptr, &in, &out);
        state.SetIterationTime(bench::secondsSince(start));
        if (!ok) {
            state.SkipWithError("the merge failed");
        }
        added = in.allTriangles().size();
        benchmark::DoNotOptimize(merged);
    }
    state.counters["surface"] = static_cast<double>(surface->tin()->allTriangles().size());
    state.counters["added"] = static_cast<double>(added);
}

// For information: the two sweeps and the outline test of the surface, which applying adds to
// the merge.
void BM_Sweep(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state) {
        const bench::Clock::time_point start = bench::Clock::now();
        std::unique_ptr<varnel::GeoEditSurfaceItem> surface(
            s.group()->createGeoEditSurfaceItem(QStringLiteral("sweep"), s.path(), s.mold()));
        state.SetIterationTime(bench::secondsSince(start));
        benchmark::DoNotOptimize(surface.get());
    }
}

// For information: the surface TIN's outline, which limits the merge.
void BM_Outline(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state) {
        std::unique_ptr<varnel::GeoEditSurfaceItem> surface(
            s.group()->createGeoEditSurfaceItem(QStringLiteral("outline"), s.path(), s.mold()));
        const bench::Clock::time_point start = bench::Clock::now();
        benchmark::DoNotOptimize(surface->tin()->geosPolygons());
        state.SetIterationTime(bench::secondsSince(start));
    }
}

void BM_ApplyOnReturn(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state) {
        s.pressReturn();
        state.SetIterationTime(s.lastSeconds());
        if (s.stack().count() != 1) {
            state.SkipWithError("no surface was made");
            break;
        }
        s.stack().undo();
        s.stack().clear();
    }
}

// The mold surface applied (and, with `deleteAll`, "Delete all" after it), then the last
// command undone and redone; `undoTimed` picks which of the two is timed.
void undoRedo(benchmark::State& state, bool deleteAll, bool undoTimed)
{
    Scene& s = scene();
    s.pressReturn();
    if (deleteAll) {
        s.controller()->deleteAllChildItemsSilently();
    }
    for (auto _ : state) {
        bench::Clock::time_point start = bench::Clock::now();
        s.stack().undo();
        const double undone = bench::secondsSince(start);
        start = bench::Clock::now();
        s.stack().redo();
        const double redone = bench::secondsSince(start);
        state.SetIterationTime(undoTimed ? undone : redone);
    }
    s.stack().setIndex(0);
    s.stack().clear();
}

void BM_Undo(benchmark::State& state)
{
    undoRedo(state, false, true);
}

void BM_Redo(benchmark::State& state)
{
    undoRedo(state, false, false);
}

void BM_DeleteAllRedo(benchmark::State& state)
{
    undoRedo(state, true, false);
}

void BM_DeleteAllUndo(benchmark::State& state)
{
    undoRedo(state, true, true);
}

BENCHMARK(BM_BareAdd)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(BM_Sweep)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(BM_Outline)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(BM_ApplyOnReturn)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(BM_Undo)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(BM_Redo)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(BM_DeleteAllRedo)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(BM_DeleteAllUndo)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    QTemporaryDir home;
    bench::useOffscreenScratchHome(home.path().toStdString());
    QApplication application(argc, argv);

    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const std::string suffix = "/iterations:5/manual_time";
    reporter.printRatio("BM_ApplyOnReturn", "BM_BareAdd", "(goal: under 0.5 s)", suffix);
    reporter.printRatio("BM_Sweep", "BM_BareAdd", "(both sweeps and the outline test)", suffix);
    reporter.printRatio("BM_Outline", "BM_BareAdd", "(the surface's outline)", suffix);
    reporter.printRatio("BM_Undo", "BM_BareAdd", "(goal: under 50 ms)", suffix);
    reporter.printRatio("BM_Redo", "BM_BareAdd", "(goal: under 50 ms)", suffix);
    reporter.printRatio("BM_DeleteAllRedo", "BM_BareAdd", "(one copy of the base TIN)", suffix);
    reporter.printRatio("BM_DeleteAllUndo", "BM_BareAdd", "(moves only)", suffix);
    theScene.drop();
    benchmark::Shutdown();
    return 0;
}
