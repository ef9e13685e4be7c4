// links: orlin
//
// File formats at survey scale: the TIN archive of a 2-million-triangle TIN (a jittered
// 1000 x 1000 grid with a smooth surface, 1 million vertices) written and read, and a point
// text file of 1 million lines read into a point set. Each read is cold: no TIN or point set
// of the same points is alive, so every vertex is made anew by the point factory.
//
// Bare baselines in the same run: the archive's bytes read into memory and decoded into
// plain arrays (the I/O and decoding floor), and the text file read and parsed into a plain
// vector of doubles with std::from_chars (the parsing floor). The ratios printed at the end
// are the share of the TIN and point-set building. A third baseline builds the same TIN
// from decoded arrays (point factory and Tin::addTriangle only): the floor of any reader
// that must intern its points and build the TIN's topology.
#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/io/TinTinExporter.h"
#include "orlin/io/TinTinImporter.h"
#include "orlin/io/TpoPointSetImporter.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int GRID = 1000;       // cells per side: 2 * GRID^2 triangles
constexpr int TEXT_LINES = 1000000;

std::filesystem::path scratchDir() {
    return std::filesystem::temp_directory_path() / ("orlin_bench_io_" + std::to_string(::getpid()));
}

std::string scratch(const std::string& name) {
    std::filesystem::create_directories(scratchDir());
    return (scratchDir() / name).string();
}

double surface(double x, double y) {
    return 50.0 + 8.0 * std::sin(0.01 * x) * std::cos(0.013 * y);
}

tin::core::Tin makeGridTin() {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> jitter(-0.25, 0.25);
    std::vector<tin::core::Point> nodes;
    nodes.reserve(static_cast<std::size_t>(GRID + 1) * (GRID + 1));
    for (int i = 0; i <= GRID; ++i) {
        for (int j = 0; j <= GRID; ++j) {
            const double x = 600000.0 + i + (i > 0 && i < GRID ? jitter(random) : 0.0);
            const double y = 5400000.0 + j + (j > 0 && j < GRID ? jitter(random) : 0.0);
            nodes.emplace_back(x, y, surface(x, y));
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

const std::string& archivePath() {
    static const std::string path = [] {
        const std::string p = scratch("grid.tin");
        const tin::core::Tin tin = makeGridTin();
        tin::io::TinTinExporter().exportTin(p.c_str(), tin);
        return p;
    }();
    return path;
}

const std::string& textPath() {
    static const std::string path = [] {
        const std::string p = scratch("survey.tpo");
        std::ofstream out(p);
        out.imbue(std::locale::classic());
        out.precision(10);
        std::mt19937 random(11);
        std::uniform_real_distribution<double> u(0.0, 1000.0);
        for (int k = 0; k < TEXT_LINES; ++k) {
            const double x = 600000.0 + u(random);
            const double y = 5400000.0 + u(random);
            out << x << ',' << y << ',' << surface(x, y) << '\n';
        }
        return p;
    }();
    return path;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void BM_ArchiveWrite(benchmark::State& state) {
    const tin::core::Tin tin = makeGridTin();
    const std::string path = scratch("write.tin");
    for (auto _ : state) {
        tin::io::TinTinExporter().exportTin(path.c_str(), tin);
    }
    state.counters["triangles"] = static_cast<double>(tin.allTriangles().size());
}

void BM_ArchiveWriteBare(benchmark::State& state) {
    // The same number of bytes written from memory in one write.
    const std::string bytes = slurp(archivePath());
    const std::string path = scratch("write-bare.tin");
    for (auto _ : state) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
}

void BM_ArchiveRead(benchmark::State& state) {
    const std::string& path = archivePath();
    for (auto _ : state) {
        const tin::core::Tin tin = tin::io::TinTinImporter().importTin(path.c_str());
        benchmark::DoNotOptimize(tin.pointCount());
    }
}

void BM_ArchiveReadBare(benchmark::State& state) {
    const std::string& path = archivePath();
    for (auto _ : state) {
        const std::string bytes = slurp(path);
        // Points entry content starts after meta (2 records) and its own header block.
        const std::size_t pointsAt = 512 * 3 + 64;
        int count = 0;
        std::memcpy(&count, bytes.data() + pointsAt, 4);
        std::vector<double> xyz(static_cast<std::size_t>(count) * 3);
        std::memcpy(xyz.data(), bytes.data() + pointsAt + 4, xyz.size() * sizeof(double));
        const std::size_t pointsEntry = 68 + 24 * static_cast<std::size_t>(count);
        const std::size_t trianglesAt = 512 * 3 + (pointsEntry + 511) / 512 * 512 + 512;
        std::vector<int> corners(2 * static_cast<std::size_t>(GRID) * GRID * 3);
        std::memcpy(corners.data(), bytes.data() + trianglesAt, corners.size() * sizeof(int));
        benchmark::DoNotOptimize(xyz.data());
        benchmark::DoNotOptimize(corners.data());
    }
}

void BM_ArchiveBuildFloor(benchmark::State& state) {
    // What any reader of these bytes must do besides reading: intern 1M points through the
    // point factory and add 2M triangles to a TIN (edge factory, adjacency).
    const std::string bytes = slurp(archivePath());
    const std::size_t pointsAt = 512 * 3 + 64;
    int count = 0;
    std::memcpy(&count, bytes.data() + pointsAt, 4);
    std::vector<double> xyz(static_cast<std::size_t>(count) * 3);
    std::memcpy(xyz.data(), bytes.data() + pointsAt + 4, xyz.size() * sizeof(double));
    const std::size_t pointsEntry = 68 + 24 * static_cast<std::size_t>(count);
    const std::size_t trianglesAt = 512 * 3 + (pointsEntry + 511) / 512 * 512 + 512;
    std::vector<int> corners(2 * static_cast<std::size_t>(GRID) * GRID * 3);
    std::memcpy(corners.data(), bytes.data() + trianglesAt, corners.size() * sizeof(int));
    for (auto _ : state) {
        std::vector<std::shared_ptr<tin::core::Point>> points;
        points.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            points.push_back(tin::core::PointFactory::instance().factory(
                tin::core::Point(xyz[3 * i], xyz[3 * i + 1], xyz[3 * i + 2]), false));
        }
        tin::core::Tin tin;
        for (std::size_t k = 0; k < corners.size(); k += 3) {
            tin.addTriangle(points[corners[k]], points[corners[k + 1]], points[corners[k + 2]]);
        }
        benchmark::DoNotOptimize(tin.pointCount());
    }
}

void BM_ArchiveInternFloor(benchmark::State& state) {
    // The point-factory share of the building floor: interning the 1M vertices only.
    const std::string bytes = slurp(archivePath());
    const std::size_t pointsAt = 512 * 3 + 64;
    int count = 0;
    std::memcpy(&count, bytes.data() + pointsAt, 4);
    std::vector<double> xyz(static_cast<std::size_t>(count) * 3);
    std::memcpy(xyz.data(), bytes.data() + pointsAt + 4, xyz.size() * sizeof(double));
    for (auto _ : state) {
        std::vector<std::shared_ptr<tin::core::Point>> points;
        points.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            points.push_back(tin::core::PointFactory::instance().factory(
                tin::core::Point(xyz[3 * i], xyz[3 * i + 1], xyz[3 * i + 2]), false));
        }
        benchmark::DoNotOptimize(points.data());
    }
}

void BM_PointTextRead(benchmark::State& state) {
    const std::string& path = textPath();
    for (auto _ : state) {
        const tin::core::PointSet set = tin::io::TpoPointSetImporter().importPointSet(path.c_str());
        benchmark::DoNotOptimize(set.empty());
    }
}

void BM_PointTextReadBare(benchmark::State& state) {
    const std::string& path = textPath();
    for (auto _ : state) {
        const std::string text = slurp(path);
        std::vector<double> values;
        values.reserve(3 * TEXT_LINES);
        const char* p = text.data();
        const char* end = p + text.size();
        while (p < end) {
            double v = 0;
            const auto r = std::from_chars(p, end, v);
            values.push_back(v);
            p = r.ptr + 1; // over ',' or '\n'
        }
        benchmark::DoNotOptimize(values.data());
    }
}

void BM_PointTextBuildFloor(benchmark::State& state) {
    // What any reader of these lines must do besides parsing: add 1M points to a point set
    // (point factory and the set's hash set).
    const std::string text = slurp(textPath());
    std::vector<double> values;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        double v = 0;
        p = std::from_chars(p, end, v).ptr + 1;
        values.push_back(v);
    }
    for (auto _ : state) {
        tin::core::PointSet set;
        for (std::size_t k = 0; k + 2 < values.size(); k += 3) {
            set.addPoint(tin::core::Point(values[k], values[k + 1], values[k + 2]))->setId(static_cast<int>(k / 3));
        }
        benchmark::DoNotOptimize(set.empty());
    }
}

BENCHMARK(BM_ArchiveWrite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ArchiveWriteBare)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ArchiveRead)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ArchiveReadBare)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ArchiveBuildFloor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ArchiveInternFloor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PointTextRead)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PointTextReadBare)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PointTextBuildFloor)->Unit(benchmark::kMillisecond)->Iterations(3);

// Keeps each run's real time so that the ratios can be printed after the table.
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
    auto ratio = [&](const char* name, const char* bare, const char* goal) {
        const auto a = reporter.seconds.find(std::string(name) + "/iterations:3");
        const auto b = reporter.seconds.find(std::string(bare) + "/iterations:3");
        if (a == reporter.seconds.end() || b == reporter.seconds.end()) {
            return;
        }
        std::printf("%-18s %8.3f s  bare %8.3f s  ratio %6.2f  %s\n", name, a->second, b->second,
                    a->second / b->second, goal);
    };
    ratio("BM_ArchiveWrite", "BM_ArchiveWriteBare", "");
    ratio("BM_ArchiveRead", "BM_ArchiveReadBare", "(goal < 1 s)");
    ratio("BM_ArchiveRead", "BM_ArchiveBuildFloor", "(against interning and TIN building alone)");
    ratio("BM_ArchiveInternFloor", "BM_ArchiveBuildFloor", "(point-factory share of the floor)");
    ratio("BM_PointTextRead", "BM_PointTextReadBare", "(goal < 0.3 s)");
    ratio("BM_PointTextRead", "BM_PointTextBuildFloor", "(against point-set building alone)");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident size %.0f MB\n", usage.ru_maxrss / 1024.0);
    std::error_code ignored;
    std::filesystem::remove_all(scratchDir(), ignored);
    return 0;
}
