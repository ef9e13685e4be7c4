// links: sedrun zelmo orlin
// Sweeping a mold along a winding path: the whole createTin (sections, interning, TIN) beside a
// bare baseline that only computes the same section points and triangle index triples.
#include "mold/core/Mold.h"
#include "sedrun/TinFromMoldPathCreator.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using tin::core::Point;
using tincreator::util::TinFromMoldPathCreator;

mold::core::Mold channel()
{
    std::vector<double> l;
    std::vector<double> h;
    for (int i = 0; i < 20; ++i) {
        const double t = -10.0 + 20.0 * i / 19.0;
        l.push_back(t);
        h.push_back(0.02 * t * t);
    }
    return mold::core::Mold(mold::core::Mold::Subtract, l, h, 0.0, 0.0);
}

std::vector<Point> windingPath(int n)
{
    std::vector<Point> path;
    for (int i = 0; i < n; ++i) {
        const double x = 25.0 * i;
        path.emplace_back(x, 60.0 * std::sin(x / 150.0), 10.0 + 0.001 * x);
    }
    return path;
}

void BM_CreateTin(benchmark::State& state)
{
    const auto mold = channel();
    const auto path = windingPath(static_cast<int>(state.range(0)));
    std::size_t triangles = 0;
    for (auto _ : state) {
        TinFromMoldPathCreator creator(mold, path);
        auto tin = creator.createTin(false, {}, TinFromMoldPathCreator::Lowest);
        triangles = tin.allTriangles().size();
        benchmark::DoNotOptimize(triangles);
    }
    state.counters["triangles"] = static_cast<double>(triangles);
}

// The sections alone (walk, repair, split, placing), without interning and TIN.
void BM_SectionsOnly(benchmark::State& state)
{
    const auto mold = channel();
    const auto path = windingPath(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TinFromMoldPathCreator creator(mold, path);
        auto side = creator.createOutlineSide(true, false);
        benchmark::DoNotOptimize(side.data());
    }
}

// Two sections per segment placed without setbacks, and the triangles as index triples: the
// arithmetic and allocation any sweep needs, without repair, interning or TIN topology.
void BM_BareBaseline(benchmark::State& state)
{
    const auto mold = channel();
    const auto path = windingPath(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<std::array<double, 3>> points;
        std::vector<std::array<std::size_t, 3>> triangles;
        const std::size_t m = mold.size();
        for (std::size_t k = 0; k + 1 < path.size(); ++k) {
            const Point& a = path[k];
            const Point& b = path[k + 1];
            const double dx = b.x() - a.x();
            const double dy = b.y() - a.y();
            const double len = std::hypot(dx, dy);
            for (const Point* p : {&a, &b}) {
                for (std::size_t i = 0; i < m; ++i) {
                    points.push_back({p->x() + dy / len * mold.l()[i], p->y() - dx / len * mold.l()[i],
                                      p->elevation() + mold.h()[i]});
                }
            }
        }
        const std::size_t s = points.size() / m;
        for (std::size_t j = 1; j < s; ++j) {
            for (std::size_t i = 0; i + 1 < m; ++i) {
                const std::size_t p = (j - 1) * m + i;
                const std::size_t q = j * m + i;
                triangles.push_back({p, q, q + 1});
                triangles.push_back({p + 1, q + 1, p});
            }
        }
        benchmark::DoNotOptimize(points.data());
        benchmark::DoNotOptimize(triangles.data());
    }
}

} // namespace

BENCHMARK(BM_CreateTin)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SectionsOnly)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareBaseline)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    struct Collect : benchmark::ConsoleReporter
    {
        std::vector<Run> runs;
        void ReportRuns(const std::vector<Run>& r) override
        {
            runs.insert(runs.end(), r.begin(), r.end());
            ConsoleReporter::ReportRuns(r);
        }
    } reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& sweep : reporter.runs) {
        for (const auto& bare : reporter.runs) {
            const auto a = sweep.benchmark_name();
            const auto b = bare.benchmark_name();
            if (a.rfind("BM_BareBaseline/", 0) != 0 && b.rfind("BM_BareBaseline/", 0) == 0
                && a.substr(a.find('/')) == b.substr(b.find('/'))) {
                std::printf("ratio %s / baseline (CPU time): %.1f\n", a.c_str(),
                            sweep.GetAdjustedCPUTime() / bare.GetAdjustedCPUTime());
            }
        }
    }
    return 0;
}
