// links: orlin
// Sides of a TIN-like grid (1000 x 1000 points, 2 triangles per cell, about 3M
// edges, each inner side requested twice): EdgeFactory against a bare
// std::unordered_map from the address pair to a weak reference, the same look-up
// logic without self-removal. Prints time per request and heap bytes per edge (edge
// objects included), the ratios, and the heap bytes per triangle of the whole
// structure (points, edges, triangles) built through the factories.

#include "orlin/core/Edge.h"
#include "orlin/core/EdgeFactory.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/Triangle.h"
#include "orlin/support/FixedSizePool.h"
#include "orlin/support/FixedSizePoolAllocatorT.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

using namespace tin::core;
using tin::support::FixedSizePool;
using tin::support::FixedSizePoolAllocatorT;

namespace {

const std::size_t SIDE = 1000;

// Bytes taken from the C heap and carved from the chunk pool (edges and triangles).
std::size_t heapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd + FixedSizePool::instance().carvedBytes();
}

std::vector<std::shared_ptr<Point>> gridPoints()
{
    std::vector<std::shared_ptr<Point>> pts;
    pts.reserve(SIDE * SIDE);
    for (std::size_t j = 0; j < SIDE; ++j)
        for (std::size_t i = 0; i < SIDE; ++i)
            pts.push_back(std::make_shared<Point>(500000.0 + double(i), 4000000.0 + double(j), 1.0));
    return pts;
}

// Calls side(a, b) for the three sides of every triangle of the grid.
template <typename Side>
void forEachSide(const std::vector<std::shared_ptr<Point>>& pts, Side&& side)
{
    for (std::size_t j = 0; j + 1 < SIDE; ++j) {
        for (std::size_t i = 0; i + 1 < SIDE; ++i) {
            const auto& a = pts[j * SIDE + i];
            const auto& b = pts[j * SIDE + i + 1];
            const auto& c = pts[(j + 1) * SIDE + i + 1];
            const auto& d = pts[(j + 1) * SIDE + i];
            side(b, c), side(c, a), side(a, b);
            side(c, d), side(d, a), side(a, c);
        }
    }
}

struct Result {
    double nsPerRequest = 0;
    double bytesPerEdge = 0;
    std::size_t edges = 0;
};
Result g_factory, g_baseline;
double g_bytesPerTriangle = 0;

struct PairHash {
    std::size_t operator()(const std::pair<const Point*, const Point*>& k) const
    {
        return hashAddressPair(k.first, k.second);
    }
};

void BM_EdgeFactory(benchmark::State& state)
{
    const auto pts = gridPoints();
    for (auto _ : state) {
        std::vector<std::shared_ptr<Edge>> held;
        held.reserve(6 * SIDE * SIDE);
        const std::size_t heap0 = heapInUse();
        std::size_t requests = 0;
        auto t0 = std::chrono::steady_clock::now();
        forEachSide(pts, [&](const std::shared_ptr<Point>& a, const std::shared_ptr<Point>& b) {
            held.push_back(EdgeFactory::instance().factory(a, b));
            ++requests;
        });
        g_factory.nsPerRequest
            = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count() / double(requests);
        g_factory.edges = EdgeFactory::instance().size();
        g_factory.bytesPerEdge = double(heapInUse() - heap0) / double(g_factory.edges);
    }
    state.counters["ns_request"] = g_factory.nsPerRequest;
    state.counters["bytes_per_edge"] = g_factory.bytesPerEdge;
}

void BM_UnorderedMapBaseline(benchmark::State& state)
{
    const auto pts = gridPoints();
    for (auto _ : state) {
        std::vector<std::shared_ptr<Edge>> held;
        held.reserve(6 * SIDE * SIDE);
        const std::size_t heap0 = heapInUse();
        std::unordered_map<std::pair<const Point*, const Point*>, std::weak_ptr<Edge>, PairHash> map;
        std::size_t requests = 0;
        auto t0 = std::chrono::steady_clock::now();
        forEachSide(pts, [&](const std::shared_ptr<Point>& a, const std::shared_ptr<Point>& b) {
            const bool aLow = std::less<const Point*>()(a.get(), b.get());
            const auto& low = aLow ? a : b;
            const auto& high = aLow ? b : a;
            std::weak_ptr<Edge>& slot = map[{low.get(), high.get()}];
            std::shared_ptr<Edge> e = slot.lock();
            if (!e) {
                e = std::make_shared<Edge>(low, high);
                slot = e;
            }
            held.push_back(std::move(e));
            ++requests;
        });
        g_baseline.nsPerRequest
            = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count() / double(requests);
        g_baseline.edges = map.size();
        g_baseline.bytesPerEdge = double(heapInUse() - heap0) / double(map.size());
    }
    state.counters["ns_request"] = g_baseline.nsPerRequest;
    state.counters["bytes_per_edge"] = g_baseline.bytesPerEdge;
}

void BM_TinStructureMemory(benchmark::State& state)
{
    for (auto _ : state) {
        const std::size_t heap0 = heapInUse();
        std::vector<std::shared_ptr<Point>> pts;
        pts.reserve(SIDE * SIDE);
        for (std::size_t j = 0; j < SIDE; ++j)
            for (std::size_t i = 0; i < SIDE; ++i)
                pts.push_back(PointFactory::instance().factory(Point(600000.0 + double(i), 4000000.0 + double(j), 1.0)));
        std::vector<std::shared_ptr<Triangle>> tris;
        tris.reserve(2 * (SIDE - 1) * (SIDE - 1));
        EdgeFactory& ef = EdgeFactory::instance();
        auto add = [&](const std::shared_ptr<Point>& a, const std::shared_ptr<Point>& b, const std::shared_ptr<Point>& c) {
            tris.push_back(std::allocate_shared<Triangle>(FixedSizePoolAllocatorT<Triangle>(), a, b, c,
                                                          ef.factory(b, c), ef.factory(c, a), ef.factory(a, b)));
        };
        for (std::size_t j = 0; j + 1 < SIDE; ++j) {
            for (std::size_t i = 0; i + 1 < SIDE; ++i) {
                add(pts[j * SIDE + i], pts[j * SIDE + i + 1], pts[(j + 1) * SIDE + i + 1]);
                add(pts[j * SIDE + i], pts[(j + 1) * SIDE + i + 1], pts[(j + 1) * SIDE + i]);
            }
        }
        pts.clear();
        pts.shrink_to_fit();
        g_bytesPerTriangle = double(heapInUse() - heap0) / double(tris.size());
        state.counters["bytes_per_triangle"] = g_bytesPerTriangle;
    }
}

BENCHMARK(BM_EdgeFactory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnorderedMapBaseline)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TinStructureMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_factory.nsPerRequest > 0 && g_baseline.nsPerRequest > 0) {
        std::printf("edges: %zu\n", g_factory.edges);
        std::printf("EdgeFactory: %.1f ns/request, %.1f heap bytes/edge\n", g_factory.nsPerRequest, g_factory.bytesPerEdge);
        std::printf("unordered_map: %.1f ns/request, %.1f heap bytes/edge\n", g_baseline.nsPerRequest,
                    g_baseline.bytesPerEdge);
        std::printf("ratio factory/baseline: time %.2f, memory %.2f\n", g_factory.nsPerRequest / g_baseline.nsPerRequest,
                    g_factory.bytesPerEdge / g_baseline.bytesPerEdge);
    }
    if (g_bytesPerTriangle > 0)
        std::printf("points, edges and triangles through the factories: %.1f heap bytes/triangle "
                    "(2M triangles: %.0f MB)\n",
                    g_bytesPerTriangle, g_bytesPerTriangle * 2e6 / 1048576.0);
    return 0;
}
