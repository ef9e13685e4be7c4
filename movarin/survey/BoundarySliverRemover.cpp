#include "movarin/survey/BoundarySliverRemover.h"

#include "orlin/core/Edge.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <algorithm>
#include <memory>
#include <unordered_set>

namespace varnel {

namespace {

constexpr double fullTurn = 6.283185307179586;

using TrianglePtr = std::shared_ptr<tin::core::Triangle>;
using EdgeSet = std::unordered_set<const tin::core::Edge*>;

/// The smallest angle at a vertex that touches an outer edge; a full turn when no edge is
/// outer. Edge k lies opposite vertex k, so vertex i sits between edges i + 1 and i + 2.
double smallestOuterAngle(const tin::core::Triangle& triangle, const EdgeSet& outer)
{
    bool interior[3];
    for (int k = 0; k < 3; ++k) {
        interior[k] = outer.count(triangle.edge(k).get()) == 0;
    }
    double smallest = fullTurn;
    if (interior[0] && interior[1] && interior[2]) {
        return smallest;
    }
    for (int i = 0; i < 3; ++i) {
        if (interior[(i + 1) % 3] && interior[(i + 2) % 3]) {
            continue;
        }
        smallest = std::min(smallest, triangle.angleRadian(i));
    }
    return smallest;
}

} // namespace

std::vector<std::size_t> BoundarySliverRemover::removeSlivers(tin::core::Tin& tin)
{
    std::vector<std::size_t> removedPerPass;
    if (tin.empty()) {
        return removedPerPass;
    }
    const std::vector<tin::core::Edge*> outerEdges = tin.outerEdges();
    EdgeSet outer(outerEdges.begin(), outerEdges.end());
    std::size_t removed = 0;
    do {
        removed = removeOnePass(tin, outer);
        removedPerPass.push_back(removed);
    } while (removed != 0);
    return removedPerPass;
}

std::size_t BoundarySliverRemover::removeOnePass(tin::core::Tin& tin, EdgeSet& outer)
{
    std::vector<TrianglePtr> slivers;
    std::unordered_set<const tin::core::Triangle*> examined;
    for (const tin::core::Edge* edge : outer) {
        for (const TrianglePtr& triangle : tin.findTriangleFromEdge(
                 std::const_pointer_cast<tin::core::Edge>(edge->shared_from_this()))) {
            if (examined.insert(triangle.get()).second
                && smallestOuterAngle(*triangle, outer) < threshold) {
                slivers.push_back(triangle);
            }
        }
    }
    // An edge is outer while an odd number of triangles hold it: each removal flips its
    // three edges. The removed triangles keep their edges alive until the pass ends.
    for (const TrianglePtr& sliver : slivers) {
        tin.removeTriangle(sliver);
        for (int k = 0; k < 3; ++k) {
            const tin::core::Edge* edge = sliver->edge(k).get();
            if (outer.erase(edge) == 0) {
                outer.insert(edge);
            }
        }
    }
    return slivers.size();
}

} // namespace varnel
