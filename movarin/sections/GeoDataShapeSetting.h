#pragma once

#include <guimisc/xml/ColorContainer.h>
#include <guimisc/xml/CompositeContainer.h>
#include <guimisc/xml/IntContainer.h>
#include <guimisc/xml/OpacityContainer.h>

namespace varnel {

/// How a polygon or polyline of the geographic data is drawn, stored as attributes of its
/// element: "color" (black), "lineWidth" in pixels (1) and the opacity of the fill or line
/// as a percentage ("opacity"). Copies copy the three values.
class GeoDataShapeSetting : public guimisc::xml::CompositeContainer {
public:
    GeoDataShapeSetting(const GeoDataShapeSetting& other);
    GeoDataShapeSetting& operator=(const GeoDataShapeSetting& other);
    ~GeoDataShapeSetting() override;

    guimisc::xml::ColorContainer color{QStringLiteral("color"), Qt::black};
    guimisc::xml::IntContainer lineWidth{QStringLiteral("lineWidth"), 1};
    guimisc::xml::OpacityContainer opacity;

protected:
    /// Starts with the opacity `opacityPercent`.
    explicit GeoDataShapeSetting(int opacityPercent);
};

} // namespace varnel
