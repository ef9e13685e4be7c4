#pragma once

// Corner lists for the tests of batch triangle addition: grid nodes as private point objects
// (no factory, so every test has its own points) and index triples with the awkward cases a
// batch must treat like single additions.

#include "orlin/core/Point.h"
#include "orlin/core/Triangle.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace batchtest {

using PointPtr = std::shared_ptr<tin::core::Point>;
using TrianglePtr = std::shared_ptr<tin::core::Triangle>;
using Numbering = std::map<tin::core::Triangle const*, int>;

// Nodes of an n x n grid, plus one null slot at the end (index n * n).
inline std::vector<PointPtr> gridNodes(int n)
{
    std::vector<PointPtr> nodes;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            nodes.push_back(std::make_shared<tin::core::Point>(i, j, 0.1 * i * j));
        }
    }
    nodes.push_back(nullptr);
    return nodes;
}

// Two triangles per grid cell (cells in row order, or shuffled), with degenerate triples (a
// repeated corner, the null slot) and repeated or reversed triangles sprinkled through the
// list, and every 97th triangle again and reversed at the end. Repeats come in pairs, so that
// every edge keeps the parity of its uses and the outline stays the grid's.
inline std::vector<std::uint32_t> cornerList(int n, unsigned seed, bool shuffled)
{
    auto node = [n](int i, int j) { return static_cast<std::uint32_t>(j * n + i); };
    std::vector<std::pair<int, int>> cells;
    for (int j = 0; j + 1 < n; ++j) {
        for (int i = 0; i + 1 < n; ++i) {
            cells.emplace_back(i, j);
        }
    }
    std::mt19937 random(seed);
    if (shuffled) {
        std::shuffle(cells.begin(), cells.end(), random);
    }
    std::vector<std::uint32_t> corners;
    for (auto [i, j] : cells) {
        corners.insert(corners.end(), {node(i, j), node(i + 1, j), node(i + 1, j + 1)});
        corners.insert(corners.end(), {node(i, j), node(i + 1, j + 1), node(i, j + 1)});
    }
    std::uint32_t const null = static_cast<std::uint32_t>(n * n);
    std::size_t const count = corners.size() / 3;
    std::vector<std::uint32_t> tail;
    for (std::size_t t = 0; t < count; t += 97) {
        std::uint32_t const a = corners[3 * t], b = corners[3 * t + 1], c = corners[3 * t + 2];
        tail.insert(tail.end(), {a, b, c, c, b, a});
    }
    std::uniform_int_distribution<std::size_t> pick(0, count - 1);
    for (int k = 0; k < 300; ++k) {
        std::size_t const t = pick(random);
        std::uint32_t const a = corners[3 * t], b = corners[3 * t + 1], c = corners[3 * t + 2];
        std::vector<std::uint32_t> triples;
        switch (k % 5) {
        case 0: triples = {a, b, c, a, b, c}; break; // the same triple twice
        case 1: triples = {a, b, c, c, b, a}; break; // and reversed
        case 2: triples = {a, a, c}; break;
        case 3: triples = {a, b, null}; break;
        default: triples = {b, c, b}; break;
        }
        std::size_t const at = 3 * pick(random);
        corners.insert(corners.begin() + static_cast<std::ptrdiff_t>(at), triples.begin(), triples.end());
    }
    corners.insert(corners.end(), tail.begin(), tail.end());
    return corners;
}

inline bool degenerate(std::vector<PointPtr> const& nodes, std::uint32_t const* c)
{
    return !nodes[c[0]] || !nodes[c[1]] || !nodes[c[2]] || c[0] == c[1] || c[1] == c[2] || c[0] == c[2];
}

// Numbers the triangles made by one addition run, from `offset` on; nulls are left out.
inline void number(Numbering& numbers, std::vector<TrianglePtr> const& made, int offset = 0)
{
    for (std::size_t k = 0; k < made.size(); ++k) {
        if (made[k]) {
            numbers.emplace(made[k].get(), offset + static_cast<int>(k));
        }
    }
}

inline Numbering numbering(std::vector<TrianglePtr> const& made)
{
    Numbering numbers;
    number(numbers, made);
    return numbers;
}

// The numbers of a list of triangles, -1 for one not numbered.
inline std::vector<int> numbersOf(std::vector<TrianglePtr> const& list, Numbering const& numbers)
{
    std::vector<int> result;
    for (auto const& t : list) {
        auto const it = numbers.find(t.get());
        result.push_back(it == numbers.end() ? -1 : it->second);
    }
    return result;
}

} // namespace batchtest
