// links: orlin
// Interning of survey points: PointFactory against a bare std::unordered_map keyed by
// the exact position (no tolerance, no weak references), both holding 1M points on a
// jittered grid. Prints time per request and heap bytes per live point for both, and
// their ratios. The factory is measured one request at a time and in bulk (factoryAll,
// the readers' path). Memory is the growth of the resident set while the points are made.

#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/PointFactory.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <locale>
#include <memory>
#include <random>
#include <unordered_map>
#include <vector>

using namespace tin::core;

namespace {

const std::size_t N = 1000000;

std::vector<Point2D> surveyPositions()
{
    // A river survey in UTM-like coordinates: about 1 m spacing with jitter.
    std::vector<Point2D> out;
    out.reserve(N);
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    const std::size_t side = 1000;
    for (std::size_t i = 0; i < N; ++i)
        out.emplace_back(500000.0 + double(i % side) + jitter(rng), 4000000.0 + double(i / side) + jitter(rng));
    return out;
}

std::size_t heapInUse()
{
    // Resident memory: the factory's points live in the mapped chunks of its pool and its
    // tables in mappings of their own, which the allocator's statistics do not see.
    std::ifstream statm("/proc/self/statm");
    statm.imbue(std::locale::classic());
    std::size_t pages = 0, resident = 0;
    if (!(statm >> pages >> resident))
        resident = 0;
    return resident * std::size_t(sysconf(_SC_PAGESIZE));
}

struct Result {
    double nsPerMake = 0;
    double nsPerHit = 0;
    double bytesPerPoint = 0;
};

Result g_factory;
Result g_bulk;
Result g_baseline;

struct PositionHash {
    std::size_t operator()(const Point2D& p) const { return hashPoint2DI(p); }
};
struct PositionEqual {
    bool operator()(const Point2D& a, const Point2D& b) const { return a == b; }
};

double nsSince(std::chrono::steady_clock::time_point t0, std::size_t n)
{
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count() / double(n);
}

void BM_PointFactoryIntern(benchmark::State& state)
{
    const std::vector<Point2D> pos = surveyPositions();
    for (auto _ : state) {
        std::vector<std::shared_ptr<Point>> held;
        held.reserve(N);
        const std::size_t heapHeld = heapInUse();
        auto t0 = std::chrono::steady_clock::now();
        for (const Point2D& p : pos)
            held.push_back(PointFactory::instance().factory(Point(p.x(), p.y(), 12.5), false));
        g_factory.nsPerMake = nsSince(t0, N);
        t0 = std::chrono::steady_clock::now();
        std::size_t same = 0;
        for (std::size_t i = 0; i < N; ++i)
            same += PointFactory::instance().factory(Point(pos[i].x() + 3e-9, pos[i].y(), 12.5), false) == held[i];
        g_factory.nsPerHit = nsSince(t0, N);
        g_factory.bytesPerPoint = double(heapInUse() - heapHeld) / double(N);
        if (same != N)
            state.SkipWithError("interning missed points");
        benchmark::DoNotOptimize(same);
    }
    state.counters["ns_make"] = g_factory.nsPerMake;
    state.counters["ns_hit"] = g_factory.nsPerHit;
    state.counters["bytes_per_point"] = g_factory.bytesPerPoint;
}

void BM_PointFactoryInternAll(benchmark::State& state)
{
    const std::vector<Point2D> pos = surveyPositions();
    std::vector<double> xyz;
    xyz.reserve(3 * N);
    for (const Point2D& p : pos)
        xyz.insert(xyz.end(), {p.x() + 1000.0, p.y(), 12.5}); // away from the other run's points
    for (auto _ : state) {
        // No memory figure: the blocks of the one-by-one run's points, dead by now, are
        // reused.
        std::vector<std::shared_ptr<Point>> held(N);
        auto t0 = std::chrono::steady_clock::now();
        PointFactory::instance().factoryAll(xyz.data(), N, held.data());
        g_bulk.nsPerMake = nsSince(t0, N);
        std::vector<std::shared_ptr<Point>> again(N);
        t0 = std::chrono::steady_clock::now();
        PointFactory::instance().factoryAll(xyz.data(), N, again.data());
        g_bulk.nsPerHit = nsSince(t0, N);
        if (again != held)
            state.SkipWithError("interning missed points");
    }
    state.counters["ns_make"] = g_bulk.nsPerMake;
    state.counters["ns_hit"] = g_bulk.nsPerHit;
}

void BM_UnorderedMapBaseline(benchmark::State& state)
{
    const std::vector<Point2D> pos = surveyPositions();
    for (auto _ : state) {
        std::vector<std::shared_ptr<Point>> held;
        held.reserve(N);
        const std::size_t heapHeld = heapInUse();
        std::unordered_map<Point2D, std::shared_ptr<Point>, PositionHash, PositionEqual> map;
        auto t0 = std::chrono::steady_clock::now();
        for (const Point2D& p : pos) {
            auto& slot = map[p];
            if (!slot)
                slot = std::make_shared<Point>(p.x(), p.y(), 12.5);
            held.push_back(slot);
        }
        g_baseline.nsPerMake = nsSince(t0, N);
        t0 = std::chrono::steady_clock::now();
        std::size_t same = 0;
        for (std::size_t i = 0; i < N; ++i) {
            auto it = map.find(pos[i]);
            same += it != map.end() && it->second == held[i];
        }
        g_baseline.nsPerHit = nsSince(t0, N);
        g_baseline.bytesPerPoint = double(heapInUse() - heapHeld) / double(N);
        benchmark::DoNotOptimize(same);
    }
    state.counters["ns_make"] = g_baseline.nsPerMake;
    state.counters["ns_hit"] = g_baseline.nsPerHit;
    state.counters["bytes_per_point"] = g_baseline.bytesPerPoint;
}

BENCHMARK(BM_PointFactoryIntern)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointFactoryInternAll)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnorderedMapBaseline)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_baseline.nsPerMake > 0 && g_factory.nsPerMake > 0) {
        struct rusage usage;
        getrusage(RUSAGE_SELF, &usage);
        std::printf("points: %zu\n", N);
        std::printf("PointFactory: %.1f ns/new point, %.1f ns/hit, %.1f heap bytes/point\n", g_factory.nsPerMake,
                    g_factory.nsPerHit, g_factory.bytesPerPoint);
        if (g_bulk.nsPerMake > 0) {
            std::printf("PointFactory::factoryAll: %.1f ns/new point, %.1f ns/hit\n", g_bulk.nsPerMake,
                        g_bulk.nsPerHit);
            std::printf("ratio factoryAll/baseline: new %.2f, hit %.2f\n", g_bulk.nsPerMake / g_baseline.nsPerMake,
                        g_bulk.nsPerHit / g_baseline.nsPerHit);
        }
        std::printf("unordered_map: %.1f ns/new point, %.1f ns/hit, %.1f heap bytes/point\n", g_baseline.nsPerMake,
                    g_baseline.nsPerHit, g_baseline.bytesPerPoint);
        std::printf("ratio factory/baseline: new %.2f, hit %.2f, memory %.2f\n", g_factory.nsPerMake / g_baseline.nsPerMake,
                    g_factory.nsPerHit / g_baseline.nsPerHit, g_factory.bytesPerPoint / g_baseline.bytesPerPoint);
        std::printf("peak resident set of the run: %ld kB\n", usage.ru_maxrss);
    }
    return 0;
}
