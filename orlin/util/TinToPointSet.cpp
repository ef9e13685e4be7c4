#include "orlin/util/TinToPointSet.h"

#include "orlin/core/Edge.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/PointSetModifier.h"
#include "orlin/util/TinRegions.h"

#include <unordered_set>

namespace tin {
namespace util {

using core::PointSet;
using core::Tin;

PointSet TinToPointSet::convert(Tin const& tin)
{
    PointSet result;
    std::unordered_set<core::Point const*> seenPoints;
    std::unordered_set<core::Edge const*> seenEdges;
    for (auto const& t : tin.allTriangles()) {
        // Points first: a breakline is only taken when both its ends are held.
        for (int i = 0; i < 3; ++i) {
            auto const& p = t->point(i);
            if (seenPoints.insert(p.get()).second) {
                result.addPoint(p);
            }
        }
        for (int j = 0; j < 3; ++j) {
            auto const& e = t->edge(j);
            if (seenEdges.insert(e.get()).second) {
                // The edges of one TIN never cross, so the crossing search is skipped.
                result.addBreakline(e->point1(), e->point2(), true);
            }
        }
    }
    if (tin.empty()) {
        return result;
    }

    RingList regions;
    RingList holes;
    buildTinRegionsAndHoles(tin, regions, holes);
    for (auto const& ring : regions) {
        result.addRegion(ring);
    }
    for (auto const& ring : holes) {
        result.addHole(ring);
    }
    PointSetModifier::removeRingSideBreaklines(result);
    return result;
}

} // namespace util
} // namespace tin
