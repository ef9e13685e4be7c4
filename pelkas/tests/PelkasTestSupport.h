#pragma once

// Helpers of the picture tests: the GDAL test helpers and a placement made in one call.

#include "cmake/GdalTestSupport.h"

#include "pelkas/GdalImageSetting.h"

#include <QPointF>

namespace pelkastest {

using namespace gdaltest;

inline gdalimg::GdalImageSetting makeSetting(QPointF topLeft, double scale, double angle)
{
    gdalimg::GdalImageSetting setting;
    setting.setTopLeft(topLeft);
    setting.setScale(scale);
    setting.setAngle(angle);
    return setting;
}

} // namespace pelkastest
