// links: mirvel orlin
//
// The EPSG catalogue as the program builds it at every start: the whole compiled-in list parsed
// into projection pairs (no projection work: each pair makes its projection on first use), and
// the catalogue dropped again. Bare baseline in the same run: the same resource read line by
// line through the same text stream, without parsing. Goal: the whole catalogue in under 0.2 s.
// BenchSupport.h (orlin) comes before any Qt header: Qt's keyword macros would spoil it.
#include "BenchSupport.h"

#include "mirvel/EllipseToPlaneProjectionPairBuilder.h"

#include <QFile>
#include <QTextStream>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kIterations = 20;

void BM_BuildCatalogue(benchmark::State& state)
{
    std::size_t pairs = 0;
    for (auto _ : state) {
        guiproj::EllipseToPlaneProjectionPairBuilder catalogue;
        pairs = catalogue.projectionPairs().size();
        benchmark::DoNotOptimize(pairs);
    }
    state.counters["pairs"] = static_cast<double>(pairs);
}

void BM_ReadLinesBare(benchmark::State& state)
{
    std::size_t lines = 0;
    for (auto _ : state) {
        QFile file(":/data/epsg.txt");
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            state.SkipWithError("cannot open the EPSG list");
            return;
        }
        QTextStream stream(&file);
        stream.setCodec("ISO-8859-1");
        QString line;
        lines = 0;
        while (stream.readLineInto(&line)) {
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.counters["lines"] = static_cast<double>(lines);
}

} // namespace

BENCHMARK(BM_BuildCatalogue)->Unit(benchmark::kMillisecond)->Iterations(kIterations);
BENCHMARK(BM_ReadLinesBare)->Unit(benchmark::kMillisecond)->Iterations(kIterations);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("BM_BuildCatalogue", "BM_ReadLinesBare", "(goal: catalogue < 0.2 s)",
                        "/iterations:" + std::to_string(kIterations));
    benchmark::Shutdown();
    return 0;
}
