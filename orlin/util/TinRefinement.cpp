#include "orlin/util/TinRefinement.h"

#include <stdexcept>
#include <unordered_set>
#include <vector>

#include "orlin/core/Edge.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/TriangleRun.h"

namespace tin {
namespace util {

core::Tin TinRefinement::refine(core::Tin const& tin, bool* ok)
{
    *ok = false;
    std::vector<std::shared_ptr<core::Point>> points;
    std::vector<std::shared_ptr<core::Edge>> edges;
    std::unordered_set<core::Point const*> seenPoints;
    std::unordered_set<core::Edge const*> seenEdges;
    for (auto const& t : tin.allTriangles()) {
        for (int j = 0; j < 3; ++j) {
            if (seenPoints.insert(t->point(j).get()).second) {
                points.push_back(t->point(j));
            }
            if (seenEdges.insert(t->edge(j).get()).second) {
                edges.push_back(t->edge(j));
            }
        }
    }
    std::vector<double> coordinates;
    coordinates.reserve(points.size() * 2);
    for (std::size_t k = 0; k < points.size(); ++k) {
        coordinates.push_back(points[k]->x());
        coordinates.push_back(points[k]->y());
        points[k]->setId(static_cast<int>(k));
    }
    std::vector<int> segments;
    std::vector<int> markers;
    for (auto const& e : edges) {
        segments.push_back(e->point(0)->id());
        segments.push_back(e->point(1)->id());
        markers.push_back(e->id());
    }

    TriangleRun run("epjzQYa10", coordinates, segments, markers);
    std::vector<core::Point> vertices;
    vertices.reserve(static_cast<std::size_t>(run.pointCount()));
    for (int k = 0; k < run.pointCount(); ++k) {
        core::Point p(run.x(k), run.y(k));
        tin.interpolateElevation(&p);
        vertices.push_back(p);
    }
    auto vertex = [&](int index) -> core::Point const& {
        if (index < 0 || static_cast<std::size_t>(index) >= vertices.size()) {
            throw std::out_of_range("invalid vector<T> subscript");
        }
        return vertices[static_cast<std::size_t>(index)];
    };
    core::Tin refined;
    for (int k = 0; k < run.triangleCount(); ++k) {
        auto const& a = vertex(run.corner(k, 0));
        auto const& b = vertex(run.corner(k, 1));
        auto const& c = vertex(run.corner(k, 2));
        // The triangulator fills areas enclosed by edges, holes of the TIN among them.
        core::Point2D const centroid((a.x() + b.x() + c.x()) / 3.0, (a.y() + b.y() + c.y()) / 3.0);
        double z = 0.0;
        if (!tin.interpolatedElevation(centroid, &z)) {
            continue;
        }
        refined.addTriangle(a, b, c);
    }
    *ok = true;
    return refined;
}

}  // namespace util
}  // namespace tin
