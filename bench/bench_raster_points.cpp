// links: durnak orlin GDAL
// A DEM read as survey points: the SRTM GeoTIFF of the real data (1197 x 643 Int16 cells, 769,671
// points) through the raster point reader, beside the bare baseline of GDAL alone opening the
// file and reading its band into doubles in one call. Goal: under 1 s. A second baseline, the
// floor of any reader that makes a point set, interns the same points from coordinates in memory.
//
// The read is timed up to the moment its point set exists; dropping the set is timed apart.
//
// A sparse DEM: 8000 x 8000 Float32 cells with data in 100 of them, a tiled GeoTIFF of a few
// kilobytes made here. The reader against GDAL alone reading the band line by line into doubles
// (the least any reader of every cell does); each is also run once in a child process of its
// own for its peak resident size. Goal: near GDAL's time, and memory that follows the 100
// points, not the 64 million cells.
#include "durnak/GdalPointSetImporter.h"

#include "orlin/core/PointFactory.h"
#include "orlin/core/PointSet.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>
#include <cpl_conv.h>
#include <gdal_priv.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const std::string srtmPath = std::string(MOVARIN_SHARED_DATA_DIR) + "/real/dem/srtm_bigtujunga30m_utm11.tif";

void BM_RasterPoints(benchmark::State& state)
{
    const tingdal::GdalPointSetImporter reader;
    bench::timeApart(state, "BM_RasterPoints", [&] { return reader.importPointSet(srtmPath.c_str()); });
}

std::vector<double> readBand(std::vector<double>* gt = nullptr)
{
    GDALDataset* dataset = GDALDataset::FromHandle(GDALOpen(srtmPath.c_str(), GA_ReadOnly));
        if (dataset == nullptr) {
            throw std::runtime_error("cannot open " + srtmPath);
        }
    GDALRasterBand* band = dataset->GetRasterBand(1);
    const int w = band->GetXSize(), h = band->GetYSize();
    std::vector<double> values(static_cast<std::size_t>(w) * h);
    const CPLErr read = band->RasterIO(GF_Read, 0, 0, w, h, values.data(), w, h, GDT_Float64, 0, 0, nullptr);
    if (gt != nullptr) {
        gt->resize(8);
        dataset->GetGeoTransform(gt->data());
        (*gt)[6] = w;
        (*gt)[7] = h;
    }
    GDALClose(GDALDataset::ToHandle(dataset));
    if (read != CE_None) {
        throw std::runtime_error("cannot read " + srtmPath);
    }
    return values;
}

void BM_RasterPointsBare(benchmark::State& state)
{
    bench::timeApart(state, "BM_RasterPointsBare", [] { return readBand(); });
}

void BM_RasterPointsInternFloor(benchmark::State& state)
{
    std::vector<double> gt;
    const std::vector<double> values = readBand(&gt);
    const std::size_t w = static_cast<std::size_t>(gt[6]);
    std::vector<double> xyz;
    for (std::size_t k = 0; k < values.size(); ++k) {
        xyz.insert(xyz.end(), {static_cast<double>(k % w) * gt[1] + gt[0],
                               static_cast<double>(k / w) * gt[5] + gt[3], values[k]});
    }
    bench::timeApart(state, "BM_RasterPointsInternFloor", [&] {
        tin::core::PointSet::PointList points(values.size());
        tin::core::PointFactory::instance().factoryAll(xyz.data(), values.size(), points.data());
        tin::core::PointSet set;
        set.addPoints(std::move(points));
        return set;
    });
}

const int sparseSize = 8000;
const bench::ScratchDir scratch("bench_raster_points_");

// The sparse DEM, made once: 100 cells on a diagonal hold data, every other cell is a hole.
const std::string& sparsePath()
{
    static const std::string path = [] {
        const std::string file = scratch.file("sparse.tif");
        char const* const options[] = {"TILED=YES", "SPARSE_OK=TRUE", "COMPRESS=DEFLATE", nullptr};
        GDALDataset* dataset = GetGDALDriverManager()->GetDriverByName("GTiff")->Create(
            file.c_str(), sparseSize, sparseSize, 1, GDT_Float32, const_cast<char**>(options));
        if (dataset == nullptr) {
            throw std::runtime_error("cannot make " + file);
        }
        double gt[6] = {500000, 1, 0, 4000000, 0, -1};
        dataset->SetGeoTransform(gt);
        GDALRasterBand* band = dataset->GetRasterBand(1);
        band->SetNoDataValue(-9999);
        for (int k = 0; k < 100; ++k) {
            float value = static_cast<float>(k);
            const int at = k * (sparseSize / 100);
            if (band->RasterIO(GF_Write, at, at, 1, 1, &value, 1, 1, GDT_Float32, 0, 0, nullptr) != CE_None) {
                throw std::runtime_error("cannot write " + file);
            }
        }
        GDALClose(GDALDataset::ToHandle(dataset));
        return file;
    }();
    return path;
}

// GDAL alone: every line of the band into a line of doubles; the number of cells with data.
std::size_t readSparseBand()
{
    GDALDataset* dataset = GDALDataset::FromHandle(GDALOpen(sparsePath().c_str(), GA_ReadOnly));
    if (dataset == nullptr) {
        throw std::runtime_error("cannot open " + sparsePath());
    }
    GDALRasterBand* band = dataset->GetRasterBand(1);
    const int w = band->GetXSize(), h = band->GetYSize();
    std::vector<double> line(static_cast<std::size_t>(w));
    std::size_t data = 0;
    for (int r = 0; r < h; ++r) {
        if (band->RasterIO(GF_Read, 0, r, w, 1, line.data(), w, 1, GDT_Float64, 0, 0, nullptr) != CE_None) {
            GDALClose(GDALDataset::ToHandle(dataset));
            throw std::runtime_error("cannot read " + sparsePath());
        }
        for (double v : line) {
            data += v != -9999;
        }
    }
    GDALClose(GDALDataset::ToHandle(dataset));
    return data;
}

void BM_SparseRasterPoints(benchmark::State& state)
{
    const tingdal::GdalPointSetImporter reader;
    bench::timeApart(state, "BM_SparseRasterPoints",
                     [&] { return reader.importPointSet(sparsePath().c_str()); });
}

void BM_SparseRasterPointsBare(benchmark::State& state)
{
    bench::timeApart(state, "BM_SparseRasterPointsBare", [] { return readSparseBand(); });
}

// One run in a child of its own: the points found and the child's peak resident size.
struct SparseRun {
    std::size_t points = 0;
    double peakMb = 0;
};

SparseRun sparseInChild(int reader)
{
    return bench::inChild<SparseRun>(
        [](int which) {
            SparseRun run;
            run.points = which == 0
                             ? tingdal::GdalPointSetImporter().importPointSet(sparsePath().c_str()).allPoints().size()
                             : readSparseBand();
            return run;
        },
        reader, [](SparseRun& run) { run.peakMb = bench::peakResidentMb(); });
}

BENCHMARK(BM_RasterPoints)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_RasterPointsBare)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_RasterPointsInternFloor)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_SparseRasterPoints)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_SparseRasterPointsBare)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    CPLSetConfigOption("GDAL_PAM_ENABLED", "NO");
    GDALAllRegister();
    benchmark::Initialize(&argc, argv);
    // The children first, while this process is small: a child's peak counts what it took over.
    const SparseRun importer = sparseInChild(0);
    const SparseRun bare = sparseInChild(1);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const std::string timed = "/iterations:3/manual_time";
    reporter.printRatio("BM_RasterPoints", "BM_RasterPointsBare", "(goal < 1 s)", timed);
    reporter.printRatio("BM_RasterPoints", "BM_RasterPointsInternFloor", "(against interning alone)", timed);
    reporter.printRatio("BM_SparseRasterPoints", "BM_SparseRasterPointsBare", "(sparse 8000 x 8000)", timed);
    std::printf("sparse 8000 x 8000: reader %zu points, peak %.0f MB; GDAL's read %zu cells with data, peak %.0f MB\n",
                importer.points, importer.peakMb, bare.points, bare.peakMb);
    scratch.remove();
    for (const auto& [name, seconds] : bench::destructionSeconds()) {
        std::printf("%-20s destruction of the result %8.3f s (not in the time above)\n", name.c_str(), seconds);
    }
    std::printf("peak resident size %.0f MB\n", bench::peakResidentMb());
    return 0;
}
