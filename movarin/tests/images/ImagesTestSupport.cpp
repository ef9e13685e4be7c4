#include "ImagesTestSupport.h"

#include "brask/core/View.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/BackgroundImageItem.h"

#include <QPixmap>

#include <memory>
#include <stdexcept>

namespace varnel::test {

ExtentItem::ExtentItem(const QRectF& box, mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(parent), m_box(box)
{
}

QRectF ExtentItem::myBoundingBox() const
{
    return m_box;
}

GdalRaster readWithGdal(const std::string& path)
{
    const auto close = [](GDALDataset* d) { GDALClose(GDALDataset::ToHandle(d)); };
    std::unique_ptr<GDALDataset, decltype(close)> dataset(
        GDALDataset::FromHandle(GDALOpen(path.c_str(), GA_ReadOnly)), close);
    if (!dataset) {
        throw std::runtime_error("GDAL cannot open " + path);
    }
    GdalRaster raster;
    raster.driver = dataset->GetDriverName();
    raster.width = dataset->GetRasterXSize();
    raster.height = dataset->GetRasterYSize();
    for (int b = 1; b <= dataset->GetRasterCount(); ++b) {
        std::vector<unsigned char> bytes(static_cast<std::size_t>(raster.width) * raster.height);
        if (dataset->GetRasterBand(b)->RasterIO(GF_Read, 0, 0, raster.width, raster.height,
                                                bytes.data(), raster.width, raster.height,
                                                GDT_Byte, 0, 0, nullptr)
            != CE_None) {
            throw std::runtime_error("GDAL cannot read band " + std::to_string(b) + " of "
                                     + path);
        }
        raster.bands.push_back(std::move(bytes));
    }
    return raster;
}

std::string writePicture(const std::string& name, const QImage& picture)
{
    const std::string path = gdaltest::scratchFile(name);
    if (!picture.save(QString::fromStdString(path), "PNG")) {
        throw std::runtime_error("Cannot write " + path);
    }
    return path;
}

QImage filledPicture(int width, int height, const QColor& colour)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

QRgb backgroundColour()
{
    return QColor(Qt::darkGray).rgb();
}

ImagesTest::ImagesTest()
{
    ScratchSettings::writeStartupDefaults();
    m_session = std::make_unique<ProjectSession>();
    newWindow();
}

void ImagesTest::newWindow()
{
    m_session->newCreateProject();
    m_window = m_session->createWindow();
    if (!m_window) {
        throw std::runtime_error("No create-mode window");
    }
    view()->resize(400, 300);
}

BackgroundImageGroupItem* ImagesTest::groupOf(CreateModeMainWindow* window)
{
    return window->model()->rootItem()->backgroundImageGroupItem();
}

BackgroundImageGroupItem* ImagesTest::group() const
{
    return groupOf(m_window);
}

mvc::core::View* ImagesTest::view() const
{
    return m_window->view();
}

void ImagesTest::addExtent(const QRectF& box)
{
    mvc::core::ModelItem* root = m_window->model()->rootItem();
    root->attachChildAtBack(new ExtentItem(box, root));
}

BackgroundImageItem* ImagesTest::importImage(const std::string& path)
{
    BackgroundImageItem* item = group()->buildImageItem(QString::fromStdString(path));
    group()->attachChildAtFront(item);
    return item;
}

QImage ImagesTest::picture() const
{
    return view()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace varnel::test
