#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "orlin/core/Edge2D.h"
#include "orlin/support/AddressMapT.h"
#include "orlin/support/LinearProbingTableT.h"
#include "orlin/util/SplitRecord.h"

namespace tin {
namespace core {
class Edge2DFactory;
class Point2DI;
class Point2DIRepository;
class Point2DIRingTree;
class Tin;
class Tin2D;
class Triangle;
class Triangle2D;
}  // namespace core

namespace util {

// The planar groundwork of the overlay of two TINs: one constrained triangulation of both
// TINs' edges (every crossing of an edge of one with an edge of the other becomes a shared
// point), the segments on which the two surfaces have equal elevation, and the points at which
// edges must be cut (split records and split maps).
//
// Edge numbering during an overlay: the first TIN's 2-D sides are numbered from 2 upward and
// the second's continue after them; 0 and 1 are the triangulator's markers of edges that lie on
// no TIN edge. A side both TINs share keeps the first TIN's number. After intersectTins every TIN
// side carries its number and every overlay edge lying on a TIN edge carries that edge's number.
//
// Crossing fractions along a side are snapped: below 1e-4 to 0, above 0.9999 to 1, so that a
// crossing that close to a vertex lands on the vertex. Every new point goes through the
// repository's fuzzy add (1e-8), so crossings computed twice from two triangles meet in one
// point. Three triangulation runs; trianglecui::TriangleProcessError passes on.
class OverlayTriangulation {
public:
    // For each TIN, the TIN edge that each overlay side lies on. A side is named by its two
    // repository end points, in either order: the identity the factory's edge between them
    // would have, without making that edge (most overlay sides are never asked for as edges).
    // Where edges of the two TINs overlap along a line, a side has a TIN edge in both.
    class EdgeOwners {
    public:
        // The handles the owners were filed with (null: none in that TIN).
        struct Owners {
            std::shared_ptr<core::Edge2D> const* first = nullptr;
            std::shared_ptr<core::Edge2D> const* second = nullptr;
        };
        void reserve(std::size_t sides) { m_table.reserve(sides); }
        // Files tinEdge as the owner of side p-q in the first TIN (ofFirst) or the second; a
        // later owner for the same side and TIN replaces the earlier one. The handle itself
        // is kept, not a copy (no reference count per side): it must outlive the owners, as
        // the handles a Tin2D holds do.
        void set(core::Point2DI const* p, core::Point2DI const* q, bool ofFirst,
                 std::shared_ptr<core::Edge2D> const& tinEdge);
        // Both owners of side p-q, or null when neither TIN has one.
        Owners const* find(core::Point2DI const* p, core::Point2DI const* q) const;

    private:
        struct Slot {
            core::Point2DI const* lower = nullptr;
            core::Point2DI const* upper = nullptr;
            Owners owners;
        };
        struct SlotTraits {
            static std::size_t hashOf(Slot const& s);
            static bool occupied(Slot const& s) { return s.lower != nullptr; }
        };
        support::LinearProbingTableT<Slot, SlotTraits> m_table;
    };

    struct IdBounds {
        int firstLow = 0;
        int firstHigh = -1;
        int secondLow = 0;
        int secondHigh = -1;
    };

    // The crossing segments of the two surfaces (out, replaced) and the split records of both
    // TINs' edges (appended), with the id bounds of both 2-D TINs.
    static void intersectTins(core::Tin const& first, core::Tin const& second,
                              core::Tin2D& first2D, core::Tin2D& second2D,
                              std::vector<std::shared_ptr<core::Edge2D>>* crossingSegments,
                              std::vector<SplitRecord>* splitRecords, int* firstLow,
                              int* firstHigh, int* secondLow, int* secondHigh,
                              core::Point2DIRepository* repository,
                              core::Edge2DFactory* factory);

    // The triangles of an overlay triangulation as corner numbers into its repository points,
    // corners in the triangulator's order. No sides: the overlay's own edges are only looked
    // up where a crossing segment is filed, so the triangles are not put through the factory.
    struct OverlayMesh {
        std::vector<std::shared_ptr<core::Point2DI>> points;
        // x, y of each point side by side (zero for a missing point).
        std::vector<double> positions;
        std::vector<std::array<std::uint32_t, 3>> triangles;
    };

    // Triangulates the edges of both 2-D TINs into overlay (replaced; points of the same
    // repository) and appends the split records of both TINs' edges. A triangle two of whose
    // corners fall on one repository point is left out. owners, when given, receives the TIN
    // edges under the overlay edges.
    static void triangulateOverlay(core::Tin2D& first2D, core::Tin2D& second2D,
                                   OverlayMesh* overlay, std::vector<SplitRecord>* splitRecords,
                                   core::Point2DIRepository* repository,
                                   core::Edge2DFactory* factory, IdBounds* bounds,
                                   EdgeOwners* owners = nullptr);

    // The triangle of tin under the 2-D triangle: first through the TIN edges behind its
    // sides numbered within [low, high], else through the triangle index; null when none.
    // For single look-ups; intersectTins locates all overlay triangles at once through a
    // TriangleBucketGrid over each TIN (the triangle holding the centroid, first in TIN order).
    static std::shared_ptr<core::Triangle> findSourceTriangle(core::Triangle2D const& triangle,
                                                              core::Tin const& tin,
                                                              core::Tin2D const& tin2D, int low,
                                                              int high);

    static std::shared_ptr<core::Edge2D> findEdgeById(int id, core::Tin2D const& first2D,
                                                      core::Tin2D const& second2D,
                                                      IdBounds const& bounds);

    // The chains of sub-edges of every edge that the records cut. Records at an edge's own end
    // points cut nothing and are ignored.
    static SplitMap buildSplitMap(std::vector<SplitRecord> const& records,
                                  core::Edge2DFactory* factory);

    // The set addSplitEdge makes of the edges with buildSplitMap(records): each edge, or, where
    // the records cut it, its sub-edges, again in split form. Only the chains of these edges
    // and of their sub-edges are made, so the cost follows them and a sort of the records,
    // not every edge the records cut.
    static Edge2DSet splitEdges(std::vector<std::shared_ptr<core::Edge2D>> const& edges,
                                std::vector<SplitRecord> const& records,
                                core::Edge2DFactory* factory);

    // The edges cut at every point lying on one of them (pointsOnEdges), each piece the
    // factory's edge between consecutive points, in order; the points must be distinct
    // objects. Ring tracing needs a planar graph: two surfaces equal along a line give
    // crossing segments along it from the triangles on both sides, where rounding lets one
    // side cross the line at a point that the other side's segment passes, and the two then
    // overlap. Cut at that point, they share the piece they overlap in, as one edge.
    static std::vector<std::shared_ptr<core::Edge2D>> cutAtPoints(
        std::vector<std::shared_ptr<core::Edge2D>> const& edges,
        std::vector<std::shared_ptr<core::Point2DI>> const& points, core::Edge2DFactory* factory);

    // Inserts edge, or, when the map cuts it, its sub-edges (each again in split form).
    static void addSplitEdge(Edge2DSet* edges, std::shared_ptr<core::Edge2D> const& edge,
                             SplitMap const& splitMap);
    // Inserts edge, or, when the map cuts it, its sub-edges (one level), each taking edge's id.
    template <typename EdgeCollection>
    static void addSubEdges(EdgeCollection* edges, std::shared_ptr<core::Edge2D> const& edge,
                            SplitMap const& splitMap);

    // The records whose point is a point of some ring of the trees, at any depth, in order.
    static std::vector<SplitRecord> filterSplitRecords(
        std::vector<SplitRecord> const& records,
        std::vector<std::shared_ptr<core::Point2DIRingTree>> const& trees);

    // The elevation of a triangle's plane at p: the barycentric test of Triangle first and,
    // where rounding puts p just outside, the plane itself. Callers use it only for positions
    // that lie on the triangle by construction.
    static double planeElevation(core::Triangle const& triangle, core::Point2DI const& p);

    // How close a point must come to an edge to count as lying on it: the repository's fuzzy
    // distance.
    static constexpr double ON_EDGE_DISTANCE = 1e-8;

    // For every edge, the points other than its ends that lie on it (within ON_EDGE_DISTANCE
    // of it, strictly between its ends), ordered from point1 to point2. Such points leave a
    // triangulator segments that overlap or cross to within rounding, so callers cut edges at
    // them before a run. A uniform grid of cells about one mean edge length wide keeps the
    // cost near linear in the number of edges and points.
    static std::vector<std::vector<std::shared_ptr<core::Point2DI>>> pointsOnEdges(
        std::vector<std::shared_ptr<core::Point2DI>> const& points,
        std::vector<std::shared_ptr<core::Edge2D>> const& edges);

    // Segments for a triangulation run: every edge as the chain through the points lying on it
    // (pointsOnEdges), each piece marked with the edge's id. Segment ends are the points' ids;
    // segmentEdges[s] is the index in edges of the edge segment s stands for.
    struct EdgeChains {
        std::vector<int> segments;
        std::vector<int> markers;
        std::vector<std::size_t> segmentEdges;
    };
    static EdgeChains chainsAlongEdges(std::vector<std::shared_ptr<core::Point2DI>> const& points,
                                       std::vector<std::shared_ptr<core::Edge2D>> const& edges);

    // Position of p along e: distance from e's first point over e's length.
    static double positionOnEdge(core::Edge2D const& e, core::Point2DI const& p);

private:
    struct Corner;
    static void addSplitEdge(Edge2DSet* edges, std::shared_ptr<core::Edge2D> const& edge,
                             SplitMap const& splitMap, int depth);
    static void collectSplitPoints(std::vector<SplitRecord>* splitRecords,
                                   std::vector<double> const& points,
                                   std::vector<int> const& segments,
                                   std::vector<std::size_t> const& segmentEdges,
                                   std::vector<std::shared_ptr<core::Point2DI>> const& outputPoints,
                                   std::vector<std::shared_ptr<core::Edge2D>> const& edgeSet,
                                   core::Tin2D const& tin2D, core::Edge2DFactory* factory,
                                   EdgeOwners* owners, bool ofFirst);
    static std::shared_ptr<core::Edge2D> crossingSegment(
        Corner const* corners, std::vector<SplitRecord>* splitRecords, EdgeOwners const& owners,
        core::Point2DIRepository* repository, core::Edge2DFactory* factory);
};

template <typename EdgeCollection>
void OverlayTriangulation::addSubEdges(EdgeCollection* edges,
                                       std::shared_ptr<core::Edge2D> const& edge,
                                       SplitMap const& splitMap)
{
    auto it = splitMap.find(edge);
    if (it == splitMap.end()) {
        edges->insert(edge);
        return;
    }
    for (auto const& sub : it->second) {
        sub->setId(edge->id());
        edges->insert(sub);
    }
}

}  // namespace util
}  // namespace tin
