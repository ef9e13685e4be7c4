// links: orlin
//
// Binary STL at survey scale: a TIN of 2 million triangles (a jittered 1000 x 1000 grid,
// coordinates near the origin so that floats keep them) written and read back with vertex
// interning. Bare baselines in the same run: the same bytes written from memory in one
// write, and read and decoded into a plain float array (the I/O floor); plus the floor of
// any STL reader that builds a TIN: interning the decoded vertices and adding the triangles.
#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/Tin.h"
#include "orlin/io/StlTinExporter.h"
#include "orlin/io/StlTinImporter.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int GRID = 1000;

std::filesystem::path scratchDir() {
    return std::filesystem::temp_directory_path() / ("orlin_bench_stl_" + std::to_string(::getpid()));
}

std::string scratch(const std::string& name) {
    std::filesystem::create_directories(scratchDir());
    return (scratchDir() / name).string();
}

tin::core::Tin makeGridTin() {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> jitter(-0.25, 0.25);
    std::vector<tin::core::Point> nodes;
    for (int i = 0; i <= GRID; ++i) {
        for (int j = 0; j <= GRID; ++j) {
            const double x = i + (i > 0 && i < GRID ? jitter(random) : 0.0);
            const double y = j + (j > 0 && j < GRID ? jitter(random) : 0.0);
            nodes.emplace_back(x, y, 20.0 + 5.0 * std::sin(0.02 * x) * std::cos(0.03 * y));
        }
    }
    auto node = [&](int i, int j) -> const tin::core::Point& { return nodes[static_cast<std::size_t>(i) * (GRID + 1) + j]; };
    tin::core::Tin tin;
    for (int i = 0; i < GRID; ++i) {
        for (int j = 0; j < GRID; ++j) {
            tin.addTriangle(node(i, j), node(i + 1, j), node(i + 1, j + 1));
            tin.addTriangle(node(i, j), node(i + 1, j + 1), node(i, j + 1));
        }
    }
    return tin;
}

const std::string& stlPath() {
    static const std::string path = [] {
        const std::string p = scratch("grid.stl");
        tin::io::StlTinExporter().exportTin(p.c_str(), makeGridTin());
        return p;
    }();
    return path;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(std::filesystem::file_size(path), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

std::vector<float> decode(const std::string& bytes) {
    std::uint32_t count = 0;
    std::memcpy(&count, bytes.data() + 80, 4);
    std::vector<float> xyz(9 * static_cast<std::size_t>(count));
    for (std::uint32_t k = 0; k < count; ++k) {
        std::memcpy(xyz.data() + 9 * k, bytes.data() + 84 + 50 * static_cast<std::size_t>(k) + 12, 36);
    }
    return xyz;
}

void BM_StlWrite(benchmark::State& state) {
    const tin::core::Tin tin = makeGridTin();
    const std::string path = scratch("write.stl");
    for (auto _ : state) {
        tin::io::StlTinExporter().exportTin(path.c_str(), tin);
    }
}

void BM_StlWriteBare(benchmark::State& state) {
    const std::string bytes = slurp(stlPath());
    const std::string path = scratch("write-bare.stl");
    for (auto _ : state) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
}

void BM_StlRead(benchmark::State& state) {
    for (auto _ : state) {
        const tin::core::Tin tin = tin::io::StlTinImporter().importTin(stlPath().c_str());
        benchmark::DoNotOptimize(tin.pointCount());
    }
}

void BM_StlReadBare(benchmark::State& state) {
    for (auto _ : state) {
        const std::vector<float> xyz = decode(slurp(stlPath()));
        benchmark::DoNotOptimize(xyz.data());
    }
}

void BM_StlBuildFloor(benchmark::State& state) {
    // Interning through the factory once per distinct vertex (exact-match map in front),
    // and Tin::addTriangle per facet: what the reader must do beyond decoding.
    const std::vector<float> xyz = decode(slurp(stlPath()));
    for (auto _ : state) {
        std::map<std::tuple<float, float, float>, std::shared_ptr<tin::core::Point>> seen;
        tin::core::Tin tin;
        for (std::size_t k = 0; k < xyz.size(); k += 9) {
            std::shared_ptr<tin::core::Point> corners[3];
            for (int i = 0; i < 3; ++i) {
                const float* v = xyz.data() + k + 3 * i;
                auto& slot = seen[{v[0], v[1], v[2]}];
                if (!slot) {
                    slot = tin::core::PointFactory::instance().factory(tin::core::Point(v[0], v[1], v[2]), false);
                }
                corners[i] = slot;
            }
            tin.addTriangle(corners[0], corners[1], corners[2]);
        }
        benchmark::DoNotOptimize(tin.pointCount());
    }
}

BENCHMARK(BM_StlWrite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StlWriteBare)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StlRead)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StlReadBare)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StlBuildFloor)->Unit(benchmark::kMillisecond)->Iterations(3);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            seconds[run.benchmark_name()] = run.GetAdjustedRealTime() / 1000.0;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* name, const char* bare, const char* note) {
        const auto a = reporter.seconds.find(std::string(name) + "/iterations:3");
        const auto b = reporter.seconds.find(std::string(bare) + "/iterations:3");
        if (a != reporter.seconds.end() && b != reporter.seconds.end()) {
            std::printf("%-12s %8.3f s  %-18s %8.3f s  ratio %6.2f  %s\n", name, a->second, bare, b->second,
                        a->second / b->second, note);
        }
    };
    ratio("BM_StlWrite", "BM_StlWriteBare", "(goal < 1 s)");
    ratio("BM_StlRead", "BM_StlReadBare", "(goal < 1 s)");
    ratio("BM_StlRead", "BM_StlBuildFloor", "(against interning and TIN building alone)");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident size %.0f MB\n", usage.ru_maxrss / 1024.0);
    std::error_code ignored;
    std::filesystem::remove_all(scratchDir(), ignored);
    return 0;
}
