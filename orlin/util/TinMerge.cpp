#include "orlin/util/TinMerge.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <utility>

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
#include "orlin/support/AddressMapT.h"
#include "orlin/util/RegionTinMap.h"
#include "orlin/util/TinOverlay.h"
#include "trianglecui/TriangleProcessError.h"

namespace tin {
namespace util {

using core::Point2DIRingTree;
using core::Tin;
using Trees = std::vector<std::shared_ptr<Point2DIRingTree>>;

namespace {

using TrianglePtr = std::shared_ptr<core::Triangle>;
using VertexKey = std::array<core::Point const*, 3>;

bool baseNotAbove(double zBase, double zOther) { return zBase <= zOther; }
bool baseNotBelow(double zBase, double zOther) { return zBase >= zOther; }
bool always(double, double) { return true; }

core::Point2D interiorPoint(Point2DIRingTree const& tree)
{
    std::unique_ptr<geos::geom::Point> p(tree.geosPolygon()->getInteriorPoint());
    return core::Point2D(p->getX(), p->getY());
}

VertexKey vertexKey(core::Triangle const& t)
{
    VertexKey key{t.point1().get(), t.point2().get(), t.point3().get()};
    std::sort(key.begin(), key.end(), std::less<core::Point const*>());
    return key;
}

// The two overlap TINs of one engine run and its decision rule. Pruning and assembly ask about
// the same trees; each tree is decided once (an interior point of its polygon and two point
// locations), by its address, which stays valid while the run holds the trees.
class RegionChoice {
public:
    RegionChoice(Tin const& base, Tin const& other, TinMerge::ElevationPredicate predicate,
                 bool keepBase, bool keepOther)
        : m_base(base), m_other(other), m_predicate(predicate), m_keepBase(keepBase),
          m_keepOther(keepOther)
    {
    }

    bool chooseOther(Point2DIRingTree const& tree)
    {
        auto const known = m_choices.find(&tree);
        if (known != m_choices.end()) {
            return known->second;
        }
        bool const choice = decide(tree);
        m_choices.emplace(&tree, choice);
        return choice;
    }

    bool coveredByBoth(Point2DIRingTree const& tree) const
    {
        auto const p = interiorPoint(tree);
        double z = 0.0;
        return m_base.interpolatedElevation(p, &z) && m_other.interpolatedElevation(p, &z);
    }

private:
    bool decide(Point2DIRingTree const& tree) const
    {
        auto const p = interiorPoint(tree);
        double zBase = 0.0, zOther = 0.0;
        if (!m_base.interpolatedElevation(p, &zBase)) {
            return m_keepOther;
        }
        if (!m_other.interpolatedElevation(p, &zOther)) {
            return !m_keepBase;
        }
        return m_predicate(zBase, zOther);
    }

    Tin const& m_base;
    Tin const& m_other;
    TinMerge::ElevationPredicate m_predicate;
    bool m_keepBase;
    bool m_keepOther;
    std::unordered_map<Point2DIRingTree const*, bool> m_choices;
};

// The base triangles that meet the overlap of both TINs' rectangles, and that overlap. Those
// are the base triangles meeting the other's rectangle (a triangle's box lies in the base's
// rectangle); when they span the other's rectangle, the overlap is that rectangle itself and
// the base's own rectangle is not needed: after an edit it costs a pass over every vertex.
std::vector<TrianglePtr> baseInOverlap(Tin const& base, Tin const& other, core::Rect* overlapRect)
{
    core::Rect const otherRect = other.boundingRect();
    auto triangles = base.findTrianglesIntersectRect(otherRect);
    if (!triangles.empty()) {
        auto const first = triangles.front()->boundingRect();
        double xMin = first.xMin(), xMax = first.xMax(), yMin = first.yMin(), yMax = first.yMax();
        for (auto const& t : triangles) {
            auto const r = t->boundingRect();
            xMin = std::min(xMin, r.xMin());
            xMax = std::max(xMax, r.xMax());
            yMin = std::min(yMin, r.yMin());
            yMax = std::max(yMax, r.yMax());
        }
        if (otherRect.isInside(core::Rect(xMin, yMin, xMax, yMax))) {
            *overlapRect = otherRect;
            return triangles;
        }
    }
    *overlapRect = core::intersectRects(otherRect, base.boundingRect());
    return base.findTrianglesIntersectRect(*overlapRect);
}

// The cells of a uniform grid over a rectangle that a set of triangles meets. A cell is marked
// when no axis of the separating-axis test (the two axes and the normals of the triangle's
// sides) parts it from the triangle, with a margin far above the rounding of the projections:
// a cell the closed triangle meets is always marked, and a few cells it only grazes are too.
class CoverMask {
public:
    CoverMask(core::Rect const& rect, std::size_t cellsWanted)
        : m_x0(rect.xMin()), m_y0(rect.yMin())
    {
        double const width = rect.width(), height = rect.height();
        m_cell = std::sqrt(width * height / static_cast<double>(std::max<std::size_t>(cellsWanted, 1)));
        if (!(m_cell > 0.0) || !std::isfinite(m_cell)) {
            m_cell = std::max(std::max(width, height), 1.0);
        }
        m_columns = cellsAlong(width);
        m_rows = cellsAlong(height);
        m_margin = 1e-6 * m_cell;
        m_marked.assign(static_cast<std::size_t>(m_columns * m_rows), false);
    }

    void mark(core::Triangle const& t)
    {
        double px[3], py[3];
        for (int k = 0; k < 3; ++k) {
            px[k] = t.point(k)->x() - m_x0;
            py[k] = t.point(k)->y() - m_y0;
        }
        auto const r = t.boundingRect();
        for (std::int64_t j = row(r.yMin()); j <= row(r.yMax()); ++j) {
            for (std::int64_t i = column(r.xMin()); i <= column(r.xMax()); ++i) {
                std::size_t const c = static_cast<std::size_t>(j * m_columns + i);
                if (!m_marked[c] && meetsCell(px, py, i, j)) {
                    m_marked[c] = true;
                }
            }
        }
    }

    // Whether a marked cell meets the rectangle of t.
    bool touches(core::Triangle const& t) const
    {
        auto const r = t.boundingRect();
        for (std::int64_t j = row(r.yMin()); j <= row(r.yMax()); ++j) {
            for (std::int64_t i = column(r.xMin()); i <= column(r.xMax()); ++i) {
                if (m_marked[static_cast<std::size_t>(j * m_columns + i)]) {
                    return true;
                }
            }
        }
        return false;
    }

private:
    std::int64_t cellsAlong(double extent) const
    {
        return static_cast<std::int64_t>(std::min(extent / m_cell, 4096.0)) + 1;
    }
    // Monotone and clamped, so that closed intervals that meet give cell ranges that meet.
    std::int64_t column(double x) const
    {
        return std::clamp<std::int64_t>(static_cast<std::int64_t>(std::floor((x - m_x0) / m_cell)), 0, m_columns - 1);
    }
    std::int64_t row(double y) const
    {
        return std::clamp<std::int64_t>(static_cast<std::int64_t>(std::floor((y - m_y0) / m_cell)), 0, m_rows - 1);
    }

    // The triangle (corners relative to the grid's origin) against cell (i, j) widened by the
    // margin; the last column and row reach to the rectangle's far side and beyond.
    bool meetsCell(double const* px, double const* py, std::int64_t i, std::int64_t j) const
    {
        // Far beyond any coordinate, yet finite in the projections below.
        double const far = 1e200;
        double const bx0 = i == 0 ? -far : i * m_cell - m_margin;
        double const by0 = j == 0 ? -far : j * m_cell - m_margin;
        double const bx1 = i + 1 == m_columns ? far : (i + 1) * m_cell + m_margin;
        double const by1 = j + 1 == m_rows ? far : (j + 1) * m_cell + m_margin;
        for (int k = 0; k < 3; ++k) {
            int const next = (k + 1) % 3, opposite = (k + 2) % 3;
            double const nx = -(py[next] - py[k]), ny = px[next] - px[k];
            double const edge = nx * px[k] + ny * py[k];
            double const third = nx * px[opposite] + ny * py[opposite];
            // The side's line bounds the triangle on the side of the third corner; the box is
            // parted when all its corners lie beyond the line on the other side.
            double const bx = (third >= edge) == (nx >= 0) ? bx1 : bx0;
            double const by = (third >= edge) == (ny >= 0) ? by1 : by0;
            double const best = nx * bx + ny * by;
            double const slack = m_margin * (std::abs(nx) + std::abs(ny));
            if (third >= edge ? best < edge - slack : best > edge + slack) {
                return false;
            }
        }
        return true;
    }

    double m_x0;
    double m_y0;
    double m_cell = 1.0;
    double m_margin = 0.0;
    std::int64_t m_columns = 1;
    std::int64_t m_rows = 1;
    std::vector<bool> m_marked;
};

// Of the base triangles of the overlap rectangle, in their order, those that may meet the other
// TIN: every one whose rectangle meets a cell of a fine grid that a triangle of the other meets.
// The others lie apart from the other TIN: no crossing, no shared point and no region of the
// overlay reaches them but the base's own region around the other TIN, which keeps its
// triangles as they are. So an overlay that keeps the base reads the base under the other's
// outline instead of under its rectangle, with the same result (a long diagonal surface meets
// a small part of its rectangle). Cells about the size of the base's triangles.
std::vector<TrianglePtr> nearOther(std::vector<TrianglePtr> triangles, Tin const& other,
                                   core::Rect const& overlapRect)
{
    if (triangles.empty() || other.empty() || !overlapRect.isValid()) {
        return triangles;
    }
    CoverMask mask(overlapRect, triangles.size());
    for (auto const& t : other.allTriangles()) {
        mask.mark(*t);
    }
    triangles.erase(std::remove_if(triangles.begin(), triangles.end(),
                                   [&](TrianglePtr const& t) { return !mask.touches(*t); }),
                    triangles.end());
    return triangles;
}

// The same TIN as Tin(triangles), built in one batch.
Tin tinOf(std::vector<TrianglePtr> const& triangles)
{
    Tin tin;
    tin.addTriangles(triangles.data(), triangles.size());
    return tin;
}

// What the result holds where the overlay ran, in the order it was assembled, each triangle once.
struct Assembly {
    std::vector<TrianglePtr> triangles;
    // Per triangle: whether it comes from the other TIN (a region that takes the other).
    std::vector<bool> fromOther;
    support::AddressMapT<core::Triangle, bool> seen;

    void put(TrianglePtr const& t, bool other)
    {
        if (seen.insert(t.get(), true).second) {
            triangles.push_back(t);
            fromOther.push_back(other);
        }
    }
};

// The triangles no region claimed (when the base is kept), then each region's triangles of the
// TIN it takes, parents before children, then (when the other is kept) the other's triangles
// beyond the overlap rectangle.
Assembly assemble(Trees const& regions, RegionTriangleMap const& firstRegions,
                  RegionTriangleMap const& secondRegions, RegionChoice& choice, Tin const& other,
                  Tin const& otherInOverlap, bool keepBase, bool keepOther)
{
    Assembly assembly;
    auto putAll = [&](RegionTriangleMap const& map, core::Point2DIRing const* key, bool fromOther) {
        auto const it = map.find(key);
        if (it != map.end()) {
            for (auto const& t : it->second) {
                assembly.put(t, fromOther);
            }
        }
    };
    if (keepBase) {
        putAll(firstRegions, nullptr, false);
    }
    std::function<void(std::shared_ptr<Point2DIRingTree> const&)> assembleRegion =
        [&](std::shared_ptr<Point2DIRingTree> const& tree) {
            if (choice.chooseOther(*tree)) {
                putAll(secondRegions, tree->ring().get(), true);
            } else {
                putAll(firstRegions, tree->ring().get(), false);
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
            if (!otherInOverlap.containsTriangle(t)) {
                assembly.put(t, false);
            }
        }
    }
    return assembly;
}

// The assembly against the base triangles of the overlap rectangle (a triangle over the same
// vertices has the same rectangle, and an assembled triangle lies in both TINs' rectangles or
// beyond the base's, but for the fill of a sliver hole, which is looked up by its vertices on
// the base). A re-triangulated
// triangle over the very vertex objects of a base triangle is no change: the base's triangle
// stands for it, so that the result is exactly the base less the removed plus the added
// triangles. Each base triangle stands for one assembled triangle at most.
struct Settlement {
    // The assembled triangles as the result holds them.
    std::vector<TrianglePtr> result;
    // Those of them that are no base triangle, in assembly order.
    std::vector<TrianglePtr> added;
    // Base triangles of the overlap rectangle that the result lacks, in that TIN's order.
    std::vector<TrianglePtr> removed;
    // Base triangles the result keeps (only when asked for).
    support::AddressMapT<core::Triangle, bool> kept;
};

// A triangle by the plan positions of its corners, in ascending order.
using PositionKey = std::array<std::pair<double, double>, 3>;

PositionKey positionKey(core::Triangle const& t)
{
    PositionKey key{std::make_pair(t.point1()->x(), t.point1()->y()),
                    std::make_pair(t.point2()->x(), t.point2()->y()),
                    std::make_pair(t.point3()->x(), t.point3()->y())};
    std::sort(key.begin(), key.end());
    return key;
}

// Whether the corners of a and b at each position (the same three) have the same elevation,
// as the point factory tells elevations apart.
bool sameElevations(core::Triangle const& a, core::Triangle const& b)
{
    for (int i = 0; i < 3; ++i) {
        bool found = false;
        for (int j = 0; j < 3 && !found; ++j) {
            found = a.point(i)->x() == b.point(j)->x() && a.point(i)->y() == b.point(j)->y() &&
                    a.point(i)->isElevationCloseTo(*b.point(j));
        }
        if (!found) {
            return false;
        }
    }
    return true;
}

// The triangle of base over the very vertex objects of t that the overlap TIN lacks, or null.
TrianglePtr baseTriangleOver(Tin const& base, core::Triangle const& t, Tin const& baseInOverlap)
{
    VertexKey const key = vertexKey(t);
    for (auto const& candidate : base.findTriangleFromPoint(t.point1())) {
        if (vertexKey(*candidate) == key && !baseInOverlap.containsTriangle(candidate)) {
            return candidate;
        }
    }
    return nullptr;
}

Settlement settle(Assembly const& assembly, Tin const& base, Tin const& baseInOverlap, bool listKept)
{
    std::vector<TrianglePtr> candidates(baseInOverlap.allTriangles().begin(),
                                        baseInOverlap.allTriangles().end());
    std::vector<std::pair<VertexKey, std::size_t>> byVertices;
    byVertices.reserve(candidates.size());
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        byVertices.emplace_back(vertexKey(*candidates[i]), i);
    }
    std::sort(byVertices.begin(), byVertices.end());
    std::vector<bool> used(candidates.size(), false);
    std::size_t const n = assembly.triangles.size();
    // Each assembled triangle's key once: both passes below look it up.
    std::vector<VertexKey> keys;
    keys.reserve(n);
    for (auto const& t : assembly.triangles) {
        keys.push_back(vertexKey(*t));
    }
    auto sameVertices = [&](std::size_t k) {
        return std::equal_range(byVertices.begin(), byVertices.end(),
                                std::make_pair(keys[k], std::size_t{0}),
                                [](auto const& x, auto const& y) { return x.first < y.first; });
    };

    Settlement s;
    s.result.resize(n);
    // The assembled triangles that no base triangle of the overlap matches by its vertices.
    std::vector<std::size_t> unmatched;
    // The very same objects first, so that no look-alike takes a base triangle the assembly holds.
    for (std::size_t k = 0; k < n; ++k) {
        auto const& t = assembly.triangles[k];
        auto const range = sameVertices(k);
        for (auto it = range.first; it != range.second; ++it) {
            if (candidates[it->second] == t) {
                used[it->second] = true;
                s.result[k] = t;
                break;
            }
        }
    }
    for (std::size_t k = 0; k < n; ++k) {
        if (s.result[k]) {
            continue;
        }
        auto const& t = assembly.triangles[k];
        auto const range = sameVertices(k);
        for (auto it = range.first; it != range.second; ++it) {
            if (!used[it->second]) {
                used[it->second] = true;
                s.result[k] = candidates[it->second];
                break;
            }
        }
        if (s.result[k]) {
            continue;
        }
        // A base triangle beyond the overlap rectangle: a sliver enclosed by triangles that
        // meet it, whose hole in the overlap TIN the re-triangulation fills again.
        if (auto const outside = baseTriangleOver(base, *t, baseInOverlap)) {
            s.result[k] = outside;
            if (listKept) {
                s.kept.insert(outside.get(), true);
            }
            continue;
        }
        unmatched.push_back(k);
    }
    // A base triangle whose corners the point factory does not hold (a TIN built of points of
    // its own) comes back from the re-triangulation at its very corner positions and elevations
    // but over new point objects: it is still that triangle, which no edit touched.
    if (!unmatched.empty()) {
        std::vector<std::pair<PositionKey, std::size_t>> byPositions;
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (!used[i]) {
                byPositions.emplace_back(positionKey(*candidates[i]), i);
            }
        }
        std::sort(byPositions.begin(), byPositions.end());
        for (std::size_t k : unmatched) {
            auto const& t = assembly.triangles[k];
            PositionKey const key = positionKey(*t);
            auto const range = std::equal_range(
                byPositions.begin(), byPositions.end(), std::make_pair(key, std::size_t{0}),
                [](auto const& x, auto const& y) { return x.first < y.first; });
            for (auto it = range.first; it != range.second; ++it) {
                if (!used[it->second] && sameElevations(*candidates[it->second], *t)) {
                    used[it->second] = true;
                    s.result[k] = candidates[it->second];
                    break;
                }
            }
            if (!s.result[k]) {
                s.result[k] = t;
                s.added.push_back(t);
            }
        }
    }
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (used[i]) {
            if (listKept) {
                s.kept.insert(candidates[i].get(), true);
            }
        } else {
            s.removed.push_back(candidates[i]);
        }
    }
    return s;
}

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
                        Tin* taken, Tin* added, Tin* removed, BaseReach reach)
{
    *ok = false;
    for (Tin* out : {taken, added, removed}) {
        if (out != nullptr) {
            out->clear();
        }
    }

    try {
        core::Rect overlapRect;
        std::vector<TrianglePtr> baseTriangles = baseInOverlap(base, other, &overlapRect);
        Tin const o = tinOf(other.findTrianglesIntersectRect(overlapRect));
        // A result built on the base keeps the base wherever the other is not; one that is not
        // lists every base triangle it drops, so it reads the whole rectangle.
        if (keepBase && reach == BaseReach::NearOther) {
            baseTriangles = nearOther(std::move(baseTriangles), o, overlapRect);
        }
        Tin const b = tinOf(baseTriangles);
        RegionChoice choice(b, o, predicate, keepBase, keepOther);

        RegionProcessor processor = [&](Trees& regions, Tin const&, Tin const&) {
            auto chosen = [&](Point2DIRingTree const& t) { return choice.chooseOther(t); };
            switch (pruning) {
            case Pruning::None:
                break;
            case Pruning::KeepOrDrop:
                keepOrDropRegions(regions, chosen);
                break;
            case Pruning::KeepOrDropInPolygons:
                keepOrDropRegions(regions, chosen);
                filterRegionsByPolygon(regions, polygons);
                break;
            case Pruning::DropLonely:
                keepOrDropRegions(regions, [&](Point2DIRingTree const& t) { return choice.coveredByBoth(t); });
                break;
            }
        };
        // The assembly reads the base's unclaimed triangles (when the base is kept) and, of
        // each region, the TIN it takes; the other region lists are not made, and the ones
        // made stay lists (the assembly only reads their triangles in order).
        RegionSelector const selector = [&](Point2DIRingTree const* region, bool ofFirst) {
            if (region == nullptr) {
                return ofFirst && keepBase;
            }
            return choice.chooseOther(*region) != ofFirst;
        };
        Trees regions;
        RegionTriangleMap firstRegions, secondRegions;
        TinOverlay::overlayTins(b, o, processor, selector, &regions, &firstRegions,
                                &secondRegions);

        Assembly const assembly =
            assemble(regions, firstRegions, secondRegions, choice, other, o, keepBase, keepOther);
        // The kept base triangles are only read to list what a result not built on the base
        // drops.
        Settlement const settled = settle(assembly, base, b, !keepBase);

        // With the base kept, the result is a copy of it (sharing every triangle) edited by the
        // change alone, so that the cost follows the overlap and not the base.
        Tin merged;
        if (keepBase) {
            merged = base;
            for (auto const& t : settled.removed) {
                merged.removeTriangle(t);
            }
            merged.addTriangles(settled.added.data(), settled.added.size());
        } else {
            merged.addTriangles(settled.result.data(), settled.result.size());
        }

        if (taken != nullptr) {
            std::vector<TrianglePtr> fromOther;
            for (std::size_t k = 0; k < settled.result.size(); ++k) {
                if (assembly.fromOther[k]) {
                    fromOther.push_back(settled.result[k]);
                }
            }
            taken->addTriangles(fromOther.data(), fromOther.size());
        }
        if (added != nullptr) {
            added->addTriangles(settled.added.data(), settled.added.size());
        }
        if (removed != nullptr) {
            if (keepBase) {
                removed->addTriangles(settled.removed.data(), settled.removed.size());
            } else {
                std::vector<TrianglePtr> dropped;
                for (auto const& t : base.allTriangles()) {
                    if (settled.kept.find(t.get()) == nullptr) {
                        dropped.push_back(t);
                    }
                }
                removed->addTriangles(dropped.data(), dropped.size());
            }
        }
        *ok = true;
        return merged;
    } catch (trianglecui::TriangleProcessError const&) {
    } catch (geos::util::TopologyException const&) {
    }
    for (Tin* out : {taken, added, removed}) {
        if (out != nullptr) {
            out->clear();
        }
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
