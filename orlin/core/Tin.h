#pragma once

#include "orlin/core/ContainerType.h"
#include "orlin/core/Geometry.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/PointLocator.h"
#include "orlin/core/Rect.h"
#include "orlin/core/TriangleSet.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace geos {
namespace geom {
class Envelope;
class Geometry;
class MultiPolygon;
class Polygon;
} // namespace geom
} // namespace geos

namespace tin::core {

class Edge;
class Point;
class Point2DI;
class Polygon;
class Polyline;
class Tin2D;
class Triangle;

/// The triangulated irregular network: a set of shared triangles over shared edges and
/// points, with its topology (for each edge and each vertex, the triangles that have it, in
/// the order they were added), a lazily built spatial index of the triangles and caches of
/// the bounding rectangle, the vertex positions and the GEOS outline.
///
/// Identity: every lookup by a shared pointer compares object addresses, never coordinates.
/// Copies share triangles, edges and points with their source; nothing is duplicated.
/// The TIN does not look for duplicate triangles over the same three vertices, and it does
/// not check that triangles overlap nowhere: that is the job of the construction steps.
///
/// Storage (sized for river surveys of 2-10 million triangles): the triangle set, both
/// adjacency maps and the position cache are open-addressing tables keyed by raw addresses,
/// and the adjacency lists are threaded through the triangle records (see `TriangleSet`),
/// so the TIN adds about 90 bytes per triangle to the triangles themselves (measured at two
/// million triangles; the spatial index and the position cache, once built, about 60 more), with no heap allocation
/// per triangle. `allTriangles()` therefore returns a `TriangleSet`, which offers
/// the read-only interface of `std::unordered_set<std::shared_ptr<Triangle>>`.
///
/// Cost: adding and removing a triangle are constant time (plus one index update once the
/// index exists; the index is built by the first rectangle query, so building a TIN by many
/// additions pays nothing for it). Caches are dropped by every change at no cost when they
/// were not built. Copying shares the tables and the spatial index with the source chunk by
/// chunk (see `support::SharedChunkArrayT`): a copy costs a reference count per 4 KiB page of tables, and
/// each later change of either TIN clones only the chunks it writes, so a copy edited in a
/// few places costs in proportion to the edit. The copy keeps the source's index order; the
/// STR-tree kind builds its own index on the copy's first query. The position, outline and
/// union caches are not copied.
///
/// Not thread-safe, not even for `const` queries, which build caches. A moved-from TIN may
/// only be destroyed or be the target of an assignment. A large batch of `addTriangles`
/// links the adjacency lists on two threads of its own beside the caller's, and has joined
/// them when it returns (or throws); the caller sees a single-threaded call.
class Tin : public Geometry, public PointLocator {
public:
    /// Empty TIN with a quadtree index.
    Tin();
    /// Empty TIN whose index, once built, is of the given kind.
    explicit Tin(ContainerType containerType);
    /// Quadtree TIN holding the given triangles, inserted in vector order.
    explicit Tin(std::vector<std::shared_ptr<Triangle>> const& triangles);
    /// Flat quadtree TIN over the 2-D triangles, in their order: every vertex becomes the
    /// point factory's point at its position with elevation 0 (a living one when there is
    /// one), so neighbouring triangles share vertices and edges. Users set elevations later.
    explicit Tin(Tin2D const& tin2D);
    Tin(Tin const& other);
    Tin(Tin&& other) noexcept;
    Tin& operator=(Tin const& other);
    Tin& operator=(Tin&& other) noexcept;
    ~Tin() override;

    /// The TIN's outline (the same object as geosMultiPolygon()): one polygon per region of
    /// the TIN, with the gaps inside it as holes; coordinates (x, y, 0). Owned and cached by
    /// the TIN until it next changes; the caller never deletes it.
    geos::geom::Geometry* geosGeometry() const override;

    /// The vertices whose x and y equal the position's exactly; empty when none.
    std::vector<std::shared_ptr<Point>> findPointsAt(Point2DI const& position) const override;

    /// Makes the triangle p, q, r over edges from `EdgeFactory` (edge i opposite point i) and
    /// inserts it; null, with nothing changed, when two of the points are the same object.
    std::shared_ptr<Triangle> addTriangle(std::shared_ptr<Point> const& p, std::shared_ptr<Point> const& q,
        std::shared_ptr<Point> const& r);
    /// Interns copies of a, b and c through `PointFactory` (no overwrite) and adds the
    /// triangle of the interned points; null, with nothing changed, when two of them resolve to
    /// the same point object (corners closer than the factory's tolerance).
    std::shared_ptr<Triangle> addTriangle(Point const& a, Point const& b, Point const& c);
    /// Adds many triangles at once: for k = 0 .. count - 1, the same as
    /// addTriangle(points[corners[3k]], points[corners[3k + 1]], points[corners[3k + 2]]) in
    /// that order (the same edges, adjacency lists in the same order, degenerate triples
    /// skipped), and when `made` is not null, made[k] gets what that call would return. Every
    /// corner number must be below the number of points (not checked). The tables are grown
    /// once for the batch, and the table slots and list tails of the triangles a few places
    /// ahead are loaded while the current one is inserted, so the cache misses of many
    /// triangles overlap: several times faster than single additions on a large TIN. From
    /// 32768 triangles on, two threads of the batch's own insert the triangles and link the
    /// lists while the calling thread makes them (see support::LaneThreads): about 2.5 times
    /// faster again, for about 20 MB more at the peak (a hand-over ring, and pool pages faulted
    /// in ahead); the result is the same.
    void addTriangles(std::shared_ptr<Point> const* points, std::uint32_t const* corners, std::size_t count,
        std::shared_ptr<Triangle>* made = nullptr);
    /// Inserts the given triangle. A triangle already held, or null, changes nothing but the caches.
    void addTriangle(std::shared_ptr<Triangle> const& triangle);
    /// Inserts triangles[0 .. count) in order, the same as addTriangle(triangles[k]) one by
    /// one (null ones and ones already held change nothing), with the table misses of
    /// neighbouring triangles overlapped as in the other addTriangles.
    void addTriangles(std::shared_ptr<Triangle> const* triangles, std::size_t count);
    /// Removes the triangle; one not held changes nothing but the caches.
    void removeTriangle(std::shared_ptr<Triangle> const& triangle);
    /// Removes every triangle (the index, when built, stays, empty). Linear.
    void clear();

    bool empty() const;
    /// Identifies what the TIN holds now: each construction, copy, move and change
    /// (`addTriangle(s)`, `removeTriangle`, `clear`, assignment) takes a new number from one
    /// process-wide counter, so no two TINs and no two states of one TIN share a number
    /// (unlike an address, which a later TIN may reuse). Painters key cached pictures on it.
    /// The shared points are not watched: an edit of a vertex's elevation keeps the number.
    std::uint64_t revision() const;
    /// Whether this very triangle object is held.
    bool containsTriangle(std::shared_ptr<Triangle> const& triangle) const;
    /// The triangle set itself (not a copy); its order carries no meaning.
    TriangleSet const& allTriangles() const;
    /// Number of distinct vertex objects (two objects at one position count twice).
    int pointCount() const;
    /// Calls visit(point) once for every distinct vertex object, in no meaningful order, from
    /// the vertex table (no triangle is read): linear in the vertices. The TIN must not
    /// change during the walk; the points' own fields (id, elevation) may.
    void forEachPoint(std::function<void(Point&)> const& visit) const;
    /// Rectangle spanning every vertex (cached); all zeros and invalid for an empty TIN.
    Rect boundingRect() const;
    /// Edges held by an odd number of triangles: in a proper TIN, the outline's edges (outer
    /// boundary and holes). Order carries no meaning.
    std::vector<Edge*> outerEdges() const;
    /// The edge's triangles in the order they were added; empty when the edge is not in the TIN.
    std::vector<std::shared_ptr<Triangle>> findTriangleFromEdge(std::shared_ptr<Edge> const& edge) const;
    /// The vertex's triangles in the order they were added; empty when it is not a vertex.
    std::vector<std::shared_ptr<Triangle>> findTriangleFromPoint(std::shared_ptr<Point> const& point) const;
    /// Triangles whose bounding rectangle lies within r (closed bounds; none for an invalid r).
    std::vector<std::shared_ptr<Triangle>> findTrianglesInRect(Rect const& r) const;
    /// Triangles whose bounding rectangle meets r (closed bounds; none for an invalid r).
    std::vector<std::shared_ptr<Triangle>> findTrianglesIntersectRect(Rect const& r) const;
    /// Triangles whose bounding rectangle meets e (closed bounds; e is not widened).
    std::vector<std::shared_ptr<Triangle>> findTrianglesIntersectRect(geos::geom::Envelope const& e) const;
    /// Centroid of the first triangle in set order. Throws std::out_of_range on an empty TIN.
    Point2D getInteriorPoint() const;

    // Geometric queries. Candidates come from the triangle index, then an exact GEOS test
    // (touching counts); the order of the results carries no meaning.

    /// Triangles that meet the polygon; none for an empty polygon.
    std::vector<std::shared_ptr<Triangle>> findTrianglesIntersectPolygon(Polygon const& polygon) const;
    /// The same as findTrianglesIntersectPolygon(Polygon const&).
    std::vector<std::shared_ptr<Triangle>> findTrianglesInsidePolygon(Polygon const& polygon) const;
    /// Triangles that meet the polyline.
    std::vector<std::shared_ptr<Triangle>> findTrianglesIntersectPolyline(Polyline const& polyline) const;
    /// Triangles that meet the GEOS geometry.
    std::vector<std::shared_ptr<Triangle>> findTrianglesIntersectPolygon(geos::geom::Geometry const& geometry) const;
    /// Edges that meet the polyline, each once.
    std::vector<std::shared_ptr<Edge>> findEdgesIntersectPolyline(Polyline const& polyline) const;
    /// Vertices inside the polygon or on its boundary, each once.
    std::vector<std::shared_ptr<Point>> findPointsInPolygon(Polygon const& polygon) const;

    /// Surface elevation at p: the first triangle (index order) that holds p within the
    /// barycentric tolerance -1e-8 decides. False, with *z untouched, outside every triangle.
    bool interpolatedElevation(Point2DI const& p, double* z) const;
    /// Overwrites the point's elevation with the surface's at its x, y; false (point
    /// unchanged) outside every triangle. The point must not be null.
    bool interpolateElevation(Point* point) const;
    /// Among the vertices standing exactly at p (several at a vertical step), the one one of
    /// whose triangles holds hint; null when none.
    std::shared_ptr<Point> findPointAtWithHint(Point2DI const& p, Point2DI const& hint) const;

    /// The outline as a multi-polygon (cached, owned by the TIN).
    geos::geom::MultiPolygon* geosMultiPolygon() const;
    /// The polygons of the union of all triangles (cached, owned by the TIN); empty for an
    /// empty TIN.
    std::vector<geos::geom::Polygon const*> geosPolygons() const;

    // Coverage tests of the outline O against another geometry's GEOS form g.

    /// O covers g.
    bool isCoveredByTin(Geometry const& geometry);
    /// g covers O.
    bool isCoversTin(Geometry const& geometry);
    /// O contains g.
    bool isInsideTin(Geometry const& geometry);
    /// O intersects g.
    bool isIntersectedByTin(Geometry const& geometry);
    /// O overlaps g.
    bool isOverlappedByTin(Geometry const& geometry);

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};

/// Whether the GEOS form of outer contains that of inner (for TINs: their outlines).
bool isWithinGeometry(Geometry const& inner, Geometry const& outer);

} // namespace tin::core
