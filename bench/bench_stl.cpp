// links: orlin
//
// Binary STL at survey scale: a TIN of 2 million triangles (a jittered 1000 x 1000 grid,
// coordinates near the origin so that floats keep them) written and read back with vertex
// interning. Bare baselines in the same run: the same bytes written from memory in one
// write, and read and decoded into a plain float array (the I/O floor); plus the floor of
// any STL reader that builds a TIN: interning the decoded vertices and adding the triangles
// (with a std::map in front of the factory, as a plain reader would), and the TIN building
// alone (Tin::addTriangle over points interned before the timing).
//
// A read is timed up to the moment its TIN exists; dropping the TIN (2M triangles with their
// edges and points) is timed apart and printed beside it. The bare read takes the file with
// one read into a huge-page block, as the reader can.
#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/Tin.h"
#include "orlin/io/FileBytes.h"
#include "orlin/io/StlTinExporter.h"
#include "orlin/io/StlTinImporter.h"
#include "orlin/support/LargeTableAllocatorT.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int GRID = 1000;

const bench::ScratchDir scratchDir("orlin_bench_stl_");

using bench::Clock;
using bench::destructionSeconds;
using bench::secondsSince;
using bench::timeApart;

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

template <typename T>
using LargeVector = std::vector<T, tin::support::LargeTableAllocatorT<T>>;

LargeVector<float> decode(std::string_view bytes) {
    std::uint32_t count = 0;
    std::memcpy(&count, bytes.data() + 80, 4);
    LargeVector<float> xyz(9 * static_cast<std::size_t>(count));
    for (std::uint32_t k = 0; k < count; ++k) {
        std::memcpy(xyz.data() + 9 * k, bytes.data() + 84 + 50 * static_cast<std::size_t>(k) + 12, 36);
    }
    return xyz;
}

LargeVector<float> decodedFile() {
    const tin::io::FileBytes bytes(stlPath().c_str());
    return decode(bytes.view());
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
    const std::string& path = stlPath(); // made before the timing
    timeApart(state, "BM_StlRead", [&] { return tin::io::StlTinImporter().importTin(path.c_str()); });
}

void BM_StlReadBare(benchmark::State& state) {
    stlPath(); // made before the timing
    timeApart(state, "BM_StlReadBare", [] { return decodedFile(); });
}

void BM_StlBuildFloor(benchmark::State& state) {
    // Interning through the factory once per distinct vertex (exact-match map in front),
    // and Tin::addTriangle per facet: what the reader must do beyond decoding.
    const LargeVector<float> xyz = decodedFile();
    timeApart(state, "BM_StlBuildFloor", [&] {
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
        return tin;
    });
}

// The file's distinct vertices interned once and every facet corner as a vertex number:
// what is left of a read once parsing and interning are done.
struct NumberedFacets {
    std::vector<std::shared_ptr<tin::core::Point>> points;
    std::vector<std::uint32_t> corners;
};

NumberedFacets numberedFacets() {
    const LargeVector<float> xyz = decodedFile();
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
    timeApart(state, "BM_StlTinFloor", [&] {
        tin::core::Tin tin;
        for (std::size_t k = 0; k + 2 < corners.size(); k += 3) {
            tin.addTriangle(points[corners[k]], points[corners[k + 1]], points[corners[k + 2]]);
        }
        return tin;
    });
}

void BM_StlTinFloorBulk(benchmark::State& state) {
    // The TIN floor with the triangles added in one batch (Tin::addTriangles), as the reader
    // does: the same TIN, with the table misses of neighbouring facets overlapped.
    const NumberedFacets facets = numberedFacets();
    const std::vector<std::uint32_t>& corners = facets.corners;
    const std::vector<std::shared_ptr<tin::core::Point>>& points = facets.points;
    timeApart(state, "BM_StlTinFloorBulk", [&] {
        tin::core::Tin tin;
        tin.addTriangles(points.data(), corners.data(), corners.size() / 3);
        return tin;
    });
}

BENCHMARK(BM_StlWrite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StlWriteBare)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StlRead)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_StlReadBare)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_StlBuildFloor)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_StlTinFloor)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_StlTinFloorBulk)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("BM_StlWrite", "BM_StlWriteBare", "(goal < 1 s)");
    // Reads are timed without the destruction of their result (manual time).
    const std::string timed = "/iterations:3/manual_time";
    reporter.printRatio("BM_StlRead", "BM_StlReadBare", "(goal < 1 s)", timed);
    reporter.printRatio("BM_StlRead", "BM_StlBuildFloor", "(against interning and TIN building alone)", timed);
    reporter.printRatio("BM_StlRead", "BM_StlTinFloor", "(against TIN building alone)", timed);
    reporter.printRatio("BM_StlTinFloorBulk", "BM_StlTinFloor", "(batch addition against one by one)", timed);
    for (const auto& [name, seconds] : destructionSeconds()) {
        std::printf("%-20s destruction of the result %8.3f s (not in the time above)\n", name.c_str(), seconds);
    }
    std::printf("peak resident size %.0f MB\n", bench::peakResidentMb());
    scratchDir.remove();
    return 0;
}
