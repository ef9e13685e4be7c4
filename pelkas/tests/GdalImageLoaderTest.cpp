// The picture loader: placement from the geotransform, the pixels of every band layout it turns
// into a picture (checked against Qt's own PNG reader where Qt reads the file too), its failures,
// and the real orthophoto with its world file, also from a folder with a non-ASCII name.

#include "PelkasTestSupport.h"

#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageLoadError.h"
#include "pelkas/GdalImageLoader.h"
#include "pelkas/GdalImageSetting.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using gdalimg::GdalImage;
using gdalimg::GdalImageLoader;
using gdalimg::GdalImageLoadError;
using pelkastest::RasterSpec;
using pelkastest::scratchFile;
using pelkastest::writeRaster;

namespace {

std::unique_ptr<GdalImage> load(const std::string& path)
{
    return std::unique_ptr<GdalImage>(GdalImageLoader::load(path));
}

// The loader's failure text for the file, or "" when it loads.
std::string loadError(const std::string& path)
{
    try {
        load(path);
    } catch (const GdalImageLoadError& e) {
        return e.what();
    }
    return "";
}

void expectDefaultPlacement(const GdalImage& image)
{
    EXPECT_FALSE(image.isSettingLoaded());
    EXPECT_EQ(image.setting().angle(), 0.0);
    EXPECT_EQ(image.setting().scale(), 1.0);
    EXPECT_EQ(image.setting().topLeft(), QPointF(0, 0));
}

// Every pixel of the two pictures, compared as non-premultiplied ARGB.
void expectSamePixels(const QImage& actual, const QImage& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32);
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < e.height(); ++y) {
        for (int x = 0; x < e.width(); ++x) {
            ASSERT_EQ(a.pixel(x, y), e.pixel(x, y)) << "at " << x << ", " << y;
        }
    }
}

// A small picture of distinct colours and alphas, so that swapped channels or rows show.
QImage testPicture(QImage::Format format)
{
    QImage picture(5, 3, format);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            picture.setPixel(x, y, qRgba(40 * x + 10, 70 * y + 5, 200 - 30 * x, 255 - 60 * (x + y) % 256));
        }
    }
    return picture;
}

} // namespace

TEST(GdalImageLoader, PlainPngLoadsWithoutPlacement)
{
    const std::string path = scratchFile("plain.png");
    const QImage picture = testPicture(QImage::Format_RGB32);
    ASSERT_TRUE(picture.save(QString::fromStdString(path)));
    const auto image = load(path);
    expectDefaultPlacement(*image);
    EXPECT_EQ(image->image().format(), QImage::Format_RGB32);
    expectSamePixels(image->image(), QImage(QString::fromStdString(path)));
}

TEST(GdalImageLoader, PlacementComesFromTheGeoTransform)
{
    RasterSpec layout;
    layout.bands = {{1, 2, 3, 4}};
    layout.gt = {1000, 0.5, 0, 2000, 0, -0.5};
    auto image = load(writeRaster("placed.tif", layout));
    EXPECT_TRUE(image->isSettingLoaded());
    EXPECT_EQ(image->setting().topLeft(), QPointF(1000, 2000));
    EXPECT_EQ(image->setting().scale(), 0.5);

    // Rotation terms and a line height other than the pixel width are not part of the placement.
    layout.gt = {-20, 3, 0.25, 40, 0.5, -7};
    image = load(writeRaster("skewed.tif", layout));
    EXPECT_EQ(image->setting().topLeft(), QPointF(-20, 40));
    EXPECT_EQ(image->setting().scale(), 3.0);
}

TEST(GdalImageLoader, GreyAndColourBands)
{
    RasterSpec layout;
    layout.bands = {{128, 0, 255, 17}};
    auto image = load(writeRaster("grey.tif", layout));
    ASSERT_EQ(image->image().format(), QImage::Format_RGB32);
    EXPECT_EQ(image->image().pixel(0, 0), 0xFF808080u);
    EXPECT_EQ(image->image().pixel(1, 1), qRgb(17, 17, 17));

    layout.width = 3;
    layout.height = 1;
    layout.bands = {{255, 1, 2}, {0, 3, 4}, {7, 5, 6}};
    image = load(writeRaster("rgb.tif", layout));
    ASSERT_EQ(image->image().format(), QImage::Format_RGB32);
    EXPECT_EQ(image->image().pixel(0, 0), qRgb(255, 0, 7));
    EXPECT_EQ(image->image().pixel(2, 0), qRgb(2, 4, 6));
}

TEST(GdalImageLoader, AlphaBandsStayTransparent)
{
    const std::string rgba = scratchFile("rgba.png");
    ASSERT_TRUE(testPicture(QImage::Format_ARGB32).save(QString::fromStdString(rgba)));
    auto image = load(rgba);
    EXPECT_EQ(image->image().format(), QImage::Format_ARGB32);
    expectSamePixels(image->image(), QImage(QString::fromStdString(rgba)));

    // Grey with alpha, written by GDAL, read by Qt as the oracle.
    RasterSpec layout;
    layout.width = 3;
    layout.height = 1;
    layout.bands = {{10, 128, 250}, {255, 128, 0}};
    const std::string greyAlpha = writeRaster("grey-alpha.png", layout, "PNG");
    image = load(greyAlpha);
    EXPECT_EQ(image->image().format(), QImage::Format_ARGB32);
    EXPECT_EQ(image->image().pixel(1, 0), qRgba(128, 128, 128, 128));
    expectSamePixels(image->image(), QImage(QString::fromStdString(greyAlpha)));
}

TEST(GdalImageLoader, PalettePicturesShowTheirColours)
{
    QImage indexed(4, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 128, 0), qRgb(0, 0, 255), qRgb(250, 240, 230)});
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            indexed.setPixel(x, y, static_cast<uint>((x + y) % 4));
        }
    }
    const std::string opaque = scratchFile("palette.png");
    ASSERT_TRUE(indexed.save(QString::fromStdString(opaque)));
    auto image = load(opaque);
    EXPECT_EQ(image->image().format(), QImage::Format_RGB32);
    expectSamePixels(image->image(), QImage(QString::fromStdString(opaque)));

    // An index beyond a short table is opaque black.
    RasterSpec layout;
    layout.bands = {{0, 1, 2, 1}};
    layout.colours = {{10, 20, 30, 255}, {40, 50, 60, 255}};
    image = load(writeRaster("short-table.tif", layout));
    EXPECT_EQ(image->image().pixel(1, 0), qRgb(40, 50, 60));
    EXPECT_EQ(image->image().pixel(0, 1), qRgb(0, 0, 0));
}

TEST(GdalImageLoader, OtherBandCountsGiveANullPicture)
{
    RasterSpec layout;
    layout.bands = std::vector<std::vector<double>>(5, {1, 2, 3, 4});
    layout.gt = {10, 2, 0, 20, 0, -2};
    const auto image = load(writeRaster("five.tif", layout));
    EXPECT_TRUE(image->image().isNull());
    EXPECT_TRUE(image->isSettingLoaded());
    EXPECT_EQ(pelkastest::openDatasets(), 0);
}

TEST(GdalImageLoader, FailuresAreReportedAndReleaseTheFile)
{
    EXPECT_EQ(loadError(scratchFile("missing.png")), "File open error");

    RasterSpec layout;
    layout.type = GDT_UInt16;
    layout.bands = {{1000, 2, 3, 60000}};
    EXPECT_EQ(loadError(writeRaster("sixteen.tif", layout)), "Unexpected RasterDataType");

    // Wider than any QImage line: a virtual raster of 600 million pixels in one line, which
    // GDAL describes in a few bytes.
    const std::string huge = scratchFile("huge.vrt");
    {
        std::ofstream out(huge);
        out << "<VRTDataset rasterXSize=\"600000000\" rasterYSize=\"1\">"
               "<VRTRasterBand dataType=\"Byte\" band=\"1\"/></VRTDataset>\n";
    }
    EXPECT_EQ(loadError(huge), "Image too large");
    EXPECT_EQ(pelkastest::openDatasets(), 0);

    // A GeoTIFF cut short opens, but its last lines cannot be read.
    layout = RasterSpec();
    layout.width = 64;
    layout.height = 64;
    layout.bands = {std::vector<double>(64 * 64, 200)};
    const std::string whole = writeRaster("whole.tif", layout);
    const std::string truncated = scratchFile("truncated.tif");
    std::filesystem::copy_file(whole, truncated);
    std::filesystem::resize_file(truncated, std::filesystem::file_size(whole) / 2);
    const std::string error = loadError(truncated);
    EXPECT_EQ(error.rfind("RasterIO returned error: " + truncated + ": ", 0), 0u) << error;
    EXPECT_EQ(pelkastest::openDatasets(), 0);
}

// A JPEG cut short: GDAL alone only warns and hands out its lower part grey; the loader fails,
// naming the file, and leaves GDAL's JPEG option as it found it.
TEST(GdalImageLoader, TruncatedJpegFailsTheLoad)
{
    const std::string whole = pelkastest::realData("image/autzen.jpg");
    const std::string cut = scratchFile("autzen-cut.jpg");
    std::filesystem::copy_file(whole, cut, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::resize_file(cut, std::filesystem::file_size(whole) / 2);

    GDALDataset* dataset = GDALDataset::FromHandle(GDALOpen(cut.c_str(), GA_ReadOnly));
    ASSERT_NE(dataset, nullptr);
    const int w = dataset->GetRasterXSize(), h = dataset->GetRasterYSize();
    std::vector<GByte> band(static_cast<std::size_t>(w) * h);
    CPLErrorReset();
    EXPECT_EQ(dataset->GetRasterBand(1)->RasterIO(GF_Read, 0, 0, w, h, band.data(), w, h, GDT_Byte, 0, 0,
                                                  nullptr),
              CE_None)
        << "GDAL itself takes the cut file";
    EXPECT_EQ(CPLGetLastErrorType(), CE_Warning);
    GDALClose(GDALDataset::ToHandle(dataset));

    const std::string error = loadError(cut);
    EXPECT_EQ(error.rfind("RasterIO returned error: " + cut + ": ", 0), 0u) << error;
    EXPECT_NE(error.find("Premature end of JPEG file"), std::string::npos) << error;
    EXPECT_EQ(CPLGetConfigOption("GDAL_ERROR_ON_LIBJPEG_WARNING", nullptr), nullptr);
    EXPECT_EQ(pelkastest::openDatasets(), 0);
}

TEST(GdalImageLoaderRealData, OrthophotoWithWorldFile)
{
    const std::string jpeg = pelkastest::realData("image/autzen.jpg");
    const auto image = load(jpeg);
    ASSERT_EQ(image->image().size(), QSize(3248, 4385));
    EXPECT_EQ(image->image().format(), QImage::Format_RGB32);
    EXPECT_TRUE(image->isSettingLoaded());
    EXPECT_EQ(image->setting().topLeft(), QPointF(635615.4278659122, 853362.6430851521));
    EXPECT_EQ(image->setting().scale(), 1.0);
    EXPECT_EQ(image->setting().angle(), 0.0);

    // The pixels are the three bands as GDAL decodes them, read whole.
    GDALDataset* dataset = GDALDataset::FromHandle(GDALOpen(jpeg.c_str(), GA_ReadOnly));
    ASSERT_NE(dataset, nullptr);
    const int w = dataset->GetRasterXSize(), h = dataset->GetRasterYSize();
    std::vector<GByte> rgb(static_cast<std::size_t>(w) * h * 3);
    int bandMap[] = {1, 2, 3};
    ASSERT_EQ(dataset->RasterIO(GF_Read, 0, 0, w, h, rgb.data(), w, h, GDT_Byte, 3, bandMap, 3, 3 * w, 1, nullptr),
              CE_None);
    GDALClose(GDALDataset::ToHandle(dataset));
    std::size_t mismatches = 0;
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image->image().constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const GByte* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
            mismatches += line[x] != qRgb(p[0], p[1], p[2]);
        }
    }
    EXPECT_EQ(mismatches, 0u);

    // The same picture and placement from a folder whose name is not ASCII, world file beside it.
    const std::filesystem::path folder = std::filesystem::u8path(scratchFile("Luftbild_äöü_航空写真"));
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(jpeg, folder / "autzen.jpg");
    std::filesystem::copy_file(pelkastest::realData("image/autzen.wld"), folder / "autzen.wld");
    const auto copy = load((folder / "autzen.jpg").u8string());
    EXPECT_TRUE(copy->isSettingLoaded());
    EXPECT_EQ(copy->setting().topLeft(), image->setting().topLeft());
    EXPECT_TRUE(copy->image() == image->image());

}
