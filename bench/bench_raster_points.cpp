// links: durnak orlin GDAL
// A DEM read as survey points: the SRTM GeoTIFF of the real data (1197 x 643 Int16 cells, 769,671
// points) through the raster point reader, beside the bare baseline of GDAL alone opening the
// file and reading its band into doubles in one call. Goal: under 1 s. A second baseline, the
// floor of any reader that makes a point set, interns the same points from coordinates in memory.
//
// The read is timed up to the moment its point set exists; dropping the set is timed apart.
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

BENCHMARK(BM_RasterPoints)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_RasterPointsBare)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_RasterPointsInternFloor)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    CPLSetConfigOption("GDAL_PAM_ENABLED", "NO");
    GDALAllRegister();
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const std::string timed = "/iterations:3/manual_time";
    reporter.printRatio("BM_RasterPoints", "BM_RasterPointsBare", "(goal < 1 s)", timed);
    reporter.printRatio("BM_RasterPoints", "BM_RasterPointsInternFloor", "(against interning alone)", timed);
    for (const auto& [name, seconds] : bench::destructionSeconds()) {
        std::printf("%-20s destruction of the result %8.3f s (not in the time above)\n", name.c_str(), seconds);
    }
    std::printf("peak resident size %.0f MB\n", bench::peakResidentMb());
    return 0;
}
