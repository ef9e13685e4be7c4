// links: orlin
//
// Building a TIN triangle by triangle: the triangles of a jittered grid of n x n cells
// (2 n^2 triangles) are added with Tin::addTriangle(p, q, r), then added again to a second
// TIN over the edges that now exist (the step that ends every triangulation). The batch
// cases add the same corner list with Tin::addTriangles, as the file readers do, once in
// grid order and once in a shuffled order (no two neighbouring triangles made together: the
// worst case for tables that place objects made together side by side). The bare
// baseline makes the same edges through EdgeFactory and the same triangles from the chunk
// pool Tin::addTriangle uses and pushes them into a vector: the cost of the objects
// themselves, against which the TIN's share is printed as a ratio. Two sizes show linearity.
// Large batches link the TIN's lists on two lane threads beside the caller's; the batch is
// also run with the lanes off, and the lanes' case prints its ratio to that. Each case runs
// in a child process, so that it starts on a fresh heap; times are wall-clock times (the
// batch's work is spread over threads), and cpu_s gives the processor time of the child.
#include "orlin/core/EdgeFactory.h"
#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/support/FixedSizePoolAllocatorT.h"
#include "orlin/support/LaneThreads.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using namespace tin::core;

namespace {

struct Measure {
    double build = 0;  // first addition, edges made on the way
    double readd = 0;  // second addition over existing edges
    double release = 0;
    double cpu = 0;    // processor time of build and readd, all threads
    std::size_t triangles = 0;
};

double clockNow(clockid_t clock)
{
    timespec t {};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double cpuNow()
{
    return clockNow(CLOCK_PROCESS_CPUTIME_ID);
}

double wallNow()
{
    return clockNow(CLOCK_MONOTONIC);
}

std::vector<std::shared_ptr<Point>> jitteredGrid(int n)
{
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    std::vector<std::shared_ptr<Point>> points;
    points.reserve(static_cast<std::size_t>(n + 1) * (n + 1));
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            double const dx = (i == 0 || i == n) ? 0.0 : jitter(random);
            double const dy = (j == 0 || j == n) ? 0.0 : jitter(random);
            points.push_back(std::make_shared<Point>(i + dx, j + dy, 100.0));
        }
    }
    return points;
}

template <class F>
void forEachCellTriangle(int n, F&& f)
{
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            int const a = j * (n + 1) + i;
            f(a, a + 1, a + n + 2);
            f(a, a + n + 2, a + n + 1);
        }
    }
}

Measure runTin(int n)
{
    Measure m;
    auto const points = jitteredGrid(n);
    double const cpu = cpuNow();
    double t = wallNow();
    Tin tin;
    forEachCellTriangle(n, [&](int a, int b, int c) { tin.addTriangle(points[a], points[b], points[c]); });
    m.build = wallNow() - t;
    m.triangles = tin.allTriangles().size();
    t = wallNow();
    Tin again;
    forEachCellTriangle(n, [&](int a, int b, int c) { again.addTriangle(points[a], points[b], points[c]); });
    m.readd = wallNow() - t;
    m.cpu = cpuNow() - cpu;
    t = wallNow();
    again.clear();
    tin.clear();
    m.release = wallNow() - t;
    if (again.allTriangles().size() != 0 || m.triangles != 2u * n * n) {
        throw std::runtime_error("wrong triangle count");
    }
    return m;
}

std::vector<std::uint32_t> cornerList(int n, bool shuffled)
{
    std::vector<std::array<std::uint32_t, 3>> triangles;
    forEachCellTriangle(n, [&](int a, int b, int c) {
        triangles.push_back({static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(b), static_cast<std::uint32_t>(c)});
    });
    if (shuffled) {
        std::shuffle(triangles.begin(), triangles.end(), std::mt19937_64(7));
    }
    std::vector<std::uint32_t> corners;
    corners.reserve(3 * triangles.size());
    for (auto const& t : triangles) {
        corners.insert(corners.end(), t.begin(), t.end());
    }
    return corners;
}

Measure runBatch(int n, bool shuffled)
{
    Measure m;
    auto const points = jitteredGrid(n);
    auto const corners = cornerList(n, shuffled);
    std::size_t const count = corners.size() / 3;
    double const cpu = cpuNow();
    double t = wallNow();
    Tin tin;
    tin.addTriangles(points.data(), corners.data(), count);
    m.build = wallNow() - t;
    m.triangles = tin.allTriangles().size();
    t = wallNow();
    Tin again;
    again.addTriangles(points.data(), corners.data(), count);
    m.readd = wallNow() - t;
    m.cpu = cpuNow() - cpu;
    t = wallNow();
    again.clear();
    tin.clear();
    m.release = wallNow() - t;
    if (m.triangles != 2u * n * n) {
        throw std::runtime_error("wrong triangle count");
    }
    return m;
}

Measure runBatchInOrder(int n)
{
    return runBatch(n, false);
}

Measure runBatchShuffled(int n)
{
    return runBatch(n, true);
}

Measure runBatchOneThread(int n)
{
    tin::support::LaneThreads::setForTests(0);
    return runBatch(n, false);
}

Measure runBare(int n)
{
    Measure m;
    auto const points = jitteredGrid(n);
    EdgeFactory& edges = EdgeFactory::instance();
    auto add = [&](std::vector<std::shared_ptr<Triangle>>& into, int a, int b, int c) {
        auto const &p = points[a], &q = points[b], &r = points[c];
        into.push_back(
            std::allocate_shared<Triangle>(tin::support::FixedSizePoolAllocatorT<Triangle>(), p, q, r, edges.factory(q, r),
                                           edges.factory(r, p), edges.factory(p, q)));
    };
    double const cpu = cpuNow();
    double t = wallNow();
    std::vector<std::shared_ptr<Triangle>> triangles;
    forEachCellTriangle(n, [&](int a, int b, int c) { add(triangles, a, b, c); });
    m.build = wallNow() - t;
    m.triangles = triangles.size();
    t = wallNow();
    std::vector<std::shared_ptr<Triangle>> again;
    forEachCellTriangle(n, [&](int a, int b, int c) { add(again, a, b, c); });
    m.readd = wallNow() - t;
    m.cpu = cpuNow() - cpu;
    t = wallNow();
    again.clear();
    triangles.clear();
    m.release = wallNow() - t;
    return m;
}

Measure inChild(Measure (*run)(int), int n)
{
    return bench::inChild(run, n, [](Measure&) {});
}

// Each benchmark's measures by size, under the benchmark's kind ("bare", "tin", ...).
std::map<int, Measure>& results(std::string const& kind)
{
    static std::map<std::string, std::map<int, Measure>> byKind;
    return byKind[kind];
}

void report(benchmark::State& state, Measure const& m)
{
    state.SetIterationTime(m.build + m.readd);
    state.counters["triangles"] = static_cast<double>(m.triangles);
    state.counters["build_s"] = m.build;
    state.counters["readd_s"] = m.readd;
    state.counters["release_s"] = m.release;
    state.counters["cpu_s"] = m.cpu;
}

void BM_BareTriangleVector(benchmark::State& state)
{
    int const n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Measure const m = inChild(runBare, n);
        results("bare")[n] = m;
        report(state, m);
    }
}

// Runs one case and prints its ratios to the bare vector and to the case's smaller size.
void measure(benchmark::State& state, Measure (*run)(int), std::string const& kind)
{
    int const n = static_cast<int>(state.range(0));
    std::map<int, Measure>& own = results(kind);
    for (auto _ : state) {
        Measure const m = inChild(run, n);
        own[n] = m;
        report(state, m);
        auto const bare = results("bare").find(n);
        if (bare != results("bare").end()) {
            state.counters["build_vs_bare"] = m.build / bare->second.build;
            state.counters["readd_vs_bare"] = m.readd / bare->second.readd;
        }
        auto const smaller = own.lower_bound(n);
        if (smaller != own.begin()) {
            auto const& s = std::prev(smaller)->second;
            state.counters["size_ratio"] = static_cast<double>(m.triangles) / static_cast<double>(s.triangles);
            state.counters["time_ratio"] = (m.build + m.readd) / (s.build + s.readd);
        }
        if (kind == "batch") {
            auto const alone = results("oneThread").find(n);
            if (alone != results("oneThread").end()) {
                state.counters["vs_one_thread"] = (m.build + m.readd) / (alone->second.build + alone->second.readd);
            }
        }
    }
}

void BM_TinAddTriangle(benchmark::State& state)
{
    measure(state, runTin, "tin");
}

void BM_TinAddTrianglesOneThread(benchmark::State& state)
{
    measure(state, runBatchOneThread, "oneThread");
}

void BM_TinAddTriangles(benchmark::State& state)
{
    measure(state, runBatchInOrder, "batch");
}

void BM_TinAddTrianglesShuffled(benchmark::State& state)
{
    measure(state, runBatchShuffled, "shuffled");
}

} // namespace

// 500 x 500 cells: 0.5 million triangles; 1000 x 1000: 2 million.
BENCHMARK(BM_BareTriangleVector)->Arg(500)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_TinAddTriangle)->Arg(500)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_TinAddTrianglesOneThread)->Arg(500)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_TinAddTriangles)->Arg(500)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_TinAddTrianglesShuffled)->Arg(500)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
