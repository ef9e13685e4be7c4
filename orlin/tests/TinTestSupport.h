#pragma once

// Small builders shared by the TIN construction tests.

#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <unordered_set>
#include <vector>

namespace tintest {

using PointPtr = std::shared_ptr<tin::core::Point>;

inline PointPtr pt(double x, double y, double z = 0.0)
{
    return std::make_shared<tin::core::Point>(x, y, z);
}

struct Corners {
    PointPtr a, b, c;
};

// Unit-cell grid of nx by ny cells, two triangles per cell, counter-clockwise; cells for
// which skip(ix, iy) is true are left out. The corners are listed, not yet added.
inline std::vector<Corners> gridTriangles(int nx, int ny, std::function<bool(int, int)> const& skip,
                                          std::function<double(double, double)> const& z,
                                          std::vector<PointPtr>* nodes = nullptr)
{
    std::vector<PointPtr> grid;
    for (int j = 0; j <= ny; ++j) {
        for (int i = 0; i <= nx; ++i) {
            grid.push_back(pt(i, j, z(i, j)));
        }
    }
    auto at = [&](int i, int j) { return grid[static_cast<std::size_t>(j * (nx + 1) + i)]; };
    std::vector<Corners> result;
    for (int j = 0; j < ny; ++j) {
        for (int i = 0; i < nx; ++i) {
            if (skip(i, j)) {
                continue;
            }
            result.push_back({at(i, j), at(i + 1, j), at(i + 1, j + 1)});
            result.push_back({at(i, j), at(i + 1, j + 1), at(i, j + 1)});
        }
    }
    if (nodes) {
        *nodes = grid;
    }
    return result;
}

inline tin::core::Tin tinOf(std::vector<Corners> triangles, unsigned shuffleSeed = 0)
{
    if (shuffleSeed != 0) {
        std::mt19937 rng(shuffleSeed);
        std::shuffle(triangles.begin(), triangles.end(), rng);
    }
    tin::core::Tin tin;
    for (auto const& t : triangles) {
        tin.addTriangle(t.a, t.b, t.c);
    }
    return tin;
}

inline double signedArea(tin::core::Triangle const& t)
{
    auto const& a = *t.point1();
    auto const& b = *t.point2();
    auto const& c = *t.point3();
    return 0.5 * ((b.x() - a.x()) * (c.y() - a.y()) - (c.x() - a.x()) * (b.y() - a.y()));
}

inline double totalArea(tin::core::Tin const& tin)
{
    double sum = 0.0;
    for (auto const& t : tin.allTriangles()) {
        sum += std::fabs(signedArea(*t));
    }
    return sum;
}

// The distinct vertex objects the TIN's triangles use.
inline std::unordered_set<tin::core::Point const*> vertices(tin::core::Tin const& tin)
{
    std::unordered_set<tin::core::Point const*> result;
    for (auto const& t : tin.allTriangles()) {
        for (int k = 0; k < 3; ++k) {
            result.insert(t->point(k).get());
        }
    }
    return result;
}

// The objects of a list or set of triangles, or of a TIN's triangles.
template <class Triangles>
std::set<tin::core::Triangle const*> objectsOf(Triangles const& triangles)
{
    std::set<tin::core::Triangle const*> result;
    for (auto const& t : triangles) {
        result.insert(t.get());
    }
    return result;
}

inline std::set<tin::core::Triangle const*> objectsOf(tin::core::Tin const& tin)
{
    return objectsOf(tin.allTriangles());
}

// Each triangle as its three vertex objects, sorted: equal for TINs of the same triangles
// over the same vertices, whatever the triangle objects and their orientation.
using CornerKey = std::array<tin::core::Point const*, 3>;

inline std::multiset<CornerKey> cornerKeys(tin::core::Tin const& tin)
{
    std::multiset<CornerKey> result;
    for (auto const& t : tin.allTriangles()) {
        CornerKey k{t->point1().get(), t->point2().get(), t->point3().get()};
        std::sort(k.begin(), k.end());
        result.insert(k);
    }
    return result;
}

} // namespace tintest
