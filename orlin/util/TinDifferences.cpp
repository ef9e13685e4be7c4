#include "orlin/util/TinDifferences.h"

#include <cmath>
#include <memory>
#include <vector>

#include <geos/geom/Point.h>
#include <geos/geom/Polygon.h>
#include <geos/util/TopologyException.h>

#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Point2DIRing.h"
#include "orlin/core/Point2DIRingTree.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/RegionTinMap.h"
#include "orlin/util/TinMerge.h"
#include "orlin/util/TinOverlay.h"
#include "trianglecui/TriangleProcessError.h"

namespace tin {
namespace util {

using core::Point2DIRingTree;
using core::Tin;

namespace {

// The triangles of tin that meet rect and that other does not hold. When rect spans the whole
// TIN (as for an edited copy) every triangle meets it: the set is read as it stands, with no
// spatial query, which would first build the index of the whole TIN.
std::vector<std::shared_ptr<core::Triangle>> trianglesOnlyIn(Tin const& tin, Tin const& other,
                                                             core::Rect const& rect)
{
    std::vector<std::shared_ptr<core::Triangle>> result;
    auto keep = [&](std::shared_ptr<core::Triangle> const& t) {
        if (!other.containsTriangle(t)) {
            result.push_back(t);
        }
    };
    if (tin.boundingRect().isInside(rect)) {
        for (auto const& t : tin.allTriangles()) {
            keep(t);
        }
    } else {
        for (auto const& t : tin.findTrianglesIntersectRect(rect)) {
            keep(t);
        }
    }
    return result;
}

}  // namespace

double TinDifferences::volume(Tin const& tin)
{
    double sum = 0.0;
    for (auto const& t : tin.allTriangles()) {
        auto const& p1 = *t->point1();
        auto const& p2 = *t->point2();
        auto const& p3 = *t->point3();
        double const cross =
            (p3.x() - p1.x()) * (p2.y() - p1.y()) - (p3.y() - p1.y()) * (p2.x() - p1.x());
        double const area = std::abs(cross) / 2.0;
        double const meanElevation = ((p2.elevation() + p1.elevation()) + p3.elevation()) / 3.0;
        sum += area * meanElevation;
    }
    return sum;
}

void TinDifferences::calculateDifferences(Tin const& a, Tin const& b, bool* ok, double* plus,
                                          double* minus)
{
    *ok = false;
    try {
        core::Rect const overlapRect = core::intersectRects(a.boundingRect(), b.boundingRect());
        // Triangles both TINs hold (an edited copy shares everything it did not change) lie
        // on both surfaces at once and add nothing to either sum; the overlay runs on the rest.
        Tin const first(trianglesOnlyIn(a, b, overlapRect));
        Tin const second(trianglesOnlyIn(b, a, overlapRect));
        auto coveredByBoth = [&](Point2DIRingTree const& tree) {
            std::unique_ptr<geos::geom::Point> p(tree.geosPolygon()->getInteriorPoint());
            core::Point2D const at(p->getX(), p->getY());
            double z = 0.0;
            return first.interpolatedElevation(at, &z) && second.interpolatedElevation(at, &z);
        };
        std::vector<std::shared_ptr<Point2DIRingTree>> regions;
        RegionTinMap firstRegions, secondRegions;
        TinOverlay::overlayTins(
            first, second,
            [&](std::vector<std::shared_ptr<Point2DIRingTree>>& trees, Tin const&, Tin const&) {
                TinMerge::keepOrDropRegions(trees, coveredByBoth);
            },
            &regions, &firstRegions, &secondRegions);

        std::vector<double> differences;
        for (auto const& tree : regions) {
            for (auto const& member : Point2DIRingTree::allMemberRings(tree)) {
                auto const* key = member->ring().get();
                auto const inFirst = firstRegions.find(key);
                auto const inSecond = secondRegions.find(key);
                if (inFirst != firstRegions.end() && inSecond != secondRegions.end()) {
                    differences.push_back(volume(inSecond->second) - volume(inFirst->second));
                }
            }
        }
        *plus = 0.0;
        *minus = 0.0;
        for (double d : differences) {
            (d > 0.0 ? *plus : *minus) += d;
        }
        *ok = true;
    } catch (trianglecui::TriangleProcessError const&) {
        *ok = false;
    } catch (geos::util::TopologyException const&) {
        *ok = false;
    }
}

}  // namespace util
}  // namespace tin
