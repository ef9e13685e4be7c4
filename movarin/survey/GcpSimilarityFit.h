#pragma once

#include "movarin/survey/GcpTableRow.h"

#include "pelkas/GdalImageSetting.h"

namespace varnel {

/// The placement of a background image fitted to its ground control points: the
/// similarity (scale s, counter-clockwise angle θ, translation t) that maps each enabled
/// pair's source (x, y) onto its destination with the least sum of squared residuals,
///
///     dst ≈ (a·x + b·y + tx, −b·x + a·y + ty),  a = s·cos θ, b = −s·sin θ.
///
/// The source (0, 0), the image's top-left pixel, lands on (tx, ty), so the result is
/// directly the image's setting: top-left (tx, ty), scale hypot(a, b), and the angle in
/// degrees from the signs of a and b: atan(−b / a) when a > 0, atan(−b / a) + 180° when
/// a < 0, ±90° when a = 0 (+90 for b < 0); it lies between −90 and 270 and is not wrapped.
///
/// Disabled rows take no part. The normal equations are solved on coordinates taken
/// relative to the means of the enabled sources and destinations, which gives the same
/// solution as the raw sums but keeps map coordinates near 1e5 m from cancelling.
///
/// Refused (common::exception::RuntimeException naming the reason, nothing returned) with
/// fewer than two enabled rows, when the enabled sources all share one position, when a
/// value comes out infinite or undefined, and when the scale falls below
/// `gdalimg::GdalImageSetting::scaleMin` (the destinations coincide). O(n) in the rows.
class GcpSimilarityFit {
public:
    GcpSimilarityFit() = delete;

    static gdalimg::GdalImageSetting fit(const GcpTable& table);
};

} // namespace varnel
