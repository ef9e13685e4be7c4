#pragma once

// Small builders shared by the overlay tests.

#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/TriangleRun.h"

namespace overlaytest {

using Vertex = std::array<double, 3>;
using Corners = std::array<int, 3>;

inline tin::core::Tin makeTin(std::vector<Vertex> const& vertices, std::vector<Corners> const& triangles)
{
    tin::core::Tin tin;
    for (auto const& t : triangles) {
        auto const& a = vertices[t[0]];
        auto const& b = vertices[t[1]];
        auto const& c = vertices[t[2]];
        tin.addTriangle(tin::core::Point(a[0], a[1], a[2]), tin::core::Point(b[0], b[1], b[2]),
                        tin::core::Point(c[0], c[1], c[2]));
    }
    return tin;
}

// The Delaunay triangles of the given positions (whole convex hull).
inline std::vector<Corners> delaunay(std::vector<Vertex> const& vertices)
{
    std::vector<double> points;
    for (auto const& v : vertices) {
        points.push_back(v[0]);
        points.push_back(v[1]);
    }
    tin::util::TriangleRun const run("zQ", points, {}, {});
    std::vector<Corners> triangles;
    for (int i = 0; i < run.triangleCount(); ++i) {
        triangles.push_back({run.corner(i, 0), run.corner(i, 1), run.corner(i, 2)});
    }
    return triangles;
}

inline double planarArea(tin::core::Triangle const& t)
{
    auto const& a = *t.point1();
    auto const& b = *t.point2();
    auto const& c = *t.point3();
    return std::abs((b.x() - a.x()) * (c.y() - a.y()) - (c.x() - a.x()) * (b.y() - a.y())) / 2.0;
}

inline double planarArea(tin::core::Tin const& tin)
{
    double sum = 0.0;
    for (auto const& t : tin.allTriangles()) {
        sum += planarArea(*t);
    }
    return sum;
}

}  // namespace overlaytest
