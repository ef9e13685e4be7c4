// links: orlin
//
// The spatial index behind the Quadtree containers at survey scale: one million points with
// tolerance boxes (+-1e-8) and the boxes of two million triangles of a jittered 1 m grid.
// For each index: build (including the first query, which is when the grid settles and the
// STR-tree packs), 10,000 small queries (a 0.5 m box at random positions; candidates are
// counted), and removal of every tenth item. The bare baselines are the GEOS quadtree and
// the GEOS STR-tree over the same boxes in the same run (the STR-tree is not edited); the
// counters `*_vs_grid` are their times divided by the grid's. BM_Container*: the same through
// the containers (findIntersectRect, which tests every candidate's box; removal by item),
// the GEOS quadtree put back behind a container for the baseline.
#include "orlin/core/LooseGridIndex.h"
#include "orlin/core/QuadtreeContainerT.h"
#include "orlin/core/Rect.h"
#include "orlin/core/STRtreeContainerT.h"

#include <benchmark/benchmark.h>

#include <geos/geom/Envelope.h>
#include <geos/index/quadtree/Quadtree.h>
#include <geos/index/strtree/STRtree.h>

#include <ctime>
#include <deque>
#include <memory>
#include <random>
#include <stdexcept>
#include <vector>

using geos::geom::Envelope;

namespace {

// Processor time: other builds share the machine.
double now()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

const double ORIGIN_X = 5e5;
const double ORIGIN_Y = 5.2e6;

std::vector<Envelope> pointBoxes(int n)
{
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    std::vector<Envelope> boxes;
    boxes.reserve(std::size_t(n) * n);
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const double x = ORIGIN_X + i + jitter(random);
            const double y = ORIGIN_Y + j + jitter(random);
            boxes.emplace_back(x - 1e-8, x + 1e-8, y - 1e-8, y + 1e-8);
        }
    }
    return boxes;
}

// Boxes of the two triangles of each cell of a jittered n x n grid.
std::vector<Envelope> triangleBoxes(int n)
{
    std::mt19937_64 random(43);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    std::vector<double> xs, ys;
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            xs.push_back(ORIGIN_X + i + jitter(random));
            ys.push_back(ORIGIN_Y + j + jitter(random));
        }
    }
    std::vector<Envelope> boxes;
    boxes.reserve(2 * std::size_t(n) * n);
    auto add = [&](int a, int b, int c) {
        Envelope e(xs[a], xs[b], ys[a], ys[b]);
        e.expandToInclude(xs[c], ys[c]);
        boxes.push_back(e);
    };
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const int a = j * (n + 1) + i;
            add(a, a + 1, a + n + 2);
            add(a, a + n + 2, a + n + 1);
        }
    }
    return boxes;
}

std::vector<Envelope> smallQueries(int n)
{
    std::mt19937_64 random(44);
    std::uniform_real_distribution<double> pos(0.0, n);
    std::vector<Envelope> queries;
    for (int i = 0; i < 10000; ++i) {
        const double x = ORIGIN_X + pos(random);
        const double y = ORIGIN_Y + pos(random);
        queries.emplace_back(x, x + 0.5, y, y + 0.5);
    }
    return queries;
}

struct Result {
    double build = 0;
    double query = 0;
    double removal = 0;
    double candidates = 0;
};

// The items are the addresses of the boxes, as the containers file their slots.
template <class Index>
Result measure(std::vector<Envelope>& boxes, const std::vector<Envelope>& queries, bool edit)
{
    Result r;
    double t = now();
    Index index;
    for (Envelope& box : boxes)
        index.insert(&box, &box);
    std::vector<void*> found;
    index.query(&queries.front(), found);
    r.build = now() - t;

    t = now();
    std::size_t total = 0;
    for (const Envelope& q : queries) {
        found.clear();
        index.query(&q, found);
        total += found.size();
    }
    r.query = now() - t;
    r.candidates = double(total) / double(queries.size());

    if (edit) {
        t = now();
        for (std::size_t i = 0; i < boxes.size(); i += 10) {
            if (!index.remove(&boxes[i], &boxes[i]))
                throw std::runtime_error("removal failed");
        }
        r.removal = now() - t;
    }
    return r;
}

// The three indexes' times, and the GEOS trees' against the grid's (the STR-tree is never
// edited, so it has no removal time).
void setTimeCounters(benchmark::State& state, const Result& grid, const Result& quad, const Result& str)
{
    state.counters["grid_build_s"] = grid.build;
    state.counters["grid_query_ms"] = 1e3 * grid.query;
    state.counters["grid_remove_s"] = grid.removal;
    state.counters["quad_build_s"] = quad.build;
    state.counters["quad_query_ms"] = 1e3 * quad.query;
    state.counters["quad_remove_s"] = quad.removal;
    state.counters["str_build_s"] = str.build;
    state.counters["str_query_ms"] = 1e3 * str.query;
    state.counters["quad_build_vs_grid"] = quad.build / grid.build;
    state.counters["quad_query_vs_grid"] = quad.query / grid.query;
    state.counters["quad_remove_vs_grid"] = quad.removal / grid.removal;
    state.counters["str_build_vs_grid"] = str.build / grid.build;
    state.counters["str_query_vs_grid"] = str.query / grid.query;
}

void report(benchmark::State& state, std::vector<Envelope>& boxes, int n)
{
    const auto queries = smallQueries(n);
    Result grid, quad, str;
    for (auto _ : state) {
        grid = measure<tin::core::LooseGridIndex>(boxes, queries, true);
        quad = measure<geos::index::quadtree::Quadtree>(boxes, queries, true);
        str = measure<geos::index::strtree::STRtree>(boxes, queries, false);
        state.SetIterationTime(grid.build + grid.query + grid.removal);
    }
    state.counters["items"] = double(boxes.size());
    state.counters["grid_cand"] = grid.candidates;
    state.counters["quad_cand"] = quad.candidates;
    state.counters["str_cand"] = str.candidates;
    setTimeCounters(state, grid, quad, str);
}

// state.range(0): side of the grid in metres.
void BM_PointBoxes(benchmark::State& state)
{
    const int n = int(state.range(0));
    auto boxes = pointBoxes(n);
    report(state, boxes, n);
}

void BM_TriangleBoxes(benchmark::State& state)
{
    const int n = int(state.range(0));
    auto boxes = triangleBoxes(n);
    report(state, boxes, n);
}

// An item of the containers: a box behind a shared pointer, as points and triangles are.
struct Item {
    tin::core::Rect rect;
    tin::core::Rect boundingRect() const { return rect; }
};

template <class T>
class GeosQuadtreeContainerT : public tin::core::SpatialIndexContainerT<T> {
public:
    std::unique_ptr<tin::core::SpatialIndexContainerT<T>> clone() const override
    {
        auto copy = std::make_unique<GeosQuadtreeContainerT<T>>();
        copy->copyItemsFrom(*this);
        return copy;
    }
    std::unique_ptr<geos::index::SpatialIndex> createIndex() const override
    {
        return std::make_unique<geos::index::quadtree::Quadtree>();
    }
};

template <class Container>
Result measureContainer(const std::vector<std::shared_ptr<Item>>& items, const std::vector<Envelope>& queries,
                        bool edit)
{
    Result r;
    double t = now();
    Container container;
    container.reserve(items.size());
    for (const auto& item : items)
        container.appendUnindexed(item);
    container.rebuildIndex();
    const Envelope& q0 = queries.front();
    container.findIntersectRect(tin::core::Rect(q0.getMinX(), q0.getMinY(), q0.getMaxX(), q0.getMaxY()));
    r.build = now() - t;

    t = now();
    std::size_t total = 0;
    for (const Envelope& q : queries)
        total += container.findIntersectRect(tin::core::Rect(q.getMinX(), q.getMinY(), q.getMaxX(), q.getMaxY())).size();
    r.query = now() - t;
    r.candidates = double(total) / double(queries.size());

    if (edit) {
        t = now();
        for (std::size_t i = 0; i < items.size(); i += 10) {
            if (!container.remove(items[i].get()))
                throw std::runtime_error("removal failed");
        }
        r.removal = now() - t;
    }
    return r;
}

void reportContainers(benchmark::State& state, const std::vector<Envelope>& boxes, int n)
{
    const auto queries = smallQueries(n);
    std::vector<std::shared_ptr<Item>> items;
    items.reserve(boxes.size());
    for (const Envelope& b : boxes)
        items.push_back(std::make_shared<Item>(Item{tin::core::Rect(b.getMinX(), b.getMinY(), b.getMaxX(), b.getMaxY())}));
    Result grid, quad, str;
    for (auto _ : state) {
        grid = measureContainer<tin::core::QuadtreeContainerT<Item>>(items, queries, true);
        quad = measureContainer<GeosQuadtreeContainerT<Item>>(items, queries, true);
        str = measureContainer<tin::core::STRtreeContainerT<Item>>(items, queries, false);
        state.SetIterationTime(grid.build + grid.query + grid.removal);
    }
    state.counters["items"] = double(items.size());
    state.counters["hits"] = grid.candidates;
    setTimeCounters(state, grid, quad, str);
}

void BM_ContainerPoints(benchmark::State& state)
{
    const int n = int(state.range(0));
    reportContainers(state, pointBoxes(n), n);
}

void BM_ContainerTriangles(benchmark::State& state)
{
    const int n = int(state.range(0));
    reportContainers(state, triangleBoxes(n), n);
}

} // namespace

BENCHMARK(BM_ContainerPoints)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_ContainerTriangles)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_PointBoxes)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_TriangleBoxes)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
