#include "pelkas/GdalImageSetting.h"

namespace gdalimg {

// The members are constructed after the base, which keeps only their addresses.
GdalImageSetting::GdalImageSetting() : CompositeContainer({&m_angle, &m_scale, &m_topLeft}) {}

GdalImageSetting::GdalImageSetting(const GdalImageSetting& other) : GdalImageSetting()
{
    copyValue(other);
}

GdalImageSetting& GdalImageSetting::operator=(const GdalImageSetting& other)
{
    copyValue(other);
    return *this;
}

GdalImageSetting::~GdalImageSetting() = default;

} // namespace gdalimg
