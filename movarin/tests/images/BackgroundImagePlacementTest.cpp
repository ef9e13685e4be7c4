// How an image file becomes an item of the group: the item it gives, the placement of a
// picture without georeference by the window's extent, the placement a georeferenced file
// brings (also from a folder whose name is not ASCII), and the files that add nothing.
#include "ImagesTestSupport.h"

#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageSetting.h"

#include "support/QtPrinters.h"

#include <common/exception/RuntimeException.h>

#include <QDir>
#include <QStandardItem>

#include <gtest/gtest.h>

#include <filesystem>

namespace varnel::test {
namespace {

using common::exception::RuntimeException;

void expectPlacement(const BackgroundImageItem* item, QPointF topLeft, double scale)
{
    const gdalimg::GdalImageSetting& setting = item->image()->setting();
    EXPECT_DOUBLE_EQ(setting.topLeft().x(), topLeft.x());
    EXPECT_DOUBLE_EQ(setting.topLeft().y(), topLeft.y());
    EXPECT_DOUBLE_EQ(setting.scale(), scale);
    EXPECT_EQ(setting.angle(), 0.0);
}

// The message of the RuntimeException that importing the file throws ("" when none).
std::string importError(BackgroundImageGroupItem* group, const std::string& path)
{
    try {
        delete group->buildImageItem(QString::fromStdString(path));
    } catch (const RuntimeException& e) {
        return e.what();
    }
    return "";
}

TEST_F(ImagesTest, BuiltItemWaitsForItsAttachAndFirstImageCoversItsOwnSize)
{
    const std::string path = writePicture("plain.png", filledPicture(40, 30, Qt::red));
    BackgroundImageItem* item = group()->buildImageItem(QString::fromStdString(path));
    ASSERT_NE(item, nullptr);
    // Not yet a child and no row under the group: the attach puts it where it goes.
    EXPECT_TRUE(group()->childItems().empty());
    EXPECT_EQ(group()->browserItem()->rowCount(), 0);
    EXPECT_EQ(item->browserItem()->parent(), nullptr);

    group()->attachChildAtFront(item);
    EXPECT_EQ(group()->browserItem()->child(0), item->browserItem());
    EXPECT_EQ(item->caption(), "plain.png");
    EXPECT_EQ(item->filename(), "plain.png");
    EXPECT_TRUE(item->isDeletable() && item->isReorderable());
    EXPECT_FALSE(item->browserItem()->isEditable());
    // The icon is a compiled-in resource of the program.
    EXPECT_FALSE(item->browserItem()->icon().pixmap(16).isNull());

    // An empty window: the image covers [0, W] x [0, H].
    expectPlacement(item, QPointF(0, 30), 1.0);
    EXPECT_EQ(item->myBoundingBox(), QRectF(0, 0, 40, 30));
}

TEST_F(ImagesTest, ImageWithoutGeoreferenceSpansTheWindowsExtent)
{
    struct Case {
        const char* what;
        QRectF extent;
        QSize size;
        QPointF topLeft;
        double scale;
    };
    const Case cases[] = {
        {"the model's width over W", QRectF(100, 50, 200, 30), QSize(1000, 10), QPointF(100, 50),
         0.2},
        {"points on one north-south line: the height over H", QRectF(100, 50, 0, 30),
         QSize(1000, 500), QPointF(100, 50), 30.0 / 500},
        {"points on one east-west line", QRectF(-20, 7, 50, 0), QSize(100, 40), QPointF(-20, 7),
         0.5},
        {"never below the smallest scale", QRectF(3, 4, 1e-9, 0), QSize(1000, 10), QPointF(3, 4),
         gdalimg::GdalImageSetting::scaleMin},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        newWindow();
        addExtent(c.extent);
        BackgroundImageItem* item = importImage(
            writePicture("extent.png", filledPicture(c.size.width(), c.size.height(), Qt::blue)));
        expectPlacement(item, c.topLeft, c.scale);
        EXPECT_GT(item->myBoundingBox().width(), 0.0);
        EXPECT_GT(item->myBoundingBox().height(), 0.0);
    }
}

TEST_F(ImagesTest, GeoreferencedFileKeepsTheLoadersPlacement)
{
    addExtent(QRectF(100, 50, 200, 30));
    gdaltest::RasterSpec layout;
    layout.width = 4;
    layout.height = 3;
    layout.bands.assign(3, std::vector<double>(12, 90.0));
    layout.gt = {1000.0, 0.5, 0.0, 2000.0, 0.0, -0.5};
    BackgroundImageItem* tiff = importImage(gdaltest::writeRaster("placed.tif", layout));
    EXPECT_TRUE(tiff->image()->isSettingLoaded());
    expectPlacement(tiff, QPointF(1000, 2000), 0.5);

    // A PNG with its world file in a folder whose name is not ASCII is read from an ASCII
    // copy: the copy must take the world file along. GDAL itself tells where it lies.
    const std::filesystem::path folder = gdaltest::scratchPath() / "h\xc3\xb6he";
    std::filesystem::create_directories(folder);
    layout.gt = {512.25, 0.25, 0.0, 800.75, 0.0, -0.25};
    const char* const worldFile[] = {"WORLDFILE=YES", nullptr};
    const std::string written = gdaltest::writeRaster("ortho.png", layout, "PNG", worldFile);
    for (const char* name : {"ortho.png", "ortho.wld"}) {
        std::filesystem::rename(gdaltest::scratchPath() / name, folder / name);
    }
    const std::string path = (folder / "ortho.png").string();
    double gt[6] = {};
    {
        GDALDataset* oracle = GDALDataset::FromHandle(GDALOpen(path.c_str(), GA_ReadOnly));
        ASSERT_NE(oracle, nullptr);
        ASSERT_EQ(oracle->GetGeoTransform(gt), CE_None);
        GDALClose(GDALDataset::ToHandle(oracle));
    }
    const QStringList before = QDir(project().workFolder()).entryList(QDir::AllEntries
                                                                       | QDir::NoDotAndDotDot);
    BackgroundImageItem* png = importImage(path);
    EXPECT_TRUE(png->image()->isSettingLoaded());
    expectPlacement(png, QPointF(gt[0], gt[3]), gt[1]);
    EXPECT_EQ(png->caption(), "ortho.png");
    // The copies are gone once the picture is read.
    EXPECT_EQ(QDir(project().workFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              before);
}

TEST_F(ImagesTest, FilesThatGiveNoPictureAddNothing)
{
    gdaltest::RasterSpec fiveBands;
    fiveBands.bands.assign(5, std::vector<double>(4, 1.0));
    gdaltest::RasterSpec sixteenBits;
    sixteenBits.type = GDT_UInt16;
    sixteenBits.bands.assign(1, std::vector<double>(4, 1000.0));

    EXPECT_EQ(importError(group(), gdaltest::writeRaster("five.tif", fiveBands)),
              "Unsupported image format");
    EXPECT_EQ(importError(group(), gdaltest::writeRaster("deep.tif", sixteenBits)),
              "Unexpected RasterDataType");
    EXPECT_EQ(importError(group(), gdaltest::scratchFile("missing.png")), "File open error");

    EXPECT_TRUE(group()->childItems().empty());
    EXPECT_EQ(group()->browserItem()->rowCount(), 0);
    EXPECT_TRUE(group()->findChildren<BackgroundImageItem*>().isEmpty());
}

} // namespace
} // namespace varnel::test
