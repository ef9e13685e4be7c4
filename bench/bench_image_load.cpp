// links: pelkas GDAL
// A background picture loaded: the real orthophoto autzen.jpg (3248 x 4385 RGB, 14 million
// pixels, with its world file) through the picture loader, beside the bare baseline of GDAL
// alone opening the file and decoding its three bands into one buffer. Goal: under 1 s.
// Before Qt: the TIN headers BenchSupport.h brings use names that Qt defines as macros.
#include "BenchSupport.h"

#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageLoader.h"

#include <benchmark/benchmark.h>
#include <cpl_conv.h>
#include <gdal_priv.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const std::string jpegPath = std::string(MOVARIN_SHARED_DATA_DIR) + "/real/image/autzen.jpg";

void BM_ImageLoad(benchmark::State& state)
{
    bench::timeApart(state, "BM_ImageLoad",
                     [] { return std::unique_ptr<gdalimg::GdalImage>(gdalimg::GdalImageLoader::load(jpegPath)); });
}

void BM_ImageLoadBare(benchmark::State& state)
{
    bench::timeApart(state, "BM_ImageLoadBare", [] {
        GDALDataset* dataset = GDALDataset::FromHandle(GDALOpen(jpegPath.c_str(), GA_ReadOnly));
        if (dataset == nullptr) {
            throw std::runtime_error("cannot open " + jpegPath);
        }
        const int w = dataset->GetRasterXSize(), h = dataset->GetRasterYSize();
        std::vector<GByte> rgb(static_cast<std::size_t>(w) * h * 3);
        int bandMap[] = {1, 2, 3};
        const CPLErr read = dataset->RasterIO(GF_Read, 0, 0, w, h, rgb.data(), w, h, GDT_Byte, 3, bandMap, 0, 0, 0,
                                              nullptr);
        GDALClose(GDALDataset::ToHandle(dataset));
        if (read != CE_None) {
            throw std::runtime_error("cannot read " + jpegPath);
        }
        return rgb;
    });
}

BENCHMARK(BM_ImageLoad)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_ImageLoadBare)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    CPLSetConfigOption("GDAL_PAM_ENABLED", "NO");
    gdalimg::GdalImageLoader::init();
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("BM_ImageLoad", "BM_ImageLoadBare", "(goal < 1 s)", "/iterations:3/manual_time");
    for (const auto& [name, seconds] : bench::destructionSeconds()) {
        std::printf("%-20s destruction of the result %8.3f s (not in the time above)\n", name.c_str(), seconds);
    }
    std::printf("peak resident size %.0f MB\n", bench::peakResidentMb());
    return 0;
}
