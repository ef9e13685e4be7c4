#pragma once

#include <memory>
#include <vector>

#include "orlin/util/RegionProcessor.h"
#include "orlin/util/RegionTinMap.h"

namespace tin {
namespace core {
class Point2DIRingTree;
class Tin;
}  // namespace core

namespace util {

// Lays two TINs over each other in the plane and cuts the plane into regions along the
// outlines of both and along the lines where the two surfaces have equal elevation, so that
// inside one region, where both TINs exist, one surface never changes sides with respect to
// the other. The regions are traced as ring trees (each ring at any depth bounds one region:
// inside it and outside its direct children), handed to the processor for pruning, and each
// TIN is then re-triangulated so that no triangle straddles a region boundary. Before tracing,
// every edge of the arrangement is cut at each vertex of either TIN and each end of its edges
// that lies on it (as the re-triangulations cut their constraints), so that overlapping
// crossing segments become shared pieces and the regions are faces of a planar graph. A
// crossing the overlay computes takes the position of a live point within the point factory's
// tolerance, so that both sides of a vertical step there stand at one position.
//
// Outputs, all replaced: regions (the trees as the processor left them) and, for each TIN, a
// RegionTinMap from ring address to that TIN's triangles in the region, with the null key for
// triangles no region claimed. A region whose interior point lies on no triangle of a TIN has
// no entry in that TIN's map (the regions nested in it may have). The result points are
// interned through PointFactory with the elevations of each TIN's own surface.
//
// Cost: five triangulation runs, linear-logarithmic in the triangles of both TINs; callers
// restrict the TINs to their area of interest first. Failures pass on after every working
// object is released: trianglecui::TriangleProcessError, GEOS exceptions,
// common::exception::MagnitudeRelationException, std::bad_function_call for an empty processor.
// The ids of both TINs' points are overwritten (they number the triangulation input).
class TinOverlay {
public:
    static void overlayTins(core::Tin const& first, core::Tin const& second,
                            RegionProcessor processor,
                            std::vector<std::shared_ptr<core::Point2DIRingTree>>* regions,
                            RegionTinMap* firstRegions, RegionTinMap* secondRegions);
    // The same, with entries in each map only for the keys the selector asks for (every other
    // entry is the same as above); an empty selector asks for all.
    static void overlayTins(core::Tin const& first, core::Tin const& second,
                            RegionProcessor processor, RegionSelector const& selector,
                            std::vector<std::shared_ptr<core::Point2DIRingTree>>* regions,
                            RegionTinMap* firstRegions, RegionTinMap* secondRegions);
    // The same, with each entry's triangles as a list in the order its TIN would hold them.
    static void overlayTins(core::Tin const& first, core::Tin const& second,
                            RegionProcessor processor, RegionSelector const& selector,
                            std::vector<std::shared_ptr<core::Point2DIRingTree>>* regions,
                            RegionTriangleMap* firstRegions, RegionTriangleMap* secondRegions);
};

}  // namespace util
}  // namespace tin
