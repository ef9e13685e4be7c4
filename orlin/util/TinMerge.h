#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "orlin/core/Point2DIRingTree.h"
#include "orlin/util/RegionProcessor.h"

namespace geos {
namespace geom {
class Polygon;
}  // namespace geom
}  // namespace geos

namespace tin {
namespace core {
class Point2DIRingTree;
class Tin;
class Triangle;
}  // namespace core

namespace util {

// Terrain editing by combining a base TIN (the current terrain) with another TIN (a designed
// surface, a fill body, a replacement patch). The two are overlaid where their bounding
// rectangles meet, which cuts the overlap into regions in which one surface never changes sides
// with respect to the other; each region then takes the base's or the other's re-triangulated
// triangles, decided from both elevations at one interior point of the region.
//
//   add / addOver:   the other surface where it is at least as high as the base (a fill);
//   sub / subOver:   the other surface where it is at most as high as the base (a cut);
//   overwrite:       the other TIN wherever both exist, nothing else;
//   overwrite_deleteLonelyRegions: the same, keeping only regions both TINs cover.
// add and sub keep the base everywhere else; the polygon forms keep only regions that meet one of
// the polygons (with no polygon, none).
//
// Outputs besides the result (each optional, null allowed): taken, the other TIN's triangles put
// into the result; added, the result's triangles that are not base triangles; removed, the base
// triangles that are not in the result. A re-triangulated triangle over the very vertex objects
// of a base triangle, or at the very corner positions and elevations of one (a base of points
// the point factory does not hold), is no change: the result holds the base's triangle in its
// place, so that the result is exactly the base less the removed plus the added triangles (by
// object) and no triangle the other TIN does not meet is replaced.
// Triangles are shared with their sources.
//
// *ok is false until the merge has succeeded; a failed triangulation or a GEOS topology error
// gives false, an empty TIN and empty outputs. Other exceptions pass on. Cost: add and sub lay
// the base triangles near the other TIN (under its outline, not its whole rectangle) over the
// other's triangles that meet the overlap rectangle, then edit one copy of the base by the
// change alone: it follows the other TIN, not the base. overwrite overlays both TINs within the
// overlap rectangle and lists every base triangle as removed. Not thread-safe (the point
// factory is process-wide).
class TinMerge {
public:
    static core::Tin add(core::Tin const& base, core::Tin const& other,
                         std::vector<geos::geom::Polygon const*> const& polygons, bool* ok,
                         core::Tin* taken, core::Tin* added, core::Tin* removed);
    static core::Tin add(core::Tin const& base, core::Tin const& other, bool* ok, core::Tin* taken,
                         core::Tin* added, core::Tin* removed);
    static core::Tin addOver(core::Tin const& base, core::Tin const& other, bool* ok,
                             core::Tin* taken, core::Tin* added, core::Tin* removed);
    static core::Tin sub(core::Tin const& base, core::Tin const& other,
                         std::vector<geos::geom::Polygon const*> const& polygons, bool* ok,
                         core::Tin* taken, core::Tin* added, core::Tin* removed);
    static core::Tin sub(core::Tin const& base, core::Tin const& other, bool* ok, core::Tin* taken,
                         core::Tin* added, core::Tin* removed);
    static core::Tin subOver(core::Tin const& base, core::Tin const& other, bool* ok,
                             core::Tin* taken, core::Tin* added, core::Tin* removed);
    static core::Tin overwrite(core::Tin const& base, core::Tin const& other, bool* ok,
                               core::Tin* taken, core::Tin* added, core::Tin* removed);
    static core::Tin overwrite_deleteLonelyRegions(core::Tin const& base, core::Tin const& other,
                                                   bool* ok, core::Tin* taken, core::Tin* added,
                                                   core::Tin* removed);

    // true: the region takes the other TIN.
    using ElevationPredicate = bool (*)(double zBase, double zOther);
    // How an engine run prunes its regions, given the overlap TINs it runs on.
    enum class Pruning { None, KeepOrDrop, KeepOrDropInPolygons, DropLonely };

    // How much of the base a merge that keeps the base lays under the other TIN: the triangles
    // that may meet the other (what every operation does), or every triangle of the overlap
    // rectangle (the same result at the cost of the rectangle; for tests that compare the two).
    enum class BaseReach { NearOther, OverlapRectangle };

    static core::Tin mergeTins(core::Tin const& base, core::Tin const& other, Pruning pruning,
                               std::vector<geos::geom::Polygon const*> const& polygons,
                               ElevationPredicate predicate, bool keepBase, bool keepOther,
                               bool* ok, core::Tin* taken, core::Tin* added, core::Tin* removed,
                               BaseReach reach = BaseReach::NearOther);

    // The region processor that keeps the subtrees where choose is true, promoting chosen
    // children of dropped trees to the top level.
    template <typename Choose>
    static void keepOrDropRegions(std::vector<std::shared_ptr<core::Point2DIRingTree>>& regions,
                                  Choose choose);
    // Erases the top-level trees whose polygon meets none of the polygons.
    static void filterRegionsByPolygon(std::vector<std::shared_ptr<core::Point2DIRingTree>>& regions,
                                       std::vector<geos::geom::Polygon const*> const& polygons);
    // Strict order of triangles by their three vertex objects, in any order.
    static bool sameVertexOrder(core::Triangle const& a, core::Triangle const& b);
};

template <typename Choose>
void TinMerge::keepOrDropRegions(std::vector<std::shared_ptr<core::Point2DIRingTree>>& regions,
                                 Choose choose)
{
    auto promote = [&](std::shared_ptr<core::Point2DIRingTree> const& tree) {
        for (auto const& present : regions) {
            if (present == tree) {
                return;
            }
        }
        regions.push_back(tree);
    };
    std::function<bool(std::shared_ptr<core::Point2DIRingTree> const&)> visit =
        [&](std::shared_ptr<core::Point2DIRingTree> const& tree) {
            auto const children = tree->childRings();
            if (choose(*tree)) {
                for (auto const& child : children) {
                    visit(child);
                }
                return true;
            }
            for (auto const& child : children) {
                if (visit(child)) {
                    promote(child);
                }
            }
            return false;
        };
    for (std::size_t i = 0; i < regions.size();) {
        auto const tree = regions[i];
        if (visit(tree)) {
            ++i;
        } else {
            regions.erase(regions.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

}  // namespace util
}  // namespace tin
