#pragma once

#include <string>

namespace gdalimg {

class GdalImage;

/// Reads a raster picture (JPEG, PNG, TIFF, whatever GDAL's drivers open) into a GdalImage, with
/// its placement when the raster carries a geotransform (its own or a world file beside it).
///
/// Placement: topLeft = (gt[0], gt[3]), scale = gt[1], angle 0, and the image's settingLoaded is
/// set; the rotation terms gt[2], gt[4] and the line height gt[5] are not used. Without a
/// geotransform the image keeps the default placement and settingLoaded false.
///
/// Pixels, by the raster's bands (all of them 8-bit, else "Unexpected RasterDataType"):
/// 1 band: grey (QImage::Format_RGB32), or with a colour table the table's colours, with the
/// table's alpha (Format_ARGB32 when an entry is not opaque; an index beyond the table is opaque
/// black); 2 bands: grey and alpha; 3 bands: red, green, blue; 4 bands: red, green, blue and
/// alpha. Pictures with alpha are Format_ARGB32 (not premultiplied). Any other band count gives
/// a null QImage, which callers must refuse.
///
/// Failures throw GdalImageLoadError: "File open error", "Unexpected RasterDataType",
/// "RasterIO returned error" (a line cannot be read) and "Image too large" (no QImage of that
/// size can be made). A warning or error GDAL reports while the pixels are read fails the load
/// too, as "RasterIO returned error: <path>: <GDAL's message>": GDAL only warns when a JPEG is
/// cut short and fills its missing lines with grey, so libjpeg's warnings are made errors for
/// the read (GDAL_ERROR_ON_LIBJPEG_WARNING, set for the reading thread and put back after).
/// The dataset is closed and the line buffer freed on every path.
///
/// The path goes to GDAL as it is (UTF-8 on this platform). init() registers GDAL's drivers and
/// must have run once before load(). Cost: one read of each line of the raster plus one pass
/// over its pixels; the returned image is new and owned by the caller.
class GdalImageLoader {
public:
    static void init();
    static GdalImage* load(const std::string& path);
};

} // namespace gdalimg
