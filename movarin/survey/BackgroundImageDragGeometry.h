#pragma once

#include "pelkas/GdalImageSetting.h"

#include <QPointF>

namespace varnel {

/// The placements that the mouse drags of a background image produce: each takes the
/// placement at the press (`start`) and the press and current mouse positions in widget
/// pixels, and changes one part of it; the other parts stay. Pure functions in double
/// precision; none of them returns a value that is not finite.
class BackgroundImageDragGeometry {
public:
    BackgroundImageDragGeometry() = delete;

    /// The top-left corner moves by `worldShift` (the mouse's world displacement).
    static gdalimg::GdalImageSetting translated(const gdalimg::GdalImageSetting& start,
                                                const QPointF& worldShift);

    /// The image turns about its top-left corner, which lies at `corner` on the screen, by
    /// the angle from the press to the current position seen from the corner: atan2 of
    /// their cross and dot products, so that a clockwise turn on the screen (y downwards)
    /// lowers the angle and the image follows the mouse. The result lies in [0, 360).
    /// While the press or the current position lies within 1 pixel of the corner (no
    /// direction to measure from) the angle stays as it was.
    static gdalimg::GdalImageSetting rotated(const gdalimg::GdalImageSetting& start,
                                             const QPointF& corner, const QPointF& press,
                                             const QPointF& current);

    /// The image scales about its top-left corner: dragging upwards by the on-screen
    /// height of the image's box (`boxHeightPixels`: the box's world height times the
    /// view's scale) doubles the scale, dragging downwards by it reaches zero. The scale
    /// never falls below `gdalimg::GdalImageSetting::scaleMin`; a box without height (a
    /// factor that is not finite) leaves the scale.
    static gdalimg::GdalImageSetting scaled(const gdalimg::GdalImageSetting& start,
                                            double boxHeightPixels, const QPointF& press,
                                            const QPointF& current);
};

} // namespace varnel
