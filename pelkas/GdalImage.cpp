#include "pelkas/GdalImage.h"

namespace gdalimg {

GdalImage::GdalImage(const QImage& image) : m_image(image), m_settingLoaded(false) {}

GdalImage::GdalImage(const QImage& image, const GdalImageSetting& setting)
    : m_image(image), m_settingLoaded(true), m_setting(setting)
{
}

GdalImage::GdalImage(const GdalImage& other) = default;
GdalImage& GdalImage::operator=(const GdalImage& other) = default;
GdalImage::~GdalImage() = default;

void GdalImage::setImage(const QImage& image)
{
    m_image = image;
}

void GdalImage::setSetting(const GdalImageSetting& setting)
{
    m_setting = setting;
    m_settingLoaded = true;
}

} // namespace gdalimg
