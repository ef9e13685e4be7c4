#pragma once

#include <QPointer>

#include <vector>

namespace varnel {

class GeoDataPolylineItem;

/// Where one reference polyline crosses a cross section (lengthened by its own length beyond
/// both ends): the signed distances L from the section's start, in the order in which the
/// crossings were found. The polyline is watched, not owned: a polyline that has died reads
/// as null and is skipped by whoever paints the crossings.
struct CrossSectionPolylineCrossing {
    QPointer<GeoDataPolylineItem> polyline;
    std::vector<double> ls;
};

/// The crossings of every reference polyline, in the order of the geographic data.
using CrossSectionPolylineCrossings = std::vector<CrossSectionPolylineCrossing>;

} // namespace varnel
