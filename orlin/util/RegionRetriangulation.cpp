#include "orlin/util/RegionRetriangulation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include <geos/geom/Coordinate.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/Point.h>
#include <geos/geom/Polygon.h>

#include "orlin/core/Edge.h"
#include "orlin/core/Edge2D.h"
#include "orlin/core/Edge2DFactory.h"
#include "orlin/core/EdgeFactory.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Point2DI.h"
#include "orlin/core/Point2DIRepository.h"
#include "orlin/core/Point2DIRing.h"
#include "orlin/core/Point2DIRingTree.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Tin2D.h"
#include "orlin/core/Triangle.h"
#include "orlin/core/Triangle2D.h"
#include "orlin/support/FixedSizePoolAllocatorT.h"
#include "orlin/util/OverlayTriangulation.h"
#include "orlin/util/TriangleBucketGrid.h"
#include "orlin/util/TriangleRun.h"
#include "orlin/util/UniqueListT.h"

namespace tin {
namespace util {

using core::Edge2D;
using core::Point2D;
using core::Point2DI;
using core::Point2DIRingTree;

namespace {

void addRingTreePoints(UniqueListT<Point2DI>& points, Point2DIRingTree const& tree)
{
    for (auto const& p : tree.ring()->points()) {
        points.insert(p);
    }
    for (auto const& child : tree.childRings()) {
        addRingTreePoints(points, *child);
    }
}

void addRingTreeEdges(UniqueListT<Edge2D>& edges, Point2DIRingTree const& tree,
                      SplitMap const& splitMap, core::Edge2DFactory* factory)
{
    auto const points = tree.ring()->points();
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        auto side = factory->factory(points[i], points[i + 1]);
        if (side) {
            OverlayTriangulation::addSubEdges(&edges, side, splitMap);
        }
    }
    for (auto const& child : tree.childRings()) {
        addRingTreeEdges(edges, *child, splitMap, factory);
    }
}

// The repository point standing at p: exact when it is there (the usual case), else the
// unambiguous nearest one.
std::shared_ptr<Point2DI> repositoryPoint(core::Point2DIRepository* repository, Point2DI const& p)
{
    if (auto exact = repository->get(p)) {
        return exact;
    }
    double distance = 0.0;
    return repository->getFuzzy(p, &distance);
}

// A side in the plane by the addresses of its two repository points, lower first: the identity
// the shared edges of the factory have, without a look-up in the factory.
using SideKey = std::pair<std::uintptr_t, std::uintptr_t>;
SideKey const NO_SIDE{0, 0};

SideKey sideKey(Point2DI const* a, Point2DI const* b)
{
    auto const x = reinterpret_cast<std::uintptr_t>(a);
    auto const y = reinterpret_cast<std::uintptr_t>(b);
    if (x == y) {
        return NO_SIDE;
    }
    return x < y ? SideKey(x, y) : SideKey(y, x);
}

// How near a corner may lie to the line through the other two before its triangle counts as
// having no area: far below the point tolerance of the TIN library (1e-8), far above the
// rounding of coordinates (about 1e-14 at a hundred metres).
double const SLIVER_HEIGHT = 1e-10;

// Twice the signed area of the plan triangle abc (positive counter-clockwise).
double doubleArea(Point2DI const& a, Point2DI const& b, Point2DI const& c)
{
    return (b.x() - a.x()) * (c.y() - a.y()) - (c.x() - a.x()) * (b.y() - a.y());
}

double planLength(Point2DI const& a, Point2DI const& b)
{
    return std::hypot(b.x() - a.x(), b.y() - a.y());
}

// Whether the counter-clockwise triangle abc is at least SLIVER_HEIGHT high over each side.
bool hasHeight(Point2DI const& a, Point2DI const& b, Point2DI const& c)
{
    double const area2 = doubleArea(a, b, c);
    double const longest = std::max({planLength(a, b), planLength(b, c), planLength(c, a)});
    return area2 > SLIVER_HEIGHT * longest;
}

}  // namespace

// Triangles of no area flipped away. The triangulator sees the plan positions shifted by an
// origin and is exact on those; where a crossing line of the overlay runs almost straight
// through points a micrometre apart (a thin strip left between two close outlines, say), it
// may keep a triangle whose middle corner lies a rounding error off the line through the other
// two, which in the TIN's own coordinates has no area. Such a triangle and its neighbour across
// its longest side become the two triangles of the other diagonal, when both have a height;
// that side is no constraint (a constraint is cut at every point lying on it) and the flip
// keeps the plan area. Linear in the triangles when there are none.
void RegionRetriangulation::flipSlivers(std::vector<std::array<std::uint32_t, 3>>* triangles,
                                        std::vector<std::shared_ptr<Point2DI>> const& corners)
{
    auto& list = *triangles;
    auto point = [&](std::uint32_t c) -> Point2DI const& { return *corners[c]; };
    std::vector<std::size_t> slivers;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!hasHeight(point(list[i][0]), point(list[i][1]), point(list[i][2]))) {
            slivers.push_back(i);
        }
    }
    if (slivers.empty()) {
        return;
    }
    // The triangle on the left of each directed side, by the corners' repository points.
    using DirectedSide = std::pair<Point2DI const*, Point2DI const*>;
    std::map<DirectedSide, std::size_t> leftOf;
    auto side = [&](std::uint32_t from, std::uint32_t to) {
        return DirectedSide(corners[from].get(), corners[to].get());
    };
    auto file = [&](std::size_t i) {
        for (int k = 0; k < 3; ++k) {
            leftOf[side(list[i][k], list[i][(k + 1) % 3])] = i;
        }
    };
    auto unfile = [&](std::size_t i) {
        for (int k = 0; k < 3; ++k) {
            auto const it = leftOf.find(side(list[i][k], list[i][(k + 1) % 3]));
            if (it != leftOf.end() && it->second == i) {
                leftOf.erase(it);
            }
        }
    };
    for (std::size_t i = 0; i < list.size(); ++i) {
        file(i);
    }
    for (std::size_t i : slivers) {
        auto const t = list[i];
        if (hasHeight(point(t[0]), point(t[1]), point(t[2]))) {
            continue;
        }
        // The longest side a -> b, c the corner across it.
        int k = 0;
        for (int m = 1; m < 3; ++m) {
            if (planLength(point(t[m]), point(t[(m + 1) % 3])) > planLength(point(t[k]), point(t[(k + 1) % 3]))) {
                k = m;
            }
        }
        std::uint32_t const a = t[k], b = t[(k + 1) % 3], c = t[(k + 2) % 3];
        auto const across = leftOf.find(side(b, a));
        if (across == leftOf.end()) {
            continue;
        }
        std::size_t const j = across->second;
        std::uint32_t q = list[j][0];
        for (std::uint32_t v : list[j]) {
            if (corners[v] != corners[a] && corners[v] != corners[b]) {
                q = v;
            }
        }
        // The quadrilateral a, q, b, c counter-clockwise; its other diagonal is q - c.
        std::array<std::uint32_t, 3> const first{a, q, c};
        std::array<std::uint32_t, 3> const second{q, b, c};
        if (!hasHeight(point(a), point(q), point(c)) || !hasHeight(point(q), point(b), point(c))) {
            continue;
        }
        unfile(i);
        unfile(j);
        list[i] = first;
        list[j] = second;
        file(i);
        file(j);
    }
}

// The triangles to group by number (in list order) with their three sides in the plane
// (overlay edges), the triangles sharing each side grouped by side, and the state of the
// floods. Arrays instead of maps: the flood visits every side of every triangle.
struct RegionRetriangulation::PlanarAdjacency {
    std::vector<std::shared_ptr<core::Triangle>> triangles;
    // Side k of triangle i at 3 * i + k, as the addresses of its repository end points (lower
    // first); NO_SIDE where both ends are one point.
    std::vector<SideKey> sides;
    // Triangle numbers grouped by side; side slot s has its group at [groupBegin, groupEnd).
    std::vector<std::uint32_t> sharing;
    std::vector<std::uint32_t> groupBegin;
    std::vector<std::uint32_t> groupEnd;
    std::vector<char> taken;
    // The last region whose flood reached each triangle.
    std::vector<std::uint32_t> reached;
    std::uint32_t region = 0;

    // Built once the list is complete, for finding seeds; takes the list over.
    std::unique_ptr<TriangleBucketGrid> grid;

    // Triangle i of the list, once the grid holds it.
    std::shared_ptr<core::Triangle> const& listed(std::size_t i) const { return grid->triangles()[i]; }

    static constexpr std::uint32_t NONE = 0xffffffffu;
};

// The triangles are made the way a TIN makes them, but kept in a plain list: they go into the
// region TINs once, without passing through a TIN of all of them first. Each corner takes the
// elevation of the source triangle (the first triangle of tin holding the centroid); a triangle
// with no source is dropped. The corners of all triangles are interned in one batch and their
// edges made in one batch, so that the misses in both factories overlap.
void RegionRetriangulation::makeTriangles(std::vector<std::array<std::uint32_t, 3>> const& triangles,
                                          std::vector<std::shared_ptr<Point2DI>> const& corners,
                                          core::Tin const& tin, PlanarAdjacency* adjacency)
{
    TriangleBucketGrid const sources(
        std::vector<std::shared_ptr<core::Triangle>>(tin.allTriangles().begin(), tin.allTriangles().end()));
    std::vector<std::uint32_t> placed;
    std::vector<double> xyz;
    placed.reserve(triangles.size());
    xyz.reserve(9 * triangles.size());
    for (std::uint32_t n = 0; n < triangles.size(); ++n) {
        auto const& t = triangles[n];
        Point2DI const* c[3] = {corners[t[0]].get(), corners[t[1]].get(), corners[t[2]].get()};
        // The centroid as a planar triangle computes it, corners in order.
        Point2D const centroid((c[0]->x() + c[1]->x() + c[2]->x()) / 3.0,
                               (c[0]->y() + c[1]->y() + c[2]->y()) / 3.0);
        std::uint32_t const source = sources.findContainingNumber(centroid);
        if (source == TriangleBucketGrid::NONE) {
            continue;
        }
        placed.push_back(n);
        for (int i = 0; i < 3; ++i) {
            xyz.push_back(c[i]->x());
            xyz.push_back(c[i]->y());
            xyz.push_back(sources.planeElevation(source, c[i]->x(), c[i]->y()));
        }
    }
    std::vector<std::shared_ptr<core::Point>> vertices(3 * placed.size());
    core::PointFactory::instance().factoryAll(xyz.data(), vertices.size(), vertices.data());
    bool const anyDegenerate = [&] {
        for (std::size_t k = 0; k < vertices.size(); k += 3) {
            if (vertices[k] == vertices[k + 1] || vertices[k + 1] == vertices[k + 2] ||
                vertices[k] == vertices[k + 2]) {
                return true;
            }
        }
        return false;
    }();
    if (anyDegenerate) {
        // The factory only keeps points that somebody holds: made one by one, the corners of a
        // dropped triangle die at once, and a later request at their position makes a new point
        // with its own elevation. Released here, the batch leaves the factory as it found it,
        // and the corners are interned again in that order.
        std::fill(vertices.begin(), vertices.end(), nullptr);
        auto& pointFactory = core::PointFactory::instance();
        for (std::size_t k = 0; k < vertices.size(); k += 3) {
            for (std::size_t i = k; i < k + 3; ++i) {
                vertices[i] = pointFactory.factory(
                    core::Point(xyz[3 * i], xyz[3 * i + 1], xyz[3 * i + 2]), false);
            }
            if (vertices[k] == vertices[k + 1] || vertices[k + 1] == vertices[k + 2] ||
                vertices[k] == vertices[k + 2]) {
                std::fill(vertices.begin() + static_cast<std::ptrdiff_t>(k),
                          vertices.begin() + static_cast<std::ptrdiff_t>(k + 3), nullptr);
            }
        }
    }
    // Edge i of a triangle joins the corners other than i.
    std::vector<std::shared_ptr<core::Point> const*> ends;
    ends.reserve(6 * placed.size());
    for (std::size_t k = 0; k < vertices.size(); k += 3) {
        if (!vertices[k]) {
            continue;
        }
        for (std::size_t i = 0; i < 3; ++i) {
            ends.push_back(&vertices[k + (i + 1) % 3]);
            ends.push_back(&vertices[k + (i + 2) % 3]);
        }
    }
    std::vector<std::shared_ptr<core::Edge>> edges(ends.size() / 2);
    core::EdgeFactory::instance().factoryAll(ends.data(), edges.size(), edges.data());

    adjacency->triangles.reserve(placed.size());
    adjacency->sides.reserve(3 * placed.size());
    std::size_t edge = 0;
    for (std::size_t m = 0; m < placed.size(); ++m) {
        std::size_t const k = 3 * m;
        if (!vertices[k]) {
            continue;
        }
        adjacency->triangles.push_back(std::allocate_shared<core::Triangle>(
            support::FixedSizePoolAllocatorT<core::Triangle>(), vertices[k], vertices[k + 1],
            vertices[k + 2], edges[edge], edges[edge + 1], edges[edge + 2]));
        edge += 3;
        auto const& t = triangles[placed[m]];
        Point2DI const* c[3] = {corners[t[0]].get(), corners[t[1]].get(), corners[t[2]].get()};
        // Side k joins the corners other than k, as edge k of the triangle does.
        for (int i = 0; i < 3; ++i) {
            adjacency->sides.push_back(sideKey(c[(i + 1) % 3], c[(i + 2) % 3]));
        }
    }
}

RegionTinMap RegionRetriangulation::tinsOf(RegionTriangleMap const& lists)
{
    RegionTinMap tins;
    for (auto const& [key, triangles] : lists) {
        core::Tin region;
        region.addTriangles(triangles.data(), triangles.size());
        // Moved in, not assigned over a default TIN that would be made and dropped.
        tins.insert_or_assign(key, std::move(region));
    }
    return tins;
}

RegionTriangleMap RegionRetriangulation::retriangulateTriangles(
    std::vector<std::shared_ptr<Point2DIRingTree>> const& trees, core::Tin2D const& tin2D,
    SplitMap const& splitMap, core::Tin const& tin, int low, int high,
    core::Point2DIRepository* repository, core::Edge2DFactory* factory, Wanted const& wanted,
    std::vector<std::shared_ptr<core::Triangle>>* made)
{
    UniqueListT<Point2DI> pointSet;
    pointSet.reserve(tin2D.triangles().size() / 2 + 16);
    for (auto const& t : tin2D.triangles()) {
        for (int i = 0; i < 3; ++i) {
            pointSet.insert(t->point(i));
        }
    }
    for (auto const& tree : trees) {
        addRingTreePoints(pointSet, *tree);
    }

    UniqueListT<Edge2D> edgeSet;
    edgeSet.reserve(3 * tin2D.triangles().size() / 2 + 16);
    for (auto const& t : tin2D.triangles()) {
        for (int i = 0; i < 3; ++i) {
            OverlayTriangulation::addSubEdges(&edgeSet, t->edge(i), splitMap);
        }
    }
    for (auto const& tree : trees) {
        addRingTreeEdges(edgeSet, *tree, splitMap, factory);
    }
    // Every end of a segment is given as a vertex, so that the run has no reason to make one.
    for (auto const& e : edgeSet.items()) {
        pointSet.insert(e->point1());
        pointSet.insert(e->point2());
    }

    core::Rect const box = tin2D.boundingRect();
    double const originX = (box.xMin() + box.xMax()) / 2.0;
    double const originY = (box.yMin() + box.yMax()) / 2.0;

    std::vector<double> points;
    points.reserve(pointSet.items().size() * 2);
    int index = 0;
    for (auto const& p : pointSet.items()) {
        points.push_back(p->x() - originX);
        points.push_back(p->y() - originY);
        p->setId(index++);
    }
    // Every segment is cut at the given vertices lying on it: a split point of a TIN edge may
    // lie a rounding error off a ring side that runs along that edge, and the run would meet
    // the edge's sub-edges crossing that side at a point it was not given.
    auto const chains = OverlayTriangulation::chainsAlongEdges(pointSet.items(), edgeSet.items());
    std::vector<int> const& segments = chains.segments;
    std::vector<int> const& markers = chains.markers;

    std::vector<std::shared_ptr<Point2DI>> corners;
    std::vector<std::array<std::uint32_t, 3>> triangles;
    {
        // No edge list ("e"): only the vertices and triangles of this run are read.
        TriangleRun run("pjzQ", points, segments, markers);
        if (run.pointCount() > static_cast<int>(pointSet.items().size())) {
            // A vertex the run was not given is a crossing of two constraints that the overlay
            // did not find; snapping it to some nearby point would bend the region boundaries.
            throw trianglecui::TriangleProcessError(
                "Re-triangulation of an overlay returned " + std::to_string(run.pointCount()) +
                " vertices for " + std::to_string(pointSet.items().size()) + " given");
        }
        corners.resize(static_cast<std::size_t>(run.pointCount()));
        for (int i = 0; i < run.pointCount(); ++i) {
            corners[static_cast<std::size_t>(i)] =
                repositoryPoint(repository, Point2D(run.x(i) + originX, run.y(i) + originY));
        }
        triangles.reserve(static_cast<std::size_t>(run.triangleCount()));
        for (int i = 0; i < run.triangleCount(); ++i) {
            std::array<std::uint32_t, 3> t{};
            for (int k = 0; k < 3; ++k) {
                int const c = run.corner(i, k);
                if (c < 0 || c >= run.pointCount()) {
                    throw std::out_of_range("Re-triangulation corner " + std::to_string(c) +
                                            " out of range");
                }
                t[static_cast<std::size_t>(k)] = static_cast<std::uint32_t>(c);
            }
            // Two corners on one repository point make no triangle.
            if (corners[t[0]] != corners[t[1]] && corners[t[1]] != corners[t[2]] &&
                corners[t[0]] != corners[t[2]]) {
                triangles.push_back(t);
            }
        }
    }

    flipSlivers(&triangles, corners);
    // The triangles are made the way a TIN makes them, but kept in a plain list: they go into
    // the region TINs once, without passing through a TIN of all of them first.
    PlanarAdjacency adjacency;
    makeTriangles(triangles, corners, tin, &adjacency);
    RegionTriangleMap map = groupTriangles(adjacency, trees, nullptr, wanted);
    if (made != nullptr) {
        *made = adjacency.grid->triangles();
    }
    return map;
}

namespace {

// The sides of a region, sorted: its own ring's and its direct children's (where the flood must
// stop).
std::vector<SideKey> regionBoundary(Point2DIRingTree const& tree)
{
    std::vector<SideKey> sides;
    auto addRing = [&sides](core::Point2DIRing const& ring) {
        auto const points = ring.points();
        for (std::size_t j = 0; j + 1 < points.size(); ++j) {
            sides.push_back(sideKey(points[j].get(), points[j + 1].get()));
        }
    };
    addRing(*tree.ring());
    for (auto const& child : tree.childRings()) {
        addRing(*child->ring());
    }
    std::sort(sides.begin(), sides.end());
    return sides;
}

}  // namespace

RegionTinMap RegionRetriangulation::groupTrianglesByRegion(
    core::Tin& work, std::vector<std::shared_ptr<Point2DIRingTree>> const& trees,
    core::Point2DIRepository* repository, core::Edge2DFactory* factory)
{
    PlanarAdjacency adjacency;
    std::size_t const n = work.allTriangles().size();
    adjacency.triangles.reserve(n);
    adjacency.sides.reserve(3 * n);
    for (auto const& t : work.allTriangles()) {
        adjacency.triangles.push_back(t);
        for (int k = 0; k < 3; ++k) {
            auto const& edge = *t->edge(k);
            adjacency.sides.push_back(sideKey(repositoryPoint(repository, *edge.point1()).get(),
                                              repositoryPoint(repository, *edge.point2()).get()));
        }
    }
    RegionTinMap map = tinsOf(groupTriangles(adjacency, trees, &work, Wanted()));
    map.insert_or_assign(nullptr, work);
    return map;
}

RegionTriangleMap RegionRetriangulation::groupTriangles(
    PlanarAdjacency& adjacency, std::vector<std::shared_ptr<Point2DIRingTree>> const& trees,
    core::Tin* work, Wanted const& wanted)
{
    std::size_t const n = adjacency.triangles.size();
    std::vector<std::pair<SideKey, std::uint32_t>> bySide;
    bySide.reserve(adjacency.sides.size());
    for (std::size_t slot = 0; slot < adjacency.sides.size(); ++slot) {
        if (adjacency.sides[slot] != NO_SIDE) {
            bySide.emplace_back(adjacency.sides[slot], static_cast<std::uint32_t>(slot));
        }
    }
    // Within a side the triangles stay in list order, the order the flood meets them in.
    std::sort(bySide.begin(), bySide.end());
    adjacency.sharing.resize(bySide.size());
    adjacency.groupBegin.assign(adjacency.sides.size(), 0);
    adjacency.groupEnd.assign(adjacency.sides.size(), 0);
    for (std::size_t j = 0; j < bySide.size();) {
        std::size_t k = j;
        while (k < bySide.size() && bySide[k].first == bySide[j].first) {
            ++k;
        }
        for (std::size_t m = j; m < k; ++m) {
            adjacency.sharing[m] = bySide[m].second / 3;
            adjacency.groupBegin[bySide[m].second] = static_cast<std::uint32_t>(j);
            adjacency.groupEnd[bySide[m].second] = static_cast<std::uint32_t>(k);
        }
        j = k;
    }
    adjacency.taken.assign(n, 0);
    adjacency.reached.assign(n, PlanarAdjacency::NONE);
    // The list moves into the grid (the grid holds it from now on): no copy of every pointer.
    adjacency.grid = std::make_unique<TriangleBucketGrid>(std::move(adjacency.triangles));

    RegionTriangleMap map;
    for (auto const& tree : trees) {
        extractRegion(map, tree, adjacency, wanted);
    }
    if (work != nullptr) {
        for (std::size_t i = 0; i < n; ++i) {
            if (adjacency.taken[i]) {
                work->removeTriangle(adjacency.listed(i));
            }
        }
    } else if (!wanted || wanted(nullptr)) {
        std::vector<std::shared_ptr<core::Triangle>> unclaimed;
        for (std::size_t i = 0; i < n; ++i) {
            if (!adjacency.taken[i]) {
                unclaimed.push_back(adjacency.listed(i));
            }
        }
        map.insert_or_assign(nullptr, std::move(unclaimed));
    }
    return map;
}

void RegionRetriangulation::extractRegion(RegionTriangleMap& map,
                                          std::shared_ptr<Point2DIRingTree> const& tree,
                                          PlanarAdjacency& adjacency, Wanted const& wanted)
{
    auto const* polygon = tree->geosPolygon();
    std::unique_ptr<geos::geom::Point> interior(polygon->getInteriorPoint());
    if (!interior || interior->isEmpty()) {
        return;
    }
    Point2D const p(interior->getX(), interior->getY());
    // GEOS may place the interior point of a ring with nearly collinear vertices on one of its
    // sides; of the triangles meeting it there, only the one inside the region may seed it.
    auto const* geometryFactory = geos::geom::GeometryFactory::getDefaultInstance();
    auto insideRegion = [&](core::Triangle const& t) {
        Point2D const c = t.getInteriorPoint();
        std::unique_ptr<geos::geom::Point> centroid(
            geometryFactory->createPoint(geos::geom::Coordinate(c.x(), c.y())));
        return polygon->covers(centroid.get());
    };
    // Of the triangles no earlier region took, the first in list order.
    std::uint32_t seed = PlanarAdjacency::NONE;
    double z = 0.0;
    auto const candidates = adjacency.grid->candidates(p.x(), p.y());
    for (auto it = candidates.first; it != candidates.second; ++it) {
        core::Triangle const& t = *adjacency.listed(*it);
        if (!adjacency.taken[*it] && t.interpolateElevation(p, &z, false) && insideRegion(t)) {
            seed = *it;
            break;
        }
    }
    if (seed != PlanarAdjacency::NONE) {
        if (!wanted || wanted(tree.get())) {
            std::vector<std::shared_ptr<core::Triangle>> region;
            collectRegionTriangles(&region, seed, *tree, adjacency);
            map.insert_or_assign(tree->ring().get(), std::move(region));
        } else {
            collectRegionTriangles(nullptr, seed, *tree, adjacency);
        }
    }
    // A region this TIN does not cover may still hold islands it covers: a patch lying inside
    // the other TIN's area is a child of the ring around it.
    for (auto const& child : tree->childRings()) {
        extractRegion(map, child, adjacency, wanted);
    }
}

void RegionRetriangulation::collectRegionTriangles(
    std::vector<std::shared_ptr<core::Triangle>>* region, std::uint32_t first,
    Point2DIRingTree const& tree, PlanarAdjacency& adjacency)
{
    auto const boundary = regionBoundary(tree);
    std::uint32_t const stamp = adjacency.region++;
    adjacency.reached[first] = stamp;
    // The queue is the list of taken triangles: a triangle is taken when it leaves the queue.
    std::vector<std::uint32_t> queue{first};
    for (std::size_t head = 0; head < queue.size(); ++head) {
        std::uint32_t const t = queue[head];
        for (std::size_t slot = 3 * std::size_t(t); slot < 3 * std::size_t(t) + 3; ++slot) {
            SideKey const& side = adjacency.sides[slot];
            if (side == NO_SIDE || std::binary_search(boundary.begin(), boundary.end(), side)) {
                continue;
            }
            for (std::uint32_t j = adjacency.groupBegin[slot]; j < adjacency.groupEnd[slot]; ++j) {
                std::uint32_t const neighbour = adjacency.sharing[j];
                // Triangles an earlier region took are not taken again.
                if (adjacency.reached[neighbour] == stamp) {
                    continue;
                }
                adjacency.reached[neighbour] = stamp;
                if (!adjacency.taken[neighbour]) {
                    queue.push_back(neighbour);
                }
            }
        }
    }
    for (std::uint32_t t : queue) {
        adjacency.taken[t] = 1;
    }
    if (region == nullptr) {
        return;
    }
    region->reserve(queue.size());
    for (std::uint32_t t : queue) {
        region->push_back(adjacency.listed(t));
    }
}

bool RegionRetriangulation::isRegionBoundaryEdge(Edge2D const& e, Point2DIRingTree const& tree)
{
    if (tree.ring()->containsEdge(e)) {
        return true;
    }
    for (auto const& child : tree.childRings()) {
        if (child->ring()->containsEdge(e)) {
            return true;
        }
    }
    return false;
}

}  // namespace util
}  // namespace tin
