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
    std::size_t removed = 0;
    do {
        removed = removeOnePass(tin);
        removedPerPass.push_back(removed);
    } while (removed != 0);
    return removedPerPass;
}

std::size_t BoundarySliverRemover::removeOnePass(tin::core::Tin& tin)
{
    const std::vector<tin::core::Edge*> outerEdges = tin.outerEdges();
    const EdgeSet outer(outerEdges.begin(), outerEdges.end());

    std::vector<std::shared_ptr<tin::core::Triangle>> slivers;
    for (const std::shared_ptr<tin::core::Triangle>& triangle : tin.allTriangles()) {
        if (smallestOuterAngle(*triangle, outer) < threshold) {
            slivers.push_back(triangle);
        }
    }
    for (const std::shared_ptr<tin::core::Triangle>& sliver : slivers) {
        tin.removeTriangle(sliver);
    }
    return slivers.size();
}

} // namespace varnel
