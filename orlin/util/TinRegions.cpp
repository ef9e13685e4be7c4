#include "orlin/util/TinRegions.h"

#include "orlin/core/Breakline.h"
#include "orlin/core/Edge.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/AssertError.h"

#include <geos/geom/Coordinate.h>
#include <geos/geom/CoordinateSequence.h>
#include <geos/geom/CoordinateSequenceFactory.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/LinearRing.h>
#include <geos/geom/MultiPolygon.h>
#include <geos/geom/Point.h>
#include <geos/geom/Polygon.h>

#include <algorithm>
#include <cmath>
#include <locale>
#include <sstream>
#include <unordered_set>

namespace tin {
namespace util {

using core::Edge;
using core::Point;
using core::PointRing;
using core::Tin;
using core::Triangle;

namespace {

geos::geom::GeometryFactory const* factory()
{
    return geos::geom::GeometryFactory::getDefaultInstance();
}

void unregister(OuterEdgeMap& map, std::shared_ptr<Point> const& p, OuterEdge const& e)
{
    auto it = map.find(p);
    if (it == map.end()) {
        return;
    }
    auto& list = it->second;
    auto pos = std::find(list.begin(), list.end(), e);
    if (pos != list.end()) {
        list.erase(pos);
    }
    if (list.empty()) {
        map.erase(it);
    }
}

std::shared_ptr<Point> const& fromPoint(OuterEdge const& e)
{
    return e.forward ? e.edge->point1() : e.edge->point2();
}

std::shared_ptr<Point> const& toPoint(OuterEdge const& e)
{
    return e.forward ? e.edge->point2() : e.edge->point1();
}

// The next outline edge leaving `current`. Among the edges that leave it (TIN on
// their left) the sharpest left turn from the arrival direction keeps the walk round
// one sector of triangles; without an arrival (a ring's first step) the last leaving
// edge is taken. Null when no edge is left at the point.
OuterEdge const* nextEdge(std::vector<OuterEdge> const& list, Point const& current, Point const* previous)
{
    OuterEdge const* best = nullptr;
    double bestAngle = -1.0;
    for (auto const& e : list) {
        if (fromPoint(e).get() != &current) {
            continue;
        }
        if (!previous) {
            best = &e;
            continue;
        }
        Point const& n = *toPoint(e);
        double rx = previous->x() - current.x(), ry = previous->y() - current.y();
        double vx = n.x() - current.x(), vy = n.y() - current.y();
        double angle = std::atan2(rx * vy - ry * vx, rx * vx + ry * vy);
        if (angle <= 0.0) {
            angle += 2.0 * 3.141592653589793;
        }
        if (angle > bestAngle) {
            bestAngle = angle;
            best = &e;
        }
    }
    // An outline whose edges do not balance (an edge of three triangles, say) still
    // closes when any remaining edge is followed.
    if (!best && !list.empty()) {
        best = &list.back();
    }
    return best;
}

std::string positionText(double x, double y)
{
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s << "(" << x << ", " << y << ")";
    return s.str();
}

// Triangle of the TIN holding the position, as buildRegionsAndHoles picks it: the
// last candidate of the rectangle query that interpolates there. Null when none.
std::shared_ptr<Triangle> triangleAt(Tin const& tin, core::Point2D const& position)
{
    std::shared_ptr<Triangle> found;
    double z = 0.0;
    for (auto const& t : tin.findTrianglesIntersectRect(position.boundingRect())) {
        if (t->interpolateElevation(position, &z, false)) {
            found = t;
        }
    }
    return found;
}

} // namespace

void collectOuterEdges(Tin const& tin, OuterEdgeMap& map)
{
    for (Edge* e : tin.outerEdges()) {
        OuterEdge directed{e, true};
        Point const& a = *e->point1();
        Point const& b = *e->point2();
        for (auto const& t : tin.findTriangleFromPoint(e->point1())) {
            if (t->edge(0).get() != e && t->edge(1).get() != e && t->edge(2).get() != e) {
                continue;
            }
            for (int k = 0; k < 3; ++k) {
                Point const& q = *t->point(k);
                if (&q != &a && &q != &b) {
                    double orientation = (b.x() - a.x()) * (q.y() - a.y()) - (b.y() - a.y()) * (q.x() - a.x());
                    directed.forward = orientation >= 0.0;
                }
            }
            break;
        }
        map[e->point1()].push_back(directed);
        map[e->point2()].push_back(directed);
    }
}

RingList traceRings(OuterEdgeMap& map)
{
    RingList rings;
    std::vector<std::shared_ptr<Point>> path;
    std::unordered_map<Point const*, std::size_t> positionInPath;

    while (!map.empty()) {
        std::shared_ptr<Point> start = map.begin()->first;
        path.assign(1, start);
        positionInPath.clear();
        positionInPath[start.get()] = 0;
        std::shared_ptr<Point> current = start;
        Point const* previous = nullptr;

        while (!path.empty()) {
            auto entry = map.find(current);
            OuterEdge const* chosen = entry == map.end() ? nullptr : nextEdge(entry->second, *current, previous);
            if (!chosen) {
                throw AssertError("Outline edges do not close into a ring at " +
                                  positionText(current->x(), current->y()));
            }
            OuterEdge e = *chosen;
            std::shared_ptr<Point> next =
                (e.edge->point1().get() == current.get()) ? e.edge->point2() : e.edge->point1();
            unregister(map, e.edge->point1(), e);
            unregister(map, e.edge->point2(), e);
            previous = current.get();

            // A point met again closes a loop: cutting it out keeps every ring simple.
            auto seen = positionInPath.find(next.get());
            if (seen == positionInPath.end()) {
                positionInPath[next.get()] = path.size();
                path.push_back(next);
                current = next;
                continue;
            }
            std::size_t from = seen->second;
            std::vector<std::shared_ptr<Point>> loop(path.begin() + static_cast<std::ptrdiff_t>(from),
                                                     path.end());
            loop.push_back(next);
            for (std::size_t k = from + 1; k < path.size(); ++k) {
                positionInPath.erase(path[k].get());
            }
            path.resize(from + 1);
            if (loop.size() >= 4) {
                rings.push_back(std::make_shared<PointRing>(loop));
            }
            current = next;
            if (from == 0) {
                path.clear();
            }
        }
    }
    return rings;
}

LinearRingList toLinearRings(RingList const& rings)
{
    LinearRingList result;
    result.reserve(rings.size());
    auto const* seqFactory = factory()->getCoordinateSequenceFactory();
    for (auto const& ring : rings) {
        std::vector<geos::geom::Coordinate> coords;
        auto points = ring->points();
        coords.reserve(points.size());
        for (auto const& p : points) {
            coords.emplace_back(p->x(), p->y(), 0.0);
        }
        auto seq = seqFactory->create(std::move(coords), 2);
        result.push_back(factory()->createLinearRing(std::move(seq)).release());
    }
    return result;
}

RingPolygonList ringPolygons(LinearRingList const& linearRings)
{
    RingPolygonList result;
    result.reserve(linearRings.size());
    for (std::size_t i = 0; i < linearRings.size(); ++i) {
        RingPolygon rp;
        rp.index = static_cast<int>(i);
        rp.polygon.reset(factory()->createPolygon(linearRings[i], new std::vector<geos::geom::LinearRing*>()));
        rp.polygon->normalize();
        rp.area = std::fabs(rp.polygon->getArea());
        result.push_back(std::move(rp));
    }
    std::stable_sort(result.begin(), result.end(),
                     [](RingPolygon const& a, RingPolygon const& b) { return a.area > b.area; });
    return result;
}

geos::geom::Polygon* polygonWithHoles(int i, LinearRingList const& linearRings,
                                      RingPolygonList const& ringPolygons)
{
    auto self = std::find_if(ringPolygons.begin(), ringPolygons.end(),
                             [i](RingPolygon const& rp) { return rp.index == i; });
    if (self == ringPolygons.end()) {
        throw AssertError("No polygon for ring " + std::to_string(i) + " in polygonWithHoles");
    }
    geos::geom::Polygon const* shell = self->polygon.get();

    std::vector<geos::geom::Polygon const*> taken;
    std::vector<std::unique_ptr<geos::geom::LinearRing>> holes;
    for (auto const& candidate : ringPolygons) {
        if (&candidate == &*self || candidate.area == 0.0) {
            continue;
        }
        geos::geom::Polygon const* c = candidate.polygon.get();
        // A ring over the same positions as the shell (an island whose edge stands on the
        // rim of the hole it fills, at other elevations) is not inside it: taking it as a
        // hole would empty the shell and drop the island from the outline.
        if (candidate.area == self->area && c->equals(shell)) {
            continue;
        }
        bool insideTaken = std::any_of(taken.begin(), taken.end(),
                                       [c](geos::geom::Polygon const* t) { return t->intersects(c); });
        if (insideTaken) {
            continue;
        }
        if (shell->contains(c)) {
            taken.push_back(c);
            holes.push_back(linearRings[static_cast<std::size_t>(candidate.index)]->clone());
        }
    }
    return factory()->createPolygon(linearRings[static_cast<std::size_t>(i)]->clone(), std::move(holes)).release();
}

bool reachesRing(std::shared_ptr<Triangle> const& start, PointRing const& ring, Tin const& tin)
{
    PointRing const& r = ring;
    std::unordered_set<Triangle const*> visited;
    std::vector<std::shared_ptr<Triangle>> stack;
    stack.push_back(start);
    visited.insert(start.get());
    while (!stack.empty()) {
        std::shared_ptr<Triangle> t = stack.back();
        stack.pop_back();
        for (int k = 0; k < 3; ++k) {
            std::shared_ptr<Edge> e = t->edge(k);
            std::shared_ptr<Point> const& a = e->point1();
            std::shared_ptr<Point> const& b = e->point2();
            // The ring's identity test is cheap; building a breakline only pays off
            // when both ends are ring points.
            if (r.contains(a.get()) && r.contains(b.get()) &&
                r.containsBreakline(core::Breakline(a, b))) {
                return true;
            }
            for (auto const& n : tin.findTriangleFromEdge(e)) {
                if (visited.insert(n.get()).second) {
                    stack.push_back(n);
                }
            }
        }
    }
    return false;
}

namespace {

// Classification against polygons already built for the same ring list. When
// regionPolygons is given it receives the hole-subtracted polygon of each region, in
// region order, so the outline need not build them twice.
void classify(RingList const& rings, LinearRingList const& linearRings,
              RingPolygonList const& polygons, RingList& regions, RingList& holes, Tin const& tin,
              std::vector<std::unique_ptr<geos::geom::Geometry>>* regionPolygons = nullptr)
{
    for (std::size_t i = 0; i < rings.size(); ++i) {
        std::unique_ptr<geos::geom::Polygon> q(
            polygonWithHoles(static_cast<int>(i), linearRings, polygons));
        if (q->getArea() == 0.0) {
            holes.push_back(rings[i]);
            continue;
        }
        std::unique_ptr<geos::geom::Point> interior = q->getInteriorPoint();
        if (!interior || interior->isEmpty()) {
            holes.push_back(rings[i]);
            continue;
        }
        core::Point2D position(interior->getX(), interior->getY());
        std::shared_ptr<Triangle> startTriangle = triangleAt(tin, position);
        // No triangle inside the ring: it bounds an empty gap of the TIN.
        if (!startTriangle) {
            holes.push_back(rings[i]);
            continue;
        }
        if (reachesRing(startTriangle, *rings[i], tin)) {
            regions.push_back(rings[i]);
            if (regionPolygons) {
                regionPolygons->push_back(std::move(q));
            }
        } else {
            holes.push_back(rings[i]);
        }
    }
}

} // namespace

void buildRegionsAndHoles(RingList const& rings, RingList& regions, RingList& holes, Tin const& tin)
{
    regions.clear();
    holes.clear();
    if (rings.empty()) {
        return;
    }
    LinearRingList linearRings = toLinearRings(rings);
    RingPolygonList polygons = ringPolygons(linearRings);
    classify(rings, linearRings, polygons, regions, holes, tin);
}

void buildTinRegionsAndHoles(Tin const& tin, RingList& regions, RingList& holes)
{
    OuterEdgeMap map;
    collectOuterEdges(tin, map);
    RingList rings = traceRings(map);
    buildRegionsAndHoles(rings, regions, holes, tin);
}

geos::geom::MultiPolygon* buildOutlineMultiPolygon(Tin const& tin)
{
    OuterEdgeMap map;
    collectOuterEdges(tin, map);
    RingList rings = traceRings(map);
    LinearRingList linearRings = toLinearRings(rings);
    RingPolygonList polygons = ringPolygons(linearRings);

    RingList regions;
    RingList holes;
    std::vector<std::unique_ptr<geos::geom::Geometry>> parts;
    classify(rings, linearRings, polygons, regions, holes, tin, &parts);
    return factory()->createMultiPolygon(std::move(parts)).release();
}

} // namespace util
} // namespace tin
