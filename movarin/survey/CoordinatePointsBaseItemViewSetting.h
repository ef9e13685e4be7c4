#pragma once

#include <guimisc/xml/BoolContainer.h>
#include <guimisc/xml/ColorContainer.h>
#include <guimisc/xml/CompositeContainer.h>
#include <guimisc/xml/IntContainer.h>

#include <QColor>

namespace varnel {

/// How a point-set item paints its points: the marker colour ("color"), the marker radius
/// in pixels ("radius") and whether each point takes the colour of its elevation instead
/// ("useColorByValue"). Stored as these three attributes of the item's own element.
///
/// The values given to the three-value constructor are also the defaults that `load` keeps
/// for a missing or malformed attribute; the default constructor makes an invalid colour,
/// radius 0 and no colour by value. A loaded radius outside 0 to `MAX_RADIUS` counts as
/// malformed (a marker of that size would be a picture of its own, not a marker). Copies
/// and assignment copy the three values only (the defaults stay the target's).
class CoordinatePointsBaseItemViewSetting : public guimisc::xml::CompositeContainer {
public:
    static constexpr int MAX_RADIUS = 100;

    CoordinatePointsBaseItemViewSetting();
    CoordinatePointsBaseItemViewSetting(const QColor& color, int radius, bool useColorByValue);
    CoordinatePointsBaseItemViewSetting(const CoordinatePointsBaseItemViewSetting& other);
    CoordinatePointsBaseItemViewSetting& operator=(const CoordinatePointsBaseItemViewSetting& other);
    ~CoordinatePointsBaseItemViewSetting() override;

    void load(const QDomElement& element) override;

    QColor color() const;
    void setColor(const QColor& color);
    int radius() const;
    void setRadius(int radius);
    bool useColorByValue() const;
    void setUseColorByValue(bool useColorByValue);

    /// The three values are equal (colours compared as `QColor`).
    bool operator==(const CoordinatePointsBaseItemViewSetting& other) const;
    bool operator!=(const CoordinatePointsBaseItemViewSetting& other) const;

private:
    guimisc::xml::ColorContainer m_color;
    guimisc::xml::IntContainer m_radius;
    guimisc::xml::BoolContainer m_useColorByValue;
};

} // namespace varnel
