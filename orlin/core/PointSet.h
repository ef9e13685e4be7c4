#pragma once

#include "orlin/core/ContainerType.h"
#include "orlin/core/Geometry.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointLocator.h"
#include "orlin/core/Rect.h"
#include "orlin/support/LargeTableAllocatorT.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <unordered_set>
#include <vector>

namespace geos::geom {
class Geometry;
class MultiPoint;
} // namespace geos::geom

namespace tin::core {

class Breakline;
class PointRing;
class Polygon;

// The survey data a TIN is triangulated from: shared points, breaklines (constraint segments
// between held points) and region and hole rings bounding the area to triangulate.
//
// Identity rule: the set holds objects, not positions. Two point objects at one position are two
// points, and every membership test compares objects; only addPoint(const Point&) merges by
// position, through the process-wide PointFactory. Copies share the points, breaklines and rings
// and never copy them deeply.
//
// Rectangle, position and breakline queries go through two indexes (points, breaklines) of the
// set's ContainerType, created on the first query that needs one and kept in step from then on;
// bulk filling costs no index work. Building the point index is the expensive step at survey
// scale (seconds for a million points), so the point-in-polygon and geometry queries never build
// it: they walk all points (O(n)) unless the index exists and the polygon's box is a small share
// of the set's box. A point's box is its position ± 1e-8, so findPointsInRect misses points
// closer than 1e-8 to the border while findPointsIntersectRect returns points up to 1e-8 outside.
// Covered-by tests use a prepared GEOS geometry with an envelope and cell pre-filter (boundary
// counts as covered). The bounding rectangle and the GEOS MultiPoint are cached and dropped by
// every point change; the MultiPoint is owned by the set.
//
// Points are kept in a vector with an address-to-position map beside it. While no point index
// exists, an addition is only appended (O(1), no random memory access); the first read of the
// set files the appended points in the map and drops repeats, with prefetched table accesses
// (tens of milliseconds for a million points). Point order is that of first addition, a removal
// moving the last point into the gap; it carries no meaning, nor does the breaklines' hash-set
// order. points() builds a hash set copy.
//
// Regions and holes are stored as given, not validated. Nothing here throws on absence: removing what is
// not held returns false, a breakline with an end point outside the set is ignored. A null point,
// breakline, ring or geometry given to an adding or query operation throws
// common::exception::RuntimeException. Single-threaded, even for const queries.
class PointSet : public Geometry, public PointLocator
{
public:
    using PointHashSet = std::unordered_set<std::shared_ptr<Point>>;

    PointSet();
    explicit PointSet(ContainerType containerType);
    PointSet(std::initializer_list<Point> points);
    PointSet(std::initializer_list<Point> points, ContainerType containerType);
    PointSet(const PointSet& other);
    PointSet(PointSet&& other) noexcept;
    // Shares the source's objects and clones its indexes; the target keeps its own ContainerType.
    PointSet& operator=(const PointSet& other);
    PointSet& operator=(PointSet&& other) noexcept;
    ~PointSet() override;

    // Points.
    // The point the factory interns for p (existing within 1e-8 and equal elevation, or new).
    std::shared_ptr<Point> addPoint(const Point& p);
    void addPoint(const std::shared_ptr<Point>& p);
    // Room for n points in all without growing the storage (bulk readers).
    void reservePoints(std::size_t n);
    using PointList = std::vector<std::shared_ptr<Point>, support::LargeTableAllocatorT<std::shared_ptr<Point>>>;
    // addPoint(p) for every p in order, taking the pointers over instead of copying them (bulk
    // readers): an empty set without a point index adopts the list itself. At a null point,
    // the points before it stay added and RuntimeException is thrown, as one by one.
    void addPoints(PointList&& points);
    // Also removes every breakline ending at the point.
    bool removePoint(const std::shared_ptr<Point>& p);
    bool hasPoint(const std::shared_ptr<Point>& p) const;
    bool empty() const;
    // The points held, each once, counted without copying them.
    std::size_t size() const;
    PointHashSet points() const;
    std::vector<std::shared_ptr<Point>> allPoints() const;
    // visit(p) for every point held, in the order of allPoints(), without copying the list;
    // visit must not change the set.
    void forEachPoint(const std::function<void(const std::shared_ptr<Point>&)>& visit) const;
    // The list itself, in the order of allPoints(), without copying it; valid until the set
    // next changes. A painter that hands slices of it to helper threads calls this on its own
    // thread first (the call files appended points); the threads may then read the points
    // through get(), but never copy or drop the pointers.
    const PointList& pointList() const;
    Rect boundingRect() const;
    std::vector<std::shared_ptr<Point>> findPointsInRect(const Rect& rect) const;
    std::vector<std::shared_ptr<Point>> findPointsIntersectRect(const Rect& rect) const;
    // Points covered by the polygon, its boundary and extreme sides included.
    std::vector<std::shared_ptr<Point>> findPointsInPolygon(const Polygon& polygon) const;
    // Points covered by g, testing every point of the set.
    std::vector<std::shared_ptr<Point>> findPointsInGeometry(geos::geom::Geometry* g) const;
    std::vector<std::shared_ptr<Point>> findPointsAt(const Point2DI& p) const override;
    geos::geom::MultiPoint* geosMultiPoint() const;
    geos::geom::Geometry* geosGeometry() const override;

    // Breaklines.
    // Ignored unless both end points are held. With keepCrossing false, every held breakline that
    // b crosses is removed first.
    void addBreakline(const std::shared_ptr<Breakline>& b, bool keepCrossing);
    void addBreakline(const std::shared_ptr<Point>& a, const std::shared_ptr<Point>& c,
                      bool keepCrossing);
    bool removeBreakline(const std::shared_ptr<Breakline>& b);
    void removeAllBreaklines();
    // Held, or a side of a region or hole ring.
    bool hasBreakline(const std::shared_ptr<Breakline>& b) const;
    // A held breakline between a and c in either direction, or a ring side between them.
    bool hasBreakline(const std::shared_ptr<Point>& a, const std::shared_ptr<Point>& c) const;
    std::vector<std::shared_ptr<Breakline>> allBreaklines() const;
    // In order of addition.
    std::vector<std::shared_ptr<Breakline>> findBreaklinesFromPoint(
        const std::shared_ptr<Point>& p) const;
    std::vector<std::shared_ptr<Breakline>> findBreaklinesInRect(const Rect& rect) const;
    std::vector<std::shared_ptr<Breakline>> findBreaklinesIntersectRect(const Rect& rect) const;
    std::vector<std::shared_ptr<Breakline>> findBreaklinesInPolygon(const Polygon& polygon) const;
    // Held breaklines that b properly crosses (Breakline::intersects), whether or not their boxes
    // lie inside b's.
    std::vector<std::shared_ptr<Breakline>> findCrossingBreaklines(const Breakline* b) const;

    // Regions and holes.
    void addRegion(const std::shared_ptr<PointRing>& ring);
    // Takes ownership of the ring.
    void addRegion(PointRing* ring);
    void addHole(const std::shared_ptr<PointRing>& ring);
    void addHole(PointRing* ring);
    bool removeRegion(const PointRing* ring);
    bool removeHole(const PointRing* ring);
    void removeAllRegions();
    void removeAllHoles();
    void removeAllRegionsAndHoles();
    std::vector<std::shared_ptr<PointRing>> allRegions() const;
    std::vector<std::shared_ptr<PointRing>> allHoles() const;
    int countSegmentsOfRegionsAndHoles() const;

    // Adds the other set's points (no interning) and breaklines (crossing held ones are removed);
    // its regions and holes are not taken.
    void merge(const PointSet& other);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace tin::core
