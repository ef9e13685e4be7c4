// The raster point reader: placement and values of small rasters made here with GDAL, its
// failures (no file, no geotransform, unreadable strips, each leaving no dataset open), the
// holes it skips, and the two real DEMs checked against GDAL reading their bands directly.

#include "durnak/GdalPointSetImporter.h"

#include "common/exception/FileOpenException.h"
#include "common/exception/InvalidFileFormatException.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointSet.h"

#include "cmake/GdalTestSupport.h"

#include "orlin/core/PointFactory.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <string>
#include <stdexcept>
#include <tuple>
#include <vector>

using common::exception::FileOpenException;
using common::exception::InvalidFileFormatException;
using tin::core::PointSet;
using tingdal::GdalPointSetImporter;

namespace {

using gdaltest::RasterSpec;
using gdaltest::openDatasets;
using gdaltest::scratchFile;
using gdaltest::writeRaster;

using Xyz = std::array<double, 3>;

std::multiset<Xyz> pointsOf(const PointSet& set)
{
    std::multiset<Xyz> xyz;
    for (const auto& p : set.allPoints()) {
        xyz.insert({p->x(), p->y(), p->elevation()});
    }
    return xyz;
}

// A 2 x 2 raster of doubles with its top-left corner at (100, 200) and pixels 1 long.
RasterSpec dem(std::vector<std::vector<double>> bands)
{
    RasterSpec layout;
    layout.type = GDT_Float64;
    layout.gt = {100, 1, 0, 200, 0, -1};
    layout.bands = std::move(bands);
    return layout;
}

PointSet import(const std::string& path)
{
    return GdalPointSetImporter().importPointSet(path.c_str());
}

// Every point of the set against the band as GDAL reads it in one piece: the counts agree, and
// each point sits on a pixel's corner and carries that pixel's value.
void expectMatchesBand(const std::string& path, const PointSet& set)
{
    GDALDataset* dataset = GDALDataset::FromHandle(GDALOpen(path.c_str(), GA_ReadOnly));
    ASSERT_NE(dataset, nullptr);
    double gt[6];
    ASSERT_EQ(dataset->GetGeoTransform(gt), CE_None);
    GDALRasterBand* band = dataset->GetRasterBand(1);
    const int w = band->GetXSize(), h = band->GetYSize();
    std::vector<double> values(static_cast<std::size_t>(w) * h);
    ASSERT_EQ(band->RasterIO(GF_Read, 0, 0, w, h, values.data(), w, h, GDT_Float64, 0, 0, nullptr), CE_None);
    GDALClose(GDALDataset::ToHandle(dataset));

    const auto points = set.allPoints();
    EXPECT_EQ(points.size(), values.size());
    std::vector<bool> seen(values.size(), false);
    for (const auto& p : points) {
        const double col = (p->x() - gt[0]) / gt[1], row = (p->y() - gt[3]) / gt[5];
        const long j = std::lround(col), r = std::lround(row);
        ASSERT_NEAR(col, j, 1e-9);
        ASSERT_NEAR(row, r, 1e-9);
        ASSERT_TRUE(j >= 0 && j < w && r >= 0 && r < h) << p->x() << " " << p->y();
        const std::size_t at = static_cast<std::size_t>(r) * w + j;
        EXPECT_FALSE(seen[at]);
        seen[at] = true;
        ASSERT_EQ(p->elevation(), values[at]);
    }
}

// The points of the raster, read with the address space limited to 768 MiB beyond what the
// process has mapped once the point pool has its reservation; throws (std::bad_alloc) when
// the read needs more.
std::multiset<Xyz> pointsWithin768MiB(const std::string& path)
{
    CPLSetConfigOption("GDAL_CACHEMAX", "32");
    tin::core::PointFactory::instance().factory(tin::core::Point(0, 0, 0));
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t mapped = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
    const rlimit limit{mapped + (rlim_t{768} << 20), mapped + (rlim_t{768} << 20)};
    if (setrlimit(RLIMIT_AS, &limit) != 0) {
        throw std::runtime_error("cannot limit the address space");
    }
    return pointsOf(import(path));
}

} // namespace

TEST(GdalPointSetImporter, PointsLieAtPixelCornersWithThePixelValues)
{
    RasterSpec raster = dem({{1.5, 2.5, 3.5, 4.5}});
    const PointSet set = import(writeRaster("twobytwo.tif", raster));
    EXPECT_EQ(pointsOf(set), (std::multiset<Xyz>{{100, 200, 1.5}, {101, 200, 2.5}, {100, 199, 3.5}, {101, 199, 4.5}}));

    // The cell size and origin come from the geotransform; its rotation terms are not used.
    raster.width = 3;
    raster.height = 1;
    raster.bands = {{7, 8, 9}};
    raster.gt = {-50, 2.5, 0.3, 10, 0.4, -4};
    EXPECT_EQ(pointsOf(import(writeRaster("row.tif", raster))),
              (std::multiset<Xyz>{{-50, 10, 7}, {-47.5, 10, 8}, {-45, 10, 9}}));
}

TEST(GdalPointSetImporter, EveryBandGivesItsOwnPoints)
{
    const PointSet set = import(writeRaster("twobands.tif", dem({{1, 2, 3, 4}, {11, 12, 13, 14}})));
    EXPECT_EQ(pointsOf(set), (std::multiset<Xyz>{{100, 200, 1}, {101, 200, 2}, {100, 199, 3}, {101, 199, 4},
                                                 {100, 200, 11}, {101, 200, 12}, {100, 199, 13}, {101, 199, 14}}));
}

TEST(GdalPointSetImporter, HolesGiveNoPoints)
{
    // A declared no-data value in an integer band, as DEMs mark their voids.
    RasterSpec raster = dem({{-9999, 5, 6, -9999}});
    raster.type = GDT_Int16;
    raster.noData = -9999;
    EXPECT_EQ(pointsOf(import(writeRaster("int16.tif", raster))), (std::multiset<Xyz>{{101, 200, 5}, {100, 199, 6}}));

    // A Float32 no-data value that a double does not hold exactly still matches its pixels.
    raster.type = GDT_Float32;
    raster.noData = 0.1;
    raster.bands = {{0.1, 0.25, 0.5, 0.75}};
    EXPECT_EQ(pointsOf(import(writeRaster("float32.tif", raster))),
              (std::multiset<Xyz>{{101, 200, 0.25}, {100, 199, 0.5}, {101, 199, 0.75}}));

    // Not-a-number pixels are never elevations, declared or not.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    raster.noData.reset();
    raster.bands = {{1, nan, 2, 3}};
    EXPECT_EQ(pointsOf(import(writeRaster("nan-undeclared.tif", raster))),
              (std::multiset<Xyz>{{100, 200, 1}, {100, 199, 2}, {101, 199, 3}}));

    // Without a declared value, zero and the usual markers are elevations like any other.
    raster.type = GDT_Int16;
    raster.bands = {{0, -9999, 32767, 4}};
    EXPECT_EQ(pointsOf(import(writeRaster("nodata-undeclared.tif", raster))).size(), 4u);
}

TEST(GdalPointSetImporter, FailuresNameTheFileAndCloseIt)
{
    const std::string missing = scratchFile("missing.tif");
    try {
        import(missing);
        ADD_FAILURE() << "no exception for a missing file";
    } catch (const FileOpenException& e) {
        EXPECT_EQ(e.fileName(), missing);
    }

    // A PNG without a world file has no geotransform.
    RasterSpec plain;
    plain.bands = {{1, 2, 3, 4}};
    for (const std::string& path : {writeRaster("plain.tif", plain), writeRaster("plain.png", plain, "PNG")}) {
        try {
            import(path);
            ADD_FAILURE() << "no exception for " << path;
        } catch (const InvalidFileFormatException& e) {
            EXPECT_EQ(e.message(), "GeoTransform information not available.");
            EXPECT_EQ(e.fileName(), path);
        }
        EXPECT_EQ(openDatasets(), 0);
    }

    // A GeoTIFF cut short: its header and directory open, its last strips are gone. Zeros must
    // not come back as elevations.
    RasterSpec raster = dem({std::vector<double>(64 * 64, 12.5)});
    raster.width = 64;
    raster.height = 64;
    char const* const stripped[] = {"TILED=NO", "BLOCKYSIZE=8", "COMPRESS=NONE", nullptr};
    const std::string truncated = writeRaster("truncated.tif", raster, "GTiff", stripped);
    std::filesystem::resize_file(truncated, std::filesystem::file_size(truncated) / 2);
    GDALDataset* opened = GDALDataset::FromHandle(GDALOpen(truncated.c_str(), GA_ReadOnly));
    ASSERT_NE(opened, nullptr) << "the cut file must still open for this case to test the read";
    GDALClose(GDALDataset::ToHandle(opened));
    try {
        import(truncated);
        ADD_FAILURE() << "no exception for a truncated file";
    } catch (const InvalidFileFormatException& e) {
        EXPECT_EQ(e.message(), "RasterIO returned error");
        EXPECT_EQ(e.fileName(), truncated);
    }
    EXPECT_EQ(openDatasets(), 0);
}

// A DEM of 8000 x 8000 cells with data in three of them, as a sparse tiled GeoTIFF of a few
// kilobytes: the reader's memory must follow the points it keeps, not the pixels it reads.
// Checked in a child process whose address space is limited to 768 MiB beyond what it has
// mapped (one pointer per pixel would need 1 GiB).
TEST(GdalPointSetImporter, SparseRasterNeedsMemoryForItsPointsOnly)
{
    const int size = 8000;
    const std::string path = scratchFile("sparse.tif");
    {
        char const* const options[] = {"TILED=YES", "SPARSE_OK=TRUE", "COMPRESS=DEFLATE", nullptr};
        GDALDataset* dataset = GetGDALDriverManager()->GetDriverByName("GTiff")->Create(
            path.c_str(), size, size, 1, GDT_Float32, const_cast<char**>(options));
        ASSERT_NE(dataset, nullptr);
        double gt[6] = {5000, 1, 0, 9000, 0, -1};
        dataset->SetGeoTransform(gt);
        GDALRasterBand* band = dataset->GetRasterBand(1);
        band->SetNoDataValue(-9999);
        for (const auto& [col, row, value] : {std::tuple{17, 3, 4.5f}, {size - 1, size - 1, -2.0f},
                                             {4000, 0, 0.0f}}) {
            float v = value;
            ASSERT_EQ(band->RasterIO(GF_Write, col, row, 1, 1, &v, 1, 1, GDT_Float32, 0, 0, nullptr),
                      CE_None);
        }
        GDALClose(GDALDataset::ToHandle(dataset));
    }
    ASSERT_LT(std::filesystem::file_size(path), 100000u) << "the raster is not sparse on disk";
    const std::multiset<Xyz> expected{{5017, 8997, 4.5}, {5000 + size - 1, 9000 - (size - 1), -2},
                                      {9000, 9000, 0}};

    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(pointsWithin768MiB(path) == expected ? 0 : 1),
                ::testing::ExitedWithCode(0), "");
}

TEST(GdalPointSetImporterRealData, SrtmGeoTiff)
{
    const std::string path = gdaltest::realData("dem/srtm_bigtujunga30m_utm11.tif");
    const PointSet set = import(path);
    const auto points = set.allPoints();
    ASSERT_EQ(points.size(), 769671u);
    bool first = false, last = false;
    double low = INFINITY, high = -INFINITY;
    for (const auto& p : points) {
        low = std::min(low, p->elevation());
        high = std::max(high, p->elevation());
        first = first || (p->x() == 376313.6554542635 && p->y() == 3807917.8276283755 && p->elevation() == 945);
        last = last || (p->x() == 412193.6554542635 && p->y() == 3788657.8276283755 && p->elevation() == 872);
    }
    EXPECT_TRUE(first);
    EXPECT_TRUE(last);
    EXPECT_EQ(low, 315);
    EXPECT_EQ(high, 2295);
    expectMatchesBand(path, set);
    EXPECT_FALSE(std::filesystem::exists(path + ".aux.xml"));
}

TEST(GdalPointSetImporterRealData, AsciiGrid)
{
    const std::string path = gdaltest::realData("dem/DEM-kootenai_37x50_1x1.asc");
    const PointSet set = import(path);
    ASSERT_EQ(set.allPoints().size(), 1850u);
    EXPECT_FALSE(set.findPointsAt(tin::core::Point(556440, 5394969)).empty());
    expectMatchesBand(path, set);
}
