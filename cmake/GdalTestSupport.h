#pragma once

// Helpers of the test programs that read rasters through GDAL (the picture and raster point
// readers): a quiet GDAL that writes no ".aux.xml" beside the data it reads, a scratch folder per
// test program (which also holds the program's own empty settings store), the real data, rasters
// made in memory and copied to a file by a GDAL driver, and the count of datasets GDAL holds open.

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal_priv.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace gdaltest {

inline std::filesystem::path scratchPath()
{
    return std::filesystem::temp_directory_path() / ("gdal_tests_" + std::to_string(::getpid()));
}

class GdalEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        const std::filesystem::path home = scratchPath() / "home";
        std::filesystem::create_directories(home / ".config");
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
        CPLSetConfigOption("GDAL_PAM_ENABLED", "NO");
        CPLPushErrorHandler(CPLQuietErrorHandler);
        GDALAllRegister();
    }

    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(scratchPath(), ignored);
    }
};
inline ::testing::Environment* const gdalEnvironment = ::testing::AddGlobalTestEnvironment(new GdalEnvironment);

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

// A raster of width x height pixels; `bands` holds each band's values line after line. An empty
// gt gives no geotransform; noData is declared on every band; a non-empty colours list becomes
// band 1's colour table (c1..c4).
struct RasterSpec {
    int width = 2;
    int height = 2;
    GDALDataType type = GDT_Byte;
    std::vector<std::vector<double>> bands;
    std::vector<double> gt;
    std::optional<double> noData;
    std::vector<GDALColorEntry> colours;
};

// The raster made in memory and copied to `name` in the scratch folder by the named driver
// ("GTiff", "PNG", ...) with its creation options (a null-terminated list, or none).
inline std::string writeRaster(const std::string& name, const RasterSpec& layout, const char* driverName = "GTiff",
                               const char* const* options = nullptr)
{
    GDALDriver* memory = GetGDALDriverManager()->GetDriverByName("MEM");
    GDALDataset* source = memory->Create("", layout.width, layout.height, static_cast<int>(layout.bands.size()),
                                         layout.type, nullptr);
    if (!layout.gt.empty()) {
        std::vector<double> gt = layout.gt;
        source->SetGeoTransform(gt.data());
    }
    for (std::size_t b = 0; b < layout.bands.size(); ++b) {
        GDALRasterBand* band = source->GetRasterBand(static_cast<int>(b) + 1);
        if (layout.noData) {
            band->SetNoDataValue(*layout.noData);
        }
        std::vector<double> values = layout.bands[b];
        if (band->RasterIO(GF_Write, 0, 0, layout.width, layout.height, values.data(), layout.width, layout.height,
                           GDT_Float64, 0, 0, nullptr)
            != CE_None) {
            throw std::runtime_error("cannot fill " + name);
        }
    }
    if (!layout.colours.empty()) {
        GDALColorTable table;
        for (std::size_t i = 0; i < layout.colours.size(); ++i) {
            table.SetColorEntry(static_cast<int>(i), &layout.colours[i]);
        }
        source->GetRasterBand(1)->SetColorTable(&table);
    }
    const std::string path = scratchFile(name);
    GDALDataset* copy = GetGDALDriverManager()->GetDriverByName(driverName)->CreateCopy(
        path.c_str(), source, FALSE, const_cast<char**>(options), nullptr, nullptr);
    GDALClose(GDALDataset::ToHandle(source));
    if (copy == nullptr) {
        throw std::runtime_error("cannot write " + path);
    }
    GDALClose(GDALDataset::ToHandle(copy));
    return path;
}

} // namespace gdaltest
