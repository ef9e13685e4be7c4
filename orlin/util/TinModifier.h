#pragma once

// Static edits of TINs; never instantiated, holds no state.
//
// Point insertion and triangle selection:
// - divideTriangle inserts a point into a triangle of a TIN by splitting it: three ways
//   when the point lies inside (or on a vertex), or, when it lies on a side (barycentric
//   weight of the opposite vertex below 1e-8, the other two at least 1e-8), into two and
//   the neighbour across that side into two more. Every new triangle is (inserted point,
//   opposite vertex, end of the split side). A NaN weight gives the three-way split.
// - divideTriangleAndNeighbors makes the same split, moves the triangles that share an
//   edge with a new triangle (one ring, no further) into the patch, and re-triangulates
//   the patch as a constrained Delaunay triangulation bounded by its outline. The edges
//   listed as constraints are kept; an edge split of a constraint replaces it in the list
//   by its two halves. It is transactional: when any step throws, the TIN gets back every
//   triangle it lost, the constraint list is restored, and the exception passes on.
//   Afterwards the point is a vertex of the TIN; a point standing exactly at the position
//   of another vertex cannot become one and throws AssertError (TIN unchanged).
// - clipByPolygon keeps the triangles that the polygon's GEOS geometry contains (a side
//   on the polygon's boundary is allowed); leastCoverage keeps the triangles of bigTin
//   that meet smallTin's outline and throws common::exception::RuntimeException
//   "smallTin is larger than bigTin." when bigTin's outline does not contain smallTin's.
//   Both share the triangle objects with their source.
//
// The triangle given to the divide operations must be held by the TIN (AssertError
// otherwise). Points of constraint edges are compared by identity and must outlive the
// list. Cost: divideTriangle is constant time; divideTriangleAndNeighbors is one small
// triangulation (about a dozen triangles); the selections are linear in the triangles.

#include "orlin/util/TinDifferences.h"
#include "orlin/util/TinMerge.h"
#include "orlin/util/TinRefinement.h"

#include <cstddef>
#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

namespace geos {
namespace geom {
class Polygon;
} // namespace geom
} // namespace geos

namespace tin {
namespace core {
class Point;
class Polygon;
class Tin;
class Triangle;
} // namespace core

namespace util {

// An undirected edge by its two end objects, the lower address first.
using EdgeKey = std::pair<core::Point const*, core::Point const*>;

// The library's one hash of a pair of objects (core::hashAddressPair).
struct EdgeKeyHash {
    std::size_t operator()(EdgeKey const& key) const;
};

// Edges a re-triangulation must keep.
using ConstraintEdges = std::unordered_set<EdgeKey, EdgeKeyHash>;

EdgeKey edgeKey(core::Point const* a, core::Point const* b);

// The merge operations (add, addOver, sub, subOver, overwrite, overwrite_deleteLonelyRegions),
// refine and calculateDifferences come from the engines it derives from; see their headers for the
// contracts.
class TinModifier : public TinMerge, public TinRefinement, public TinDifferences {
public:
    TinModifier() = delete;

    // ---- Point insertion and triangle selection ----

    static void divideTriangle(core::Tin* tin, std::shared_ptr<core::Triangle> const& t,
                               std::shared_ptr<core::Point> const& p);
    // Keeps no edge inside the patch: the whole patch is re-triangulated freely.
    static void divideTriangleAndNeighbors(core::Tin* tin, std::shared_ptr<core::Triangle> const& t,
                                           std::shared_ptr<core::Point> const& p);
    // Keeps the patch edges listed in constraints (which may be null) and updates the list.
    // When added is not null, it receives the triangles that now fill the patch.
    static void divideTriangleAndNeighbors(core::Tin* tin, std::shared_ptr<core::Triangle> const& t,
                                           std::shared_ptr<core::Point> const& p,
                                           ConstraintEdges* constraints,
                                           std::vector<std::shared_ptr<core::Triangle>>* added = nullptr);
    static core::Tin clipByPolygon(core::Tin const& tin, core::Polygon const& polygon);
    static core::Tin leastCoverage(core::Tin const& bigTin, core::Tin const& smallTin);
};

} // namespace util
} // namespace tin
