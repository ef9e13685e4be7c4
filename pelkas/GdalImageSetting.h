#pragma once

#include "guimisc/xml/CompositeContainer.h"
#include "guimisc/xml/DoubleContainer.h"
#include "guimisc/xml/QPointFContainer.h"

#include <QPointF>

namespace gdalimg {

/// Where a background image lies in the world: the world position of its top-left corner, the
/// world length (metres) of one pixel's width, and the rotation of its bottom edge against the
/// X axis in degrees (counter-clockwise). With the image w x h pixels, the pixel at column c and
/// row r lies at topLeft + c s (cos a, sin a) + r s (sin a, -cos a).
///
/// Stored as attributes of the element its owner writes, in this order: "angle" (default 0),
/// "scale" (default 1) and "topLeft" ("topLeftX", "topLeftY"; default (0, 0)); a missing
/// attribute loads as its default. A value: copies and assignments copy the three values. The
/// setting does not clamp its scale; scaleMin is the floor the dialog and the application keep.
class GdalImageSetting : public guimisc::xml::CompositeContainer {
public:
    static constexpr double scaleMin = 0.0001;

    GdalImageSetting();
    GdalImageSetting(const GdalImageSetting& other);
    GdalImageSetting& operator=(const GdalImageSetting& other);
    ~GdalImageSetting() override;

    double angle() const { return m_angle; }
    void setAngle(double angle) { m_angle = angle; }
    double scale() const { return m_scale; }
    void setScale(double scale) { m_scale = scale; }
    QPointF topLeft() const { return m_topLeft; }
    void setTopLeft(const QPointF& topLeft) { m_topLeft = topLeft; }

private:
    guimisc::xml::DoubleContainer m_angle{"angle", 0.0};
    guimisc::xml::DoubleContainer m_scale{"scale", 1.0};
    guimisc::xml::QPointFContainer m_topLeft{"topLeft", QPointF(0.0, 0.0)};
};

} // namespace gdalimg
