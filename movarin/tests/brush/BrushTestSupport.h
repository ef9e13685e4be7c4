#pragma once

// Test support of the brush: grid terrains, a TIN with an edit swapped in, and what a
// conforming edit keeps (plan area, outline length, one or two triangles per edge, the
// elevations of the points that were there before).

#include "orlin/core/Edge.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <functional>
#include <map>
#include <memory>

namespace varnel::test {

using TrianglePtr = std::shared_ptr<tin::core::Triangle>;

/// nx by ny cells of `step` m from the origin, "/" diagonals, vertices interned at z(x, y).
inline tin::core::Tin gridTin(int nx, int ny, double step, const std::function<double(double, double)>& z = {})
{
    std::vector<std::shared_ptr<tin::core::Point>> nodes;
    for (int j = 0; j <= ny; ++j) {
        for (int i = 0; i <= nx; ++i) {
            const tin::core::Point p(step * i, step * j, z ? z(step * i, step * j) : 0.0);
            nodes.push_back(tin::core::PointFactory::instance().factory(p, false));
        }
    }
    auto at = [&](int i, int j) { return nodes[static_cast<std::size_t>(j * (nx + 1) + i)]; };
    tin::core::Tin tin;
    for (int j = 0; j < ny; ++j) {
        for (int i = 0; i < nx; ++i) {
            tin.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            tin.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
    return tin;
}

inline double planArea(const tin::core::Tin& tin)
{
    double area = 0.0;
    for (const TrianglePtr& t : tin.allTriangles()) {
        area += t->area();
    }
    return area;
}

inline double outlineLength(const tin::core::Tin& tin)
{
    double length = 0.0;
    for (const tin::core::Edge* e : tin.outerEdges()) {
        length += e->length();
    }
    return length;
}

/// A copy of `tin` with the removed triangles taken out and the added ones put in.
inline tin::core::Tin swapped(const tin::core::Tin& tin, const tin::core::Tin& removed, const tin::core::Tin& added)
{
    tin::core::Tin result(tin);
    for (const TrianglePtr& t : removed.allTriangles()) {
        result.removeTriangle(t);
    }
    for (const TrianglePtr& t : added.allTriangles()) {
        result.addTriangle(t);
    }
    return result;
}

/// No fold and no hanging edge: every edge has one or two triangles.
inline bool edgesHaveOneOrTwoTriangles(const tin::core::Tin& tin)
{
    for (const TrianglePtr& t : tin.allTriangles()) {
        for (int k = 0; k < 3; ++k) {
            const std::size_t n = tin.findTriangleFromEdge(t->edge(k)).size();
            if (n < 1 || n > 2) {
                return false;
            }
        }
    }
    return true;
}

/// Every vertex object of the TIN with its elevation.
inline std::map<const tin::core::Point*, double> elevationsOf(const tin::core::Tin& tin)
{
    std::map<const tin::core::Point*, double> elevations;
    for (const TrianglePtr& t : tin.allTriangles()) {
        for (int k = 0; k < 3; ++k) {
            elevations[t->point(k).get()] = t->point(k)->elevation();
        }
    }
    return elevations;
}

/// Whether every point of `elevations` still has its elevation.
inline bool elevationsKept(const std::map<const tin::core::Point*, double>& elevations)
{
    for (const auto& [point, z] : elevations) {
        if (point->elevation() != z) {
            return false;
        }
    }
    return true;
}

} // namespace varnel::test
