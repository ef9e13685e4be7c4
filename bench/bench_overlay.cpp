// links: orlin wendle
// Overlay of a 10,000-triangle TIN with the part of a large TIN that its bounding rectangle
// meets (the way the merge and the differences call it), for a large TIN of 1 million and of
// 100,000 triangles at the same density. Baseline: one bare constrained triangulation of the
// small TIN's vertices and edges. The overlay should cost a fixed multiple of the baseline
// whatever the size of the large TIN. A second reference, overlayRunFloor, times the one
// triangulation run inside the overlay on its own.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "orlin/core/Edge.h"
#include "orlin/core/Edge2D.h"
#include "orlin/core/Edge2DFactory.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2DIRepository.h"
#include "orlin/core/Point2DIRingTree.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Tin2D.h"
#include "orlin/core/Triangle2D.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/OverlayTriangulation.h"
#include "orlin/util/TriangleRecord.h"
#include "orlin/util/TinOverlay.h"
#include "orlin/util/UniqueListT.h"
#include "trianglecui/TriangleProcess.h"

#include "BenchSupport.h"

using tin::core::Point;
using tin::core::Tin;

namespace {

double ground(double x, double y)
{
    return 0.01 * x + 0.02 * y + std::sin(x * 0.05) * std::cos(y * 0.07);
}

// A square grid of n x n points over [x0, x0 + size]^2, two triangles per cell.
Tin gridTin(double x0, double y0, double size, int n, double (*z)(double, double))
{
    return bench::regularGridTin(x0, y0, size / (n - 1), n, z);
}

double patch(double x, double y)
{
    // Crosses the ground along closed curves: a few dozen regions.
    return ground(x, y) + 0.5 * std::sin(x * 0.15) * std::sin(y * 0.15);
}

struct Scene {
    Tin large;
    Tin small;
};

Scene& scene(int largeGrid)
{
    static std::map<int, std::unique_ptr<Scene>> scenes;
    auto& s = scenes[largeGrid];
    if (!s) {
        s = std::make_unique<Scene>();
        double const size = (largeGrid - 1) * 1.4142;
        s->large = gridTin(0, 0, size, largeGrid, ground);
        // 72 x 72 points: 10,082 triangles, near the middle, at the same density.
        double const x0 = size / 2 - 50.3, y0 = size / 2 - 49.7;
        s->small = gridTin(x0, y0, 71 * 1.4142 * 0.999, 72, patch);
        s->large.findTrianglesIntersectRect(s->small.boundingRect());  // builds the index
    }
    return *s;
}

void keepAll(std::vector<std::shared_ptr<tin::core::Point2DIRingTree>>&, Tin const&, Tin const&) {}

void overlayInside(benchmark::State& state)
{
    Scene& s = scene(static_cast<int>(state.range(0)));
    std::size_t regions = 0;
    std::size_t base = 0;
    for (auto _ : state) {
        Tin part(s.large.findTrianglesIntersectRect(s.small.boundingRect()));
        std::vector<std::shared_ptr<tin::core::Point2DIRingTree>> trees;
        tin::util::RegionTinMap first, second;
        tin::util::TinOverlay::overlayTins(part, s.small, keepAll, &trees, &first, &second);
        regions = trees.size();
        base = part.allTriangles().size();
        benchmark::DoNotOptimize(first);
    }
    state.counters["largeTriangles"] = static_cast<double>(s.large.allTriangles().size());
    state.counters["smallTriangles"] = static_cast<double>(s.small.allTriangles().size());
    state.counters["overlapTriangles"] = static_cast<double>(base);
    state.counters["topRegions"] = static_cast<double>(regions);
}

// The bare cost of one constrained triangulation of the small TIN.
void baselineTriangulation(benchmark::State& state)
{
    Scene& s = scene(static_cast<int>(state.range(0)));
    std::vector<double> points;
    std::vector<int> segments;
    std::unordered_set<Point*> seenPoints;
    std::unordered_set<tin::core::Edge*> seenEdges;
    int id = 0;
    for (auto const& t : s.small.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            if (seenPoints.insert(t->point(i).get()).second) {
                t->point(i)->setId(id++);
                points.push_back(t->point(i)->x());
                points.push_back(t->point(i)->y());
            }
        }
    }
    for (auto const& t : s.small.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            if (seenEdges.insert(t->edge(i).get()).second) {
                segments.push_back(t->edge(i)->point1()->id());
                segments.push_back(t->edge(i)->point2()->id());
            }
        }
    }
    std::vector<int> const none;
    for (auto _ : state) {
        tin::util::TriangleRecord out;
        trianglecui::TriangleProcess::execute("epjzQ", points, none, segments, none, none, none, out.get(),
                                              true);
    }
}

// The floor inside the overlay: its one triangulation run over both TINs' vertices and edges
// (the edges cut at the vertices lying on them, as the overlay feeds them), whose crossing
// constraints the triangulator resolves. Everything else the overlay does is bookkeeping.
void overlayRunFloor(benchmark::State& state)
{
    Scene& s = scene(static_cast<int>(state.range(0)));
    Tin part(s.large.findTrianglesIntersectRect(s.small.boundingRect()));
    tin::core::Point2DIRepository repository;
    tin::core::Edge2DFactory factory(&repository);
    tin::core::Tin2D first2D(part, &repository, &factory);
    tin::core::Tin2D second2D(s.small, &repository, &factory);
    tin::util::UniqueListT<tin::core::Point2DI> pointSet;
    tin::util::UniqueListT<tin::core::Edge2D> edgeSet;
    for (tin::core::Tin2D const* t2 : {&first2D, &second2D}) {
        for (auto const& t : t2->triangles()) {
            for (int i = 0; i < 3; ++i) {
                pointSet.insert(t->point(i));
                edgeSet.insert(t->edge(i));
            }
        }
    }
    std::vector<double> points;
    std::unordered_map<tin::core::Point2DI const*, int> ids;
    for (auto const& p : pointSet.items()) {
        ids.emplace(p.get(), static_cast<int>(ids.size()));
        points.push_back(p->x());
        points.push_back(p->y());
    }
    auto const onEdges = tin::util::OverlayTriangulation::pointsOnEdges(pointSet.items(), edgeSet.items());
    std::vector<int> segments;
    std::vector<int> markers;
    for (std::size_t k = 0; k < edgeSet.items().size(); ++k) {
        auto const& e = edgeSet.items()[k];
        int from = ids.at(e->point1().get());
        for (auto const& p : onEdges[k]) {
            segments.push_back(from);
            segments.push_back(ids.at(p.get()));
            markers.push_back(static_cast<int>(k) + 2);
            from = ids.at(p.get());
        }
        segments.push_back(from);
        segments.push_back(ids.at(e->point2().get()));
        markers.push_back(static_cast<int>(k) + 2);
    }
    std::vector<int> const none;
    int triangles = 0;
    for (auto _ : state) {
        tin::util::TriangleRecord out;
        trianglecui::TriangleProcess::execute("epjzQ", points, none, segments, markers, none, none,
                                              out.get(), true);
        triangles = out->numberoftriangles;
    }
    state.counters["segments"] = static_cast<double>(markers.size());
    state.counters["overlayTriangles"] = static_cast<double>(triangles);
}

}  // namespace

BENCHMARK(baselineTriangulation)->Arg(708)->Unit(benchmark::kMillisecond);
BENCHMARK(overlayInside)->Arg(224)->Arg(708)->Unit(benchmark::kMillisecond);
// After the overlays, so that they run as before and the floor's first run is not the first
// triangulation of this size in the process (a cold first run costs several times a warm one).
BENCHMARK(overlayRunFloor)->Arg(224)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double const baseline = reporter.times["baselineTriangulation/708"];
    double const floor = reporter.times["overlayRunFloor/224/iterations:3"];
    for (auto const& entry : reporter.times) {
        if (baseline > 0.0 && entry.first.rfind("overlayInside", 0) == 0) {
            std::printf("%s / baselineTriangulation: %.1f\n", entry.first.c_str(),
                        entry.second / baseline);
        }
        if (floor > 0.0 && entry.first.rfind("overlayInside", 0) == 0) {
            std::printf("%s / overlayRunFloor: %.2f\n", entry.first.c_str(), entry.second / floor);
        }
    }
    benchmark::Shutdown();
    return 0;
}
