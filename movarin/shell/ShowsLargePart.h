#pragma once

#include <QRectF>

namespace tin::core {
class Rect;
}

namespace varnel {

/// Whether a view of the world rectangle `area` (corners in any order) shows a large part, a
/// quarter or more, of `extent`, the bounding rectangle of the objects an item paints (an
/// extent without area counts when the view meets it at all). The TIN and point painters then
/// walk all their objects and leave out those the view misses: for most of a TIN or point
/// set that costs less than asking a spatial index, and far less than building one (seconds
/// at millions of objects, with tens of bytes per object kept from then on). A view of a
/// smaller part asks the index. False for an invalid extent.
bool showsLargePart(const tin::core::Rect& extent, const QRectF& area);

} // namespace varnel
