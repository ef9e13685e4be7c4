#pragma once

// Helpers of the picture tests: a quiet GDAL that writes no ".aux.xml" beside the data, a scratch
// folder per test program that also holds the program's own empty settings store, rasters made in memory and copied to a file by a GDAL driver, and the
// count of datasets GDAL holds open.

#include "pelkas/GdalImageLoader.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal_priv.h>

#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace pelkastest {

inline std::filesystem::path scratchPath()
{
    return std::filesystem::temp_directory_path() / ("pelkas_tests_" + std::to_string(::getpid()));
}

class GdalEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        const std::filesystem::path home = scratchPath() / "home";
        std::filesystem::create_directories(home / ".config");
        qputenv("HOME", QByteArray::fromStdString(home.string()));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((home / ".config").string()));
        CPLSetConfigOption("GDAL_PAM_ENABLED", "NO");
        CPLPushErrorHandler(CPLQuietErrorHandler);
        gdalimg::GdalImageLoader::init();
    }
};
inline ::testing::Environment* const gdalEnvironment = ::testing::AddGlobalTestEnvironment(new GdalEnvironment);

struct ScratchCleanup {
    ~ScratchCleanup()
    {
        std::error_code ignored;
        std::filesystem::remove_all(scratchPath(), ignored);
    }
};
inline ScratchCleanup scratchCleanup;

inline std::string scratchFile(const std::string& name)
{
    std::filesystem::create_directories(scratchPath());
    return (scratchPath() / name).string();
}

inline std::string realData(const std::string& relative)
{
    return std::string(MOVARIN_SHARED_DATA_DIR) + "/real/" + relative;
}

inline int openDatasets()
{
    int count = 0;
    GDALDataset::GetOpenDatasets(&count);
    return count;
}

// A raster of width x height pixels; `bands` holds each band's values line after line. It is
// made in memory and copied to `name` by the named driver ("GTiff", "PNG", ...). An empty gt
// gives no geotransform; a non-empty colours list becomes band 1's colour table (c1..c4).
struct RasterSpec {
    int width = 2;
    int height = 2;
    GDALDataType type = GDT_Byte;
    std::vector<std::vector<double>> bands;
    std::vector<double> gt;
    std::vector<GDALColorEntry> colours;
};

inline std::string writeRaster(const std::string& name, const RasterSpec& spec, const char* driverName = "GTiff")
{
    GDALDriver* memory = GetGDALDriverManager()->GetDriverByName("MEM");
    GDALDataset* source = memory->Create("", spec.width, spec.height, static_cast<int>(spec.bands.size()),
                                         spec.type, nullptr);
    if (!spec.gt.empty()) {
        std::vector<double> gt = spec.gt;
        source->SetGeoTransform(gt.data());
    }
    for (std::size_t b = 0; b < spec.bands.size(); ++b) {
        std::vector<double> values = spec.bands[b];
        if (source->GetRasterBand(static_cast<int>(b) + 1)->RasterIO(GF_Write, 0, 0, spec.width, spec.height,
                                                                   values.data(), spec.width, spec.height,
                                                                   GDT_Float64, 0, 0, nullptr)
            != CE_None) {
            throw std::runtime_error("cannot fill " + name);
        }
    }
    if (!spec.colours.empty()) {
        GDALColorTable table;
        for (std::size_t i = 0; i < spec.colours.size(); ++i) {
            table.SetColorEntry(static_cast<int>(i), &spec.colours[i]);
        }
        source->GetRasterBand(1)->SetColorTable(&table);
    }
    const std::string path = scratchFile(name);
    GDALDataset* copy = GetGDALDriverManager()->GetDriverByName(driverName)->CreateCopy(path.c_str(), source, FALSE,
                                                                                        nullptr, nullptr, nullptr);
    GDALClose(GDALDataset::ToHandle(source));
    if (copy == nullptr) {
        throw std::runtime_error("cannot write " + path);
    }
    GDALClose(GDALDataset::ToHandle(copy));
    return path;
}

} // namespace pelkastest
