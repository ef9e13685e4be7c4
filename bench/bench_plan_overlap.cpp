// links: orlin
//
// The single-valued check of a TIN opened from STL (tin::util::PlanOverlapCheck) at survey
// scale: a jittered 1000 x 1000 grid (2 million triangles) at map coordinates, and a road of
// the same count, a strip 40 m wide along the diagonal of its 28 km box (most of the box
// empty, which a grid sized by the box alone would crowd). Bare baselines in the same run:
// one walk over the triangles reading their nine corner coordinates (the floor of any check
// that looks at every triangle) and the STL read of the grid TIN (what opening the file costs
// anyway). Every run must find the TIN single-valued.
#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/io/StlTinExporter.h"
#include "orlin/io/StlTinImporter.h"
#include "orlin/util/PlanOverlapCheck.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace {

constexpr int GRID = 1000;

const bench::ScratchDir scratchDir("orlin_bench_plan_overlap_");

tin::core::Tin makeGridTin()
{
    std::mt19937 random(3);
    std::uniform_real_distribution<double> jitter(-0.25, 0.25);
    return bench::gridTin(GRID + 1, [&](int i, int j) {
        const double x = i + (i > 0 && i < GRID ? jitter(random) : 0.0);
        const double y = j + (j > 0 && j < GRID ? jitter(random) : 0.0);
        return tin::core::Point(640000.0 + x, 485000.0 + y, 20.0 + 5.0 * std::sin(0.02 * x) * std::cos(0.03 * y));
    });
}

// 20000 by 50 cells of 1 m, the long side along the diagonal.
tin::core::Tin makeRoadTin()
{
    tin::core::Tin tin;
    const int length = 20000, width = 50;
    std::vector<std::shared_ptr<tin::core::Point>> nodes;
    const double c = std::sqrt(0.5);
    for (int i = 0; i <= length; ++i) {
        for (int j = 0; j <= width; ++j) {
            nodes.push_back(std::make_shared<tin::core::Point>(640000.0 + c * (i - j), 485000.0 + c * (i + j),
                                                                 30.0 + 0.001 * i + 0.05 * std::abs(j - 25)));
        }
    }
    const auto at = [&](int i, int j) { return nodes[static_cast<std::size_t>(i) * (width + 1) + j]; };
    for (int i = 0; i < length; ++i) {
        for (int j = 0; j < width; ++j) {
            tin.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            tin.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
    return tin;
}

tin::core::Tin& gridTin()
{
    static tin::core::Tin tin = makeGridTin();
    return tin;
}

tin::core::Tin& roadTin()
{
    static tin::core::Tin tin = makeRoadTin();
    return tin;
}

void check(benchmark::State& state, tin::core::Tin const& tin)
{
    for (auto _ : state) {
        if (!tin::util::PlanOverlapCheck::isSingleValued(tin)) {
            state.SkipWithError("the TIN was found not single-valued");
            return;
        }
    }
    state.counters["triangles"] = static_cast<double>(tin.allTriangles().size());
}

void BM_CheckGrid(benchmark::State& state)
{
    check(state, gridTin());
}

void BM_CheckRoad(benchmark::State& state)
{
    check(state, roadTin());
}

void BM_CornerWalk(benchmark::State& state)
{
    const tin::core::Tin& tin = gridTin();
    for (auto _ : state) {
        double sum = 0.0;
        for (const auto& t : tin.allTriangles()) {
            for (int k = 0; k < 3; ++k) {
                const tin::core::Point& p = *t->point(k);
                sum += p.x() + p.y() + p.elevation();
            }
        }
        benchmark::DoNotOptimize(sum);
    }
}

void BM_StlRead(benchmark::State& state)
{
    const std::string path = scratchDir.file("grid.stl");
    // Near the origin, so that single precision keeps the grid as it is.
    tin::io::StlTinExporter().exportTin(
        path.c_str(), bench::gridTin(GRID + 1, [](int i, int j) { return tin::core::Point(i, j, 0.01 * i * j); }));
    for (auto _ : state) {
        // The TIN is dropped inside the timing: about a tenth of the read.
        benchmark::DoNotOptimize(tin::io::StlTinImporter().importTin(path.c_str()).allTriangles().size());
    }
}

BENCHMARK(BM_CheckGrid)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CheckRoad)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CornerWalk)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StlRead)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("BM_CheckGrid", "BM_CornerWalk", "(against reading every corner)");
    reporter.printRatio("BM_CheckRoad", "BM_CornerWalk", "(a strip across an empty box)");
    reporter.printRatio("BM_CheckGrid", "BM_StlRead", "(against the read of a file of the same size)");
    std::printf("peak resident size %.0f MB\n", bench::peakResidentMb());
    scratchDir.remove();
    return 0;
}
