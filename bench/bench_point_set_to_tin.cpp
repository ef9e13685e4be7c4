// links: orlin wendle CGAL
// convertCleanPointSet of 1 million survey points (a 1000 x 1000 jittered grid with a
// sine surface), without breaklines and with 2 % of the points on 20 breaklines,
// beside a bare CGAL Delaunay triangulation of the same points in the same run.
// Goals: TIN creation at most 3 times the bare CGAL time, at most 1.5 GB peak.

#include "orlin/core/Point.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/PointSetToTin.h"

#include "BenchSupport.h"

#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace {

using tin::core::Point;
using tin::core::PointSet;
using tin::core::Tin;

constexpr int N = 1000;
constexpr int LINES = 20;

double surface(double x, double y)
{
    return 100.0 + 10.0 * std::sin(x / 50.0) * std::cos(y / 70.0);
}

bool isBreaklineRow(int j)
{
    return j % 50 == 25;
}

struct Survey {
    std::vector<std::array<double, 3>> xyz;
    std::vector<std::vector<std::size_t>> lines; // point indices along each breakline
};

Survey makeSurvey()
{
    Survey s;
    s.xyz.reserve(static_cast<std::size_t>(N) * N);
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    for (int j = 0; j < N; ++j) {
        if (isBreaklineRow(j)) {
            // The row's points lie on a gently waving breakline instead.
            std::vector<std::size_t> line;
            for (int i = 0; i < N; ++i) {
                double x = i, y = j + 0.3 * std::sin(i / 40.0);
                line.push_back(s.xyz.size());
                s.xyz.push_back({x, y, surface(x, y) + 0.5});
            }
            s.lines.push_back(std::move(line));
            continue;
        }
        for (int i = 0; i < N; ++i) {
            double x = i + jitter(rng), y = j + jitter(rng);
            s.xyz.push_back({x, y, surface(x, y)});
        }
    }
    return s;
}

Survey const& survey()
{
    static Survey s = makeSurvey();
    return s;
}

std::unique_ptr<PointSet> makeSet(bool withBreaklines)
{
    auto set = std::make_unique<PointSet>();
    std::vector<std::shared_ptr<Point>> points;
    points.reserve(survey().xyz.size());
    for (auto const& p : survey().xyz) {
        points.push_back(set->addPoint(Point(p[0], p[1], p[2])));
    }
    if (withBreaklines) {
        for (auto const& line : survey().lines) {
            for (std::size_t k = 1; k < line.size(); ++k) {
                set->addBreakline(points[line[k - 1]], points[line[k]], true);
            }
        }
    }
    return set;
}

double g_cgalSeconds = 0.0;

void BM_BareCgalDelaunay(benchmark::State& state)
{
    using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
    std::vector<Kernel::Point_2> points;
    for (auto const& p : survey().xyz) {
        points.emplace_back(p[0], p[1]);
    }
    std::size_t faces = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        CGAL::Delaunay_triangulation_2<Kernel> dt;
        dt.insert(points.begin(), points.end());
        faces = dt.number_of_faces();
        g_cgalSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        dt.clear();
        state.ResumeTiming();
    }
    state.counters["triangles"] = static_cast<double>(faces);
    state.counters["peak_MB"] = bench::peakResidentMb();
}

void convertClean(benchmark::State& state, bool withBreaklines)
{
    std::unique_ptr<PointSet> set = makeSet(withBreaklines);
    std::size_t triangles = 0;
    double seconds = 0.0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        auto tin = std::make_unique<Tin>(tin::util::PointSetToTin::convertCleanPointSet(*set, false, false));
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        triangles = tin->allTriangles().size();
        state.PauseTiming();
        tin.reset();
        state.ResumeTiming();
    }
    state.counters["triangles"] = static_cast<double>(triangles);
    state.counters["ratio_to_cgal"] = g_cgalSeconds > 0 ? seconds / g_cgalSeconds : 0.0;
    state.counters["peak_MB"] = bench::peakResidentMb();
}

// The part of the conversion that only builds the TIN structure: the same two million
// triangles added again over the same shared points.
void BM_TinBuildOfTheResult(benchmark::State& state)
{
    std::unique_ptr<PointSet> set = makeSet(false);
    Tin result = tin::util::PointSetToTin::convertCleanPointSet(*set, false, false);
    std::vector<std::shared_ptr<tin::core::Triangle>> triangles(result.allTriangles().begin(),
                                                                result.allTriangles().end());
    double seconds = 0.0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        auto tin = std::make_unique<Tin>();
        for (auto const& t : triangles) {
            tin->addTriangle(t->point1(), t->point2(), t->point3());
        }
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        tin.reset();
        state.ResumeTiming();
    }
    state.counters["ratio_to_cgal"] = g_cgalSeconds > 0 ? seconds / g_cgalSeconds : 0.0;
    state.counters["peak_MB"] = bench::peakResidentMb();
}

void BM_ConvertCleanPointSet(benchmark::State& state)
{
    convertClean(state, false);
}

void BM_ConvertCleanPointSetWithBreaklines(benchmark::State& state)
{
    convertClean(state, true);
}

} // namespace

BENCHMARK(BM_BareCgalDelaunay)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_TinBuildOfTheResult)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ConvertCleanPointSet)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ConvertCleanPointSetWithBreaklines)->Unit(benchmark::kMillisecond)->Iterations(2);

BENCHMARK_MAIN();
