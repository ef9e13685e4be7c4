// links: orlin wendle
//
// Greedy TIN simplification of a 100,000-point survey to 10 % of its points (goal: under
// 10 s), beside the bare baseline of triangulating all of the points once. Each insertion
// re-triangulates the point's neighbourhood, so the ratio says how many full
// triangulations one simplification costs. The progress lines go to a null stream.
#include "orlin/core/Point.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/util/PointSetToTin.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>
#include <random>
#include <streambuf>

using namespace tin::core;
using namespace tin::util;

namespace {

constexpr int kPoints = 100000;

PointSet survey(int n)
{
    PointSet set;
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> u(0.0, 3000.0);
    auto z = [](double x, double y) {
        return 40.0 * std::sin(x / 400.0) * std::cos(y / 300.0) + 2.0 * std::sin(x / 37.0 + y / 53.0);
    };
    for (double cx : {0.0, 3000.0}) {
        for (double cy : {0.0, 3000.0}) {
            set.addPoint(std::make_shared<Point>(500000.0 + cx, 5400000.0 + cy, z(cx, cy)));
        }
    }
    for (int i = 4; i < n; ++i) {
        double x = 500000.0 + u(rng), y = 5400000.0 + u(rng);
        set.addPoint(std::make_shared<Point>(x, y, z(x - 500000.0, y - 5400000.0)));
    }
    return set;
}

PointSet const& sharedSurvey()
{
    static PointSet set = survey(kPoints);
    return set;
}

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

double g_baselineSeconds = 0.0;

void BM_TriangulateAll(benchmark::State& state)
{
    PointSet const& set = sharedSurvey();
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        Tin tin = PointSetToTin::convertCleanPointSet(set, false, false);
        g_baselineSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(tin.pointCount());
    }
}

void BM_SimplifyToTenPercent(benchmark::State& state)
{
    PointSet const& set = sharedSurvey();
    NullBuffer null;
    for (auto _ : state) {
        std::streambuf* old = std::cerr.rdbuf(&null);
        auto start = std::chrono::steady_clock::now();
        Tin tin = PointSetToTin::convertToSimplifiedTin(set, kPoints / 10);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::cerr.rdbuf(old);
        state.counters["points"] = tin.pointCount();
        if (g_baselineSeconds > 0.0) {
            state.counters["ratio_to_baseline"] = seconds / g_baselineSeconds;
        }
    }
}

} // namespace

BENCHMARK(BM_TriangulateAll)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_SimplifyToTenPercent)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

BENCHMARK_MAIN();
