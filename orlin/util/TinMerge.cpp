#include "orlin/util/TinMerge.h"

#include <algorithm>
#include <array>
#include <functional>
#include <set>

#include <geos/geom/Point.h>
#include <geos/geom/Polygon.h>
#include <geos/util/TopologyException.h>

#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Point2DIRing.h"
#include "orlin/core/Point2DIRingTree.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/RegionTinMap.h"
#include "orlin/util/TinOverlay.h"
#include "trianglecui/TriangleProcessError.h"

namespace tin {
namespace util {

using core::Point2DIRingTree;
using core::Tin;
using Trees = std::vector<std::shared_ptr<Point2DIRingTree>>;

namespace {

bool baseNotAbove(double zBase, double zOther) { return zBase <= zOther; }
bool baseNotBelow(double zBase, double zOther) { return zBase >= zOther; }
bool always(double, double) { return true; }

core::Point2D interiorPoint(Point2DIRingTree const& tree)
{
    std::unique_ptr<geos::geom::Point> p(tree.geosPolygon()->getInteriorPoint());
    return core::Point2D(p->getX(), p->getY());
}

std::array<core::Point const*, 3> vertexKey(core::Triangle const& t)
{
    std::array<core::Point const*, 3> key{t.point1().get(), t.point2().get(), t.point3().get()};
    std::sort(key.begin(), key.end(), std::less<core::Point const*>());
    return key;
}

// The two overlap TINs of one engine run and its decision rule.
struct Overlap {
    Tin const& base;
    Tin const& other;
    TinMerge::ElevationPredicate predicate;
    bool keepBase;
    bool keepOther;

    bool chooseOther(Point2DIRingTree const& tree) const
    {
        auto const p = interiorPoint(tree);
        double zBase = 0.0, zOther = 0.0;
        if (!base.interpolatedElevation(p, &zBase)) {
            return keepOther;
        }
        if (!other.interpolatedElevation(p, &zOther)) {
            return !keepBase;
        }
        return predicate(zBase, zOther);
    }

    bool coveredByBoth(Point2DIRingTree const& tree) const
    {
        auto const p = interiorPoint(tree);
        double z = 0.0;
        return base.interpolatedElevation(p, &z) && other.interpolatedElevation(p, &z);
    }
};

}  // namespace

bool TinMerge::sameVertexOrder(core::Triangle const& a, core::Triangle const& b)
{
    return vertexKey(a) < vertexKey(b);
}

void TinMerge::filterRegionsByPolygon(Trees& regions,
                                      std::vector<geos::geom::Polygon const*> const& polygons)
{
    regions.erase(std::remove_if(regions.begin(), regions.end(),
                                 [&](std::shared_ptr<Point2DIRingTree> const& tree) {
                                     return std::none_of(
                                         polygons.begin(), polygons.end(),
                                         [&](geos::geom::Polygon const* g) {
                                             return g->intersects(tree->geosPolygon());
                                         });
                                 }),
                  regions.end());
}

Tin TinMerge::mergeTins(Tin const& base, Tin const& other, Pruning pruning,
                        std::vector<geos::geom::Polygon const*> const& polygons,
                        ElevationPredicate predicate, bool keepBase, bool keepOther, bool* ok,
                        Tin* taken, Tin* added, Tin* removed)
{
    *ok = false;
    Tin localTaken, localAdded, localRemoved;
    Tin& takenOut = taken != nullptr ? *taken : localTaken;
    Tin& addedOut = added != nullptr ? *added : localAdded;
    Tin& removedOut = removed != nullptr ? *removed : localRemoved;
    takenOut.clear();
    addedOut.clear();
    removedOut.clear();

    try {
        core::Rect const overlapRect = core::intersectRects(other.boundingRect(), base.boundingRect());
        Tin const b(base.findTrianglesIntersectRect(overlapRect));
        Tin const o(other.findTrianglesIntersectRect(overlapRect));
        Overlap const overlap{b, o, predicate, keepBase, keepOther};

        RegionProcessor processor = [&](Trees& regions, Tin const&, Tin const&) {
            switch (pruning) {
            case Pruning::None:
                break;
            case Pruning::KeepOrDrop:
                keepOrDropRegions(regions, [&](Point2DIRingTree const& t) { return overlap.chooseOther(t); });
                break;
            case Pruning::KeepOrDropInPolygons:
                keepOrDropRegions(regions, [&](Point2DIRingTree const& t) { return overlap.chooseOther(t); });
                filterRegionsByPolygon(regions, polygons);
                break;
            case Pruning::DropLonely:
                keepOrDropRegions(regions, [&](Point2DIRingTree const& t) { return overlap.coveredByBoth(t); });
                break;
            }
        };
        Trees regions;
        RegionTinMap firstRegions, secondRegions;
        TinOverlay::overlayTins(b, o, processor, &regions, &firstRegions, &secondRegions);

        // The result starts from the base away from the overlap rectangle, shared, not rebuilt.
        Tin merged;
        if (keepBase) {
            merged = base;
            for (auto const& t : b.allTriangles()) {
                merged.removeTriangle(t);
            }
        }
        std::vector<std::shared_ptr<core::Triangle>> fresh;
        auto put = [&](std::shared_ptr<core::Triangle> const& t) {
            if (!merged.containsTriangle(t)) {
                merged.addTriangle(t);
                fresh.push_back(t);
            }
        };
        if (keepBase) {
            auto it = firstRegions.find(nullptr);
            if (it != firstRegions.end()) {
                for (auto const& t : it->second.allTriangles()) {
                    put(t);
                }
            }
        }
        std::function<void(std::shared_ptr<Point2DIRingTree> const&)> assembleRegion =
            [&](std::shared_ptr<Point2DIRingTree> const& tree) {
                auto const* key = tree->ring().get();
                if (overlap.chooseOther(*tree)) {
                    auto it = secondRegions.find(key);
                    if (it != secondRegions.end()) {
                        for (auto const& t : it->second.allTriangles()) {
                            put(t);
                            takenOut.addTriangle(t);
                        }
                    }
                } else {
                    auto it = firstRegions.find(key);
                    if (it != firstRegions.end()) {
                        for (auto const& t : it->second.allTriangles()) {
                            put(t);
                        }
                    }
                }
                for (auto const& child : tree->childRings()) {
                    assembleRegion(child);
                }
            };
        for (auto const& tree : regions) {
            assembleRegion(tree);
        }
        if (keepOther) {
            for (auto const& t : other.allTriangles()) {
                if (!o.containsTriangle(t)) {
                    put(t);
                }
            }
        }

        // Added: what the result holds beyond the base; removed: base triangles it lacks. With
        // the base kept, only the overlap part of the base can be missing.
        std::vector<std::shared_ptr<core::Triangle>> addedList;
        for (auto const& t : fresh) {
            if (!base.containsTriangle(t)) {
                addedList.push_back(t);
            }
        }
        std::vector<std::shared_ptr<core::Triangle>> removedList;
        for (auto const& t : keepBase ? b.allTriangles() : base.allTriangles()) {
            if (!merged.containsTriangle(t)) {
                removedList.push_back(t);
            }
        }
        // A re-triangulated triangle over the very vertices of a base triangle is no change.
        auto const order = [](std::shared_ptr<core::Triangle> const& x,
                              std::shared_ptr<core::Triangle> const& y) {
            return sameVertexOrder(*x, *y);
        };
        std::multiset<std::shared_ptr<core::Triangle>, decltype(order)> removedByVertices(order);
        for (auto const& t : removedList) {
            removedByVertices.insert(t);
        }
        std::set<core::Triangle const*> matchedRemoved;
        std::vector<std::shared_ptr<core::Triangle>> keptAdded;
        for (auto const& t : addedList) {
            auto it = removedByVertices.find(t);
            if (it != removedByVertices.end()) {
                matchedRemoved.insert(it->get());
            } else {
                keptAdded.push_back(t);
            }
        }
        for (auto const& t : keptAdded) {
            addedOut.addTriangle(t);
        }
        for (auto const& t : removedList) {
            if (matchedRemoved.count(t.get()) == 0) {
                removedOut.addTriangle(t);
            }
        }
        *ok = true;
        return merged;
    } catch (trianglecui::TriangleProcessError const&) {
    } catch (geos::util::TopologyException const&) {
    }
    *ok = false;
    return Tin();
}

Tin TinMerge::add(Tin const& base, Tin const& other,
                  std::vector<geos::geom::Polygon const*> const& polygons, bool* ok, Tin* taken,
                  Tin* added, Tin* removed)
{
    return mergeTins(base, other, Pruning::KeepOrDropInPolygons, polygons, baseNotAbove, true,
                     false, ok, taken, added, removed);
}

Tin TinMerge::add(Tin const& base, Tin const& other, bool* ok, Tin* taken, Tin* added,
                  Tin* removed)
{
    return mergeTins(base, other, Pruning::KeepOrDrop, {}, baseNotAbove, true, false, ok, taken,
                     added, removed);
}

Tin TinMerge::addOver(Tin const& base, Tin const& other, bool* ok, Tin* taken, Tin* added,
                      Tin* removed)
{
    return add(base, other, ok, taken, added, removed);
}

Tin TinMerge::sub(Tin const& base, Tin const& other,
                  std::vector<geos::geom::Polygon const*> const& polygons, bool* ok, Tin* taken,
                  Tin* added, Tin* removed)
{
    return mergeTins(base, other, Pruning::KeepOrDropInPolygons, polygons, baseNotBelow, true,
                     false, ok, taken, added, removed);
}

Tin TinMerge::sub(Tin const& base, Tin const& other, bool* ok, Tin* taken, Tin* added,
                  Tin* removed)
{
    return mergeTins(base, other, Pruning::KeepOrDrop, {}, baseNotBelow, true, false, ok, taken,
                     added, removed);
}

Tin TinMerge::subOver(Tin const& base, Tin const& other, bool* ok, Tin* taken, Tin* added,
                      Tin* removed)
{
    return sub(base, other, ok, taken, added, removed);
}

Tin TinMerge::overwrite(Tin const& base, Tin const& other, bool* ok, Tin* taken, Tin* added,
                        Tin* removed)
{
    return mergeTins(base, other, Pruning::None, {}, always, false, false, ok, taken, added,
                     removed);
}

Tin TinMerge::overwrite_deleteLonelyRegions(Tin const& base, Tin const& other, bool* ok,
                                            Tin* taken, Tin* added, Tin* removed)
{
    return mergeTins(base, other, Pruning::DropLonely, {}, always, false, false, ok, taken, added,
                     removed);
}

}  // namespace util
}  // namespace tin
