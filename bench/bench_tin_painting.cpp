// links: varnel
//
// TIN painting on the main view. A main view of 1000 x 800 pixels (offscreen) is fitted on a
// model whose one item paints a TIN of about a million triangles (a jittered 708 x 708 grid on
// a sine surface, edges on) through TinMainViewHelper::paintTin, as the application's TIN
// items do. Timed, each as what the view shows after a repaint (QWidget::grab):
// - BM_FirstPaint: a new view's first paint (the TIN's spatial index already built);
// - BM_FirstPaintColdIndex: the same on a TIN never queried before, for information (the
//   fitted view shows the whole TIN, so the paint takes every triangle without building the
//   index);
// - BM_RepaintUnchanged: a repaint with nothing changed, as after a rubber-band move;
// - BM_RepaintAfterRemoval: a repaint after one triangle was removed;
// - BM_FirstPaintZoomed: a first paint zoomed in on a hundredth of the area;
// - BM_RepaintUnchangedWithSurfaces: a repaint with nothing changed of an edit-mode project
//   tree (a project without main window) whose edited TIN is the same million triangles,
//   with twenty mold-and-path surfaces and twenty brush surfaces of each about a thousand
//   triangles in view over it (the mold surfaces are attached without merging: painting
//   reads only their own TINs); the pictures on the terrain and overlay shelves are counted.
// Bare baseline in the same run, BM_BareDrawPolygon: QPainter::drawPolygon of the same
// triangles, in the same order, into a QImage of the view's size from precomputed widget
// points and colours. Goals: a repaint with nothing changed under 100 ms, with or without the
// forty surfaces; the first paint and a repaint after a change at most 2 times the bare
// drawing; the zoomed first paint under 100 ms.
// BenchSupport.h (orlin) comes before any Qt header: Qt's keyword macros would spoil it.
#include "BenchSupport.h"

#include "brask/core/ObjectBrowserView.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/EditModeProject.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/TinMainViewHelper.h"
#include "movarin/shell/TinPaintCache.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceItem.h"
#include "movarin/surfaces/MoldGroupItem.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldsContainer.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"
#include "movarin/tests/shell/TinScene.h"

#include "orlin/core/Triangle.h"

#include <guimisc/colormapper/ElevationColorMapper.h>

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kGrid = 708;
constexpr int kSlow = 3;
constexpr int kFast = 20;
const QSize kViewSize(1000, 800);

tin::core::Tin makeTin(unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    return bench::gridTin(kGrid, [&](int i, int j) {
        const double x = i + jitter(random);
        const double y = j + jitter(random);
        return tin::core::Point(x, y, 90.0 * std::sin(x / 40.0) * std::cos(y / 55.0));
    });
}

// The TIN of every case but the cold one; its spatial index is built once here.
tin::core::Tin& sharedTin()
{
    static tin::core::Tin tin = [] {
        tin::core::Tin made = makeTin(7);
        made.findTrianglesIntersectRect(made.boundingRect());
        return made;
    }();
    return tin;
}

guimisc::colormapper::ElevationColorMapper& colors()
{
    static guimisc::colormapper::ElevationColorMapper mapper;
    return mapper;
}

void BM_FirstPaint(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto scene = std::make_unique<varnel::test::TinScene>(&sharedTin(), &colors(), kViewSize);
        state.ResumeTiming();
        benchmark::DoNotOptimize(scene->grab());
        state.PauseTiming();
        scene.reset();
        state.ResumeTiming();
    }
    state.counters["triangles"] = static_cast<double>(sharedTin().allTriangles().size());
}

void BM_FirstPaintColdIndex(benchmark::State& state)
{
    unsigned seed = 11;
    for (auto _ : state) {
        state.PauseTiming();
        auto tin = std::make_unique<tin::core::Tin>(makeTin(seed++));
        auto scene = std::make_unique<varnel::test::TinScene>(tin.get(), &colors(), kViewSize);
        state.ResumeTiming();
        benchmark::DoNotOptimize(scene->grab());
        state.PauseTiming();
        scene.reset();
        tin.reset();
        state.ResumeTiming();
    }
}

void BM_RepaintUnchanged(benchmark::State& state)
{
    varnel::test::TinScene scene(&sharedTin(), &colors(), kViewSize);
    scene.grab();
    for (auto _ : state) {
        benchmark::DoNotOptimize(scene.grab());
    }
}

void BM_RepaintAfterRemoval(benchmark::State& state)
{
    // A copy, so that the other cases keep every triangle; it shares the built index.
    tin::core::Tin tin = sharedTin();
    varnel::test::TinScene scene(&tin, &colors(), kViewSize);
    scene.grab();
    const auto inView = tin.findTrianglesIntersectRect(tin::core::Rect(300.0, 300.0, 400.0, 400.0));
    std::size_t next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        tin.removeTriangle(inView[next++ % inView.size()]);
        state.ResumeTiming();
        benchmark::DoNotOptimize(scene.grab());
    }
}

void BM_FirstPaintZoomed(benchmark::State& state)
{
    varnel::test::TinScene scene(&sharedTin(), &colors(), kViewSize);
    mvc::core::View& view = scene.view();
    view.setScale(view.scale() * 10.0);
    const QPointF centres[] = {QPointF(150, 150), QPointF(560, 200), QPointF(350, 350),
                               QPointF(200, 600), QPointF(600, 560)};
    std::size_t next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        view.setCenterPoint(centres[next++ % 5]);
        view.updateView();
        state.ResumeTiming();
        benchmark::DoNotOptimize(scene.grab());
    }
}

// An edit-mode project tree over a copy of the shared TIN with forty surfaces in view, shown
// whole on a view of the benchmark's size.
class SurfacesScene {
public:
    SurfacesScene()
    {
        m_project = std::make_unique<varnel::EditModeProject>(m_folder.filePath(QStringLiteral("work")), nullptr);
        m_model = new varnel::EditModeMainWindowModel(&m_browser, &m_view, nullptr, m_project->projectFile());
        root()->baseTinItem()->setTin(new tin::core::Tin(sharedTin()));
        root()->baseTinItem()->setUnchecked();
        root()->tinItem()->setTin(new tin::core::Tin(sharedTin()));
        addMoldSurfaces();
        addBrushSurfaces();
        m_view.setModel(m_model);
        m_view.resize(kViewSize);
        m_view.fit();
    }
    ~SurfacesScene()
    {
        m_view.setModel(nullptr);
        delete m_model;
    }

    mvc::core::View& view() { return m_view; }
    std::size_t surfaces() const { return group()->childItems().size(); }

private:
    varnel::EditModeMainWindowModelRootItem* root() const { return m_model->rootItem(); }
    varnel::GeoEditSurfaceGroupItem* group() const { return root()->geoEditSurfaceGroupItem(); }
    tin::core::Tin& edited() const { return *root()->tinItem()->tin(); }

    // Twenty bends of 40 m with the second of the default Add molds, in a row along x.
    void addMoldSurfaces()
    {
        const varnel::MoldItem& mold =
            *group()->moldsContainer()->group(mold::core::Mold::Add)->molds().at(1);
        for (int k = 0; k < 20; ++k) {
            const double x = 40.0 + 31.0 * k;
            std::vector<tin::core::Point> path;
            for (const QPointF& p : {QPointF(x, 120.0), QPointF(x + 12.0, 140.0), QPointF(x, 160.0)}) {
                tin::core::Point point(p.x(), p.y(), 0.0);
                edited().interpolateElevation(&point);
                point.setElevation(point.elevation() + 2.0);
                path.push_back(point);
            }
            varnel::GeoEditSurfaceItem* surface =
                group()->createGeoEditSurfaceItem(QStringLiteral("GeoEdit %1").arg(k + 1), path, mold);
            if (surface) {
                group()->attachChildAtFront(surface);
            }
        }
    }

    // Twenty squares of 20 m whose triangles are each split at their raised centroid, swapped
    // into the edited TIN as a brush stroke is.
    void addBrushSurfaces()
    {
        for (int k = 0; k < 20; ++k) {
            const double x = 40.0 + 31.0 * k;
            tin::core::Tin removed;
            tin::core::Tin added;
            for (const auto& t : edited().findTrianglesInRect(tin::core::Rect(x, 400.0, x + 20.0, 420.0))) {
                removed.addTriangle(t);
                double cx = 0.0, cy = 0.0, cz = 0.0;
                for (int v = 0; v < 3; ++v) {
                    cx += t->point(v)->x() / 3.0;
                    cy += t->point(v)->y() / 3.0;
                    cz += t->point(v)->elevation() / 3.0;
                }
                auto centre = std::make_shared<tin::core::Point>(cx, cy, cz + 3.0);
                for (int v = 0; v < 3; ++v) {
                    added.addTriangle(t->point(v), t->point(v + 1), centre);
                }
            }
            auto surface = group()->createGeoEditSurfaceByBrushItem(
                QStringLiteral("BrushEdit %1").arg(k + 1), added, removed);
            group()->attachChildAtFront(surface);
            surface->swapTriangles(removed, added);
        }
    }

    QTemporaryDir m_folder;
    mvc::core::View m_view;
    mvc::core::ObjectBrowserView m_browser;
    std::unique_ptr<varnel::EditModeProject> m_project;
    varnel::EditModeMainWindowModel* m_model = nullptr;
};

void BM_RepaintUnchangedWithSurfaces(benchmark::State& state)
{
    SurfacesScene scene;
    scene.view().grab();
    for (auto _ : state) {
        benchmark::DoNotOptimize(scene.view().grab());
    }
    const varnel::TinPaintCache* terrain = varnel::TinPaintCache::existing(&scene.view());
    const varnel::TinPaintCache* overlays =
        varnel::TinPaintCache::existing(&scene.view(), varnel::TinPaintCache::Shelf::Overlay);
    state.counters["surfaces"] = static_cast<double>(scene.surfaces());
    state.counters["terrainPictures"] = terrain ? static_cast<double>(terrain->size()) : 0.0;
    state.counters["overlayPictures"] = overlays ? static_cast<double>(overlays->size()) : 0.0;
}

void BM_BareDrawPolygon(benchmark::State& state)
{
    // The triangles the fitted view paints, in the same order, as widget points and colours.
    varnel::test::TinScene scene(&sharedTin(), &colors(), kViewSize);
    const mvc::core::View& view = scene.view();
    const QRectF region = view.drawnRegion();
    const auto triangles = sharedTin().findTrianglesIntersectRect(
        tin::core::Rect(region.left(), region.top(), region.right(), region.bottom()));
    std::vector<QPointF> corners;
    std::vector<QColor> fills;
    corners.reserve(3 * triangles.size());
    fills.reserve(triangles.size());
    for (const auto& t : triangles) {
        int r = 0, g = 0, b = 0;
        for (int i = 0; i < 3; ++i) {
            const tin::core::Point& p = *t->point(i);
            corners.push_back(view.conv(QPointF(p.x(), p.y())));
            const QColor c = colors().color(p.elevation());
            r += c.red();
            g += c.green();
            b += c.blue();
        }
        fills.emplace_back(r / 3, g / 3, b / 3);
    }
    for (auto _ : state) {
        QImage image(kViewSize, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::darkGray);
        QPainter painter(&image);
        painter.setPen(QPen(Qt::black));
        for (std::size_t k = 0; k < fills.size(); ++k) {
            painter.setBrush(fills[k]);
            painter.drawPolygon(&corners[3 * k], 3, Qt::OddEvenFill);
        }
        painter.end();
        benchmark::DoNotOptimize(image);
    }
}

BENCHMARK(BM_BareDrawPolygon)->Unit(benchmark::kMillisecond)->Iterations(kSlow);
BENCHMARK(BM_FirstPaint)->Unit(benchmark::kMillisecond)->Iterations(kSlow);
BENCHMARK(BM_FirstPaintColdIndex)->Unit(benchmark::kMillisecond)->Iterations(kSlow);
BENCHMARK(BM_RepaintAfterRemoval)->Unit(benchmark::kMillisecond)->Iterations(kSlow);
BENCHMARK(BM_RepaintUnchanged)->Unit(benchmark::kMillisecond)->Iterations(kFast);
BENCHMARK(BM_FirstPaintZoomed)->Unit(benchmark::kMillisecond)->Iterations(kFast);
BENCHMARK(BM_RepaintUnchangedWithSurfaces)->Unit(benchmark::kMillisecond)->Iterations(kFast);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The painted edges come from the settings store: a store of this run's own.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QApplication application(argc, argv);
    QSettings().setValue(varnel::settings::graphicsShowTinEdges, true);

    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("BM_FirstPaint", "BM_BareDrawPolygon", "(goal: at most 2)");
    reporter.printRatio("BM_RepaintAfterRemoval", "BM_BareDrawPolygon", "(goal: at most 2)");
    reporter.printRatio("BM_FirstPaintColdIndex", "BM_BareDrawPolygon", "(index built too)");
    reporter.printTime("BM_RepaintUnchanged", "(goal: under 100 ms)", "/iterations:" + std::to_string(kFast));
    reporter.printTime("BM_FirstPaintZoomed", "(goal: under 100 ms)", "/iterations:" + std::to_string(kFast));
    reporter.printTime("BM_RepaintUnchangedWithSurfaces", "(goal: under 100 ms)",
                       "/iterations:" + std::to_string(kFast));
    reporter.printRatio("BM_RepaintUnchangedWithSurfaces", "BM_RepaintUnchanged",
                        "(the forty surfaces' share)", "/iterations:" + std::to_string(kFast));
    benchmark::Shutdown();
    return 0;
}
