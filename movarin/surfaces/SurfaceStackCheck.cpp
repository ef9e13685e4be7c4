#include "movarin/surfaces/SurfaceStackCheck.h"

#include "orlin/core/Point.h"
#include "orlin/core/Triangle.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace varnel {

namespace {

using TrianglePtr = std::shared_ptr<tin::core::Triangle>;
using VertexTriple = std::array<const tin::core::Point*, 3>;

VertexTriple vertexTriple(const tin::core::Triangle& t)
{
    VertexTriple key{t.point1().get(), t.point2().get(), t.point3().get()};
    std::sort(key.begin(), key.end());
    return key;
}

struct VertexTripleHash {
    std::size_t operator()(const VertexTriple& key) const
    {
        std::uint64_t h = 0;
        for (const tin::core::Point* p : key) {
            const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p)) >> 6;
            h = (h ^ bits) * 0x9E3779B97F4A7C15ull;
            h ^= h >> 29;
        }
        return static_cast<std::size_t>(h);
    }
};

// Whether `tin` holds a triangle over the vertices of `t`, asked through the triangles
// around one of them.
bool holds(const tin::core::Tin& tin, const tin::core::Triangle& t, const VertexTriple& key)
{
    for (const TrianglePtr& u : tin.findTriangleFromPoint(t.point1())) {
        if (vertexTriple(*u) == key) {
            return true;
        }
    }
    return false;
}

// What taking the surfaces back did to one vertex triple: whether it is there now, and the
// surface that last changed it.
struct Touched {
    const tin::core::Triangle* triangle;
    bool present;
    int surface;
};

double area(const tin::core::Tin* tin)
{
    double sum = 0.0;
    if (tin) {
        for (const TrianglePtr& t : tin->allTriangles()) {
            sum += t->area();
        }
    }
    return sum;
}

std::size_t count(const tin::core::Tin* tin)
{
    return tin ? tin->allTriangles().size() : 0;
}

// The surface whose removed and added triangles cover the most different areas; the oldest
// when they all balance (a surface keeps the edited TIN's outline and area).
int leastBalanced(const std::vector<SurfaceStackCheck::Surface>& surfaces)
{
    int worst = static_cast<int>(surfaces.size()) - 1;
    double imbalance = 0.0;
    for (std::size_t i = 0; i < surfaces.size(); ++i) {
        const double added = area(surfaces[i].added);
        const double removed = area(surfaces[i].removed);
        const double d = std::abs(added - removed) / std::max({added, removed, 1e-300});
        if (d > 1e-9 && d > imbalance) {
            imbalance = d;
            worst = static_cast<int>(i);
        }
    }
    return worst;
}

} // namespace

int SurfaceStackCheck::firstMisfit(const tin::core::Tin& edited, const tin::core::Tin& base,
                                   const std::vector<Surface>& surfaces)
{
    std::unordered_map<VertexTriple, Touched, VertexTripleHash> touched;
    const auto present = [&](const tin::core::Triangle& t, const VertexTriple& key) {
        const auto it = touched.find(key);
        return it != touched.end() ? it->second.present : holds(edited, t, key);
    };
    long long triangles = static_cast<long long>(edited.allTriangles().size());
    for (std::size_t i = 0; i < surfaces.size(); ++i) {
        const int surface = static_cast<int>(i);
        if (surfaces[i].added) {
            for (const TrianglePtr& t : surfaces[i].added->allTriangles()) {
                const VertexTriple key = vertexTriple(*t);
                if (!present(*t, key)) {
                    return surface;
                }
                touched[key] = Touched{t.get(), false, surface};
            }
        }
        if (surfaces[i].removed) {
            for (const TrianglePtr& t : surfaces[i].removed->allTriangles()) {
                const VertexTriple key = vertexTriple(*t);
                if (present(*t, key)) {
                    return surface;
                }
                touched[key] = Touched{t.get(), true, surface};
            }
        }
        triangles += static_cast<long long>(count(surfaces[i].removed))
                     - static_cast<long long>(count(surfaces[i].added));
    }
    // Back at the start, everything the surfaces touched is as the base TIN has it.
    int misfit = -1;
    for (const auto& [key, state] : touched) {
        if (state.present != holds(base, *state.triangle, key)) {
            misfit = std::max(misfit, state.surface);
        }
    }
    if (misfit >= 0) {
        return misfit;
    }
    if (triangles != static_cast<long long>(base.allTriangles().size())) {
        return leastBalanced(surfaces);
    }
    return -1;
}

} // namespace varnel
