// links: varnel
//
// The brush on a large edited TIN. The scene: an edit-mode project tree (a project without
// main window) whose base and edited TIN are a 708 x 708 grid of 1 m cells (about a million
// triangles, "/" diagonals, gently rolling), with five brush surfaces applied near its
// south-west part, shown on a 1000 x 800 main view at 20 pixels a metre, and one cross
// section of 60 m across the timed stroke with its window open (which cuts every preview
// along the section). The brush is driven through the group controller's input hooks, as the
// view hands the mouse and the keys on. Timed:
// - BM_StrokeMove: each of 200 mouse moves 0.5 m apart of one stroke with a brush of size 5
//   (the swept footprint, its subdivision, the elevation change, the preview and the
//   section window's cut of it), one iteration per move; p50 and p95 over the moves are printed;
//   baseline BM_BareFootprintQuery: `findTrianglesIntersectPolygon` of the same 200
//   footprints on the edited TIN;
// - BM_Commit: Return on a pending edit of 32 strokes of size 5 along x, 5 m apart, moves 5 m
//   apart, covering a 160 m x 160 m square (about 51,000 triangles replaced one for one, the
//   periphery split at commit); the surface is taken off again between iterations;
//   baseline BM_BareSwap: `removeTriangle` of every removed and `addTriangle` of every added
//   triangle of the same edit on the edited TIN;
// - BM_RepaintPendingStroke: a repaint of the view with nothing changed while a stroke is
//   pending beside the five surfaces, beside BM_RepaintNoBrush (the same view without the
//   brush) and BM_RepaintAfterEachMove (a repaint after each further move of the stroke, the
//   preview drawn anew); the terrain's picture cache keeps the base and edited TINs' pictures
//   with the preview's (the count of its pictures is printed).
// Goals: a move under 50 ms at the 95th percentile, a commit under 200 ms, a repaint under
// 100 ms.
// BenchSupport.h (orlin) comes before any Qt header: Qt's keyword macros would spoil it.
#include "BenchSupport.h"

#include "brask/core/Model.h"
#include "brask/core/ObjectBrowserView.h"
#include "brask/core/View.h"
#include "movarin/sections/CrossSectionDialog.h"
#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionItemController.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/EditModeProject.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/TinPaintCache.h"
#include "movarin/surfaces/BrushEdit.h"
#include "movarin/surfaces/BrushFootprint.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include "orlin/core/Triangle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr int kCells = 708;
const QSize kViewSize(1000, 800);
constexpr double kScale = 20.0;
constexpr int kMoves = 200;
constexpr double kStep = 0.5;
// Where the timed stroke runs, and the 160 m square the commit's strokes cover.
constexpr double kStrokeX = 100.0;
constexpr double kStrokeY = 100.5;
constexpr double kSquare = 300.0;

using PointPtr = std::shared_ptr<tin::core::Point>;
using varnel::EditModeMainWindowModel;
using Controller = varnel::GeoEditSurfaceGroupItemController;

PointPtr node(double x, double y, double z)
{
    return tin::core::PointFactory::instance().factory(tin::core::Point(x, y, z), false);
}

double terrainAt(double x, double y)
{
    return 10.0 * std::sin(x / 50.0) * std::cos(y / 70.0);
}

// Per-move times of a timed run, for its percentiles.
std::map<std::string, std::vector<double>>& samples()
{
    static std::map<std::string, std::vector<double>> held;
    return held;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty()) {
        return NAN;
    }
    std::sort(values.begin(), values.end());
    const std::size_t k = static_cast<std::size_t>(std::ceil(p * values.size())) - 1;
    return values[std::min(k, values.size() - 1)];
}

// The project tree, made once.
class Scene {
public:
    Scene()
    {
        m_project = std::make_unique<varnel::EditModeProject>(m_folder.filePath(QStringLiteral("work")), nullptr);
        // With a browser, so that the group can be the selected item whose tool is painted.
        m_model = new EditModeMainWindowModel(&m_browser, &m_view, nullptr, m_project->projectFile());
        build();
        m_view.setModel(m_model);
        m_view.resize(kViewSize);
        m_view.fit();
        m_view.setScale(kScale);
        m_view.setCenterPoint(QPointF(kStrokeX + 30.0, kStrokeY));
        m_view.updateView();
        // One cross section across the timed stroke, its window open.
        const double x = kStrokeX + 30.0;
        varnel::CrossSectionGroupItem* sections = root()->crossSectionGroupItem();
        m_section = sections->buildCrossSection(QStringLiteral("K1"), tin::core::Point(x, kStrokeY - 30.0),
                                                tin::core::Point(x, kStrokeY + 30.0));
        sections->attachChildAtBack(m_section);
        m_section->controller()->showCrossSectionDialog();
        // The edited TIN's index is built by the first query, as the first paint does.
        edited().findTrianglesIntersectRect(tin::core::Rect(0, 0, 1, 1));
    }

    ~Scene()
    {
        m_view.setModel(nullptr);
        delete m_model;
    }

    varnel::EditModeMainWindowModelRootItem* root() const { return m_model->rootItem(); }
    tin::core::Tin& edited() const { return *root()->tinItem()->tin(); }
    varnel::GeoEditSurfaceGroupItem* group() const { return root()->geoEditSurfaceGroupItem(); }
    Controller* controller() const { return group()->groupController(); }
    mvc::core::View& view() { return m_view; }
    // The auxiliary rows of the section's window: the preview cut along the section.
    double auxiliaryRows() const
    {
        const varnel::CrossSectionDialog* window = m_section->controller()->crossSectionDialog();
        return window ? static_cast<double>(window->auxiliaryRows().size()) : -1.0;
    }

    // Mouse and key events handed to the controller as the view hands them on.
    void mouse(QEvent::Type type, double x, double y)
    {
        const QPointF pixel = m_view.conv(QPointF(x, y));
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, pixel, pixel, button, held, Qt::NoModifier);
        switch (type) {
        case QEvent::MouseButtonPress:
            controller()->mousePressEvent(&event, &m_view);
            break;
        case QEvent::MouseButtonRelease:
            controller()->mouseReleaseEvent(&event, &m_view);
            break;
        default:
            controller()->mouseMoveEvent(&event, &m_view);
        }
    }
    void key(int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        controller()->keyPressEvent(&event, &m_view);
    }

    // The 32 strokes over the commit's square, pending.
    void brushSquare()
    {
        controller()->regionBrush();
        for (int row = 0; row < 32; ++row) {
            const double y = kSquare + 2.5 + 5.0 * row;
            mouse(QEvent::MouseButtonPress, kSquare + 2.5, y);
            for (int k = 0; k < 32; ++k) {
                mouse(QEvent::MouseMove, kSquare + 2.5 + 5.0 * k, y);
            }
            mouse(QEvent::MouseButtonRelease, kSquare + 157.5, y);
        }
    }

    // Takes the newest surface off again, as undo does.
    void takeBackNewest()
    {
        auto surface = static_cast<varnel::GeoEditSurfaceItemI*>(group()->childItems().front());
        surface->swapTriangles(surface->addedTin(), surface->removedTin());
        group()->detachChild(surface);
        delete surface;
    }

private:
    void build()
    {
        std::vector<PointPtr> nodes;
        nodes.reserve(static_cast<std::size_t>(kCells + 1) * (kCells + 1));
        for (int j = 0; j <= kCells; ++j) {
            for (int i = 0; i <= kCells; ++i) {
                nodes.push_back(node(i, j, terrainAt(i, j)));
            }
        }
        auto at = [&](int i, int j) -> PointPtr& { return nodes[static_cast<std::size_t>(j) * (kCells + 1) + i]; };
        tin::core::Tin terrain;
        for (int j = 0; j < kCells; ++j) {
            for (int i = 0; i < kCells; ++i) {
                terrain.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
                terrain.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
            }
        }
        root()->baseTinItem()->setTin(new tin::core::Tin(terrain));
        root()->tinItem()->setTin(new tin::core::Tin(terrain));
        // Five surfaces of 30 x 30 cells with their inner nodes raised, in view beside the stroke.
        for (int k = 0; k < 5; ++k) {
            const int i0 = static_cast<int>(kStrokeX) + 35 * k;
            const int j0 = static_cast<int>(kStrokeY) + 10;
            tin::core::Tin removed;
            for (const auto& t : edited().findTrianglesInRect(tin::core::Rect(i0, j0, i0 + 30, j0 + 30))) {
                removed.addTriangle(t);
            }
            for (int j = j0 + 1; j < j0 + 30; ++j) {
                for (int i = i0 + 1; i < i0 + 30; ++i) {
                    at(i, j) = node(i, j, at(i, j)->elevation() + 0.5);
                }
            }
            tin::core::Tin added;
            for (int j = j0; j < j0 + 30; ++j) {
                for (int i = i0; i < i0 + 30; ++i) {
                    added.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
                    added.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
                }
            }
            auto surface = group()->createGeoEditSurfaceByBrushItem(QStringLiteral("BrushEdit %1").arg(k + 1),
                                                                    added, removed);
            group()->attachChildAtFront(surface);
            surface->swapTriangles(removed, added);
        }
    }

    QTemporaryDir m_folder;
    mvc::core::View m_view;
    mvc::core::ObjectBrowserView m_browser;
    std::unique_ptr<varnel::EditModeProject> m_project;
    EditModeMainWindowModel* m_model = nullptr;
    varnel::CrossSectionItem* m_section = nullptr;
};

std::unique_ptr<Scene>& sceneHolder()
{
    static std::unique_ptr<Scene> held;
    return held;
}

Scene& scene()
{
    if (!sceneHolder()) {
        sceneHolder() = std::make_unique<Scene>();
    }
    return *sceneHolder();
}

// The footprints of the timed stroke's moves.
std::vector<tin::core::Polygon> strokeFootprints()
{
    std::vector<tin::core::Polygon> footprints;
    for (int k = 1; k <= kMoves; ++k) {
        footprints.push_back(varnel::BrushFootprint::sweptBrushPolygon(
            tin::core::Point2D(kStrokeX + kStep * (k - 1), kStrokeY), tin::core::Point2D(kStrokeX + kStep * k, kStrokeY),
            5.0));
    }
    return footprints;
}

void BM_StrokeMove(benchmark::State& state)
{
    Scene& s = scene();
    s.controller()->regionBrush();
    s.mouse(QEvent::MouseButtonPress, kStrokeX, kStrokeY);
    s.mouse(QEvent::MouseMove, kStrokeX, kStrokeY);
    std::vector<double>& times = samples()["BM_StrokeMove"];
    times.clear();
    int k = 1;
    for (auto _ : state) {
        const auto start = bench::Clock::now();
        s.mouse(QEvent::MouseMove, kStrokeX + kStep * k, kStrokeY);
        const double seconds = bench::secondsSince(start);
        state.SetIterationTime(seconds);
        times.push_back(seconds * 1000.0);
        ++k;
    }
    state.counters["auxiliaryRows"] = s.auxiliaryRows();
    s.mouse(QEvent::MouseButtonRelease, kStrokeX + kStep * (k - 1), kStrokeY);
    s.key(Qt::Key_Escape);
}

void BM_BareFootprintQuery(benchmark::State& state)
{
    Scene& s = scene();
    static const std::vector<tin::core::Polygon> footprints = strokeFootprints();
    std::vector<double>& times = samples()["BM_BareFootprintQuery"];
    times.clear();
    std::size_t k = 0;
    for (auto _ : state) {
        const auto start = bench::Clock::now();
        benchmark::DoNotOptimize(s.edited().findTrianglesIntersectPolygon(footprints[k % footprints.size()]));
        const double seconds = bench::secondsSince(start);
        state.SetIterationTime(seconds);
        times.push_back(seconds * 1000.0);
        ++k;
    }
}

void BM_Commit(benchmark::State& state)
{
    Scene& s = scene();
    std::size_t added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.brushSquare();
        state.ResumeTiming();
        s.key(Qt::Key_Return);
        state.PauseTiming();
        added = static_cast<varnel::GeoEditSurfaceItemI*>(s.group()->childItems().front())->addedTin().allTriangles().size();
        s.takeBackNewest();
        state.ResumeTiming();
    }
    state.counters["added"] = static_cast<double>(added);
}

void BM_BareSwap(benchmark::State& state)
{
    Scene& s = scene();
    // The same edit, made once beside the tools.
    static const varnel::BrushEdit edit = [&s] {
        varnel::BrushEdit made;
        varnel::BrushSettings settings;
        for (int row = 0; row < 32; ++row) {
            const double y = kSquare + 2.5 + 5.0 * row;
            for (int k = 1; k < 32; ++k) {
                made.apply(s.edited(), varnel::BrushFootprint::sweptBrushPolygon(
                                           tin::core::Point2D(kSquare + 2.5 + 5.0 * (k - 1), y),
                                           tin::core::Point2D(kSquare + 2.5 + 5.0 * k, y), 5.0),
                           true, settings);
            }
            made.apply(s.edited(), varnel::BrushFootprint::brushSquare(tin::core::Point2D(kSquare + 157.5, y), 5.0),
                       true, settings);
        }
        made.subdividePeriphery(s.edited(), settings);
        return made;
    }();
    tin::core::Tin& edited = s.edited();
    for (auto _ : state) {
        for (const auto& t : edit.removedTin().allTriangles()) {
            edited.removeTriangle(t);
        }
        for (const auto& t : edit.addedTin().allTriangles()) {
            edited.addTriangle(t);
        }
        state.PauseTiming();
        for (const auto& t : edit.addedTin().allTriangles()) {
            edited.removeTriangle(t);
        }
        for (const auto& t : edit.removedTin().allTriangles()) {
            edited.addTriangle(t);
        }
        state.ResumeTiming();
    }
    state.counters["added"] = static_cast<double>(edit.addedTin().allTriangles().size());
    state.counters["removed"] = static_cast<double>(edit.removedTin().allTriangles().size());
}

void repaint(benchmark::State& state, bool brushing, bool moving = false)
{
    Scene& s = scene();
    if (brushing) {
        s.controller()->regionBrush();
        s.mouse(QEvent::MouseButtonPress, kStrokeX, kStrokeY);
        for (int k = 0; k <= 40; ++k) {
            s.mouse(QEvent::MouseMove, kStrokeX + kStep * k, kStrokeY);
        }
    }
    s.view().updateView();
    s.view().grab();
    int k = 40;
    for (auto _ : state) {
        if (moving) {
            state.PauseTiming();
            s.mouse(QEvent::MouseMove, kStrokeX + kStep * ++k, kStrokeY);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(s.view().grab());
    }
    const varnel::TinPaintCache* terrain = varnel::TinPaintCache::existing(&s.view());
    state.counters["terrainPictures"] = terrain ? static_cast<double>(terrain->size()) : 0.0;
    if (brushing) {
        s.mouse(QEvent::MouseButtonRelease, kStrokeX + kStep * k, kStrokeY);
        s.key(Qt::Key_Escape);
    }
}

void BM_RepaintPendingStroke(benchmark::State& state)
{
    repaint(state, true);
}

void BM_RepaintNoBrush(benchmark::State& state)
{
    repaint(state, false);
}

void BM_RepaintAfterEachMove(benchmark::State& state)
{
    repaint(state, true, true);
}

BENCHMARK(BM_BareFootprintQuery)->Unit(benchmark::kMillisecond)->Iterations(kMoves)->UseManualTime();
BENCHMARK(BM_StrokeMove)->Unit(benchmark::kMillisecond)->Iterations(kMoves)->UseManualTime();
BENCHMARK(BM_BareSwap)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Commit)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RepaintNoBrush)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_RepaintPendingStroke)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_RepaintAfterEachMove)->Unit(benchmark::kMillisecond)->Iterations(20);

void printPercentiles(const std::string& name, const std::string& bare, const char* note)
{
    const std::vector<double>& a = samples()[name];
    const std::vector<double>& b = samples()[bare];
    if (a.empty() || b.empty()) {
        return;
    }
    const double a50 = percentile(a, 0.5);
    const double a95 = percentile(a, 0.95);
    const double b50 = percentile(b, 0.5);
    const double b95 = percentile(b, 0.95);
    std::printf("%-22s p50 %7.3f ms  p95 %7.3f ms\n", name.c_str(), a50, a95);
    std::printf("%-22s p50 %7.3f ms  p95 %7.3f ms\n", bare.c_str(), b50, b95);
    std::printf("ratios                 p50 %7.1f     p95 %7.1f     %s\n", a50 / b50, a95 / b95, note);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    QTemporaryDir home;
    bench::useOffscreenScratchHome(home.path().toStdString());
    QApplication application(argc, argv);

    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printPercentiles("BM_StrokeMove", "BM_BareFootprintQuery", "(goal: p95 under 50 ms)");
    reporter.printRatio("BM_Commit", "BM_BareSwap", "(goal: under 200 ms)", "/iterations:5");
    reporter.printTime("BM_RepaintPendingStroke", "(goal: under 100 ms)");
    reporter.printTime("BM_RepaintNoBrush", "(no brush)");
    reporter.printTime("BM_RepaintAfterEachMove", "(the preview drawn anew, the terrain's pictures kept)");
    sceneHolder().reset();
    benchmark::Shutdown();
    return 0;
}
