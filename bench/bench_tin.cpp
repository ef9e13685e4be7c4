// links: orlin
//
// Scale of the TIN structure: a jittered grid of n x n cells (2 n^2 triangles) is built by
// addTriangle, queried at a position (vertex lookup and rectangle query, which build the
// position cache and the spatial index), edited (10 % of the triangles removed and added
// again), copied and cleared. BM_TinCopyEdit times a copy and a local edit of it
// (copy_edit_s: 5,000 triangles out and back in, as a merge does) in a run of its own. Each case runs in a child process so that its peak resident
// size (getrusage ru_maxrss) is its own. The bare baseline makes the same points, edges and
// triangles and keeps them in a vector, copies and clears that: the cost of the triangles
// themselves, against which the TIN's own share is printed as a ratio.
#include "orlin/core/EdgeFactory.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <vector>

using namespace tin::core;

namespace {

struct Measure {
    double build = 0;
    double query = 0;
    double edit = 0;
    double removal = 0;
    double copy = 0;
    double copyEdit = 0;
    double clear = 0;
    double total = 0;
    long peakKb = 0;
    double rssBuiltMb = 0;
    double rssQueriedMb = 0;
    double rssCopiedMb = 0;
    double rssCopyEditedMb = 0;
    std::size_t triangles = 0;
};

// Processor time of the process: the machine runs other builds beside the benchmark, and
// wall time would mostly measure them.
struct Clock {
    using time_point = double;
    static double now()
    {
        timespec t {};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
    }
};

double since(double start)
{
    return Clock::now() - start;
}

double residentMb()
{
    long pages = 0;
    long resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

std::vector<std::shared_ptr<Point>> jitteredGrid(int n)
{
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    std::uniform_real_distribution<double> height(100.0, 120.0);
    std::vector<std::shared_ptr<Point>> points;
    points.reserve(static_cast<std::size_t>(n + 1) * (n + 1));
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            double const dx = (i == 0 || i == n) ? 0.0 : jitter(random);
            double const dy = (j == 0 || j == n) ? 0.0 : jitter(random);
            points.push_back(std::make_shared<Point>(i + dx, j + dy, height(random)));
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
    auto const start = Clock::now();
    auto t = Clock::now();
    auto points = jitteredGrid(n);
    Tin tin;
    forEachCellTriangle(n, [&](int a, int b, int c) { tin.addTriangle(points[a], points[b], points[c]); });
    points.clear();
    points.shrink_to_fit();
    m.build = since(t);
    m.triangles = tin.allTriangles().size();
    m.rssBuiltMb = residentMb();

    t = Clock::now();
    double const middle = n / 2.0;
    auto const& probe = (*tin.allTriangles().begin())->point(0);
    if (tin.findPointsAt(*probe).size() != 1) {
        throw std::runtime_error("position lookup failed");
    }
    if (tin.findTrianglesIntersectRect(Rect(middle, middle, middle, middle)).empty()) {
        throw std::runtime_error("rectangle query failed");
    }
    m.query = since(t);
    m.rssQueriedMb = residentMb();

    t = Clock::now();
    std::vector<std::shared_ptr<Triangle>> picked;
    picked.reserve(m.triangles / 10 + 1);
    std::size_t k = 0;
    for (auto const& triangle : tin.allTriangles()) {
        if (k++ % 10 == 0) {
            picked.push_back(triangle);
        }
    }
    auto const removalStart = Clock::now();
    for (auto const& triangle : picked) {
        tin.removeTriangle(triangle);
    }
    m.removal = since(removalStart);
    for (auto const& triangle : picked) {
        tin.addTriangle(triangle);
    }
    picked.clear();
    m.edit = since(t);

    t = Clock::now();
    Tin copy(tin);
    m.copy = since(t);
    m.rssCopiedMb = residentMb();
    if (copy.allTriangles().size() != m.triangles) {
        throw std::runtime_error("copy lost triangles");
    }


    t = Clock::now();
    copy.clear();
    tin.clear();
    m.clear = since(t);
    m.total = since(start);
    return m;
}

// Build and query as in runTin, then a copy and a local edit of the copy, as a merge makes
// them: the triangles of a 50 x 50 block of cells (5,000) are taken out and put back, and
// the block is queried. Its own run, so that its peak does not hide the peak of runTin.
Measure runCopyEdit(int n)
{
    Measure m;
    auto const start = Clock::now();
    auto points = jitteredGrid(n);
    Tin tin;
    forEachCellTriangle(n, [&](int a, int b, int c) { tin.addTriangle(points[a], points[b], points[c]); });
    points.clear();
    points.shrink_to_fit();
    m.triangles = tin.allTriangles().size();
    double const middle = n / 2.0;
    if (tin.findTrianglesIntersectRect(Rect(middle, middle, middle, middle)).empty()) {
        throw std::runtime_error("rectangle query failed");
    }
    m.rssQueriedMb = residentMb();

    auto t = Clock::now();
    Tin copy(tin);
    m.copy = since(t);
    m.rssCopiedMb = residentMb();

    t = Clock::now();
    Rect const block(middle - 25.0, middle - 25.0, middle + 25.0, middle + 25.0);
    auto const local = copy.findTrianglesInRect(block);
    for (auto const& triangle : local) {
        copy.removeTriangle(triangle);
    }
    for (auto const& triangle : local) {
        copy.addTriangle(triangle);
    }
    std::size_t const found = copy.findTrianglesInRect(block).size();
    if (found != local.size() || local.size() < 4000) {
        throw std::runtime_error("local edit of the copy failed");
    }
    m.copyEdit = since(t);
    m.rssCopyEditedMb = residentMb();
    m.total = since(start);
    return m;
}

Measure runBare(int n)
{
    Measure m;
    auto const start = Clock::now();
    auto t = Clock::now();
    auto points = jitteredGrid(n);
    std::vector<std::shared_ptr<Triangle>> triangles;
    EdgeFactory& edges = EdgeFactory::instance();
    forEachCellTriangle(n, [&](int a, int b, int c) {
        auto const &p = points[a], &q = points[b], &r = points[c];
        triangles.push_back(
            std::make_shared<Triangle>(p, q, r, edges.factory(q, r), edges.factory(r, p), edges.factory(p, q)));
    });
    points.clear();
    points.shrink_to_fit();
    m.build = since(t);
    m.triangles = triangles.size();
    m.rssBuiltMb = residentMb();

    t = Clock::now();
    auto copy = triangles;
    m.copy = since(t);

    t = Clock::now();
    copy.clear();
    triangles.clear();
    m.clear = since(t);
    m.total = since(start);
    return m;
}

Measure inChild(Measure (*run)(int), int n)
{
    return bench::inChild(run, n, [](Measure& m) {
        rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        m.peakKb = usage.ru_maxrss;
    });
}

std::map<int, Measure>& bareResults()
{
    static std::map<int, Measure> results;
    return results;
}

std::map<int, Measure>& tinResults()
{
    static std::map<int, Measure> results;
    return results;
}

void report(benchmark::State& state, Measure const& m)
{
    state.SetIterationTime(m.total);
    state.counters["triangles"] = static_cast<double>(m.triangles);
    state.counters["peak_MB"] = m.peakKb / 1024.0;
    state.counters["bytes_per_tri"] = m.peakKb * 1024.0 / static_cast<double>(m.triangles);
    state.counters["build_s"] = m.build;
    state.counters["query_s"] = m.query;
    state.counters["edit_s"] = m.edit;
    state.counters["removal_s"] = m.removal;
    state.counters["copy_s"] = m.copy;
    state.counters["clear_s"] = m.clear;
    if (m.rssBuiltMb > 0) {
        state.counters["rss_built_MB"] = m.rssBuiltMb;
        state.counters["rss_queried_MB"] = m.rssQueriedMb;
        state.counters["rss_copied_MB"] = m.rssCopiedMb;
    }
}

void BM_BareTriangles(benchmark::State& state)
{
    int const n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Measure const m = inChild(runBare, n);
        bareResults()[n] = m;
        report(state, m);
    }
}

void BM_TinCopyEdit(benchmark::State& state)
{
    int const n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Measure const m = inChild(runCopyEdit, n);
        state.SetIterationTime(m.copy + m.copyEdit);
        state.counters["triangles"] = static_cast<double>(m.triangles);
        state.counters["peak_MB"] = m.peakKb / 1024.0;
        state.counters["copy_s"] = m.copy;
        state.counters["copy_edit_s"] = m.copyEdit;
        state.counters["rss_queried_MB"] = m.rssQueriedMb;
        state.counters["rss_copied_MB"] = m.rssCopiedMb;
        state.counters["rss_copy_edited_MB"] = m.rssCopyEditedMb;
    }
}

void BM_Tin(benchmark::State& state)
{
    int const n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Measure const m = inChild(runTin, n);
        tinResults()[n] = m;
        report(state, m);
        auto const bare = bareResults().find(n);
        if (bare != bareResults().end()) {
            state.counters["time_vs_bare"] = m.total / bare->second.total;
            state.counters["peak_vs_bare"] = static_cast<double>(m.peakKb) / bare->second.peakKb;
        }
        // Linearity: against the largest smaller size measured before.
        auto const smaller = tinResults().lower_bound(n);
        if (smaller != tinResults().begin()) {
            auto const& s = std::prev(smaller)->second;
            double const sizeRatio = static_cast<double>(m.triangles) / s.triangles;
            state.counters["size_ratio"] = sizeRatio;
            state.counters["time_ratio"] = m.total / s.total;
        }
    }
}

} // namespace

// 707 x 707 cells: 1.0 million triangles; 1000 x 1000: 2.0 million.
BENCHMARK(BM_BareTriangles)->Arg(707)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_Tin)->Arg(707)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_TinCopyEdit)->Arg(707)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
