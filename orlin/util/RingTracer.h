#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <queue>
#include <unordered_map>
#include <vector>

#include "orlin/support/AddressMapT.h"

#include "orlin/util/EdgeOrder.h"
#include "orlin/util/SplitRecord.h"

namespace geos {
namespace geom {
class Polygon;
}  // namespace geom
}  // namespace geos

namespace tin {
namespace core {
class Edge2D;
class Point2DI;
class Point2DIRing;
class Point2DIRingTree;
}  // namespace core

namespace util {

// Turns the edges of an overlay arrangement (the split outlines of both TINs and the crossing
// segments of the two surfaces) into the regions they bound: walks the faces of the planar
// edge graph, keeps every bounded face as a closed Point2DIRing and nests the rings into ring
// trees by containment, so that a tree's children are the rings lying inside it.
//
// The first walk of each connected part keeps the face on its right and runs round the part's
// outside; it keeps nothing and only marks those edges as walked once. Every later walk keeps
// the face on its left (counter-clockwise). An edge leaves the graph on its second walk, so
// each edge is walked at most twice. Points and edges are compared by identity. Nesting asks,
// for each pair of rings whose bounding rectangles are not larger, whether GEOS finds one
// polygon containing the other; a pair whose envelopes do not nest, or where a vertex of the
// smaller ring lies strictly outside the larger (exact ray crossing), is answered without the
// full GEOS containment test, which only confirms nesting.
class RingTracer {
public:
    using EdgeAdjacency =
        std::unordered_map<core::Point2DI const*, std::vector<std::shared_ptr<core::Edge2D>>>;
    enum class TurnRule { Leftmost, Rightmost };

    // The edges of the graph in EdgeOrder, each untraversed, traversed once, or gone (walked
    // twice). The first edge of either kind is the lowest of that kind in EdgeOrder. Flat
    // arrays by rank instead of two ordered node sets.
    class EdgeStates {
    public:
        // edges in any order; an object listed twice counts once.
        explicit EdgeStates(std::vector<std::shared_ptr<core::Edge2D>> edges);
        // Every edge, in order.
        std::vector<std::shared_ptr<core::Edge2D>> const& edges() const { return m_sorted; }
        bool anyUntraversed();
        bool anyTraversed();
        std::shared_ptr<core::Edge2D> const& firstUntraversed() const;
        std::shared_ptr<core::Edge2D> const& firstTraversed() const;
        // Walks e once more: an untraversed edge becomes traversed (false), a traversed one
        // is gone (true); any other edge is left as it is (false).
        bool walk(core::Edge2D const* e);

    private:
        enum State : unsigned char { Untraversed, Traversed, Gone };
        std::vector<std::shared_ptr<core::Edge2D>> m_sorted;
        std::vector<State> m_state;
        support::AddressMapT<core::Edge2D, std::uint32_t> m_rank;
        std::size_t m_firstUntraversed = 0;
        // Ranks of traversed edges, lowest on top; entries of edges gone since are skipped.
        std::priority_queue<std::uint32_t, std::vector<std::uint32_t>, std::greater<std::uint32_t>>
            m_traversed;
    };

    static std::vector<std::shared_ptr<core::Point2DIRingTree>> traceRegionRings(
        Edge2DSet const& outerEdges, std::vector<std::shared_ptr<core::Edge2D>> const& crossingSegments);

    // Among the edges at e's bottom point, the one with the smallest counter-clockwise angle
    // from the +x direction.
    static std::shared_ptr<core::Edge2D> startEdgeAt(std::shared_ptr<core::Edge2D> const& e,
                                                     EdgeAdjacency const& adjacency);

    static std::shared_ptr<core::Point2DIRing> traceLeftmostRing(
        std::shared_ptr<core::Point2DI> const& start, std::shared_ptr<core::Edge2D> const& edge,
        EdgeStates& states, EdgeAdjacency& adjacency);
    static std::shared_ptr<core::Point2DIRing> traceRightmostRing(
        std::shared_ptr<core::Point2DI> const& start, std::shared_ptr<core::Edge2D> const& edge,
        EdgeStates& states, EdgeAdjacency& adjacency);

    // The top-level trees of the rings, nested by containment from the largest bounding
    // rectangle down.
    static std::vector<std::shared_ptr<core::Point2DIRingTree>> buildRingTrees(
        std::vector<std::shared_ptr<core::Point2DIRing>> const& rings);

    // outer.contains(&inner), answered without GEOS's containment graph where the envelopes
    // do not nest or a vertex of inner lies strictly outside outer's shell (polygons without
    // holes, as the tracer makes them).
    static bool polygonContains(geos::geom::Polygon const& outer, geos::geom::Polygon const& inner);

private:
    static std::shared_ptr<core::Point2DIRing> walkRing(
        std::shared_ptr<core::Point2DI> from, std::shared_ptr<core::Edge2D> edge,
        std::vector<std::shared_ptr<core::Point2DI>>& points, EdgeStates& states,
        EdgeAdjacency& adjacency, TurnRule rule);
};

}  // namespace util
}  // namespace tin
