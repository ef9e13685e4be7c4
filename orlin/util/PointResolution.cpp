#include "orlin/util/PointResolution.h"

#include "orlin/core/Edge.h"
#include "orlin/core/EdgeFactory.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/AssertError.h"

#include <algorithm>
#include <cmath>
#include <locale>
#include <sstream>
#include <string>

#include <triangle/triangleio.h>

namespace tin {
namespace util {

using core::Edge;
using core::Point;
using core::Point2D;
using core::Point2DI;
using core::PointRing;
using core::PointSet;
using core::Tin;
using core::Triangle;

namespace {

std::string failure(char const* text, double x, double y, char const* close)
{
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s << text << x << ", " << y << close;
    return s.str();
}

using EdgeGraph = std::unordered_map<std::shared_ptr<Point>, std::vector<std::shared_ptr<Edge>>>;

void addToGraph(EdgeGraph& graph, std::shared_ptr<Edge> const& e)
{
    graph[e->point1()].push_back(e);
    graph[e->point2()].push_back(e);
}

void unregister(EdgeGraph& graph, std::shared_ptr<Point> const& p, Edge const* e)
{
    auto it = graph.find(p);
    if (it == graph.end()) {
        return;
    }
    auto& list = it->second;
    auto pos = std::find_if(list.begin(), list.end(),
                            [e](std::shared_ptr<Edge> const& x) { return x.get() == e; });
    if (pos != list.end()) {
        list.erase(pos);
    }
    if (list.empty()) {
        graph.erase(it);
    }
}

// The candidates of one output vertex: the working set's points there, else what
// the TIN implies there (added to the working set so later edges find them).
std::vector<Candidate> endCandidates(Point2D const& position, PointSet& work, Tin const& tin)
{
    std::vector<Candidate> result;
    auto found = work.findPointsAt(position);
    if (found.empty()) {
        result = getOrCreatePoints(position, tin);
        for (auto const& c : result) {
            work.addPoint(c.point);
        }
        return result;
    }
    result.reserve(found.size());
    for (auto const& p : found) {
        result.push_back(Candidate{p, tin.findTriangleFromPoint(p)});
    }
    return result;
}

bool shareTriangle(Candidate const& a, Candidate const& b)
{
    for (auto const& t : a.triangles) {
        for (auto const& u : b.triangles) {
            if (t.get() == u.get()) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

std::size_t PositionHash::operator()(Point2D const& p) const
{
    return core::hashPoint2DI(p);
}

std::shared_ptr<Point> getPointAt(Point2D const& position, PositionPointMap const& table)
{
    auto it = table.find(position);
    if (it == table.end()) {
        throw AssertError(failure("Point not found in getPointAt at (", position.x(), position.y(), ")"));
    }
    return it->second;
}

std::shared_ptr<Point> getOrCreatePoint(Point2DI const& position, Tin const& tin, Point2DI const& hint)
{
    if (auto existing = tin.findPointAtWithHint(position, hint)) {
        return existing;
    }
    double z = 0.0;
    if (!tin.interpolatedElevation(position, &z)) {
        throw AssertError(
            failure("Interpolation failed in getOrCreatePoint() at (", position.x(), position.y(), ")"));
    }
    return core::PointFactory::instance().factory(Point(position.x(), position.y(), z), true);
}

std::vector<Candidate> getOrCreatePoints(Point2DI const& position, Tin const& tin)
{
    std::vector<Candidate> result;
    Point2D at(position.x(), position.y());
    for (auto const& p : tin.findPointsAt(at)) {
        result.push_back(Candidate{p, tin.findTriangleFromPoint(p)});
    }
    if (!result.empty()) {
        return result;
    }
    for (auto const& t : tin.findTrianglesIntersectRect(at.boundingRect())) {
        double z = 0.0;
        if (!t->interpolateElevation(at, &z, false)) {
            continue;
        }
        auto p = core::PointFactory::instance().factory(Point(at.x(), at.y(), z), true);
        bool known = std::any_of(result.begin(), result.end(), [&p](Candidate const& c) {
            return std::fabs(c.point->elevation() - p->elevation()) < 1e-8;
        });
        if (!known) {
            result.push_back(Candidate{p, {t}});
        }
    }
    if (result.empty()) {
        throw AssertError(
            failure("Interpolation failed in getOrCreatePoints while trying (", at.x(), at.y(), ")"));
    }
    return result;
}

std::vector<std::shared_ptr<PointRing>> ringsFromMarkedEdges(triangleio_t const& record,
                                                             PointSet const& set, Tin const& tin,
                                                             int key)
{
    PointSet work(set);
    EdgeGraph graph;
    auto vertex = [&record](int index) {
        return Point2D(record.pointlist[2 * index], record.pointlist[2 * index + 1]);
    };
    for (int i = 0; i < record.numberofedges; ++i) {
        if (record.edgemarkerlist[i] != key) {
            continue;
        }
        auto first = endCandidates(vertex(record.edgelist[2 * i]), work, tin);
        auto second = endCandidates(vertex(record.edgelist[2 * i + 1]), work, tin);
        if (first.size() == 1 && second.size() == 1) {
            if (first[0].point.get() != second[0].point.get()) {
                addToGraph(graph, core::EdgeFactory::instance().factory(first[0].point, second[0].point));
            }
            continue;
        }
        // A vertical step at an end: join only the candidates on the same side, those
        // that share a triangle.
        for (auto const& a : first) {
            for (auto const& b : second) {
                if (a.point.get() != b.point.get() && shareTriangle(a, b)) {
                    addToGraph(graph, core::EdgeFactory::instance().factory(a.point, b.point));
                }
            }
        }
    }

    std::vector<std::shared_ptr<PointRing>> rings;
    while (!graph.empty()) {
        std::shared_ptr<Point> start = graph.begin()->first;
        std::vector<std::shared_ptr<Point>> points{start};
        std::shared_ptr<Point> current = start;
        do {
            auto entry = graph.find(current);
            if (entry == graph.end()) {
                throw AssertError(failure("Marked edges form an open chain at (", current->x(),
                                          current->y(), ") in ringsFromMarkedEdges"));
            }
            std::shared_ptr<Edge> e = entry->second.back();
            unregister(graph, e->point1(), e.get());
            unregister(graph, e->point2(), e.get());
            current = (e->point1().get() == current.get()) ? e->point2() : e->point1();
            points.push_back(current);
        } while (current.get() != start.get());
        rings.push_back(std::make_shared<PointRing>(points));
    }
    return rings;
}

} // namespace util
} // namespace tin
