// links: orlin wendle
// Overlay of a 10,000-triangle TIN with the part of a large TIN that its bounding rectangle
// meets (the way the merge and the differences call it), for a large TIN of 1 million and of
// 100,000 triangles at the same density. Baseline: one bare constrained triangulation of the
// small TIN's vertices and edges. The overlay should cost a fixed multiple of the baseline
// whatever the size of the large TIN.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "orlin/core/Edge.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2DIRingTree.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/TinOverlay.h"
#include "trianglecui/TriangleProcess.h"

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
    auto& factory = tin::core::PointFactory::instance();
    std::vector<std::shared_ptr<Point>> points;
    points.reserve(static_cast<std::size_t>(n) * n);
    double const step = size / (n - 1);
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            double const x = x0 + i * step, y = y0 + j * step;
            points.push_back(factory.factory(Point(x, y, z(x, y)), false));
        }
    }
    Tin tin;
    for (int j = 0; j + 1 < n; ++j) {
        for (int i = 0; i + 1 < n; ++i) {
            auto const& a = points[j * n + i];
            auto const& b = points[j * n + i + 1];
            auto const& c = points[(j + 1) * n + i + 1];
            auto const& d = points[(j + 1) * n + i];
            tin.addTriangle(a, b, c);
            tin.addTriangle(a, c, d);
        }
    }
    return tin;
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
        triangleio_t out{};
        trianglecui::TriangleProcess::execute("epjzQ", points, none, segments, none, none, none, &out,
                                              true);
        for (void* a : {static_cast<void*>(out.pointlist), static_cast<void*>(out.trianglelist),
                        static_cast<void*>(out.edgelist), static_cast<void*>(out.edgemarkerlist),
                        static_cast<void*>(out.pointmarkerlist)}) {
            if (a != nullptr) {
                triangle_free(a);
            }
        }
    }
}

}  // namespace

BENCHMARK(baselineTriangulation)->Arg(708)->Unit(benchmark::kMillisecond);
BENCHMARK(overlayInside)->Arg(224)->Arg(708)->Unit(benchmark::kMillisecond);

namespace {

// Prints the runs as usual and keeps their times for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(std::vector<Run> const& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (auto const& run : runs) {
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double const baseline = reporter.times["baselineTriangulation/708"];
    for (auto const& entry : reporter.times) {
        if (baseline > 0.0 && entry.first.rfind("overlayInside", 0) == 0) {
            std::printf("%s / baselineTriangulation: %.1f\n", entry.first.c_str(),
                        entry.second / baseline);
        }
    }
    benchmark::Shutdown();
    return 0;
}
