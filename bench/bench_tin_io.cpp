// links: orlin
//
// File formats at survey scale: the TIN archive of a 2-million-triangle TIN (a jittered
// 1000 x 1000 grid with a smooth surface, 1 million vertices) written and read, and a point
// text file of 1 million lines read into a point set. Each read is cold: no TIN or point set
// of the same points is alive, so every vertex is made anew by the point factory.
//
// Bare baselines in the same run: the archive's bytes read into memory and decoded into
// plain arrays (the I/O and decoding floor), and the text file read and parsed into a plain
// vector of doubles with std::from_chars (the parsing floor). The baselines read the file with
// one read into a huge-page block and decode into huge-page arrays, as a reader can: read
// through a string stream, the same 48 MB cost 0.5 s, nearly all of it first-touch faults of
// 4 KiB pages in the growing stream buffer and its copies.
//
// A read is timed up to the moment its result exists. Dropping the result (freeing 2M
// triangles, their edges and points) is timed apart and printed beside it: it is real cost,
// but the cost of the caller's TIN going away, not of the read. The ratios printed at the end
// are the share of the TIN and point-set building. A third baseline builds the same TIN
// from decoded arrays (point factory and Tin::addTriangle only): the floor of any reader
// that must intern its points and build the TIN's topology.
#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/io/FileBytes.h"
#include "orlin/io/TinTinExporter.h"
#include "orlin/io/TinTinImporter.h"
#include "orlin/io/TpoPointSetImporter.h"
#include "orlin/support/LargeTableAllocatorT.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int GRID = 1000;       // cells per side: 2 * GRID^2 triangles
constexpr int TEXT_LINES = 1000000;

const bench::ScratchDir scratchDir("orlin_bench_io_");

using bench::Clock;
using bench::destructionSeconds;
using bench::secondsSince;
using bench::timeApart;

std::string scratch(const std::string& name) {
    return scratchDir.file(name);
}

double surface(double x, double y) {
    return 50.0 + 8.0 * std::sin(0.01 * x) * std::cos(0.013 * y);
}

tin::core::Tin makeGridTin() {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> jitter(-0.25, 0.25);
    return bench::gridTin(GRID + 1, [&](int i, int j) {
        const double x = 600000.0 + i + (i > 0 && i < GRID ? jitter(random) : 0.0);
        const double y = 5400000.0 + j + (j > 0 && j < GRID ? jitter(random) : 0.0);
        return tin::core::Point(x, y, surface(x, y));
    });
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

// The archive's points and triangle corners decoded straight from its bytes, the way a
// reader that knew the layout in advance would: the points entry's content starts after the
// meta entry (2 records) and its own header block; the triangles entry follows the points.
template <typename T>
using LargeVector = std::vector<T, tin::support::LargeTableAllocatorT<T>>;

struct DecodedArchive {
    LargeVector<double> xyz;
    LargeVector<int> corners;
};

DecodedArchive decodeArchive(std::string_view bytes, bool withTriangles) {
    DecodedArchive decoded;
    const std::size_t pointsAt = 512 * 3 + 64;
    int count = 0;
    std::memcpy(&count, bytes.data() + pointsAt, 4);
    decoded.xyz.resize(static_cast<std::size_t>(count) * 3);
    std::memcpy(decoded.xyz.data(), bytes.data() + pointsAt + 4, decoded.xyz.size() * sizeof(double));
    if (withTriangles) {
        const std::size_t pointsEntry = 68 + 24 * static_cast<std::size_t>(count);
        const std::size_t trianglesAt = 512 * 3 + (pointsEntry + 511) / 512 * 512 + 512;
        decoded.corners.resize(2 * static_cast<std::size_t>(GRID) * GRID * 3);
        std::memcpy(decoded.corners.data(), bytes.data() + trianglesAt, decoded.corners.size() * sizeof(int));
    }
    return decoded;
}

// Every vertex interned through the point factory, in file order, in one bulk request as the
// reader makes it.
std::vector<std::shared_ptr<tin::core::Point>> intern(const LargeVector<double>& xyz) {
    std::vector<std::shared_ptr<tin::core::Point>> points(xyz.size() / 3);
    tin::core::PointFactory::instance().factoryAll(xyz.data(), points.size(), points.data());
    return points;
}

// The text file's numbers in file order, parsed with std::from_chars: the parsing floor.
LargeVector<double> parseValues(std::string_view text) {
    LargeVector<double> values;
    values.reserve(3 * TEXT_LINES);
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        double v = 0;
        const auto r = std::from_chars(p, end, v);
        values.push_back(v);
        p = r.ptr + 1; // over ',' or '\n'
    }
    return values;
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
    const tin::io::FileBytes bytes(archivePath().c_str());
    const std::string path = scratch("write-bare.tin");
    for (auto _ : state) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
}

void BM_ArchiveRead(benchmark::State& state) {
    const std::string& path = archivePath();
    timeApart(state, "BM_ArchiveRead", [&] { return tin::io::TinTinImporter().importTin(path.c_str()); });
}

void BM_ArchiveReadBare(benchmark::State& state) {
    const std::string& path = archivePath();
    timeApart(state, "BM_ArchiveReadBare", [&] {
        const tin::io::FileBytes bytes(path.c_str());
        return decodeArchive(bytes.view(), true);
    });
}

void BM_ArchiveReadBareStream(benchmark::State& state) {
    // The bare baseline as it was first written: the file through a string stream, decoded
    // into plain vectors. What it costs beyond BM_ArchiveReadBare is first-touch faults.
    const std::string& path = archivePath();
    timeApart(state, "BM_ArchiveReadBareStream", [&] {
        const std::string bytes = slurp(path);
        const std::size_t pointsAt = 512 * 3 + 64;
        int count = 0;
        std::memcpy(&count, bytes.data() + pointsAt, 4);
        std::vector<double> xyz(static_cast<std::size_t>(count) * 3);
        std::memcpy(xyz.data(), bytes.data() + pointsAt + 4, xyz.size() * sizeof(double));
        const std::size_t pointsEntry = 68 + 24 * static_cast<std::size_t>(count);
        const std::size_t trianglesAt = 512 * 3 + (pointsEntry + 511) / 512 * 512 + 512;
        std::vector<int> corners(2 * static_cast<std::size_t>(GRID) * GRID * 3);
        std::memcpy(corners.data(), bytes.data() + trianglesAt, corners.size() * sizeof(int));
        return std::make_pair(std::move(xyz), std::move(corners));
    });
}

DecodedArchive decodedArchive(bool withTriangles) {
    const tin::io::FileBytes bytes(archivePath().c_str());
    return decodeArchive(bytes.view(), withTriangles);
}

LargeVector<double> parsedText() {
    const tin::io::FileBytes bytes(textPath().c_str());
    return parseValues(bytes.view());
}

// The interned vertices and the TIN built over them, dropped together.
struct BuiltTin {
    std::vector<std::shared_ptr<tin::core::Point>> points;
    tin::core::Tin tin;
};

void BM_ArchiveBuildFloor(benchmark::State& state) {
    // What any reader of these bytes must do besides reading: intern 1M points through the
    // point factory and add 2M triangles to a TIN (edge factory, adjacency).
    const DecodedArchive decoded = decodedArchive(true);
    const LargeVector<int>& corners = decoded.corners;
    timeApart(state, "BM_ArchiveBuildFloor", [&] {
        BuiltTin built{intern(decoded.xyz), tin::core::Tin()};
        const auto& points = built.points;
        for (std::size_t k = 0; k < corners.size(); k += 3) {
            built.tin.addTriangle(points[corners[k]], points[corners[k + 1]], points[corners[k + 2]]);
        }
        return built;
    });
}

void BM_ArchiveBuildFloorBulk(benchmark::State& state) {
    // The same floor with the triangles added in one batch (Tin::addTriangles), as the
    // reader does: the same TIN, with the table misses of neighbouring triangles overlapped.
    const DecodedArchive decoded = decodedArchive(true);
    const std::vector<std::uint32_t> corners(decoded.corners.begin(), decoded.corners.end());
    timeApart(state, "BM_ArchiveBuildFloorBulk", [&] {
        BuiltTin built{intern(decoded.xyz), tin::core::Tin()};
        built.tin.addTriangles(built.points.data(), corners.data(), corners.size() / 3);
        return built;
    });
}

void BM_ArchiveInternFloor(benchmark::State& state) {
    // The point-factory share of the building floor: interning the 1M vertices only.
    const DecodedArchive decoded = decodedArchive(false);
    timeApart(state, "BM_ArchiveInternFloor", [&] { return intern(decoded.xyz); });
}

void BM_PointTextRead(benchmark::State& state) {
    const std::string& path = textPath();
    timeApart(state, "BM_PointTextRead",
              [&] { return tin::io::TpoPointSetImporter().importPointSet(path.c_str()); });
}

// One read in a new process of this program (run with FRESH_READ_FLAG), timed there: the
// factory holds no slots of earlier reads, so nothing of theirs is swept on the way, and no
// page is shared with a parent (a forked child would pay a copy for every page of the
// parent's TINs it writes). Prints the read's and the destruction's seconds. Every page
// it uses is fresh (about 85 huge pages for a million points), so its time follows how
// readily the system hands out huge pages: 0.28 to 0.9 s on the shared test machine.
const char* const FRESH_READ_FLAG = "--fresh-text-read=";

int freshTextRead(const char* path) {
    const Clock::time_point start = Clock::now();
    std::optional<tin::core::PointSet> set(tin::io::TpoPointSetImporter().importPointSet(path));
    const double read = secondsSince(start);
    const Clock::time_point made = Clock::now();
    set.reset();
    std::printf("%.9f %.9f\n", read, secondsSince(made));
    return 0;
}

void BM_PointTextReadFresh(benchmark::State& state) {
    const std::string command = "/proc/" + std::to_string(::getpid()) + "/exe " + FRESH_READ_FLAG + textPath();
    double destroyed = 0;
    for (auto _ : state) {
        FILE* pipe = ::popen(command.c_str(), "r");
        double read = 0;
        double destroy = 0;
        if (!pipe || std::fscanf(pipe, "%lf %lf", &read, &destroy) != 2) {
            state.SkipWithError("the fresh process gave no time");
        }
        if (pipe) {
            ::pclose(pipe);
        }
        state.SetIterationTime(read);
        destroyed += destroy;
    }
    const double mean = destroyed / static_cast<double>(state.iterations());
    state.counters["destroy_s"] = mean;
    destructionSeconds()["BM_PointTextReadFresh"] = mean;
}

void BM_PointTextReadQueried(benchmark::State& state) {
    // The read and the set's first query: the set files the points the reader appended
    // (membership map, repeats dropped) when it is first read.
    const std::string& path = textPath();
    timeApart(state, "BM_PointTextReadQueried", [&] {
        tin::core::PointSet set = tin::io::TpoPointSetImporter().importPointSet(path.c_str());
        benchmark::DoNotOptimize(set.boundingRect());
        return set;
    });
}

void BM_PointTextReadBare(benchmark::State& state) {
    const std::string& path = textPath();
    timeApart(state, "BM_PointTextReadBare", [&] {
        const tin::io::FileBytes bytes(path.c_str());
        return parseValues(bytes.view());
    });
}

void BM_PointTextBuildFloor(benchmark::State& state) {
    // What any reader of these lines must do besides parsing: add 1M points to a point set
    // (point factory and the set's hash set).
    const LargeVector<double> values = parsedText();
    timeApart(state, "BM_PointTextBuildFloor", [&] {
        tin::core::PointSet set;
        for (std::size_t k = 0; k + 2 < values.size(); k += 3) {
            set.addPoint(tin::core::Point(values[k], values[k + 1], values[k + 2]))->setId(static_cast<int>(k / 3));
        }
        return set;
    });
}

void BM_PointTextInternFloor(benchmark::State& state) {
    // The point-factory share of the point-set floor: the parsed points interned in bulk,
    // as the reader does, without the point set.
    const LargeVector<double> values = parsedText();
    timeApart(state, "BM_PointTextInternFloor", [&] {
        std::vector<std::shared_ptr<tin::core::Point>> points(values.size() / 3);
        tin::core::PointFactory::instance().factoryAll(values.data(), points.size(), points.data());
        return points;
    });
}

BENCHMARK(BM_ArchiveWrite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ArchiveWriteBare)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ArchiveRead)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_ArchiveReadBare)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_ArchiveReadBareStream)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_ArchiveBuildFloor)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_ArchiveBuildFloorBulk)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_ArchiveInternFloor)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_PointTextRead)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_PointTextReadFresh)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_PointTextReadQueried)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_PointTextReadBare)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_PointTextBuildFloor)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_PointTextInternFloor)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strncmp(argv[1], FRESH_READ_FLAG, std::strlen(FRESH_READ_FLAG)) == 0) {
        return freshTextRead(argv[1] + std::strlen(FRESH_READ_FLAG));
    }
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // Reads are timed without the destruction of their result (manual time).
    const std::string timed = "/iterations:3/manual_time";
    reporter.printRatio("BM_ArchiveWrite", "BM_ArchiveWriteBare", "");
    reporter.printRatio("BM_ArchiveRead", "BM_ArchiveReadBare", "(goal < 1 s)", timed);
    reporter.printRatio("BM_ArchiveReadBareStream", "BM_ArchiveReadBare", "(bare decoding through a string stream)",
                        timed);
    reporter.printRatio("BM_ArchiveRead", "BM_ArchiveBuildFloor", "(against interning and TIN building alone)",
                        timed);
    reporter.printRatio("BM_ArchiveBuildFloorBulk", "BM_ArchiveBuildFloor", "(batch addition against one by one)",
                        timed);
    reporter.printRatio("BM_ArchiveInternFloor", "BM_ArchiveBuildFloor", "(point-factory share of the floor)", timed);
    reporter.printRatio("BM_PointTextRead", "BM_PointTextReadBare", "(goal < 0.3 s)", timed);
    reporter.printRatio("BM_PointTextReadFresh", "BM_PointTextRead", "(in a fresh process, no earlier read to sweep)",
                        timed);
    reporter.printRatio("BM_PointTextReadQueried", "BM_PointTextRead", "(with the first query, which files the points)",
                        timed);
    reporter.printRatio("BM_PointTextRead", "BM_PointTextBuildFloor", "(against point-set building alone)", timed);
    reporter.printRatio("BM_PointTextInternFloor", "BM_PointTextRead", "(bulk interning share of the read)", timed);
    for (const auto& [name, seconds] : destructionSeconds()) {
        std::printf("%-26s destruction of the result %8.3f s (not in the time above)\n", name.c_str(), seconds);
    }
    std::printf("peak resident size %.0f MB\n", bench::peakResidentMb());
    scratchDir.remove();
    return 0;
}
