// links: norvak
//
// A TIN of 2 million triangles (a jittered 1000 x 1000 grid at national-grid coordinates,
// about 1e5 m) handed to VTK as poly data: one point per vertex, the elevation scalar and one
// cell per triangle. Bare baseline in the same run: the TIN's coordinates copied into a
// vtkPoints of doubles with no numbering and no cells, that is the walk over the triangle set
// with every corner's x, y and z written out (six million corners): the floor of any
// conversion, which must walk the triangles and read each corner. Goal: at most three times
// the bare copy.
#include "tinvtk/TinToVtk.h"

#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include "BenchSupport.h"

#include <vtkDoubleArray.h>
#include <vtkNew.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

namespace {

constexpr int GRID = 1000;

tin::core::Tin const& bigTin()
{
    static tin::core::Tin const tin = [] {
        std::mt19937 random(7);
        std::uniform_real_distribution<double> jitter(-0.25, 0.25);
        return bench::gridTin(GRID + 1, [&](int i, int j) {
            double const x = 104000.0 + i + (i > 0 && i < GRID ? jitter(random) : 0.0);
            double const y = -36000.0 + j + (j > 0 && j < GRID ? jitter(random) : 0.0);
            return tin::core::Point(x, y, 12.0 + 0.01 * ((i * 7 + j * 13) % 100));
        });
    }();
    return tin;
}

void BM_ToVtkPolyData(benchmark::State& state)
{
    tin::core::Tin const& tin = bigTin();
    for (auto _ : state) {
        vtkSmartPointer<vtkPolyData> data = tinvtk::TinToVtk::toVtkPolyData(tin);
        benchmark::DoNotOptimize(data.GetPointer());
    }
    state.counters["triangles"] = static_cast<double>(tin.allTriangles().size());
    state.counters["points"] = static_cast<double>(tin.pointCount());
}

void BM_BareCoordinateCopy(benchmark::State& state)
{
    tin::core::Tin const& tin = bigTin();
    for (auto _ : state) {
        vtkNew<vtkDoubleArray> coordinates;
        coordinates->SetNumberOfComponents(3);
        coordinates->SetNumberOfTuples(3 * static_cast<vtkIdType>(tin.allTriangles().size()));
        double* xyz = coordinates->GetPointer(0);
        for (auto const& triangle : tin.allTriangles()) {
            for (int i = 0; i < 3; ++i) {
                tin::core::Point const& p = *triangle->point(i);
                xyz[0] = p.x();
                xyz[1] = p.y();
                xyz[2] = p.elevation();
                xyz += 3;
            }
        }
        vtkNew<vtkPoints> points;
        points->SetData(coordinates);
        benchmark::DoNotOptimize(points.GetPointer());
    }
}

BENCHMARK(BM_ToVtkPolyData)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BareCoordinateCopy)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    bigTin();
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("BM_ToVtkPolyData", "BM_BareCoordinateCopy", "(goal <= 3)", "/iterations:5");
    std::printf("peak resident size %.0f MB\n", bench::peakResidentMb());
    return 0;
}
