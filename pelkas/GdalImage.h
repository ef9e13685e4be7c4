#pragma once

#include "pelkas/GdalImageSetting.h"

#include <QImage>

namespace gdalimg {

/// A background picture with its placement in the world: the pixels, whether the placement is
/// known (read from the raster's georeference or set later) and the placement itself.
///
/// A value: copies and assignments copy all three. Made from pixels alone it has the default
/// placement and settingLoaded false; setSetting() makes the placement known. setImage() changes
/// the pixels only. The pixels may be null (an item read from a project whose picture is
/// missing, or a raster of a band count the loader does not turn into a picture).
class GdalImage {
public:
    explicit GdalImage(const QImage& image);
    GdalImage(const QImage& image, const GdalImageSetting& setting);
    GdalImage(const GdalImage& other);
    GdalImage& operator=(const GdalImage& other);
    ~GdalImage();

    const QImage& image() const { return m_image; }
    const GdalImageSetting& setting() const { return m_setting; }
    bool isSettingLoaded() const { return m_settingLoaded; }

    void setImage(const QImage& image);
    void setSetting(const GdalImageSetting& setting);

private:
    QImage m_image;
    bool m_settingLoaded;
    GdalImageSetting m_setting;
};

} // namespace gdalimg
