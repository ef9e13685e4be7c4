#include "orlin/util/RegionRetriangulation.h"

#include <array>
#include <deque>
#include <unordered_map>
#include <string>
#include <unordered_set>

#include <geos/geom/Coordinate.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/Point.h>
#include <geos/geom/Polygon.h>

#include "orlin/core/Edge.h"
#include "orlin/core/Edge2D.h"
#include "orlin/core/Edge2DFactory.h"
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
#include "orlin/util/OverlayTriangulation.h"
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

}  // namespace

RegionTinMap RegionRetriangulation::retriangulateTin(
    std::vector<std::shared_ptr<Point2DIRingTree>> const& trees, core::Tin2D const& tin2D,
    SplitMap const& splitMap, core::Tin const& tin, int low, int high,
    core::Point2DIRepository* repository, core::Edge2DFactory* factory)
{
    UniqueListT<Point2DI> pointSet;
    for (auto const& t : tin2D.triangles()) {
        for (int i = 0; i < 3; ++i) {
            pointSet.insert(t->point(i));
        }
    }
    for (auto const& tree : trees) {
        addRingTreePoints(pointSet, *tree);
    }

    UniqueListT<Edge2D> edgeSet;
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
    auto const onEdges = OverlayTriangulation::pointsOnEdges(pointSet.items(), edgeSet.items());
    std::vector<int> segments;
    std::vector<int> markers;
    for (std::size_t k = 0; k < edgeSet.items().size(); ++k) {
        auto const& e = edgeSet.items()[k];
        int from = e->point1()->id();
        for (auto const& p : onEdges[k]) {
            segments.push_back(from);
            segments.push_back(p->id());
            markers.push_back(e->id());
            from = p->id();
        }
        segments.push_back(from);
        segments.push_back(e->point2()->id());
        markers.push_back(e->id());
    }

    core::Tin2D retriangulated(repository, factory);
    {
        TriangleRun run("epjzQ", points, segments, markers);
        if (run.pointCount() > static_cast<int>(pointSet.items().size())) {
            // A vertex the run was not given is a crossing of two constraints that the overlay
            // did not find; snapping it to some nearby point would bend the region boundaries.
            throw trianglecui::TriangleProcessError(
                "Re-triangulation of an overlay returned " + std::to_string(run.pointCount()) +
                " vertices for " + std::to_string(pointSet.items().size()) + " given");
        }
        std::vector<std::shared_ptr<Point2DI>> corners(static_cast<std::size_t>(run.pointCount()));
        for (int i = 0; i < run.pointCount(); ++i) {
            corners[static_cast<std::size_t>(i)] =
                repositoryPoint(repository, Point2D(run.x(i) + originX, run.y(i) + originY));
        }
        for (int i = 0; i < run.triangleCount(); ++i) {
            retriangulated.addTriangle(corners.at(static_cast<std::size_t>(run.corner(i, 0))),
                                       corners.at(static_cast<std::size_t>(run.corner(i, 1))),
                                       corners.at(static_cast<std::size_t>(run.corner(i, 2))));
        }
    }

    core::Tin work;
    auto& pointFactory = core::PointFactory::instance();
    for (auto const& t : retriangulated.triangles()) {
        auto const source = OverlayTriangulation::findSourceTriangle(*t, tin, tin2D, low, high);
        if (!source) {
            continue;
        }
        std::shared_ptr<core::Point> vertices[3];
        for (int i = 0; i < 3; ++i) {
            auto const& c = *t->point(i);
            double const z = OverlayTriangulation::planeElevation(*source, c);
            vertices[i] = pointFactory.factory(core::Point(c.x(), c.y(), z), false);
        }
        work.addTriangle(vertices[0], vertices[1], vertices[2]);
    }
    return groupTrianglesByRegion(work, trees, repository, factory);
}

// For every triangle of the work TIN its three sides in the plane (overlay edges), and for
// every side the triangles that have it.
struct RegionRetriangulation::PlanarAdjacency {
    std::unordered_map<core::Triangle const*, std::array<std::shared_ptr<Edge2D>, 3>> sides;
    std::unordered_map<Edge2D const*, std::vector<std::shared_ptr<core::Triangle>>> triangles;
};

RegionTinMap RegionRetriangulation::groupTrianglesByRegion(
    core::Tin& work, std::vector<std::shared_ptr<Point2DIRingTree>> const& trees,
    core::Point2DIRepository* repository, core::Edge2DFactory* factory)
{
    PlanarAdjacency adjacency;
    adjacency.sides.reserve(work.allTriangles().size());
    for (auto const& t : work.allTriangles()) {
        auto& sides = adjacency.sides[t.get()];
        for (int i = 0; i < 3; ++i) {
            auto const& edge = *t->edge(i);
            sides[static_cast<std::size_t>(i)] =
                factory->factory(repositoryPoint(repository, *edge.point1()),
                                 repositoryPoint(repository, *edge.point2()));
            if (sides[static_cast<std::size_t>(i)]) {
                adjacency.triangles[sides[static_cast<std::size_t>(i)].get()].push_back(t);
            }
        }
    }
    RegionTinMap map;
    for (auto const& tree : trees) {
        extractRegion(map, work, tree, adjacency);
    }
    map[nullptr] = work;
    return map;
}

void RegionRetriangulation::extractRegion(RegionTinMap& map, core::Tin& work,
                                          std::shared_ptr<Point2DIRingTree> const& tree,
                                          PlanarAdjacency const& adjacency)
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
    std::shared_ptr<core::Triangle> seed;
    double z = 0.0;
    for (auto const& t : work.findTrianglesIntersectRect(core::Rect(p.x(), p.y(), p.x(), p.y()))) {
        if (t->interpolateElevation(p, &z, false) && insideRegion(*t)) {
            seed = t;
            break;
        }
    }
    if (seed) {
        core::Tin region;
        collectRegionTriangles(region, work, seed, *tree, adjacency);
        map[tree->ring().get()] = region;
    }
    // A region this TIN does not cover may still hold islands it covers: a patch lying inside
    // the other TIN's area is a child of the ring around it.
    for (auto const& child : tree->childRings()) {
        extractRegion(map, work, child, adjacency);
    }
}

void RegionRetriangulation::collectRegionTriangles(core::Tin& region, core::Tin& work,
                                                   std::shared_ptr<core::Triangle> const& seed,
                                                   Point2DIRingTree const& tree,
                                                   PlanarAdjacency const& adjacency)
{
    std::unordered_set<core::Triangle const*> seen{seed.get()};
    std::vector<std::shared_ptr<core::Triangle>> taken;
    std::deque<std::shared_ptr<core::Triangle>> queue{seed};
    while (!queue.empty()) {
        auto const t = queue.front();
        queue.pop_front();
        taken.push_back(t);
        for (auto const& side : adjacency.sides.at(t.get())) {
            if (!side || isRegionBoundaryEdge(*side, tree)) {
                continue;
            }
            for (auto const& neighbour : adjacency.triangles.at(side.get())) {
                // Triangles an earlier region took are no longer in the work TIN.
                if (seen.insert(neighbour.get()).second && work.containsTriangle(neighbour)) {
                    queue.push_back(neighbour);
                }
            }
        }
    }
    for (auto const& t : taken) {
        region.addTriangle(t);
        work.removeTriangle(t);
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
