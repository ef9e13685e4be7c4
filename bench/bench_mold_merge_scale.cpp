// links: varnel
//
// A mold surface merged into edited TINs of 1, 2 and 5 million points: the cost of applying,
// undoing and redoing one surface should follow the surface, not the TIN.
//
// The scene per size: an edit-mode project tree (its undo stack the benchmark's own, no main
// window) whose base and edited TIN are an n x n grid of 1 m cells over a sine surface
// (n = 1000, 1415, 2236: 1, 2 and 5 million points, 2, 4 and 10 million triangles), "Convex
// (Add)" selected and the path tool on a main view of 1000 x 800 pixels holding the same
// 20-vertex path of 200 m at the grid's centre at every size (a gentle wave along x).
// Timed, per size:
// - Return: Return in the path tool (both sweeps, the outline, the merge, the merged TIN into
//   the edited TIN item, the command on the stack), the view's paint not counted;
// - Undo and Redo of that command (triangle swaps);
// - Painted: the main view painted after the edit (a redo), as the window would;
// - DragApply and DragUndo: the surface selected, the view framed on its path (300 x 120 m,
//   the same at every size), its middle vertex dragged 2 m across: the release that applies
//   the drag, and the undo of it.
// Bare, in the same run: `TinModifier::add` of the same extended TIN within the same outline
// into the edited TIN (Add), and the floor any merge pays on this TIN: the edited TIN's
// triangles under the extended surface's rectangle found and put into a TIN of their own
// (Query). Outside the timing, Add checks that the merge reading the base under the whole
// overlap rectangle gives the same triangles (counter "same").
// Printed after the table: each step against Query and Add, and each step's growth from the
// smallest to the largest size run. Options (before Google Benchmark's own): --sizes=1000,2236
// runs only those grid sides.
// BenchSupport.h (orlin) comes before any Qt header: Qt's keyword macros would spoil it.
#include "BenchSupport.h"

#include "brask/core/ObjectBrowserView.h"
#include "brask/core/View.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/EditModeProject.h"
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

#include "orlin/core/Rect.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/TinModifier.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kPathVertices = 20;
constexpr double kPathLength = 200.0;
const QSize kViewSize(1000, 800);

using varnel::GeoEditSurfaceGroupItemController;

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
    explicit Scene(int n) : m_n(n)
    {
        m_project = std::make_unique<StackedProject>(m_folder.filePath(QStringLiteral("work")));
        m_model = std::make_unique<varnel::EditModeMainWindowModel>(&m_browser, &m_view, nullptr,
                                                                    m_project->projectFile());
        {
            const tin::core::Tin terrain = bench::regularGridTin(0.0, 0.0, 1.0, n, ground);
            root()->baseTinItem()->setTin(new tin::core::Tin(terrain));
            root()->tinItem()->setTin(new tin::core::Tin(terrain));
        }
        m_view.setModel(m_model.get());
        m_view.resize(kViewSize);
        m_view.show();
        m_view.fit();

        varnel::MoldGroupItem* add = group()->moldsContainer()->group(mold::core::Mold::Add);
        m_mold = add->molds()[1];  // "Convex (Add)"
        controller()->moldsContainerBrowser()->moldsContainerWidget()
            ->groupWidget(mold::core::Mold::Add)->handleItemSelection(m_mold);
        controller()->polylineSelect();
        // 200 m along x through the centre, waving 8 m across; off the grid's nodes.
        const double x0 = (n - 1) / 2.0 - kPathLength / 2.0 + 0.37;
        const double y0 = (n - 1) / 2.0 + 0.21;
        for (int k = 0; k < kPathVertices; ++k) {
            const double x = x0 + kPathLength * k / (kPathVertices - 1);
            const double y = y0 + 8.0 * std::sin(k * 0.6);
            m_path.emplace_back(x, y, ground(x, y));
        }
        // The edited TIN's index built, as the path tool's clicks build it.
        edited().findTrianglesIntersectRect(tin::core::Rect(0, 0, 1, 1));
    }

    ~Scene()
    {
        m_project->undoStack()->clear();
        m_view.setModel(nullptr);
    }

    int n() const { return m_n; }
    varnel::EditModeMainWindowModelRootItem* root() const { return m_model->rootItem(); }
    varnel::GeoEditSurfaceGroupItem* group() const { return root()->geoEditSurfaceGroupItem(); }
    GeoEditSurfaceGroupItemController* controller() const { return group()->groupController(); }
    QUndoStack& stack() const { return *m_project->undoStack(); }
    const varnel::MoldItem& mold() const { return *m_mold; }
    const std::vector<tin::core::Point>& path() const { return m_path; }
    tin::core::Tin& edited() const { return *root()->tinItem()->tin(); }
    mvc::core::View& view() { return m_view; }

    // Return in the path tool with the path in place: what the user's key does.
    double pressReturn()
    {
        auto tool = static_cast<GeoEditSurfaceGroupItemController::SelectionHelper*>(
            controller()->selectionHelper());
        tool->points() = m_path;
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        const bench::Clock::time_point start = bench::Clock::now();
        controller()->keyPressEvent(&key, &m_view);
        return bench::secondsSince(start);
    }

private:
    int m_n;
    QTemporaryDir m_folder;
    mvc::core::ObjectBrowserView m_browser;
    mvc::core::View m_view;
    std::unique_ptr<StackedProject> m_project;
    std::unique_ptr<varnel::EditModeMainWindowModel> m_model;
    varnel::MoldItem* m_mold = nullptr;
    std::vector<tin::core::Point> m_path;
};

// One scene at a time: the next size drops the last one first.
std::unique_ptr<Scene> theScene;

Scene& scene(int n)
{
    if (!theScene || theScene->n() != n) {
        theScene.reset();
        theScene = std::make_unique<Scene>(n);
    }
    return *theScene;
}

std::unique_ptr<varnel::GeoEditSurfaceItem> bareSurface(Scene& s)
{
    return std::unique_ptr<varnel::GeoEditSurfaceItem>(
        s.group()->createGeoEditSurfaceItem(QStringLiteral("bare"), s.path(), s.mold()));
}

void BM_Query(benchmark::State& state)
{
    Scene& s = scene(static_cast<int>(state.range(0)));
    auto surface = bareSurface(s);
    if (!surface) {
        state.SkipWithError("the mold does not fit the path");
        return;
    }
    std::size_t found = 0;
    for (auto _ : state) {
        const bench::Clock::time_point start = bench::Clock::now();
        const auto under = s.edited().findTrianglesIntersectRect(surface->extendedTin()->boundingRect());
        tin::core::Tin part;
        part.addTriangles(under.data(), under.size());
        state.SetIterationTime(bench::secondsSince(start));
        found = under.size();
        benchmark::DoNotOptimize(part);
    }
    state.counters["under"] = static_cast<double>(found);
}

// The TIN's triangles as their corners' coordinates, each triangle's corners sorted.
std::multiset<std::array<std::array<double, 3>, 3>> vertexTriples(const tin::core::Tin& tin)
{
    std::multiset<std::array<std::array<double, 3>, 3>> triples;
    for (const auto& t : tin.allTriangles()) {
        std::array<std::array<double, 3>, 3> k;
        for (int i = 0; i < 3; ++i) {
            k[i] = {t->point(i)->x(), t->point(i)->y(), t->point(i)->elevation()};
        }
        std::sort(k.begin(), k.end());
        triples.insert(k);
    }
    return triples;
}

void BM_Add(benchmark::State& state)
{
    Scene& s = scene(static_cast<int>(state.range(0)));
    auto surface = bareSurface(s);
    if (!surface) {
        state.SkipWithError("the mold does not fit the path");
        return;
    }
    const std::vector<const geos::geom::Polygon*> outline = surface->tin()->geosPolygons();
    std::size_t added = 0, removed = 0;
    for (auto _ : state) {
        bool ok = false;
        tin::core::Tin in, out;
        const bench::Clock::time_point start = bench::Clock::now();
        tin::core::Tin merged = tin::util::TinModifier::add(s.edited(), *surface->extendedTin(), outline,
                                                           &ok, nullptr, &in, &out);
        state.SetIterationTime(bench::secondsSince(start));
        if (!ok) {
            state.SkipWithError("the merge failed");
            break;
        }
        added = in.allTriangles().size();
        removed = out.allTriangles().size();
        benchmark::DoNotOptimize(merged);
    }
    // Outside the timing: the merge read under the whole overlap rectangle, as it was read
    // before it followed the other TIN's outline, gives the same triangles.
    {
        bool okNear = false, okWide = false;
        const auto merge = [&](tin::util::TinMerge::BaseReach reach, bool* ok) {
            return tin::util::TinMerge::mergeTins(
                s.edited(), *surface->extendedTin(), tin::util::TinMerge::Pruning::KeepOrDropInPolygons, outline,
                [](double zBase, double zOther) { return zBase <= zOther; }, true, false, ok, nullptr, nullptr,
                nullptr, reach);
        };
        const tin::core::Tin nearOther = merge(tin::util::TinMerge::BaseReach::NearOther, &okNear);
        const tin::core::Tin wide = merge(tin::util::TinMerge::BaseReach::OverlapRectangle, &okWide);
        const bool same = okNear && okWide && vertexTriples(nearOther) == vertexTriples(wide);
        state.counters["same"] = same ? 1 : 0;
        if (!same) {
            state.SkipWithError("the merge under the outline differs from the merge under the rectangle");
        }
    }
    state.counters["surface"] = static_cast<double>(surface->tin()->allTriangles().size());
    state.counters["extended"] = static_cast<double>(surface->extendedTin()->allTriangles().size());
    state.counters["added"] = static_cast<double>(added);
    state.counters["removed"] = static_cast<double>(removed);
}

void BM_Return(benchmark::State& state)
{
    Scene& s = scene(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.SetIterationTime(s.pressReturn());
        if (s.stack().count() != 1) {
            state.SkipWithError("no surface was made");
            break;
        }
        state.PauseTiming();
        s.stack().undo();
        s.stack().clear();
        state.ResumeTiming();
    }
}

// The surface applied once, then undone and redone; `undoTimed` picks which is timed.
void undoRedo(benchmark::State& state, bool undoTimed)
{
    Scene& s = scene(static_cast<int>(state.range(0)));
    s.pressReturn();
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
    undoRedo(state, true);
}

void BM_Redo(benchmark::State& state)
{
    undoRedo(state, false);
}

// The main view painted after the surface is redone (the paint the edit schedules).
void BM_Painted(benchmark::State& state)
{
    Scene& s = scene(static_cast<int>(state.range(0)));
    s.pressReturn();
    benchmark::DoNotOptimize(s.view().grab());
    for (auto _ : state) {
        s.stack().undo();
        benchmark::DoNotOptimize(s.view().grab());
        s.stack().redo();
        const bench::Clock::time_point start = bench::Clock::now();
        benchmark::DoNotOptimize(s.view().grab());
        state.SetIterationTime(bench::secondsSince(start));
    }
    s.stack().setIndex(0);
    s.stack().clear();
}

void sendMouse(QWidget* widget, QEvent::Type type, const QPoint& pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// The surface applied once and selected, the view framed on its path as a user zooms in on
// it (the same frame at every size); then its middle vertex dragged 2 m across and the drag
// taken back. `undoTimed` picks the drag's apply (its release) or its undo.
void dragVertex(benchmark::State& state, bool undoTimed)
{
    Scene& s = scene(static_cast<int>(state.range(0)));
    s.pressReturn();
    auto* surface = qobject_cast<varnel::GeoEditSurfaceItem*>(s.group()->childItems().front());
    if (!surface) {
        state.SkipWithError("no surface was made");
        return;
    }
    const tin::core::Point vertex = s.path()[kPathVertices / 2];
    s.view().fit(QRectF(vertex.x() - 150.0, vertex.y() - 60.0, 300.0, 120.0));
    s.group()->model()->select(surface);
    const QPoint from = s.view().conv(QPointF(vertex.x(), vertex.y())).toPoint();
    const QPoint to = s.view().conv(QPointF(vertex.x(), vertex.y() + 2.0)).toPoint();
    const int entries = s.stack().count();
    for (auto _ : state) {
        sendMouse(&s.view(), QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
        sendMouse(&s.view(), QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        sendMouse(&s.view(), QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
        sendMouse(&s.view(), QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        bench::Clock::time_point start = bench::Clock::now();
        sendMouse(&s.view(), QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        const double applied = bench::secondsSince(start);
        if (s.stack().count() != entries + 1) {
            state.SkipWithError("the drag was not applied");
            break;
        }
        start = bench::Clock::now();
        s.stack().undo();
        const double undone = bench::secondsSince(start);
        state.SetIterationTime(undoTimed ? undone : applied);
    }
    s.view().fit();
    s.stack().setIndex(0);
    s.stack().clear();
}

void BM_DragApply(benchmark::State& state)
{
    dragVertex(state, false);
}

void BM_DragUndo(benchmark::State& state)
{
    dragVertex(state, true);
}

std::vector<int> sizes = {1000, 1415, 2236};

// Takes --sizes=a,b,... out of the arguments.
void readSizes(int* argc, char** argv)
{
    int kept = 1;
    for (int i = 1; i < *argc; ++i) {
        if (std::strncmp(argv[i], "--sizes=", 8) == 0) {
            sizes.clear();
            std::stringstream list(argv[i] + 8);
            std::string item;
            while (std::getline(list, item, ',')) {
                sizes.push_back(std::stoi(item));
            }
        } else {
            argv[kept++] = argv[i];
        }
    }
    *argc = kept;
}

const char* const kSteps[] = {"BM_Query", "BM_Add",    "BM_Return",    "BM_Undo",
                              "BM_Redo",  "BM_Painted", "BM_DragApply", "BM_DragUndo"};

} // namespace

int main(int argc, char** argv)
{
    readSizes(&argc, argv);
    // Size by size, so that one scene at a time is alive.
    for (int n : sizes) {
        for (auto const& [name, run] : std::vector<std::pair<const char*, void (*)(benchmark::State&)>>{
                 {"BM_Query", BM_Query}, {"BM_Add", BM_Add}, {"BM_Return", BM_Return},
                 {"BM_Undo", BM_Undo}, {"BM_Redo", BM_Redo}, {"BM_Painted", BM_Painted},
                 {"BM_DragApply", BM_DragApply}, {"BM_DragUndo", BM_DragUndo}}) {
            benchmark::RegisterBenchmark(name, run)->Arg(n)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
        }
    }
    benchmark::Initialize(&argc, argv);
    QTemporaryDir home;
    bench::useOffscreenScratchHome(home.path().toStdString());
    QApplication application(argc, argv);

    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    theScene.reset();
    const std::string suffix = "/iterations:3/manual_time";
    for (int n : sizes) {
        const std::string size = "/" + std::to_string(n);
        std::printf("%d points:\n", n * n);
        for (const char* step : kSteps) {
            reporter.printRatio(step + size, "BM_Query" + size, "", suffix);
            reporter.printRatio(step + size, "BM_Add" + size, "", suffix);
        }
    }
    if (sizes.size() > 1) {
        const std::string small = "/" + std::to_string(sizes.front()) + suffix;
        const std::string large = "/" + std::to_string(sizes.back()) + suffix;
        for (const char* step : kSteps) {
            const auto a = reporter.times.find(step + large);
            const auto b = reporter.times.find(step + small);
            if (a != reporter.times.end() && b != reporter.times.end()) {
                std::printf("%-12s %d -> %d points: %.2f times\n", step, sizes.front() * sizes.front(),
                            sizes.back() * sizes.back(), a->second / b->second);
            }
        }
    }
    benchmark::Shutdown();
    return 0;
}
