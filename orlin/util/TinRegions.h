#pragma once

// Regions, holes and the outline of a TIN.
//
// A TIN stores no boundary: its outline is the set of edges that belong to exactly
// one triangle. These free functions trace those edges into closed PointRings, sort
// the rings into regions (the TIN found inside the ring reaches the ring) and holes
// (zero-area rings, rings around an empty gap, and rings the TIN inside does not
// reach), and build the outline as one GEOS MultiPolygon: one polygon per region,
// whose holes are the rings lying directly inside it.
//
// Contracts:
// - Points and edges are keyed by object identity, never by coordinates.
// - Outline edges are walked with the TIN on their left. Where loops of the outline
//   touch at a vertex, the walk takes the sharpest left turn, so it goes round the
//   triangles of one sector and loops never cross; a loop that still meets a vertex
//   twice is cut there. Every ring is therefore simple and gives a valid GEOS ring.
// - The candidate holes of a ring are all other rings, largest absolute area first,
//   so the outline does not depend on hash order.
// - GEOS objects come from the default geometry factory and carry z = 0.
// - Cost: tracing is linear in the outline edges; classifying a ring runs one
//   reachability search that may visit every triangle of the TIN (explicit stack,
//   no recursion).
// - The TIN must not change while these functions run on it.

#include <memory>
#include <unordered_map>
#include <vector>

namespace geos {
namespace geom {
class LinearRing;
class MultiPolygon;
class Polygon;
} // namespace geom
} // namespace geos

namespace tin {
namespace core {
class Edge;
class Point;
class PointRing;
class Tin;
class Triangle;
} // namespace core

namespace util {

// An outline edge with the direction in which its triangle lies on the left: from
// point1 to point2 when forward, else from point2 to point1.
struct OuterEdge {
    core::Edge* edge = nullptr;
    bool forward = true;

    bool operator==(OuterEdge const& o) const { return edge == o.edge; }
};

// Outline edges by the point they end at, in registration order. An entry exists
// only while its list is non-empty.
using OuterEdgeMap = std::unordered_map<std::shared_ptr<core::Point>, std::vector<OuterEdge>>;

using RingList = std::vector<std::shared_ptr<core::PointRing>>;

// One GEOS ring per ring, same order; (x, y, 0) coordinates.
using LinearRingList = std::vector<geos::geom::LinearRing*>;

// A ring alone as the shell of a polygon. The polygon owns the linear ring of the same
// index once ringPolygons has run; deleting the polygon deletes that ring too.
struct RingPolygon {
    int index = 0;
    std::unique_ptr<geos::geom::Polygon> polygon;
    double area = 0.0;
};

// Sorted by absolute area, largest first (ties keep ring order).
using RingPolygonList = std::vector<RingPolygon>;

// For each outline edge of the TIN: appends it to the list of its first point, then
// to the list of its second point.
void collectOuterEdges(core::Tin const& tin, OuterEdgeMap& map);

// Consumes the map (empty on return) and returns the closed rings it traces.
// Throws AssertError when the edges do not close into rings.
RingList traceRings(OuterEdgeMap& map);

// New GEOS linear rings, one per ring; the caller owns them until ringPolygons takes
// them over.
LinearRingList toLinearRings(RingList const& rings);

// Takes over the linear rings (each becomes the shell of a normalized polygon).
RingPolygonList ringPolygons(LinearRingList const& linearRings);

// New polygon (caller owns): shell = copy of linear ring i; holes = copies of the
// rings that ring i contains and that lie in no hole already taken.
geos::geom::Polygon* polygonWithHoles(int i, LinearRingList const& linearRings,
                                      RingPolygonList const& ringPolygons);

// Clears both outputs, then appends every ring to exactly one of them, in ring order.
void buildRegionsAndHoles(RingList const& rings, RingList& regions, RingList& holes,
                          core::Tin const& tin);

// Traces the TIN's outline and classifies its rings.
void buildTinRegionsAndHoles(core::Tin const& tin, RingList& regions, RingList& holes);

// The outline of the TIN; the caller owns the result. An empty TIN gives an empty
// multi-polygon.
geos::geom::MultiPolygon* buildOutlineMultiPolygon(core::Tin const& tin);

// True when a side of the ring is an edge of a triangle reachable from start without
// crossing a side of the ring.
bool reachesRing(std::shared_ptr<core::Triangle> const& start, core::PointRing const& ring,
                 core::Tin const& tin);

} // namespace util
} // namespace tin
