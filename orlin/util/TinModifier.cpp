#include "orlin/util/TinModifier.h"

#include "orlin/core/Edge.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointFunctions.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/AssertError.h"
#include "orlin/util/PointSetToTin.h"
#include "orlin/util/TinToPointSet.h"

#include <common/exception/RuntimeException.h>

#include <geos/geom/Envelope.h>
#include <geos/geom/Geometry.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace tin {
namespace util {

using core::Point;
using core::PointRing;
using core::PointSet;
using core::Tin;
using core::Triangle;

std::size_t EdgeKeyHash::operator()(EdgeKey const& key) const
{
    return core::hashAddressPair(key.first, key.second);
}

EdgeKey edgeKey(Point const* a, Point const* b)
{
    return std::less<Point const*>()(a, b) ? EdgeKey(a, b) : EdgeKey(b, a);
}

namespace {

using PointPtr = std::shared_ptr<Point>;
using TrianglePtr = std::shared_ptr<Triangle>;

constexpr double kOnSide = 1e-8;

// -1 for the three-way split, else the index of the vertex opposite the side to split.
int chooseSplit(Triangle const& t, Point const& p)
{
    std::array<double, 3> w{};
    t.calcSTU(p, &w[0], &w[1], &w[2]);
    if (std::isnan(w[0]) || std::isnan(w[1]) || std::isnan(w[2])) {
        return -1;
    }
    std::array<int, 3> order{0, 1, 2};
    std::stable_sort(order.begin(), order.end(), [&w](int a, int b) { return w[a] < w[b]; });
    double smallest = w[order[0]];
    double middle = w[order[1]];
    if (middle < kOnSide || smallest >= kOnSide) {
        return -1;
    }
    return order[0];
}

void requireHeld(Tin const* tin, TrianglePtr const& t, PointPtr const& p)
{
    if (!tin || !t || !p) {
        throw AssertError("Null TIN, triangle or point given to divideTriangle");
    }
    if (!tin->containsTriangle(t)) {
        throw AssertError("Triangle to divide is not in the TIN");
    }
}

// What one split did, so that it can be undone and constraints follow it.
struct Split {
    std::vector<TrianglePtr> removed;
    std::shared_ptr<core::Edge> side; // null for the three-way split
};

Split split(Tin* source, Tin* target, TrianglePtr const& t, PointPtr const& p)
{
    Split done;
    int k = chooseSplit(*t, *p);
    source->removeTriangle(t);
    done.removed.push_back(t);
    if (k < 0) {
        for (int i = 0; i < 3; ++i) {
            target->addTriangle(p, t->point(i), t->point(i + 1));
        }
        return done;
    }
    done.side = t->edge(k);
    auto const& e = done.side;
    for (auto const& n : source->findTriangleFromEdge(e)) {
        source->removeTriangle(n);
        done.removed.push_back(n);
        for (int i = 0; i < 3; ++i) {
            if (n->edge(i).get() == e.get()) {
                PointPtr const& o = n->point(i);
                target->addTriangle(p, o, e->point1());
                target->addTriangle(p, o, e->point2());
            }
        }
    }
    PointPtr const& o = t->point(k);
    target->addTriangle(p, o, e->point1());
    target->addTriangle(p, o, e->point2());
    return done;
}

double patchArea(Tin const& tin)
{
    double sum = 0.0;
    for (auto const& t : tin.allTriangles()) {
        sum += t->area();
    }
    return sum;
}

// Even-odd test against the ring's corners (closing repeat included).
bool insideRing(PointRing const& ring, double x, double y)
{
    return core::insideRingEvenOdd(ring.points(), x, y);
}

// The patch as a point set, re-triangulated. The patch's own outline bounds it; listed
// constraints and hole sides stay edges. Triangles that fall in a hole of the patch
// (triangles of the TIN that the one ring of neighbours closes round, or a gap of the
// TIN) are dropped, as the triangulation fills the region's holes.
Tin retriangulate(Tin const& patch, ConstraintEdges const* constraints)
{
    PointSet set = TinToPointSet::convert(patch);
    auto holes = set.allHoles();
    set.removeAllBreaklines();
    if (constraints && !constraints->empty()) {
        for (auto const& t : patch.allTriangles()) {
            for (int j = 0; j < 3; ++j) {
                auto const& e = t->edge(j);
                if (constraints->count(edgeKey(e->point1().get(), e->point2().get()))) {
                    set.addBreakline(e->point1(), e->point2(), true);
                }
            }
        }
    }
    for (auto const& hole : holes) {
        auto pts = hole->points();
        for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
            set.addBreakline(pts[i], pts[i + 1], true);
        }
    }
    Tin result = PointSetToTin::convertCleanPointSet(set, false, false);
    if (!holes.empty()) {
        std::vector<TrianglePtr> inHole;
        for (auto const& t : result.allTriangles()) {
            auto c = t->getInteriorPoint();
            for (auto const& hole : holes) {
                if (insideRing(*hole, c.x(), c.y())) {
                    inHole.push_back(t);
                    break;
                }
            }
        }
        for (auto const& t : inHole) {
            result.removeTriangle(t);
        }
    }
    return result;
}

void checkFilled(Tin const& patch, Tin const& filled, PointPtr const& p)
{
    if (filled.findTriangleFromPoint(p).empty()) {
        throw AssertError("Point did not become a vertex in divideTriangleAndNeighbors");
    }
    double before = patchArea(patch);
    double after = patchArea(filled);
    if (std::fabs(before - after) > 1e-6 * before + 1e-12) {
        throw AssertError("Re-triangulated neighbourhood does not fill the area it replaces");
    }
}

} // namespace

// ---------------------------------------------------------------------------------
// Point insertion and triangle selection.

void TinModifier::divideTriangle(Tin* tin, TrianglePtr const& t, PointPtr const& p)
{
    requireHeld(tin, t, p);
    split(tin, tin, t, p);
}

void TinModifier::divideTriangleAndNeighbors(Tin* tin, TrianglePtr const& t, PointPtr const& p)
{
    divideTriangleAndNeighbors(tin, t, p, nullptr);
}

void TinModifier::divideTriangleAndNeighbors(Tin* tin, TrianglePtr const& t, PointPtr const& p,
                                             ConstraintEdges* constraints, std::vector<TrianglePtr>* added)
{
    requireHeld(tin, t, p);
    Tin patch;
    Split done = split(tin, &patch, t, p);

    bool sideWasConstraint = false;
    EdgeKey sideKey;
    try {
        // One ring only: the neighbours of the new triangles, not theirs in turn, so the
        // patch stays a dozen triangles whatever the TIN's size.
        std::vector<TrianglePtr> fresh(patch.allTriangles().begin(), patch.allTriangles().end());
        for (auto const& nt : fresh) {
            for (int j = 0; j < 3; ++j) {
                for (auto const& n : tin->findTriangleFromEdge(nt->edge(j))) {
                    tin->removeTriangle(n);
                    done.removed.push_back(n);
                    patch.addTriangle(n);
                }
            }
        }
        if (constraints && done.side) {
            auto const& e = *done.side;
            sideKey = edgeKey(e.point1().get(), e.point2().get());
            sideWasConstraint = constraints->erase(sideKey) > 0;
            if (sideWasConstraint) {
                constraints->insert(edgeKey(e.point1().get(), p.get()));
                constraints->insert(edgeKey(p.get(), e.point2().get()));
            }
        }
        Tin filled = retriangulate(patch, constraints);
        checkFilled(patch, filled, p);
        for (auto const& nt : filled.allTriangles()) {
            tin->addTriangle(nt);
        }
        if (added) {
            added->assign(filled.allTriangles().begin(), filled.allTriangles().end());
        }
    } catch (...) {
        for (auto const& r : done.removed) {
            tin->addTriangle(r);
        }
        if (sideWasConstraint) {
            auto const& e = *done.side;
            constraints->erase(edgeKey(e.point1().get(), p.get()));
            constraints->erase(edgeKey(p.get(), e.point2().get()));
            constraints->insert(sideKey);
        }
        throw;
    }
}

Tin TinModifier::clipByPolygon(Tin const& tin, core::Polygon const& polygon)
{
    Tin result;
    geos::geom::Geometry const* g = polygon.geosGeometry();
    if (!g || g->isEmpty()) {
        return result;
    }
    // A triangle the polygon contains lies within its envelope; the envelope test spares the
    // GEOS geometry and the exact test of every triangle away from the polygon.
    geos::geom::Envelope const* envelope = g->getEnvelopeInternal();
    for (auto const& t : tin.allTriangles()) {
        auto const box = t->boundingRect();
        if (box.xMin() < envelope->getMinX() || box.xMax() > envelope->getMaxX() ||
            box.yMin() < envelope->getMinY() || box.yMax() > envelope->getMaxY()) {
            continue;
        }
        if (g->contains(t->geosGeometry())) {
            result.addTriangle(t);
        }
    }
    return result;
}

Tin TinModifier::leastCoverage(Tin const& bigTin, Tin const& smallTin)
{
    if (!core::isWithinGeometry(smallTin, bigTin)) {
        throw common::exception::RuntimeException("smallTin is larger than bigTin.");
    }
    core::Rect r = smallTin.boundingRect();
    geos::geom::Geometry const* g = smallTin.geosGeometry();
    Tin result(core::ContainerType::STRtree);
    for (auto const& t : bigTin.findTrianglesIntersectRect(r)) {
        if (g->intersects(t->geosGeometry())) {
            result.addTriangle(t);
        }
    }
    return result;
}

} // namespace util
} // namespace tin
