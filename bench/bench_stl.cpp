// links: orlin
//
// Binary STL at survey scale: a TIN of 2 million triangles (a jittered 1000 x 1000 grid,
// coordinates near the origin so that floats keep them) written and read back with vertex
// interning. Bare baselines in the same run: the same bytes written from memory in one
// write, and read and decoded into a plain float array (the I/O floor); plus the floor of
// any STL reader that builds a TIN: interning the decoded vertices and adding the triangles
// (with a std::map in front of the factory, as a plain reader would), and the TIN building
// alone (Tin::addTriangle over points interned before the timing).
#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/Tin.h"
#include "orlin/io/StlTinExporter.h"
#include "orlin/io/StlTinImporter.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int GRID = 1000;

const bench::ScratchDir scratchDir("orlin_bench_stl_");

std::string scratch(const std::string& name) {
    return scratchDir.file(name);
}

tin::core::Tin makeGridTin() {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> jitter(-0.25, 0.25);
    return bench::gridTin(GRID + 1, [&](int i, int j) {
        const double x = i + (i > 0 && i < GRID ? jitter(random) : 0.0);
        const double y = j + (j > 0 && j < GRID ? jitter(random) : 0.0);
        return tin::core::Point(x, y, 20.0 + 5.0 * std::sin(0.02 * x) * std::cos(0.03 * y));
    });
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

// The file's distinct vertices interned once and every facet corner as a vertex number:
// what is left of a read once parsing and interning are done.
struct NumberedFacets {
    std::vector<std::shared_ptr<tin::core::Point>> points;
    std::vector<std::uint32_t> corners;
};

NumberedFacets numberedFacets() {
    const std::vector<float> xyz = decode(slurp(stlPath()));
    std::map<std::tuple<float, float, float>, std::uint32_t> numbers;
    NumberedFacets result;
    std::vector<std::uint32_t>& corners = result.corners;
    std::vector<std::shared_ptr<tin::core::Point>>& points = result.points;
    for (std::size_t k = 0; k < xyz.size(); k += 3) {
        const auto inserted = numbers.emplace(std::make_tuple(xyz[k], xyz[k + 1], xyz[k + 2]),
                                              static_cast<std::uint32_t>(points.size()));
        if (inserted.second) {
            points.push_back(tin::core::PointFactory::instance().factory(
                tin::core::Point(double(xyz[k]), double(xyz[k + 1]), double(xyz[k + 2])), false));
        }
        corners.push_back(inserted.first->second);
    }
    return result;
}

void BM_StlTinFloor(benchmark::State& state) {
    // The vertices numbered and interned once, outside the timing, and kept alive: what is
    // left of a read is adding the 2M triangles.
    const NumberedFacets facets = numberedFacets();
    const std::vector<std::uint32_t>& corners = facets.corners;
    const std::vector<std::shared_ptr<tin::core::Point>>& points = facets.points;
    for (auto _ : state) {
        tin::core::Tin tin;
        for (std::size_t k = 0; k + 2 < corners.size(); k += 3) {
            tin.addTriangle(points[corners[k]], points[corners[k + 1]], points[corners[k + 2]]);
        }
        benchmark::DoNotOptimize(tin.pointCount());
    }
}

void BM_StlTinFloorBulk(benchmark::State& state) {
    // The TIN floor with the triangles added in one batch (Tin::addTriangles), as the reader
    // does: the same TIN, with the table misses of neighbouring facets overlapped.
    const NumberedFacets facets = numberedFacets();
    const std::vector<std::uint32_t>& corners = facets.corners;
    const std::vector<std::shared_ptr<tin::core::Point>>& points = facets.points;
    for (auto _ : state) {
        tin::core::Tin tin;
        tin.addTriangles(points.data(), corners.data(), corners.size() / 3);
        benchmark::DoNotOptimize(tin.pointCount());
    }
}

BENCHMARK(BM_StlWrite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StlWriteBare)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StlRead)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StlReadBare)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StlBuildFloor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StlTinFloor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StlTinFloorBulk)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("BM_StlWrite", "BM_StlWriteBare", "(goal < 1 s)");
    reporter.printRatio("BM_StlRead", "BM_StlReadBare", "(goal < 1 s)");
    reporter.printRatio("BM_StlRead", "BM_StlBuildFloor", "(against interning and TIN building alone)");
    reporter.printRatio("BM_StlRead", "BM_StlTinFloor", "(against TIN building alone)");
    reporter.printRatio("BM_StlTinFloorBulk", "BM_StlTinFloor", "(batch addition against one by one)");
    std::printf("peak resident size %.0f MB\n", bench::peakResidentMb());
    scratchDir.remove();
    return 0;
}
