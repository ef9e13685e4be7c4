#include "orlin/util/OverlayTriangulation.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <iterator>
#include <stdexcept>
#include <string>
#include <unordered_set>

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
#include "orlin/support/HashMix.h"
#include "orlin/util/AssertError.h"
#include "orlin/util/TriangleBucketGrid.h"
#include "orlin/util/TriangleRun.h"
#include "orlin/util/UniqueListT.h"

namespace tin {
namespace util {

using core::Edge2D;
using core::Point2D;
using core::Point2DI;

namespace {

char const* const OVERLAY_SWITCHES = "epjzQ";

double snapFraction(double f)
{
    if (f < 1e-4) {
        return 0.0;
    }
    if (f > 0.9999) {
        return 1.0;
    }
    return f;
}

// A point the overlay computes (a crossing of two edges or of the two surfaces): the
// repository's point within its fuzzy distance when there is one. A new one stands exactly where
// a live vertex of any TIN stands within the point factory's tolerance, when one does: the same
// crossing computed by an earlier edit, whose corners the undo history keeps, may come out a
// rounding error away, and the factory would hand that edit's corner back at one elevation and
// make a new corner at another, so that the two sides of a vertical step there would stand
// apart and the TIN would have a crack between them.
std::shared_ptr<Point2DI> computedPoint(core::Point2DIRepository* repository, Point2D const& position)
{
    double const delta = core::Point2DIRepository::DEFAULT_DELTA;
    if (auto stored = repository->getFuzzy(position, delta)) {
        return stored;
    }
    Point2D live;
    if (core::PointFactory::instance().findLivePosition(position.x(), position.y(), &live)) {
        return repository->addFuzzy(live, delta);
    }
    return repository->add(position);
}

}  // namespace

std::size_t OverlayTriangulation::EdgeOwners::SlotTraits::hashOf(Slot const& s)
{
    return static_cast<std::size_t>(
        support::mixWords(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(s.lower)),
                       static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(s.upper))));
}

void OverlayTriangulation::EdgeOwners::set(Point2DI const* p, Point2DI const* q, bool ofFirst,
                                           std::shared_ptr<Edge2D> const& tinEdge)
{
    Slot key;
    key.lower = std::less<Point2DI const*>()(p, q) ? p : q;
    key.upper = key.lower == p ? q : p;
    auto const claimed = m_table.claim(SlotTraits::hashOf(key), [&](Slot const& slot) {
        return slot.lower == key.lower && slot.upper == key.upper;
    });
    if (claimed.second) {
        claimed.first->lower = key.lower;
        claimed.first->upper = key.upper;
    }
    (ofFirst ? claimed.first->owners.first : claimed.first->owners.second) = &tinEdge;
}

OverlayTriangulation::EdgeOwners::Owners const* OverlayTriangulation::EdgeOwners::find(
    Point2DI const* p, Point2DI const* q) const
{
    Slot key;
    key.lower = std::less<Point2DI const*>()(p, q) ? p : q;
    key.upper = key.lower == p ? q : p;
    Slot const* found = m_table.find(SlotTraits::hashOf(key), [&](Slot const& slot) {
        return slot.lower == key.lower && slot.upper == key.upper;
    });
    return found != nullptr ? &found->owners : nullptr;
}

namespace {

// The ends of the factory's edge between two distinct repository points, in its order: the
// smaller coordinate (x, then y) first, two objects at one position in address order.
std::pair<std::shared_ptr<Point2DI> const*, std::shared_ptr<Point2DI> const*> edgeEnds(
    std::shared_ptr<Point2DI> const& a, std::shared_ptr<Point2DI> const& b)
{
    bool aFirst = a->x() < b->x() || (a->x() == b->x() && a->y() < b->y());
    if (!aFirst && !(b->x() < a->x() || (b->x() == a->x() && b->y() < a->y()))) {
        aFirst = std::less<Point2DI const*>()(a.get(), b.get());
    }
    return aFirst ? std::make_pair(&a, &b) : std::make_pair(&b, &a);
}

// edgeEnds on positions read beforehand (x, y): whether a comes first.
bool endsInOrder(double const* a, double const* b, Point2DI const* aPoint, Point2DI const* bPoint)
{
    bool aFirst = a[0] < b[0] || (a[0] == b[0] && a[1] < b[1]);
    if (!aFirst && !(b[0] < a[0] || (b[0] == a[0] && b[1] < a[1]))) {
        aFirst = std::less<Point2DI const*>()(aPoint, bPoint);
    }
    return aFirst;
}

// positionOnEdge on an edge given by its first point and squared length.
double positionAlong(double x1, double y1, double lengthSqr, double x, double y)
{
    double const dx = x - x1;
    double const dy = y - y1;
    if (lengthSqr <= 0.0) {
        return 0.0;
    }
    return std::sqrt((dx * dx + dy * dy) / lengthSqr);
}

}  // namespace

struct OverlayTriangulation::Corner {
    // The overlay's point, held by the overlay for as long as the corner is used.
    std::shared_ptr<Point2DI> const* at = nullptr;
    double d = 0.0;
    std::shared_ptr<Point2DI> const& point() const { return *at; }
};

OverlayTriangulation::EdgeChains OverlayTriangulation::chainsAlongEdges(
    std::vector<std::shared_ptr<Point2DI>> const& points, std::vector<std::shared_ptr<Edge2D>> const& edges)
{
    auto const onEdges = pointsOnEdges(points, edges);
    EdgeChains chains;
    chains.segments.reserve(edges.size() * 2);
    chains.markers.reserve(edges.size());
    chains.segmentEdges.reserve(edges.size());
    auto add = [&](int from, int to, int marker, std::size_t k) {
        chains.segments.push_back(from);
        chains.segments.push_back(to);
        chains.markers.push_back(marker);
        chains.segmentEdges.push_back(k);
    };
    for (std::size_t k = 0; k < edges.size(); ++k) {
        auto const& e = edges[k];
        int from = e->point1()->id();
        for (auto const& p : onEdges[k]) {
            add(from, p->id(), e->id(), k);
            from = p->id();
        }
        add(from, e->point2()->id(), e->id(), k);
    }
    return chains;
}

std::vector<std::vector<std::shared_ptr<Point2DI>>> OverlayTriangulation::pointsOnEdges(
    std::vector<std::shared_ptr<Point2DI>> const& points,
    std::vector<std::shared_ptr<Edge2D>> const& edges)
{
    std::vector<std::vector<std::shared_ptr<Point2DI>>> result(edges.size());
    if (points.empty() || edges.empty()) {
        return result;
    }
    double xMin = points.front()->x(), xMax = xMin, yMin = points.front()->y(), yMax = yMin;
    for (auto const& p : points) {
        xMin = std::min(xMin, p->x());
        xMax = std::max(xMax, p->x());
        yMin = std::min(yMin, p->y());
        yMax = std::max(yMax, p->y());
    }
    double totalLength = 0.0;
    for (auto const& e : edges) {
        totalLength += std::sqrt(e->lengthSqr());
    }
    double cell = totalLength / static_cast<double>(edges.size());
    // Keeps the grid at most about 4 cells per point however the edges are spread.
    double const area = std::max((xMax - xMin) * (yMax - yMin), 0.0);
    cell = std::max(cell, std::sqrt(area / (4.0 * static_cast<double>(points.size()))));
    if (!(cell > 0.0)) {
        return result;
    }
    // The cells are one array: a flat or lopsided spread (far clusters of short edges) gets
    // coarser cells rather than an array far larger than the points.
    double const cellBudget = 8.0 * static_cast<double>(points.size()) + 64.0;
    while ((std::floor((xMax - xMin) / cell) + 1.0) * (std::floor((yMax - yMin) / cell) + 1.0) >
           cellBudget) {
        cell *= 2.0;
    }
    auto const columns = static_cast<std::int64_t>((xMax - xMin) / cell) + 1;
    auto const rows = static_cast<std::int64_t>((yMax - yMin) / cell) + 1;
    auto column = [&](double x) {
        return std::clamp<std::int64_t>(static_cast<std::int64_t>((x - xMin) / cell), 0, columns - 1);
    };
    auto row = [&](double y) {
        return std::clamp<std::int64_t>(static_cast<std::int64_t>((y - yMin) / cell), 0, rows - 1);
    };
    // Point numbers by cell, counting sort: one array, no list per cell.
    std::size_t const cells = static_cast<std::size_t>(columns * rows);
    std::vector<std::uint32_t> cellStart(cells + 1, 0);
    std::vector<std::uint32_t> cellOf(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        cellOf[i] = static_cast<std::uint32_t>(row(points[i]->y()) * columns + column(points[i]->x()));
        ++cellStart[cellOf[i] + 1];
    }
    for (std::size_t c = 1; c <= cells; ++c) {
        cellStart[c] += cellStart[c - 1];
    }
    std::vector<std::uint32_t> cellPoints(points.size());
    {
        std::vector<std::uint32_t> fill(cellStart.begin(), cellStart.end() - 1);
        for (std::size_t i = 0; i < points.size(); ++i) {
            cellPoints[fill[cellOf[i]]++] = static_cast<std::uint32_t>(i);
        }
    }
    struct Found {
        double along;
        Point2DI const* point;
        std::uint32_t number;
        bool operator<(Found const& o) const
        {
            return along != o.along ? along < o.along : std::less<Point2DI const*>()(point, o.point);
        }
    };
    std::vector<Found> found;
    for (std::size_t k = 0; k < edges.size(); ++k) {
        Edge2D const& e = *edges[k];
        Point2DI const& a = *e.point1();
        Point2DI const& b = *e.point2();
        double const dx = b.x() - a.x();
        double const dy = b.y() - a.y();
        double const length2 = dx * dx + dy * dy;
        if (!(length2 > 0.0)) {
            continue;
        }
        double const length = std::sqrt(length2);
        found.clear();
        std::int64_t const c0 = column(std::min(a.x(), b.x()) - ON_EDGE_DISTANCE);
        std::int64_t const c1 = column(std::max(a.x(), b.x()) + ON_EDGE_DISTANCE);
        std::int64_t const r0 = row(std::min(a.y(), b.y()) - ON_EDGE_DISTANCE);
        std::int64_t const r1 = row(std::max(a.y(), b.y()) + ON_EDGE_DISTANCE);
        for (std::int64_t r = r0; r <= r1; ++r) {
            for (std::int64_t c = c0; c <= c1; ++c) {
                std::size_t const cell = static_cast<std::size_t>(r * columns + c);
                for (std::uint32_t j = cellStart[cell]; j < cellStart[cell + 1]; ++j) {
                    Point2DI const* p = points[cellPoints[j]].get();
                    if (p == &a || p == &b) {
                        continue;
                    }
                    double const px = p->x() - a.x();
                    double const py = p->y() - a.y();
                    double const along = (px * dx + py * dy) / length;
                    if (along <= ON_EDGE_DISTANCE || along >= length - ON_EDGE_DISTANCE) {
                        continue;
                    }
                    if (std::abs(dx * py - dy * px) / length <= ON_EDGE_DISTANCE) {
                        found.push_back(Found{along, p, cellPoints[j]});
                    }
                }
            }
        }
        std::sort(found.begin(), found.end());
        for (auto const& f : found) {
            result[k].push_back(points[f.number]);
        }
    }
    return result;
}

std::vector<std::shared_ptr<Edge2D>> OverlayTriangulation::cutAtPoints(
    std::vector<std::shared_ptr<Edge2D>> const& edges,
    std::vector<std::shared_ptr<Point2DI>> const& points, core::Edge2DFactory* factory)
{
    auto const onEdges = pointsOnEdges(points, edges);
    std::vector<std::shared_ptr<Edge2D>> pieces;
    pieces.reserve(edges.size());
    for (std::size_t k = 0; k < edges.size(); ++k) {
        if (onEdges[k].empty()) {
            pieces.push_back(edges[k]);
            continue;
        }
        std::shared_ptr<Point2DI> from = edges[k]->point1();
        auto cut = [&](std::shared_ptr<Point2DI> const& to) {
            if (auto piece = factory->factory(from, to)) {
                pieces.push_back(std::move(piece));
            }
            from = to;
        };
        for (auto const& p : onEdges[k]) {
            cut(p);
        }
        cut(edges[k]->point2());
    }
    return pieces;
}

double OverlayTriangulation::positionOnEdge(Edge2D const& e, Point2DI const& p)
{
    return positionAlong(e.point1()->x(), e.point1()->y(), e.lengthSqr(), p.x(), p.y());
}

double OverlayTriangulation::planeElevation(core::Triangle const& triangle, Point2DI const& p)
{
    double z = 0.0;
    if (triangle.interpolateElevation(p, &z, true)) {
        return z;
    }
    double s = 0.0, t = 0.0, u = 0.0;
    triangle.calcSTU(p, &s, &t, &u);
    return (t * triangle.point2()->elevation() + s * triangle.point1()->elevation()) +
           u * triangle.point3()->elevation();
}

void OverlayTriangulation::intersectTins(core::Tin const& first, core::Tin const& second,
                                         core::Tin2D& first2D, core::Tin2D& second2D,
                                         std::vector<std::shared_ptr<Edge2D>>* crossingSegments,
                                         std::vector<SplitRecord>* splitRecords, int* firstLow,
                                         int* firstHigh, int* secondLow, int* secondHigh,
                                         core::Point2DIRepository* repository,
                                         core::Edge2DFactory* factory)
{
    crossingSegments->clear();
    OverlayMesh overlay;
    IdBounds bounds;
    EdgeOwners owners;
    triangulateOverlay(first2D, second2D, &overlay, splitRecords, repository, factory, &bounds,
                       &owners);
    *firstLow = bounds.firstLow;
    *firstHigh = bounds.firstHigh;
    *secondLow = bounds.secondLow;
    *secondHigh = bounds.secondHigh;

    // The triangle under an overlay triangle is the one holding its centroid; a grid finds it
    // in one cell instead of one index query per overlay triangle.
    std::vector<std::shared_ptr<core::Triangle>> firstTriangles(first.allTriangles().begin(),
                                                                first.allTriangles().end());
    std::vector<std::shared_ptr<core::Triangle>> secondTriangles(second.allTriangles().begin(),
                                                                 second.allTriangles().end());
    TriangleBucketGrid const firstGrid(std::move(firstTriangles));
    TriangleBucketGrid const secondGrid(std::move(secondTriangles));
    // The corners' coordinates side by side: each triangle reads them without visiting the
    // point objects.
    std::vector<double> const& xy = overlay.positions;
    for (auto const& t : overlay.triangles) {
        double const* c[3] = {&xy[2 * std::size_t(t[0])], &xy[2 * std::size_t(t[1])],
                              &xy[2 * std::size_t(t[2])]};
        // The centroid as a planar triangle computes it, corners in order.
        Point2D const centroid((c[0][0] + c[1][0] + c[2][0]) / 3.0, (c[0][1] + c[1][1] + c[2][1]) / 3.0);
        std::uint32_t const a = firstGrid.findContainingNumber(centroid);
        if (a == TriangleBucketGrid::NONE) {
            continue;
        }
        std::uint32_t const b = secondGrid.findContainingNumber(centroid);
        if (b == TriangleBucketGrid::NONE) {
            continue;
        }
        Corner corners[3];
        for (int i = 0; i < 3; ++i) {
            corners[i].at = &overlay.points[t[static_cast<std::size_t>(i)]];
            // A corner made by the triangulator may lie a rounding error outside either source
            // triangle; it lies on both planes by construction.
            double const x = c[i][0], y = c[i][1];
            corners[i].d = firstGrid.planeElevation(a, x, y) - secondGrid.planeElevation(b, x, y);
        }
        std::stable_sort(std::begin(corners), std::end(corners),
                         [](Corner const& l, Corner const& r) { return l.d < r.d; });
        auto segment =
            crossingSegment(corners, splitRecords, owners, repository, factory);
        if (segment) {
            crossingSegments->push_back(segment);
        }
    }
}

std::shared_ptr<Edge2D> OverlayTriangulation::crossingSegment(
    Corner const* c, std::vector<SplitRecord>* splitRecords, EdgeOwners const& owners,
    core::Point2DIRepository* repository, core::Edge2DFactory* factory)
{
    auto sign = [](double d) { return d < 0.0 ? -1 : (d > 0.0 ? 1 : 0); };
    int const s0 = sign(c[0].d), s1 = sign(c[1].d), s2 = sign(c[2].d);

    // The crossing on the side from a (where the difference is da) to b, snapped to the ends.
    auto crossing = [&](Corner const& a, Corner const& b) {
        double const f = snapFraction(a.d / (a.d - b.d));
        Point2D const x((1.0 - f) * a.point()->x() + f * b.point()->x(),
                        (1.0 - f) * a.point()->y() + f * b.point()->y());
        return computedPoint(repository, x);
    };
    // Files the point as a cut of the TIN edges under the side p-q (of both TINs where their
    // edges overlap there, so that both outlines pass through it), else of the side itself.
    // A point at an end of the recorded edge cuts nothing.
    auto record = [&](std::shared_ptr<Point2DI> const& x, Corner const& p, Corner const& q) {
        if (!p.point() || !q.point() || p.point() == q.point()) {
            return;
        }
        auto file = [&](std::shared_ptr<Edge2D> const& edge) {
            if (x != edge->point1() && x != edge->point2()) {
                splitRecords->push_back(SplitRecord{x, positionOnEdge(*edge, *x), edge});
            }
        };
        auto const* found = owners.find(p.point().get(), q.point().get());
        bool const onFirst = found != nullptr && found->first != nullptr && *found->first;
        bool const onSecond = found != nullptr && found->second != nullptr && *found->second;
        if (onFirst) {
            file(*found->first);
        }
        if (onSecond && !(onFirst && *found->second == *found->first)) {
            file(*found->second);
        }
        if (!onFirst && !onSecond) {
            file(factory->factory(p.point(), q.point()));
        }
    };

    if (s0 < 0 && s1 < 0 && s2 > 0) {
        auto x = crossing(c[2], c[0]);
        auto y = crossing(c[2], c[1]);
        record(x, c[0], c[2]);
        record(y, c[1], c[2]);
        return factory->factory(x, y);
    }
    if (s0 < 0 && s1 > 0 && s2 > 0) {
        auto x = crossing(c[1], c[0]);
        auto y = crossing(c[2], c[0]);
        record(x, c[0], c[1]);
        record(y, c[0], c[2]);
        return factory->factory(x, y);
    }
    if (s0 < 0 && s1 == 0 && s2 > 0) {
        auto x = crossing(c[2], c[0]);
        record(x, c[0], c[2]);
        return factory->factory(x, c[1].point());
    }
    if (s0 < 0 && s1 == 0 && s2 == 0) {
        return factory->factory(c[1].point(), c[2].point());
    }
    if (s0 == 0 && s1 == 0 && s2 > 0) {
        return factory->factory(c[0].point(), c[1].point());
    }
    return nullptr;
}

void OverlayTriangulation::triangulateOverlay(core::Tin2D& first2D, core::Tin2D& second2D,
                                              OverlayMesh* overlay,
                                              std::vector<SplitRecord>* splitRecords,
                                              core::Point2DIRepository* repository,
                                              core::Edge2DFactory* factory, IdBounds* bounds,
                                              EdgeOwners* owners)
{
    UniqueListT<Point2DI> pointSet;
    UniqueListT<Edge2D> edgeSet;
    // A planar network has about half as many vertices and one and a half times as many sides
    // as triangles.
    std::size_t const triangleCount = first2D.triangles().size() + second2D.triangles().size();
    pointSet.reserve(triangleCount / 2 + 16);
    edgeSet.reserve(3 * triangleCount / 2 + 16);
    for (core::Tin2D const* t2 : {&first2D, &second2D}) {
        for (auto const& t : t2->triangles()) {
            for (int i = 0; i < 3; ++i) {
                pointSet.insert(t->point(i));
                edgeSet.insert(t->edge(i));
            }
        }
    }

    first2D.clearEdgeIds();
    second2D.clearEdgeIds();
    int const afterFirst = first2D.setEdgeIds(2);
    int const afterSecond = second2D.setEdgeIds(afterFirst);
    bounds->firstLow = 2;
    bounds->firstHigh = afterFirst - 1;
    bounds->secondLow = afterFirst;
    bounds->secondHigh = afterSecond - 1;

    std::vector<double> points;
    points.reserve(pointSet.items().size() * 2);
    int index = 0;
    for (auto const& p : pointSet.items()) {
        points.push_back(p->x());
        points.push_back(p->y());
        p->setId(index++);
    }
    // An edited TIN has its new vertices on the base TIN's edges (where its triangles were
    // cut), so edges of the two overlap to within rounding. The triangulator may resolve such
    // ill-conditioned crossings by bending one constraint through a nearby end point and then
    // marks edges with the number of a segment they do not lie on. So every edge goes in as the
    // chain through the vertices lying on it, each piece marked with the edge's number;
    // segmentEdges says which edge each segment stands for.
    auto const chains = chainsAlongEdges(pointSet.items(), edgeSet.items());
    std::vector<int> const& segments = chains.segments;
    std::vector<int> const& markers = chains.markers;
    std::vector<std::size_t> const& segmentEdges = chains.segmentEdges;

    std::vector<std::shared_ptr<Point2DI>> outputPoints;
    // The output points' positions side by side (x, y; zero for a missing point).
    std::vector<double> outputXY;
    // The split records and edge owners read from this run's markers.
    std::vector<SplitRecord> markedRecords;
    EdgeOwners markedOwners;
    IdBounds const& b = *bounds;
    bool overlapping = false;
    {
        TriangleRun run(OVERLAY_SWITCHES, points, segments, markers);
        outputPoints.reserve(static_cast<std::size_t>(run.pointCount()));
        outputXY.reserve(2 * static_cast<std::size_t>(run.pointCount()));
        auto const& given = pointSet.items();
        for (int i = 0; i < run.pointCount(); ++i) {
            auto const k = static_cast<std::size_t>(i);
            // Input vertices come back bit for bit, numbered as given: the given point is the
            // repository's point there. Only crossings need a look-up with the tolerance.
            if (k < given.size() && run.x(i) == given[k]->x() && run.y(i) == given[k]->y()) {
                outputPoints.push_back(given[k]);
                outputXY.push_back(given[k]->x());
                outputXY.push_back(given[k]->y());
                continue;
            }
            Point2D const position(run.x(i), run.y(i));
            auto stored = repository->get(position);
            outputPoints.push_back(stored ? stored : computedPoint(repository, position));
            auto const& kept = outputPoints.back();
            outputXY.push_back(kept ? kept->x() : 0.0);
            outputXY.push_back(kept ? kept->y() : 0.0);
        }
        // The run's sides are read by their end points: only the sides on TIN edges matter
        // here, and none of them needs an edge object of its own. The TIN edges are numbered
        // from 2 without gaps (each edge of either network once), so that tables by number
        // stand in for look-ups by edge, and the positions are read from one array instead of
        // the point objects.
        std::size_t const numberedCount =
            static_cast<std::size_t>(std::max(b.secondHigh - b.firstLow + 1, 0));
        auto numberOf = [&](int marker) {
            return static_cast<std::size_t>(marker - b.firstLow);
        };
        // The sides on TIN edges: side number and its two output point numbers.
        struct MarkedSide {
            int side;
            std::uint32_t from;
            std::uint32_t to;
        };
        std::vector<MarkedSide> markedSides;
        {
            std::size_t marked = 0;
            for (int i = 0; i < run.edgeCount(); ++i) {
                marked += run.edgeMarker(i) >= b.firstLow ? 1 : 0;
            }
            markedSides.reserve(marked);
        }
        // What filing reads of each TIN edge, by number: its handle now, the rest in the pass
        // over the edges below.
        struct NumberedEdge {
            std::shared_ptr<Edge2D> const* handle = nullptr;
            Point2DI const* point1 = nullptr;
            Point2DI const* point2 = nullptr;
            double x1 = 0.0;
            double y1 = 0.0;
            double lengthSqr = 0.0;
        };
        std::vector<NumberedEdge> numberedEdges(numberedCount);
        for (int marker = b.firstLow; marker <= b.secondHigh; ++marker) {
            auto const* handle = marker <= b.firstHigh ? first2D.numberedEdge(marker)
                                                       : second2D.numberedEdge(marker);
            numberedEdges[numberOf(marker)].handle = handle != nullptr && *handle ? handle : nullptr;
        }
        // First only how much of each TIN edge the marked sides cover: where edges of the two
        // TINs overlap, the records and owners of this run are not used, and filing them would
        // be most of the cost of reading the run.
        std::vector<double> coveredLength(numberedCount, 0.0);
        for (int i = 0; i < run.edgeCount(); ++i) {
            auto const from = static_cast<std::size_t>(run.edgeEnd(i, 0));
            auto const to = static_cast<std::size_t>(run.edgeEnd(i, 1));
            auto const& p1 = outputPoints.at(from);
            auto const& p2 = outputPoints.at(to);
            if (!p1 || !p2 || p1 == p2) {
                continue;
            }
            int const marker = run.edgeMarker(i);
            if (marker < b.firstLow || marker > b.secondHigh ||
                numberedEdges[numberOf(marker)].handle == nullptr) {
                continue;
            }
            markedSides.push_back(MarkedSide{i, static_cast<std::uint32_t>(from),
                                             static_cast<std::uint32_t>(to)});
            // The same length whichever end comes first: a difference and its negation
            // square alike.
            double const dx = outputXY[2 * to] - outputXY[2 * from];
            double const dy = outputXY[2 * to + 1] - outputXY[2 * from + 1];
            coveredLength[numberOf(marker)] += std::sqrt(dy * dy + dx * dx);
        }
        for (auto const& e : edgeSet.items()) {
            std::size_t const number = numberOf(e->id());
            double const length2 = e->lengthSqr();
            double const length = std::sqrt(length2);
            double const covered = number < numberedCount ? coveredLength[number] : 0.0;
            if (std::abs(covered - length) > 1e-9 * length) {
                overlapping = true;
                break;
            }
            if (number < numberedCount) {
                auto& n = numberedEdges[number];
                n.point1 = e->point1().get();
                n.point2 = e->point2().get();
                n.x1 = n.point1->x();
                n.y1 = n.point1->y();
                n.lengthSqr = length2;
            }
        }
        if (!overlapping) {
            // Only sides on TIN edges are filed: tables sized to every side of the run would be
            // several times larger than what they hold.
            markedRecords.reserve(2 * markedSides.size());
            markedOwners.reserve(markedSides.size());
            for (auto const& side : markedSides) {
                auto const& from = outputPoints[side.from];
                auto const& to = outputPoints[side.to];
                int const marker = run.edgeMarker(side.side);
                NumberedEdge const& n = numberedEdges[numberOf(marker)];
                std::shared_ptr<Edge2D> const& tinEdge = *n.handle;
                markedOwners.set(from.get(), to.get(), marker <= b.firstHigh, tinEdge);
                bool const fromFirst = endsInOrder(&outputXY[2 * side.from], &outputXY[2 * side.to],
                                                   from.get(), to.get());
                std::uint32_t const ends[2] = {fromFirst ? side.from : side.to,
                                               fromFirst ? side.to : side.from};
                for (std::uint32_t const end : ends) {
                    Point2DI const* p = outputPoints[end].get();
                    if (p != n.point1 && p != n.point2) {
                        markedRecords.push_back(SplitRecord{
                            outputPoints[end],
                            positionAlong(n.x1, n.y1, n.lengthSqr, outputXY[2 * end],
                                          outputXY[2 * end + 1]),
                            tinEdge});
                    }
                }
            }
        }
        overlay->triangles.clear();
        overlay->triangles.reserve(static_cast<std::size_t>(run.triangleCount()));
        for (int i = 0; i < run.triangleCount(); ++i) {
            std::array<std::uint32_t, 3> corners{};
            for (int k = 0; k < 3; ++k) {
                int const c = run.corner(i, k);
                if (c < 0 || c >= static_cast<int>(outputPoints.size())) {
                    throw std::out_of_range("Overlay triangle corner " + std::to_string(c) +
                                            " out of range");
                }
                corners[static_cast<std::size_t>(k)] = static_cast<std::uint32_t>(c);
            }
            Point2DI const* const p = outputPoints[corners[0]].get();
            Point2DI const* const q = outputPoints[corners[1]].get();
            Point2DI const* const r = outputPoints[corners[2]].get();
            if (p != q && q != r && p != r) {
                overlay->triangles.push_back(corners);
            }
        }
    }

    // Where an edge of one TIN runs along an edge of the other, the run marks the shared parts
    // with one of the two numbers only, so the other edge misses its cut points; one run per TIN
    // with only that TIN's numbers finds them. Without such overlaps the markers of this run
    // already say everything, and the two extra runs are saved.
    if (overlapping) {
        collectSplitPoints(splitRecords, points, segments, segmentEdges, outputPoints,
                           edgeSet.items(), first2D, factory, owners, true);
        collectSplitPoints(splitRecords, points, segments, segmentEdges, outputPoints,
                           edgeSet.items(), second2D, factory, owners, false);
    } else {
        if (splitRecords->empty()) {
            // Taken over rather than copied into fresh memory record by record.
            splitRecords->swap(markedRecords);
        } else {
            splitRecords->insert(splitRecords->end(),
                                 std::make_move_iterator(markedRecords.begin()),
                                 std::make_move_iterator(markedRecords.end()));
        }
        if (owners != nullptr) {
            *owners = std::move(markedOwners);
        }
    }

    for (auto const& e : edgeSet.items()) {
        e->setId(0);
    }
    first2D.restoreEdgeIds();
    second2D.restoreEdgeIds();
    overlay->points = std::move(outputPoints);
    overlay->positions = std::move(outputXY);
}

void OverlayTriangulation::collectSplitPoints(
    std::vector<SplitRecord>* splitRecords, std::vector<double> const& points,
    std::vector<int> const& segments, std::vector<std::size_t> const& segmentEdges,
    std::vector<std::shared_ptr<Point2DI>> const& outputPoints,
    std::vector<std::shared_ptr<Edge2D>> const& edgeSet, core::Tin2D const& tin2D,
    core::Edge2DFactory* factory, EdgeOwners* owners, bool ofFirst)
{
    for (auto const& e : edgeSet) {
        e->setId(0);
    }
    UniqueListT<Edge2D> ownEdges;
    // The network's own handles of the listed edges, which outlive the owners filed with them.
    std::vector<std::shared_ptr<Edge2D> const*> handles;
    for (auto const& t : tin2D.triangles()) {
        for (int i = 0; i < 3; ++i) {
            if (ownEdges.insert(t->edge(i))) {
                handles.push_back(&t->edge(i));
            }
        }
    }
    int id = 2;
    for (auto const& e : ownEdges.items()) {
        e->setId(id++);
    }
    std::vector<int> markers;
    markers.reserve(segmentEdges.size());
    for (std::size_t k : segmentEdges) {
        markers.push_back(edgeSet[k]->id());
    }

    TriangleRun run(OVERLAY_SWITCHES, points, segments, markers);
    if (run.pointCount() != static_cast<int>(outputPoints.size())) {
        // The output of this run is read against the points of the overlay run.
        throw AssertError("Split-point triangulation returned " + std::to_string(run.pointCount()) +
                          " vertices where the overlay triangulation returned " +
                          std::to_string(outputPoints.size()));
    }
    auto const& own = ownEdges.items();
    // Each marked side files at most its two ends: room made once, not by doubling into fresh
    // pages (what is reserved and never written costs nothing).
    std::size_t marked = 0;
    for (int i = 0; i < run.edgeCount(); ++i) {
        marked += run.edgeMarker(i) > 1 ? 1 : 0;
    }
    splitRecords->reserve(splitRecords->size() + 2 * marked);
    for (int i = 0; i < run.edgeCount(); ++i) {
        int const marker = run.edgeMarker(i);
        if (marker <= 1) {
            continue;
        }
        std::size_t const k = static_cast<std::size_t>(marker - 2);
        if (k >= own.size()) {
            throw std::out_of_range("invalid vector<T> subscript");
        }
        auto const& tinEdge = *handles[k];
        // The side by its ends, in the order the factory's edge between them has: no edge
        // object is needed for it.
        auto const& from = outputPoints.at(static_cast<std::size_t>(run.edgeEnd(i, 0)));
        auto const& to = outputPoints.at(static_cast<std::size_t>(run.edgeEnd(i, 1)));
        if (!from || !to || from == to) {
            continue;
        }
        if (owners != nullptr) {
            owners->set(from.get(), to.get(), ofFirst, tinEdge);
        }
        auto const ends = edgeEnds(from, to);
        for (auto const* end : {ends.first, ends.second}) {
            if (*end != tinEdge->point1() && *end != tinEdge->point2()) {
                splitRecords->push_back(SplitRecord{*end, positionOnEdge(*tinEdge, **end), tinEdge});
            }
        }
    }
}

std::shared_ptr<core::Triangle> OverlayTriangulation::findSourceTriangle(
    core::Triangle2D const& triangle, core::Tin const& tin, core::Tin2D const& tin2D, int low,
    int high)
{
    Point2D const p = triangle.getInteriorPoint();
    double z = 0.0;
    for (int i = 0; i < 3; ++i) {
        int const id = triangle.edge(i)->id();
        if (id < low || id > high) {
            continue;
        }
        auto const side = tin2D.getEdgeById(id);
        if (!side) {
            continue;
        }
        for (auto const& edge : tin2D.originalEdges(side)) {
            for (auto const& t : tin.findTriangleFromEdge(edge)) {
                if (t->interpolateElevation(p, &z, false)) {
                    return t;
                }
            }
        }
    }
    for (auto const& t : tin.findTrianglesIntersectRect(core::Rect(p.x(), p.y(), p.x(), p.y()))) {
        if (t->interpolateElevation(p, &z, false)) {
            return t;
        }
    }
    return nullptr;
}

std::shared_ptr<Edge2D> OverlayTriangulation::findEdgeById(int id, core::Tin2D const& first2D,
                                                           core::Tin2D const& second2D,
                                                           IdBounds const& bounds)
{
    if (id >= bounds.firstLow && id <= bounds.firstHigh) {
        return first2D.getEdgeById(id);
    }
    if (id >= bounds.secondLow && id <= bounds.secondHigh) {
        return second2D.getEdgeById(id);
    }
    return nullptr;
}

namespace {

// The chain of sub-edges that the records recordAt(begin) .. recordAt(end - 1), in order
// along edge, cut it into (out, replaced); false when they cut nothing.
template <typename RecordAt>
bool chainThrough(std::shared_ptr<Edge2D> const& edge, std::vector<SplitRecord> const& records,
                  RecordAt recordAt, std::size_t begin, std::size_t end,
                  core::Edge2DFactory* factory, std::vector<std::shared_ptr<Edge2D>>* out)
{
    out->clear();
    std::shared_ptr<Point2DI> current = edge->point1();
    for (std::size_t j = begin; j < end; ++j) {
        auto const& point = records[recordAt(j)].point;
        if (point == current || point == edge->point1() || point == edge->point2()) {
            continue;
        }
        out->push_back(factory->factory(current, point));
        current = point;
    }
    auto last = factory->factory(current, edge->point2());
    if (!last) {
        return false;
    }
    out->push_back(std::move(last));
    return !(out->size() == 1 && out->front() == edge);
}

// The records of each edge, listed by the edge's address in one pass: for callers that ask
// about a few edges of many records, where sorting every record would cost more.
class SplitRecordsByEdge {
public:
    explicit SplitRecordsByEdge(std::vector<SplitRecord> const& records)
        : m_records(records), m_before(records.size(), 0)
    {
        m_last.reserve(records.size() / 2 + 1);
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (!records[i].edge) {
                continue;
            }
            auto const filed = m_last.insert(records[i].edge.get(), static_cast<std::uint32_t>(i + 1));
            if (!filed.second) {
                m_before[i] = *filed.first;
                *filed.first = static_cast<std::uint32_t>(i + 1);
            }
        }
    }

    // The records of edge (out, replaced) in the order of sorting by edge, then along the
    // edge, ties in record order.
    void recordsOf(Edge2D const* edge, std::vector<std::uint32_t>* out) const
    {
        out->clear();
        auto const* last = m_last.find(edge);
        for (std::uint32_t at = last == nullptr ? 0 : *last; at != 0; at = m_before[at - 1]) {
            out->push_back(at - 1);
        }
        std::sort(out->begin(), out->end(), [&](std::uint32_t a, std::uint32_t b) {
            double const pa = m_records[a].position, pb = m_records[b].position;
            return pa != pb ? pa < pb : a < b;
        });
    }

private:
    std::vector<SplitRecord> const& m_records;
    // Per edge, one more than its last record's index; per record, one more than the index of
    // the record of the same edge before it (0: none).
    support::AddressMapT<Edge2D, std::uint32_t> m_last;
    std::vector<std::uint32_t> m_before;
};

// The records sorted by edge, then along the edge, ties in record order: the records of one
// edge side by side, found by a binary search on the edge's address.
class SortedSplitRecords {
public:
    explicit SortedSplitRecords(std::vector<SplitRecord> const& records) : m_records(records)
    {
        m_keys.resize(records.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            m_keys[i] = Key{records[i].edge.get(), records[i].position, static_cast<std::uint32_t>(i)};
        }
        std::sort(m_keys.begin(), m_keys.end(), [](Key const& a, Key const& b) {
            if (a.edge != b.edge) {
                return std::less<Edge2D const*>()(a.edge, b.edge);
            }
            if (a.position != b.position) {
                return a.position < b.position;
            }
            return a.record < b.record;
        });
    }

    std::size_t size() const { return m_keys.size(); }
    Edge2D const* edgeAt(std::size_t k) const { return m_keys[k].edge; }
    std::uint32_t recordAt(std::size_t k) const { return m_keys[k].record; }

    // The chain of sub-edges the records at keys [begin, end) cut edge into (out, replaced);
    // false when they cut nothing.
    bool chain(std::shared_ptr<Edge2D> const& edge, std::size_t begin, std::size_t end,
               core::Edge2DFactory* factory, std::vector<std::shared_ptr<Edge2D>>* out) const
    {
        return chainThrough(edge, m_records, [&](std::size_t j) { return m_keys[j].record; },
                            begin, end, factory, out);
    }

private:
    struct Key {
        Edge2D const* edge;
        double position;
        std::uint32_t record;
    };
    std::vector<SplitRecord> const& m_records;
    std::vector<Key> m_keys;
};

}  // namespace

SplitMap OverlayTriangulation::buildSplitMap(std::vector<SplitRecord> const& records,
                                             core::Edge2DFactory* factory)
{
    SortedSplitRecords const sorted(records);
    // Each edge's group, in the order the edges first occur among the records.
    struct Group {
        std::uint32_t firstRecord;
        std::uint32_t begin;
        std::uint32_t end;
    };
    std::vector<Group> groups;
    for (std::size_t j = 0; j < sorted.size();) {
        std::size_t k = j;
        std::uint32_t first = sorted.recordAt(j);
        while (k < sorted.size() && sorted.edgeAt(k) == sorted.edgeAt(j)) {
            first = std::min(first, sorted.recordAt(k));
            ++k;
        }
        groups.push_back(Group{first, static_cast<std::uint32_t>(j), static_cast<std::uint32_t>(k)});
        j = k;
    }
    std::sort(groups.begin(), groups.end(),
              [](Group const& a, Group const& b) { return a.firstRecord < b.firstRecord; });

    SplitMap result;
    result.reserve(groups.size());
    std::vector<std::shared_ptr<Edge2D>> chain;
    for (Group const& g : groups) {
        auto const& edge = records[g.firstRecord].edge;
        if (sorted.chain(edge, g.begin, g.end, factory, &chain)) {
            result.emplace(edge, std::move(chain));
        }
    }
    return result;
}

Edge2DSet OverlayTriangulation::splitEdges(std::vector<std::shared_ptr<Edge2D>> const& edges,
                                           std::vector<SplitRecord> const& records,
                                           core::Edge2DFactory* factory)
{
    SplitRecordsByEdge const byEdge(records);
    Edge2DSet result;
    std::vector<std::shared_ptr<Edge2D>> chain;
    std::vector<std::uint32_t> along;
    // Work list of (edge, depth), as addSplitEdge recurses.
    std::vector<std::pair<std::shared_ptr<Edge2D>, int>> pending;
    for (auto const& edge : edges) {
        pending.emplace_back(edge, 0);
        while (!pending.empty()) {
            auto const current = std::move(pending.back());
            pending.pop_back();
            byEdge.recordsOf(current.first.get(), &along);
            if (along.empty() ||
                !chainThrough(current.first, records, [&](std::size_t j) { return along[j]; }, 0,
                              along.size(), factory, &chain)) {
                result.insert(current.first);
                continue;
            }
            if (current.second > 64) {
                throw AssertError("Split chains of an overlay edge nest too deeply");
            }
            // Reversed onto the stack, so that the sub-edges go in in chain order.
            for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
                pending.emplace_back(*it, current.second + 1);
            }
        }
    }
    return result;
}

void OverlayTriangulation::addSplitEdge(Edge2DSet* edges, std::shared_ptr<Edge2D> const& edge,
                                        SplitMap const& splitMap)
{
    addSplitEdge(edges, edge, splitMap, 0);
}

void OverlayTriangulation::addSplitEdge(Edge2DSet* edges, std::shared_ptr<Edge2D> const& edge,
                                        SplitMap const& splitMap, int depth)
{
    auto it = splitMap.find(edge);
    if (it == splitMap.end()) {
        edges->insert(edge);
        return;
    }
    // Sub-edges are shorter than their edge, so chains end; a deeper nesting means records
    // that lie off their edges.
    if (depth > 64) {
        throw AssertError("Split chains of an overlay edge nest too deeply");
    }
    for (auto const& sub : it->second) {
        addSplitEdge(edges, sub, splitMap, depth + 1);
    }
}

std::vector<SplitRecord> OverlayTriangulation::filterSplitRecords(
    std::vector<SplitRecord> const& records,
    std::vector<std::shared_ptr<core::Point2DIRingTree>> const& trees)
{
    std::unordered_set<Point2DI const*> ringPoints;
    for (auto const& tree : trees) {
        for (auto const& member : core::Point2DIRingTree::allMemberRings(tree)) {
            for (auto const& p : member->ring()->points()) {
                ringPoints.insert(p.get());
            }
        }
    }
    std::vector<SplitRecord> kept;
    for (auto const& r : records) {
        if (ringPoints.count(r.point.get()) != 0) {
            kept.push_back(r);
        }
    }
    return kept;
}

}  // namespace util
}  // namespace tin
