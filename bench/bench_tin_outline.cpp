// links: orlin wendle CGAL
// Outline of a TIN of about 1 million points (a 1000 x 1000 jittered grid, two
// triangles per cell) with 10 square holes. The baseline is the bare walk over the
// TIN's outline edges, which every outline needs. Goal: outline under 2 s.

#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/TinRegions.h"

#include "BenchSupport.h"

#include <geos/geom/MultiPolygon.h>
#include <geos/geom/Polygon.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace {

using tin::core::Point;
using tin::core::Tin;

constexpr int N = 1000;

bool inHole(int i, int j)
{
    // Ten 20 x 20 cell holes spread over the grid.
    for (int h = 0; h < 10; ++h) {
        int x0 = 60 + (h % 5) * 180, y0 = 150 + (h / 5) * 500;
        if (i >= x0 && i < x0 + 20 && j >= y0 && j < y0 + 20) {
            return true;
        }
    }
    return false;
}

std::unique_ptr<Tin> makeTin()
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    std::vector<std::shared_ptr<Point>> nodes;
    nodes.reserve(static_cast<std::size_t>((N + 1) * (N + 1)));
    for (int j = 0; j <= N; ++j) {
        for (int i = 0; i <= N; ++i) {
            bool border = i == 0 || j == 0 || i == N || j == N;
            double x = i + (border ? 0.0 : jitter(rng)), y = j + (border ? 0.0 : jitter(rng));
            nodes.push_back(std::make_shared<Point>(x, y, 0.01 * x));
        }
    }
    auto at = [&](int i, int j) { return nodes[static_cast<std::size_t>(j * (N + 1) + i)]; };
    auto tin = std::make_unique<Tin>();
    for (int j = 0; j < N; ++j) {
        for (int i = 0; i < N; ++i) {
            if (inHole(i, j)) {
                continue;
            }
            tin->addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            tin->addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
    return tin;
}

Tin& sharedTin()
{
    static std::unique_ptr<Tin> tin = makeTin();
    return *tin;
}

double g_baselineSeconds = 0.0;

void BM_OuterEdgesBaseline(benchmark::State& state)
{
    Tin& tin = sharedTin();
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        auto edges = tin.outerEdges();
        benchmark::DoNotOptimize(edges.data());
        g_baselineSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["peak_MB"] = bench::peakResidentMb();
}

// First outline of a TIN: includes building its triangle index.
void BM_OutlineCold(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Tin> tin = makeTin();
        state.ResumeTiming();
        std::unique_ptr<geos::geom::MultiPolygon> outline(tin::util::buildOutlineMultiPolygon(*tin));
        benchmark::DoNotOptimize(outline.get());
        state.PauseTiming();
        tin.reset();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = bench::peakResidentMb();
}

void BM_OutlineWarmIndex(benchmark::State& state)
{
    Tin& tin = sharedTin();
    std::size_t polygons = 0, holes = 0;
    double seconds = 0.0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        std::unique_ptr<geos::geom::MultiPolygon> outline(tin::util::buildOutlineMultiPolygon(tin));
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        polygons = outline->getNumGeometries();
        holes = 0;
        for (std::size_t k = 0; k < polygons; ++k) {
            holes += dynamic_cast<geos::geom::Polygon const*>(outline->getGeometryN(k))->getNumInteriorRing();
        }
    }
    state.counters["polygons"] = static_cast<double>(polygons);
    state.counters["holes"] = static_cast<double>(holes);
    state.counters["ratio_to_edge_walk"] = g_baselineSeconds > 0 ? seconds / g_baselineSeconds : 0.0;
    state.counters["peak_MB"] = bench::peakResidentMb();
}

} // namespace

BENCHMARK(BM_OuterEdgesBaseline)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OutlineCold)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_OutlineWarmIndex)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
