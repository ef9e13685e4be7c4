// links: calvex festra Qt5::Core
//
// A JPGIS GML ZIP through the GML layer: the real archive of 8 neighbouring 5 m tiles (3.7 MB
// of XML, 134,630 points) imported into a point set, converted to the plane rectangular system
// of its area. Bare baseline in the same run: `unzip -p` of the same archive into memory and a
// plain QXmlStreamReader pass over every token of its members, the floor of any reader that
// unpacks with Info-ZIP and parses the XML, before any number is read, converted or interned.
//
// The import is timed up to the moment its point set exists; dropping it is timed apart.
#include "BenchSupport.h"

#include "tingml/io/GmlPointSetImporter.h"

#include "proj/ProjectionPairLonLatDegreeToPlane.h"

#include <QCoreApplication>
#include <QProcess>
#include <QXmlStreamReader>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

const std::string ARCHIVE = MOVARIN_SHARED_DATA_DIR "/real/gml/FG-GML-3624-30-DEM5B.zip";
constexpr std::size_t ARCHIVE_POINTS = 134630;

const bench::ScratchDir scratchDir("calvex_bench_gml_");

void BM_GmlZipImport(benchmark::State& state)
{
    // EPSG:6684, JGD2011 / Japan Plane Rectangular CS XVI.
    proj::ProjectionPairLonLatDegreeToPlane pair(
        "+proj=longlat +ellps=GRS80 +no_defs",
        "+proj=tmerc +lat_0=26 +lon_0=124 +k=0.9999 +x_0=0 +y_0=0 +ellps=GRS80 +units=m +no_defs");
    const std::string folder = scratchDir.file("unpack");
    std::filesystem::create_directories(folder);
    tingml::io::GmlPointSetImporter importer;
    importer.setTempFolder(folder.c_str());
    importer.setProjectionPair(&pair);
    bench::timeApart(state, "BM_GmlZipImport", [&] {
        tin::core::PointSet points = importer.importPointSet(ARCHIVE.c_str());
        if (points.allPoints().size() != ARCHIVE_POINTS) {
            throw std::runtime_error("unexpected point count");
        }
        return points;
    });
}

// Tokens of one XML document; each member of the archive begins with its declaration.
long long tokens(const QByteArray& document)
{
    QXmlStreamReader xml(document);
    long long count = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        ++count;
    }
    if (xml.hasError()) {
        throw std::runtime_error("bare parse failed");
    }
    return count;
}

void BM_GmlZipBare(benchmark::State& state)
{
    for (auto _ : state) {
        const bench::Clock::time_point start = bench::Clock::now();
        QProcess unzip;
        unzip.start("unzip", {"-p", QString::fromStdString(ARCHIVE)});
        unzip.waitForFinished(-1);
        const QByteArray all = unzip.readAllStandardOutput();
        if (unzip.exitCode() != 0 || all.isEmpty()) {
            throw std::runtime_error("unzip -p failed");
        }
        long long count = 0;
        const QByteArray declaration("<?xml");
        for (int begin = all.indexOf(declaration); begin >= 0;) {
            int end = all.indexOf(declaration, begin + 1);
            // A byte-order mark before the next declaration belongs to the next member.
            if (end >= 3 && all.mid(end - 3, 3) == "\xEF\xBB\xBF") {
                end -= 3;
            }
            count += tokens(all.mid(begin, end < 0 ? -1 : end - begin));
            begin = all.indexOf(declaration, end < 0 ? all.size() : end);
        }
        state.SetIterationTime(bench::secondsSince(start));
        benchmark::DoNotOptimize(count);
    }
}

BENCHMARK(BM_GmlZipImport)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(BM_GmlZipBare)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("BM_GmlZipImport", "BM_GmlZipBare", "(goal < 1 s)", "/iterations:5/manual_time");
    for (const auto& [name, seconds] : bench::destructionSeconds()) {
        std::printf("%-20s destruction of the result %8.3f s (not in the time above)\n", name.c_str(), seconds);
    }
    std::printf("peak resident size %.0f MB\n", bench::peakResidentMb());
    scratchDir.remove();
    return 0;
}
