#include "pelkas/GdalImageLoader.h"

#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageLoadError.h"
#include "pelkas/GdalImageSetting.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal_priv.h>

#include <QPointF>

#include <array>
#include <memory>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

namespace gdalimg {

namespace {

struct DatasetCloser {
    void operator()(GDALDataset* dataset) const { GDALClose(GDALDataset::ToHandle(dataset)); }
};
using DatasetPtr = std::unique_ptr<GDALDataset, DatasetCloser>;

// How the bytes of one pixel, band after band, become a colour.
enum class PixelKind { Grey, Palette, GreyAlpha, Rgb, Rgba };

using Palette = std::array<QRgb, 256>;

// What GDAL reports while the pixels are read, on this thread, for the life of the object; and
// libjpeg's warnings turned into errors meanwhile, since GDAL only warns when a JPEG ends early
// and would hand out its missing lines grey.
class ReadReports {
public:
    ReadReports()
    {
        if (const char* earlier = CPLGetThreadLocalConfigOption(JPEG_OPTION, nullptr)) {
            m_jpegOption = earlier;
        }
        CPLSetThreadLocalConfigOption(JPEG_OPTION, "TRUE");
        CPLPushErrorHandlerEx(&ReadReports::record, this);
    }
    ~ReadReports()
    {
        CPLPopErrorHandler();
        CPLSetThreadLocalConfigOption(JPEG_OPTION, m_jpegOption ? m_jpegOption->c_str() : nullptr);
    }
    ReadReports(const ReadReports&) = delete;
    ReadReports& operator=(const ReadReports&) = delete;

    bool any() const { return !m_first.empty(); }
    const std::string& first() const { return m_first; }

private:
    static constexpr const char* JPEG_OPTION = "GDAL_ERROR_ON_LIBJPEG_WARNING";

    static void CPL_STDCALL record(CPLErr level, CPLErrorNum, const char* message)
    {
        auto self = static_cast<ReadReports*>(CPLGetErrorHandlerUserData());
        if (level >= CE_Warning && self->m_first.empty()) {
            self->m_first = message && *message ? message : "unknown error";
        }
    }

    std::optional<std::string> m_jpegOption;
    std::string m_first;
};

// The failure of a read: the file named, with what GDAL said when it said anything.
[[noreturn]] void readFailed(const std::string& path, const ReadReports& reports)
{
    if (!reports.any()) {
        throw GdalImageLoadError("RasterIO returned error");
    }
    throw GdalImageLoadError("RasterIO returned error: " + path + ": " + reports.first());
}

DatasetPtr openDataset(const std::string& path)
{
    DatasetPtr dataset(GDALDataset::FromHandle(GDALOpen(path.c_str(), GA_ReadOnly)));
    if (!dataset) {
        throw GdalImageLoadError("File open error");
    }
    return dataset;
}

std::optional<GdalImageSetting> readPlacement(GDALDataset& dataset)
{
    double gt[6];
    if (dataset.GetGeoTransform(gt) != CE_None) {
        return std::nullopt;
    }
    GdalImageSetting setting;
    setting.setAngle(0.0);
    setting.setScale(gt[1]);
    setting.setTopLeft(QPointF(gt[0], gt[3]));
    return setting;
}

// The colours of a colour table by index; entries beyond the table are opaque black. A table
// GDAL cannot express in RGB gives the index as grey.
Palette readPalette(const GDALColorTable& table, bool& hasAlpha)
{
    Palette palette;
    hasAlpha = false;
    for (int i = 0; i < 256; ++i) {
        GDALColorEntry entry;
        if (i >= table.GetColorEntryCount()) {
            palette[i] = qRgb(0, 0, 0);
        } else if (table.GetColorEntryAsRGB(i, &entry)) {
            palette[i] = qRgba(entry.c1, entry.c2, entry.c3, entry.c4);
            hasAlpha = hasAlpha || entry.c4 != 255;
        } else {
            palette[i] = qRgb(i, i, i);
        }
    }
    return palette;
}

void convertLine(PixelKind kind, const GByte* in, int width, const Palette& palette, QRgb* out)
{
    switch (kind) {
    case PixelKind::Grey:
        for (int x = 0; x < width; ++x) {
            out[x] = qRgb(in[x], in[x], in[x]);
        }
        break;
    case PixelKind::Palette:
        for (int x = 0; x < width; ++x) {
            out[x] = palette[in[x]];
        }
        break;
    case PixelKind::GreyAlpha:
        for (int x = 0; x < width; ++x, in += 2) {
            out[x] = qRgba(in[0], in[0], in[0], in[1]);
        }
        break;
    case PixelKind::Rgb:
        for (int x = 0; x < width; ++x, in += 3) {
            out[x] = qRgb(in[0], in[1], in[2]);
        }
        break;
    case PixelKind::Rgba:
        for (int x = 0; x < width; ++x, in += 4) {
            out[x] = qRgba(in[0], in[1], in[2], in[3]);
        }
        break;
    }
}

// The picture of a raster of one to four 8-bit bands; a null image for other band counts.
QImage readPixels(GDALDataset& dataset, const std::string& path)
{
    const int bands = dataset.GetRasterCount();
    if (bands < 1 || bands > 4) {
        return QImage();
    }
    for (int b = 1; b <= bands; ++b) {
        if (dataset.GetRasterBand(b)->GetRasterDataType() != GDT_Byte) {
            throw GdalImageLoadError("Unexpected RasterDataType");
        }
    }
    static constexpr PixelKind KIND_BY_BANDS[] = {PixelKind::Grey, PixelKind::GreyAlpha, PixelKind::Rgb,
                                                  PixelKind::Rgba};
    PixelKind kind = KIND_BY_BANDS[bands - 1];
    bool hasAlpha = kind == PixelKind::GreyAlpha || kind == PixelKind::Rgba;
    Palette palette{};
    if (const GDALColorTable* table = dataset.GetRasterBand(1)->GetColorTable(); bands == 1 && table != nullptr) {
        kind = PixelKind::Palette;
        palette = readPalette(*table, hasAlpha);
    }

    const int width = dataset.GetRasterXSize();
    const int height = dataset.GetRasterYSize();
    QImage image(width, height, hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) {
        throw GdalImageLoadError("Image too large");
    }
    // One line of all bands, pixel-interleaved: band b of pixel x at x * bands + b.
    std::vector<GByte> line(static_cast<std::size_t>(width) * static_cast<std::size_t>(bands));
    std::array<int, 4> bandMap{};
    std::iota(bandMap.begin(), bandMap.end(), 1);
    // A warning while the pixels are read means pixels made up: the load fails.
    const ReadReports reports;
    for (int y = 0; y < height; ++y) {
        if (dataset.RasterIO(GF_Read, 0, y, width, 1, line.data(), width, 1, GDT_Byte, bands, bandMap.data(),
                             bands, static_cast<GSpacing>(line.size()), 1, nullptr)
                != CE_None
            || reports.any()) {
            readFailed(path, reports);
        }
        convertLine(kind, line.data(), width, palette, reinterpret_cast<QRgb*>(image.scanLine(y)));
    }
    return image;
}

} // namespace

void GdalImageLoader::init()
{
    GDALAllRegister();
}

GdalImage* GdalImageLoader::load(const std::string& path)
{
    const DatasetPtr dataset = openDataset(path);
    const std::optional<GdalImageSetting> placement = readPlacement(*dataset);
    const QImage pixels = readPixels(*dataset, path);
    return placement ? new GdalImage(pixels, *placement) : new GdalImage(pixels);
}

} // namespace gdalimg
