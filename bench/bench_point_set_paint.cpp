// links: varnel
//
// A point-set item of 1 million points (a jittered 1000 x 1000 grid at national-grid
// coordinates, elevations over the colour scale) on a main view of 1000 x 800 pixels that
// shows all of them, coloured by elevation, radius 2.
// - Repaint of the view (`View::grab`, which paints the model anew) beside a bare QPainter
//   loop that draws as many discs of the same size and colours into a picture of the same
//   size; goal under 0.5 s, and under 1 s with every point selected (rings on top). A first
//   paint (the markers stamped anew rather than kept) beside the same loop.
// - Select All and a rectangle toggle (the selection step with an outline around all
//   points, alternately selecting and deselecting them all), each beside a plain walk over
//   the set's points; goal under 0.2 s each. A nearest pick in the middle of the view
//   beside the same walk; goal well under a second.
// The set's spatial index is built before timing, as loading and importing do.
#include "movarin/survey/CoordinatePointsBaseItem.h"
#include "movarin/survey/CoordinatePointsBaseItemController.h"
#include "movarin/survey/CoordinatePointsBaseItemView.h"
#include "movarin/survey/PickNearest.h"
#include "movarin/survey/RectangleToPolygon.h"

#include "BenchSupport.h"

#include "brask/core/Model.h"
#include "brask/core/ModelRootItem.h"
#include "brask/core/View.h"
#include "orlin/core/PointSet.h"

#include <guimisc/colormapper/ElevationColorMapper.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

namespace {

constexpr int GRID = 1000;

class BenchPointsItem : public varnel::CoordinatePointsBaseItem {
public:
    explicit BenchPointsItem(tin::core::PointSet* points)
        : CoordinatePointsBaseItem(QStringLiteral("points"), points, nullptr, 0)
    {
    }

protected:
    mvc::core::ModelItemController* buildController() const override
    {
        return new varnel::CoordinatePointsBaseItemController(this);
    }
};

class BenchModel : public mvc::core::Model {
public:
    explicit BenchModel(mvc::core::View* view) : Model(nullptr, view, nullptr, nullptr)
    {
        setRootItem(new mvc::core::ModelRootItem(this));
    }
};

struct Scene {
    mvc::core::View view;
    BenchModel model{&view};
    BenchPointsItem* item = nullptr;

    Scene()
    {
        std::mt19937 random(5);
        std::uniform_real_distribution<double> jitter(-0.3, 0.3);
        auto set = new tin::core::PointSet();
        set->reservePoints(static_cast<std::size_t>(GRID) * GRID);
        for (int i = 0; i < GRID; ++i) {
            for (int j = 0; j < GRID; ++j) {
                set->addPoint(std::make_shared<tin::core::Point>(
                    104000.0 + i + jitter(random), -36000.0 + j + jitter(random),
                    -100.0 + 0.2 * ((i * 7 + j * 13) % 1000)));
            }
        }
        item = new BenchPointsItem(set);
        item->setParent(model.rootItem());
        model.rootItem()->attachChildAtBack(item);
        item->prepareSpatialIndex();
        view.setModel(&model);
        view.resize(1000, 800);
        view.fit();
        // Selected as the object browser would make it, so that rings are drawn.
        item->controller()->informSelection(&view);
    }
};

Scene& scene()
{
    static Scene s;
    return s;
}

void BM_Repaint(benchmark::State& state)
{
    Scene& s = scene();
    s.item->controller()->clearSelection();
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.view.grab());
    }
}

// A paint that stamps the markers anew: the setting's colour alternates between two values
// (a key of the kept layer; colour by value stays on, so the picture is the same).
void BM_FirstPaint(benchmark::State& state)
{
    Scene& s = scene();
    s.item->controller()->clearSelection();
    bool other = false;
    for (auto _ : state) {
        state.PauseTiming();
        other = !other;
        s.item->view()->setViewSetting(
            varnel::CoordinatePointsBaseItemViewSetting(other ? Qt::magenta : Qt::cyan, 2, true));
        state.ResumeTiming();
        benchmark::DoNotOptimize(s.view.grab());
    }
}

void BM_RepaintAllSelected(benchmark::State& state)
{
    Scene& s = scene();
    s.item->controller()->selectAllPoints();
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.view.grab());
    }
    s.item->controller()->clearSelection();
}

void BM_BareDiscs(benchmark::State& state)
{
    Scene& s = scene();
    const auto points = s.item->pointSet()->allPoints();
    guimisc::colormapper::ElevationColorMapper colours;
    for (auto _ : state) {
        QPixmap picture(s.view.size());
        picture.fill(Qt::darkGray);
        QPainter painter(&picture);
        for (const auto& p : points) {
            const QColor c = colours.color(p->elevation());
            painter.setPen(QPen(c));
            painter.setBrush(QBrush(c));
            painter.drawEllipse(s.view.conv(QPointF(p->x(), p->y())), 2.0, 2.0);
        }
        painter.end();
        benchmark::DoNotOptimize(picture);
    }
}

void BM_SelectAll(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state) {
        s.item->controller()->selectAllPoints();
    }
    s.item->controller()->clearSelection();
}

void BM_RectangleToggle(benchmark::State& state)
{
    Scene& s = scene();
    auto controller = s.item->controller();
    controller->clearSelection();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    for (auto _ : state) {
        state.PauseTiming();
        varnel::rectangleToPolygon(*controller->currentSelectionHelper()->outline(),
                                   QPointF(-10.0, -10.0), QPointF(1010.0, 810.0), &s.view);
        state.ResumeTiming();
        controller->selectPointsInPolygon(&enter, &s.view);
    }
    controller->clearSelection();
    controller->currentSelectionHelper()->reset();
}

void BM_PickNearest(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            varnel::pickNearestPoint(*s.item->pointSet(), QPoint(500, 400), &s.view));
    }
}

void BM_PlainWalk(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state) {
        double sum = 0.0;
        for (const auto& p : s.item->pointSet()->allPoints()) {
            sum += p->x();
        }
        benchmark::DoNotOptimize(sum);
    }
}

BENCHMARK(BM_Repaint)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FirstPaint)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RepaintAllSelected)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BareDiscs)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SelectAll)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RectangleToggle)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PickNearest)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PlainWalk)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    scene();
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const char* suffix = "/iterations:5";
    reporter.printRatio("BM_Repaint", "BM_BareDiscs", "(goal < 0.5 s)", suffix);
    reporter.printRatio("BM_FirstPaint", "BM_BareDiscs", "(goal < 0.5 s)", suffix);
    reporter.printRatio("BM_RepaintAllSelected", "BM_BareDiscs", "(goal < 1 s)", suffix);
    reporter.printRatio("BM_SelectAll", "BM_PlainWalk", "(goal < 0.2 s)", suffix);
    reporter.printRatio("BM_RectangleToggle", "BM_PlainWalk", "(goal < 0.2 s)", suffix);
    reporter.printRatio("BM_PickNearest", "BM_PlainWalk", "(goal well under 1 s)", suffix);
    std::printf("peak resident size %.0f MB\n", bench::peakResidentMb());
    return 0;
}
