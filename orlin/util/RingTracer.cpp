#include "orlin/util/RingTracer.h"

#include <algorithm>
#include <functional>
#include <map>

#include <geos/algorithm/PointLocation.h>
#include <geos/geom/CoordinateSequence.h>
#include <geos/geom/Envelope.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/LinearRing.h>
#include <geos/geom/Location.h>
#include <geos/geom/Polygon.h>

#include "orlin/core/Edge2D.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Point2DI.h"
#include "orlin/core/Point2DIRing.h"
#include "orlin/core/Point2DIRingTree.h"
#include "orlin/core/GeometryFunctions.h"

namespace tin {
namespace util {

using core::Edge2D;
using core::Point2DI;
using core::Point2DIRing;
using core::Point2DIRingTree;

namespace {

void removeFromAdjacency(RingTracer::EdgeAdjacency& adjacency, std::shared_ptr<Edge2D> const& e)
{
    for (int i = 0; i < 2; ++i) {
        auto it = adjacency.find(e->point(i).get());
        if (it == adjacency.end()) {
            continue;
        }
        auto& list = it->second;
        list.erase(std::remove(list.begin(), list.end(), e), list.end());
    }
}

double angleBetween(Point2DI const& from, Point2DI const& at, Point2DI const& to)
{
    core::Point2D const back(from.x() - at.x(), from.y() - at.y());
    core::Point2D const ahead(to.x() - at.x(), to.y() - at.y());
    return core::angleRadian(back, ahead);
}

// How many vertices of the inner ring are located before the full containment test decides.
constexpr std::size_t OUTSIDE_PROBES = 8;

// True when some vertex of inner lies strictly outside outer, by the same exact ray-crossing
// location GEOS labels isolated parts with; then outer's polygon cannot contain inner's. False
// says nothing. A face of the overlay mostly shares a few vertices with its neighbours, so the
// first vertex or two off outer's boundary settle it at O(n) each, where the containment test
// builds a topology graph of both rings.
bool vertexOutside(geos::geom::Polygon const& outer, geos::geom::Polygon const& inner)
{
    geos::geom::CoordinateSequence const& ring = *outer.getExteriorRing()->getCoordinatesRO();
    geos::geom::CoordinateSequence const& probes = *inner.getExteriorRing()->getCoordinatesRO();
    std::size_t const count = std::min(probes.size(), OUTSIDE_PROBES);
    for (std::size_t i = 0; i < count; ++i) {
        switch (geos::algorithm::PointLocation::locateInRing(probes.getAt(i), ring)) {
        case geos::geom::Location::EXTERIOR:
            return true;
        case geos::geom::Location::INTERIOR:
            return false;
        default:
            break;
        }
    }
    return false;
}

}  // namespace

bool RingTracer::polygonContains(geos::geom::Polygon const& outer, geos::geom::Polygon const& inner)
{
    if (!outer.getEnvelopeInternal()->contains(inner.getEnvelopeInternal())) {
        return false;
    }
    if (vertexOutside(outer, inner)) {
        return false;
    }
    return outer.contains(&inner);
}

RingTracer::EdgeStates::EdgeStates(std::vector<std::shared_ptr<Edge2D>> edges)
    : m_sorted(std::move(edges))
{
    std::sort(m_sorted.begin(), m_sorted.end(), EdgeOrder());
    // Equivalent in the order means the same object.
    m_sorted.erase(std::unique(m_sorted.begin(), m_sorted.end()), m_sorted.end());
    m_state.assign(m_sorted.size(), Untraversed);
    m_rank.reserve(m_sorted.size());
    for (std::size_t i = 0; i < m_sorted.size(); ++i) {
        m_rank.insert(m_sorted[i].get(), static_cast<std::uint32_t>(i));
    }
}

bool RingTracer::EdgeStates::anyUntraversed()
{
    while (m_firstUntraversed < m_sorted.size() && m_state[m_firstUntraversed] != Untraversed) {
        ++m_firstUntraversed;
    }
    return m_firstUntraversed < m_sorted.size();
}

bool RingTracer::EdgeStates::anyTraversed()
{
    while (!m_traversed.empty() && m_state[m_traversed.top()] != Traversed) {
        m_traversed.pop();
    }
    return !m_traversed.empty();
}

std::shared_ptr<Edge2D> const& RingTracer::EdgeStates::firstUntraversed() const
{
    return m_sorted[m_firstUntraversed];
}

std::shared_ptr<Edge2D> const& RingTracer::EdgeStates::firstTraversed() const
{
    return m_sorted[m_traversed.top()];
}

bool RingTracer::EdgeStates::walk(Edge2D const* e)
{
    auto const* rank = m_rank.find(e);
    if (rank == nullptr) {
        return false;
    }
    State& state = m_state[*rank];
    if (state == Traversed) {
        state = Gone;
        return true;
    }
    if (state == Untraversed) {
        state = Traversed;
        m_traversed.push(*rank);
    }
    return false;
}

std::vector<std::shared_ptr<Point2DIRingTree>> RingTracer::traceRegionRings(
    Edge2DSet const& outerEdges, std::vector<std::shared_ptr<Edge2D>> const& crossingSegments)
{
    std::vector<std::shared_ptr<Edge2D>> edges(outerEdges.begin(), outerEdges.end());
    edges.insert(edges.end(), crossingSegments.begin(), crossingSegments.end());
    EdgeStates states(std::move(edges));
    EdgeAdjacency adjacency;
    // Filled in edge order: the walks take the first of equally turning candidates.
    for (auto const& e : states.edges()) {
        adjacency[e->point1().get()].push_back(e);
        adjacency[e->point2().get()].push_back(e);
    }

    std::vector<std::shared_ptr<Point2DIRing>> kept;
    while (states.anyTraversed() || states.anyUntraversed()) {
        if (states.anyTraversed()) {
            auto const e = states.firstTraversed();
            auto const p = e->bottomPoint();
            auto const s = startEdgeAt(e, adjacency);
            auto ring = traceLeftmostRing(p, s, states, adjacency);
            // A walk back and forth along a dangling edge encloses no area.
            if (ring && ring->segmentCount() >= 3 &&
                std::none_of(kept.begin(), kept.end(),
                             [&](std::shared_ptr<Point2DIRing> const& k) { return k->isSameRing(*ring); })) {
                kept.push_back(ring);
            }
        } else {
            auto const e = states.firstUntraversed();
            auto const p = e->bottomPoint();
            auto const s = startEdgeAt(e, adjacency);
            traceRightmostRing(p, s, states, adjacency);
        }
    }
    return buildRingTrees(kept);
}

std::shared_ptr<Edge2D> RingTracer::startEdgeAt(std::shared_ptr<Edge2D> const& e,
                                                EdgeAdjacency const& adjacency)
{
    auto const p = e->bottomPoint();
    auto it = adjacency.find(p.get());
    if (it == adjacency.end() || it->second.empty()) {
        return e;
    }
    core::Point2D const east(1.0, 0.0);
    std::shared_ptr<Edge2D> best;
    double bestAngle = 0.0;
    for (auto const& candidate : it->second) {
        auto const o = candidate->otherPoint(p.get());
        double const angle =
            core::angleRadian(east, core::Point2D(o->x() - p->x(), o->y() - p->y()));
        if (!best || angle < bestAngle) {
            best = candidate;
            bestAngle = angle;
        }
    }
    return best;
}

std::shared_ptr<Point2DIRing> RingTracer::traceLeftmostRing(std::shared_ptr<Point2DI> const& start,
                                                            std::shared_ptr<Edge2D> const& edge,
                                                            EdgeStates& states,
                                                            EdgeAdjacency& adjacency)
{
    std::vector<std::shared_ptr<Point2DI>> points{start};
    return walkRing(start, edge, points, states, adjacency, TurnRule::Leftmost);
}

std::shared_ptr<Point2DIRing> RingTracer::traceRightmostRing(std::shared_ptr<Point2DI> const& start,
                                                             std::shared_ptr<Edge2D> const& edge,
                                                             EdgeStates& states,
                                                             EdgeAdjacency& adjacency)
{
    std::vector<std::shared_ptr<Point2DI>> points{start};
    return walkRing(start, edge, points, states, adjacency, TurnRule::Rightmost);
}

std::shared_ptr<Point2DIRing> RingTracer::walkRing(std::shared_ptr<Point2DI> from,
                                                   std::shared_ptr<Edge2D> edge,
                                                   std::vector<std::shared_ptr<Point2DI>>& points,
                                                   EdgeStates& states,
                                                   EdgeAdjacency& adjacency, TurnRule rule)
{
    struct Candidate {
        double angle;
        std::shared_ptr<Edge2D> edge;
    };
    std::vector<Candidate> candidates;
    for (;;) {
        auto const next = edge->otherPoint(from.get());
        points.push_back(next);

        if (states.walk(edge.get())) {
            removeFromAdjacency(adjacency, edge);
        }

        if (points.front() == next) {
            return std::make_shared<Point2DIRing>(points);
        }

        candidates.clear();
        auto it = adjacency.find(next.get());
        if (it != adjacency.end()) {
            for (auto const& c : it->second) {
                double const angle =
                    c == edge ? 0.0 : angleBetween(*from, *next, *c->otherPoint(next.get()));
                candidates.push_back(Candidate{angle, c});
            }
        }
        if (candidates.empty()) {
            return nullptr;
        }
        if (rule == TurnRule::Leftmost) {
            std::stable_sort(candidates.begin(), candidates.end(),
                             [](Candidate const& a, Candidate const& b) { return a.angle > b.angle; });
        } else {
            std::stable_sort(candidates.begin(), candidates.end(),
                             [](Candidate const& a, Candidate const& b) { return a.angle < b.angle; });
        }
        std::shared_ptr<Edge2D> chosen = candidates.front().edge;
        if (candidates.size() > 1 && chosen == edge) {
            chosen = candidates[1].edge;
        }
        from = next;
        edge = chosen;
    }
}

std::vector<std::shared_ptr<Point2DIRingTree>> RingTracer::buildRingTrees(
    std::vector<std::shared_ptr<Point2DIRing>> const& rings)
{
    using AreaMap = std::multimap<double, std::shared_ptr<Point2DIRing>, std::greater<double>>;
    AreaMap byArea;
    std::unordered_map<Point2DIRing const*, std::unique_ptr<geos::geom::Polygon>> polygons;
    auto const* factory = geos::geom::GeometryFactory::getDefaultInstance();
    for (auto const& ring : rings) {
        byArea.emplace(ring->boundingRect().area(), ring);
        polygons[ring.get()] =
            factory->createPolygon(std::unique_ptr<geos::geom::LinearRing>(ring->geosLinearRing()->clone()));
    }

    std::function<std::shared_ptr<Point2DIRingTree>(AreaMap::iterator)> buildTree =
        [&](AreaMap::iterator entry) {
            auto const ring = entry->second;
            double const area = entry->first;
            auto tree = std::make_shared<Point2DIRingTree>(ring);
            auto const* polygon = polygons.at(ring.get()).get();
            bool restart = true;
            while (restart) {
                restart = false;
                for (auto it = byArea.lower_bound(area); it != byArea.end(); ++it) {
                    if (it == entry) {
                        continue;
                    }
                    if (polygonContains(*polygon, *polygons.at(it->second.get()))) {
                        tree->addChildRing(buildTree(it));
                        restart = true;
                        break;
                    }
                }
            }
            byArea.erase(entry);
            return tree;
        };

    std::vector<std::shared_ptr<Point2DIRingTree>> result;
    while (!byArea.empty()) {
        result.push_back(buildTree(byArea.begin()));
    }
    return result;
}

}  // namespace util
}  // namespace tin
