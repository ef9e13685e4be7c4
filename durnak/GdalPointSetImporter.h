#pragma once

#include "orlin/core/PointSet.h"
#include "orlin/io/PointSetImporter.h"

namespace tingdal {

/// Reader of a georeferenced raster (a DEM as GeoTIFF, ASCII grid or whatever GDAL opens) as
/// survey points: one point per pixel and band, at the pixel's top-left corner, with the
/// pixel's value as elevation.
///
/// Placement: with gt the raster's geotransform, the pixel at column j and line r lies at
/// (j * gt[1] + gt[0], r * gt[5] + gt[3]); the rotation terms gt[2] and gt[4] are not used.
/// Every band is read, so a raster of n bands gives up to n points at each position (the point
/// factory merges those of equal elevation). A pixel equal to its band's declared no-data value
/// gives no point, and neither does a pixel that is not a number: DEMs mark their holes so, and a
/// hole taken as an elevation would spike the TIN. Points are interned through the point factory
/// (PointSet::addPoint semantics) and keep the id -1.
///
/// Failures: a file GDAL cannot open throws common::exception::FileOpenException(path); a raster
/// without a usable geotransform throws common::exception::InvalidFileFormatException
/// ("GeoTransform information not available.", path), a failed read of a band's line
/// InvalidFileFormatException("RasterIO returned error", path). The dataset is closed on every
/// path and no partial set is returned. The path is handed to GDAL as it is (UTF-8 on this
/// platform).
///
/// Cost: the bands are read one line at a time and the points are interned in bulk factory
/// requests, about 0.1 s for a DEM of 770,000 cells, most of it the interning. Memory follows
/// the points kept, not the pixels: beside the point set, one line of doubles, one block of
/// 32,768 points and room for the first 2^20 points (fewer for a smaller raster), so a large
/// raster that is mostly holes costs little more than GDAL's own read of its bands. The default constructor registers GDAL's drivers (GDALAllRegister, cheap
/// after the first time); copies do not. Not thread-safe (the point factory is not).
class GdalPointSetImporter : public tin::io::PointSetImporter {
public:
    GdalPointSetImporter();
    GdalPointSetImporter(const GdalPointSetImporter& other);
    GdalPointSetImporter& operator=(const GdalPointSetImporter& other);
    ~GdalPointSetImporter() override;

    tin::core::PointSet importPointSet(const char* path) const override;
};

} // namespace tingdal
