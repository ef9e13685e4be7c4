#include "durnak/GdalPointSetImporter.h"

#include "common/exception/FileOpenException.h"
#include "common/exception/InvalidFileFormatException.h"
#include "orlin/core/PointFactory.h"

#include <gdal_priv.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <vector>

namespace tingdal {

namespace {

// Points interned per factory request: large enough for the bulk lookup to pay, small enough to
// keep the coordinate buffer in cache.
constexpr std::size_t INTERN_BLOCK = 1 << 15;
// Points the collector makes room for at once: all of a raster of up to about a million cells,
// which then grows no table; a larger raster grows its tables with the points it keeps.
constexpr std::size_t FIRST_RESERVE = 1 << 20;

struct DatasetCloser {
    void operator()(GDALDataset* dataset) const { GDALClose(GDALDataset::ToHandle(dataset)); }
};
using DatasetPtr = std::unique_ptr<GDALDataset, DatasetCloser>;

// Which pixel values of a band are holes: its declared no-data value (GDAL hands it over in the
// band's own precision, so a Float32 value compares equal) and any NaN.
class HoleTest {
public:
    explicit HoleTest(GDALRasterBand& band)
    {
        int declared = 0;
        m_value = band.GetNoDataValue(&declared);
        m_declared = declared != 0 && !std::isnan(m_value);
    }

    bool operator()(double pixel) const { return std::isnan(pixel) || (m_declared && pixel == m_value); }

private:
    bool m_declared = false;
    double m_value = 0.0;
};

// Collects x, y, z triples and interns them in blocks, in the order given. Memory grows with
// the points kept: a raster of holes costs its line buffer, one block and the first
// reservation (for at most `pixels` points), whatever its size.
class PointCollector {
public:
    explicit PointCollector(std::size_t pixels) : m_factory(tin::core::PointFactory::instance())
    {
        const std::size_t first = std::min(pixels, FIRST_RESERVE);
        m_xyz.reserve(3 * std::min(pixels, INTERN_BLOCK));
        m_points.reserve(first);
        m_factory.reserve(first);
    }

    void add(double x, double y, double z)
    {
        m_xyz.push_back(x);
        m_xyz.push_back(y);
        m_xyz.push_back(z);
        if (m_xyz.size() == 3 * INTERN_BLOCK) {
            flush();
        }
    }

    tin::core::PointSet finish()
    {
        flush();
        tin::core::PointSet set;
        set.addPoints(std::move(m_points));
        return set;
    }

private:
    void flush()
    {
        const std::size_t count = m_xyz.size() / 3;
        const std::size_t have = m_points.size();
        m_points.resize(have + count);
        m_factory.factoryAll(m_xyz.data(), count, m_points.data() + have);
        m_xyz.clear();
    }

    tin::core::PointFactory& m_factory;
    std::vector<double> m_xyz;
    tin::core::PointSet::PointList m_points;
};

DatasetPtr openDataset(const char* path)
{
    DatasetPtr dataset(GDALDataset::FromHandle(GDALOpen(path, GA_ReadOnly)));
    if (!dataset) {
        throw common::exception::FileOpenException(path);
    }
    return dataset;
}

// gt[0], gt[1], gt[3] and gt[5] place the pixels; they must be numbers for the points to be.
void readGeoTransform(GDALDataset& dataset, const char* path, double gt[6])
{
    if (dataset.GetGeoTransform(gt) != CE_None || !std::isfinite(gt[0]) || !std::isfinite(gt[1])
        || !std::isfinite(gt[3]) || !std::isfinite(gt[5])) {
        throw common::exception::InvalidFileFormatException("GeoTransform information not available.", path);
    }
}

void readBand(GDALRasterBand& band, const double gt[6], const char* path, PointCollector& points)
{
    const std::size_t width = static_cast<std::size_t>(band.GetXSize());
    const std::size_t height = static_cast<std::size_t>(band.GetYSize());
    const HoleTest isHole(band);
    std::vector<double> line(width);
    for (std::size_t r = 0; r < height; ++r) {
        if (band.RasterIO(GF_Read, 0, static_cast<int>(r), static_cast<int>(width), 1, line.data(),
                          static_cast<int>(width), 1, GDT_Float64, 0, 0, nullptr)
            != CE_None) {
            throw common::exception::InvalidFileFormatException("RasterIO returned error", path);
        }
        const double y = static_cast<double>(r) * gt[5] + gt[3];
        for (std::size_t j = 0; j < width; ++j) {
            if (!isHole(line[j])) {
                points.add(static_cast<double>(j) * gt[1] + gt[0], y, line[j]);
            }
        }
    }
}

} // namespace

GdalPointSetImporter::GdalPointSetImporter()
{
    GDALAllRegister();
}

GdalPointSetImporter::GdalPointSetImporter(const GdalPointSetImporter& other) = default;
GdalPointSetImporter& GdalPointSetImporter::operator=(const GdalPointSetImporter& other) = default;
GdalPointSetImporter::~GdalPointSetImporter() = default;

tin::core::PointSet GdalPointSetImporter::importPointSet(const char* path) const
{
    const DatasetPtr dataset = openDataset(path);
    double gt[6] = {};
    readGeoTransform(*dataset, path, gt);

    const int bandCount = dataset->GetRasterCount();
    std::size_t pixels = 0;
    for (int b = 1; b <= bandCount; ++b) {
        GDALRasterBand* band = dataset->GetRasterBand(b);
        pixels += static_cast<std::size_t>(band->GetXSize()) * static_cast<std::size_t>(band->GetYSize());
    }
    PointCollector points(pixels);
    for (int b = 1; b <= bandCount; ++b) {
        readBand(*dataset->GetRasterBand(b), gt, path, points);
    }
    return points.finish();
}

} // namespace tingdal
