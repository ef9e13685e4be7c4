#pragma once

// Helpers of the tests on the real survey and model files beside the repository: paths,
// independent readers of the raw files (so a reader under test is never its own oracle),
// a convex hull, and coordinate keys of triangles for comparing TINs from different sources.

#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace realdata {

using Xyz = std::array<double, 3>;
using Facet = std::array<Xyz, 3>;

inline std::string dataPath(const std::string& relative) {
    return std::string(MOVARIN_SHARED_DATA_DIR) + "/real/" + relative;
}

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path);
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

inline double parseNumber(std::string_view token) {
    double value = 0.0;
    const auto result = std::from_chars(token.data(), token.data() + token.size(), value);
    if (result.ec != std::errc() || result.ptr != token.data() + token.size()) {
        throw std::runtime_error("not a number: " + std::string(token));
    }
    return value;
}

inline std::vector<std::string_view> splitTokens(std::string_view line, std::string_view separators) {
    std::vector<std::string_view> tokens;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t begin = line.find_first_not_of(separators, pos);
        if (begin == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(line.find_first_of(separators, begin), line.size());
        tokens.push_back(line.substr(begin, end - begin));
        pos = end;
    }
    return tokens;
}

// "x,y,z" lines of the ground-point files; anything else is skipped.
inline std::vector<Xyz> readXyzLines(const std::string& path) {
    const std::string text = slurp(path);
    std::vector<Xyz> points;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        const auto tokens = splitTokens(std::string_view(text).substr(pos, end - pos), ", \t\r");
        pos = end + 1;
        if (tokens.size() != 3) {
            continue;
        }
        try {
            points.push_back({parseNumber(tokens[0]), parseNumber(tokens[1]), parseNumber(tokens[2])});
        } catch (const std::runtime_error&) {
            // a header line
        }
    }
    return points;
}

// Facets of a binary STL as the bytes hold them; a trailing partial record is ignored.
inline std::vector<Facet> readBinaryStlFacets(const std::string& path) {
    const std::string bytes = slurp(path);
    std::uint32_t count = 0;
    std::memcpy(&count, bytes.data() + 80, 4);
    std::vector<Facet> facets;
    for (std::uint32_t i = 0; i < count; ++i) {
        float values[9];
        std::memcpy(values, bytes.data() + 84 + 50 * static_cast<std::size_t>(i) + 12, sizeof values);
        Facet f;
        for (int k = 0; k < 9; ++k) {
            f[k / 3][k % 3] = values[k];
        }
        facets.push_back(f);
    }
    return facets;
}

// Facets of an ASCII STL: every three "vertex" lines, in order.
inline std::vector<Facet> readAsciiStlFacets(const std::string& path) {
    const std::string text = slurp(path);
    std::vector<Xyz> vertices;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const auto tokens = splitTokens(line, " \t\r");
        if (tokens.size() == 4 && tokens[0] == "vertex") {
            vertices.push_back({parseNumber(tokens[1]), parseNumber(tokens[2]), parseNumber(tokens[3])});
        }
    }
    std::vector<Facet> facets;
    for (std::size_t i = 0; i + 2 < vertices.size(); i += 3) {
        facets.push_back({vertices[i], vertices[i + 1], vertices[i + 2]});
    }
    return facets;
}

inline Xyz xyz(const tin::core::Point& p) {
    return {p.x(), p.y(), p.elevation()};
}

inline Facet facetOf(const tin::core::Triangle& t) {
    return {xyz(*t.point1()), xyz(*t.point2()), xyz(*t.point3())};
}

// The facet with its vertices rotated so that the smallest comes first: the same triangle
// in the same orientation gives the same key whatever vertex it starts at.
inline Facet canonical(Facet f) {
    const auto first = std::min_element(f.begin(), f.end()) - f.begin();
    std::rotate(f.begin(), f.begin() + first, f.end());
    return f;
}

inline std::vector<Facet> canonicalFacets(const tin::core::Tin& tin) {
    std::vector<Facet> keys;
    for (const auto& t : tin.allTriangles()) {
        keys.push_back(canonical(facetOf(*t)));
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

// Vertices as a set, ignoring orientation.
inline Facet sortedVertices(Facet f) {
    std::sort(f.begin(), f.end());
    return f;
}

inline double area3d(const Facet& f) {
    const Xyz u{f[1][0] - f[0][0], f[1][1] - f[0][1], f[1][2] - f[0][2]};
    const Xyz v{f[2][0] - f[0][0], f[2][1] - f[0][1], f[2][2] - f[0][2]};
    const double cx = u[1] * v[2] - u[2] * v[1];
    const double cy = u[2] * v[0] - u[0] * v[2];
    const double cz = u[0] * v[1] - u[1] * v[0];
    return 0.5 * std::sqrt(cx * cx + cy * cy + cz * cz);
}

// Twice the signed plan area, taken about the first vertex so that map coordinates of
// hundreds of kilometres lose no digits.
inline double signedArea2(const Facet& f) {
    return (f[1][0] - f[0][0]) * (f[2][1] - f[0][1]) - (f[1][1] - f[0][1]) * (f[2][0] - f[0][0]);
}

// Plan area of a TIN, each triangle taken about its first vertex.
inline double planArea(const tin::core::Tin& tin) {
    double sum = 0.0;
    for (const auto& t : tin.allTriangles()) {
        sum += 0.5 * std::abs(signedArea2(facetOf(*t)));
    }
    return sum;
}

inline bool sameFacets(const Facet& a, const Facet& b, double tolerance) {
    for (int i = 0; i < 3; ++i) {
        for (int k = 0; k < 3; ++k) {
            if (std::abs(a[i][k] - b[i][k]) > tolerance * (1.0 + std::abs(a[i][k]))) {
                return false;
            }
        }
    }
    return true;
}

// Plan area of the convex hull (monotone chain), about the first point.
inline double convexHullArea(std::vector<Xyz> points) {
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end(),
                             [](const Xyz& a, const Xyz& b) { return a[0] == b[0] && a[1] == b[1]; }),
                 points.end());
    if (points.size() < 3) {
        return 0.0;
    }
    const double ox = points[0][0];
    const double oy = points[0][1];
    auto cross = [&](const Xyz& o, const Xyz& a, const Xyz& b) {
        return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0]);
    };
    std::vector<Xyz> hull(2 * points.size());
    std::size_t k = 0;
    for (const auto& p : points) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0) {
            --k;
        }
        hull[k++] = p;
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && cross(hull[k - 2], hull[k - 1], points[i]) <= 0) {
            --k;
        }
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    double twice = 0.0;
    for (std::size_t i = 0; i < hull.size(); ++i) {
        const Xyz& a = hull[i];
        const Xyz& b = hull[(i + 1) % hull.size()];
        twice += (a[0] - ox) * (b[1] - oy) - (b[0] - ox) * (a[1] - oy);
    }
    return 0.5 * twice;
}

// Vertices, distinct undirected edges and connected components (through shared edges) of a TIN,
// counted by object identity.
struct TinTopology {
    std::size_t vertices = 0;
    std::size_t edges = 0;
    std::size_t faces = 0;
    std::size_t components = 0;
    std::map<std::pair<const void*, const void*>, int> edgeUse;
};

inline TinTopology topologyOf(const tin::core::Tin& tin) {
    TinTopology topo;
    std::map<const void*, std::size_t> index;
    std::vector<std::size_t> parent;
    auto find = [&](std::size_t i) {
        while (parent[i] != i) {
            parent[i] = parent[parent[i]];
            i = parent[i];
        }
        return i;
    };
    auto vertex = [&](const void* p) {
        const auto [it, inserted] = index.emplace(p, parent.size());
        if (inserted) {
            parent.push_back(parent.size());
        }
        return it->second;
    };
    for (const auto& t : tin.allTriangles()) {
        ++topo.faces;
        const void* ps[3] = {t->point1().get(), t->point2().get(), t->point3().get()};
        for (int i = 0; i < 3; ++i) {
            const void* a = ps[i];
            const void* b = ps[(i + 1) % 3];
            ++topo.edgeUse[std::minmax(a, b)];
            const std::size_t ra = find(vertex(a));
            const std::size_t rb = find(vertex(b));
            parent[ra] = rb;
        }
    }
    topo.vertices = index.size();
    topo.edges = topo.edgeUse.size();
    for (std::size_t i = 0; i < parent.size(); ++i) {
        if (find(i) == i) {
            ++topo.components;
        }
    }
    return topo;
}

} // namespace realdata
