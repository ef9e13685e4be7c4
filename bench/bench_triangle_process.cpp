// links: wendle CGAL
// The triangulation process with "pjzQ" (as point-set triangulation calls it) against a bare CGAL
// Delaunay triangulation of the same points, spatially sorted range insertion with info, in the
// same run. Inputs: 1,000,000 random points and a 1000 x 1000 grid, each with its bounding square
// as four segments. Prints the ratio of the best times.
// Second, the run an overlay makes ("epjzQ", every segment marked): the edges of two triangulated
// 72 x 72 grids, one turned against the other, about 31,000 segments crossing about 30,000 times,
// against a bare Delaunay triangulation of the points the run returns (input and crossings).

#include "trianglecui/TriangleProcess.h"

#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iostream>
#include <limits>
#include <locale>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using VertexBase = CGAL::Triangulation_vertex_base_with_info_2<int, Kernel>;
using DataStructure = CGAL::Triangulation_data_structure_2<VertexBase>;
using Delaunay = CGAL::Delaunay_triangulation_2<Kernel, DataStructure>;

struct Input
{
    std::vector<double> points;
    std::vector<int> square; // four segments around the points
};

// Corners first, so the square's segments are 0-1, 1-2, 2-3, 3-0.
Input randomInput()
{
    Input input;
    double const size = 1000.0;
    input.points = {0, 0, size, 0, size, size, 0, size};
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> coordinate(0.0, size);
    for (int i = 4; i < 1000000; ++i) {
        input.points.push_back(coordinate(random));
        input.points.push_back(coordinate(random));
    }
    input.square = {0, 1, 1, 2, 2, 3, 3, 0};
    return input;
}

Input gridInput()
{
    Input input;
    int const n = 1000;
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            input.points.push_back(column);
            input.points.push_back(row);
        }
    }
    int const lowerLeft = 0, lowerRight = n - 1, upperRight = n * n - 1, upperLeft = n * (n - 1);
    input.square = {lowerLeft, lowerRight, lowerRight, upperRight, upperRight, upperLeft, upperLeft,
                    lowerLeft};
    return input;
}

Input const& inputFor(int which)
{
    static Input const random = randomInput();
    static Input const grid = gridInput();
    return which == 0 ? random : grid;
}

// The vertices and edges of an n x n grid of unit cells, each cut by a diagonal, turned by angle
// about the centre (c, c) and scaled; only vertices inside [0, limit]^2 and edges between them.
void addGridEdges(Input& input, int n, double angle, double scale, double c, double limit)
{
    double const cosine = std::cos(angle), sine = std::sin(angle);
    std::vector<int> id(static_cast<std::size_t>(n * n), -1);
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            double const u = (column - (n - 1) / 2.0) * scale;
            double const v = (row - (n - 1) / 2.0) * scale;
            double const x = c + cosine * u - sine * v;
            double const y = c + sine * u + cosine * v;
            if (x < 0 || y < 0 || x > limit || y > limit)
                continue;
            id[static_cast<std::size_t>(row * n + column)] = static_cast<int>(input.points.size() / 2);
            input.points.push_back(x);
            input.points.push_back(y);
        }
    }
    auto edge = [&](int r0, int c0, int r1, int c1) {
        if (r1 >= n || c1 >= n)
            return;
        int const a = id[static_cast<std::size_t>(r0 * n + c0)];
        int const b = id[static_cast<std::size_t>(r1 * n + c1)];
        if (a >= 0 && b >= 0) {
            input.square.push_back(a);
            input.square.push_back(b);
        }
    };
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            edge(row, column, row, column + 1);
            edge(row, column, row + 1, column);
            edge(row, column, row + 1, column + 1);
        }
    }
}

Input const& crossingInput()
{
    static Input const input = [] {
        Input result;
        addGridEdges(result, 72, 0.0, 1.0, 35.5, 71.0);
        addGridEdges(result, 80, 0.3, 0.999, 35.5, 71.0);
        return result;
    }();
    return input;
}

std::vector<int> overlayMarkers(Input const& input)
{
    std::vector<int> markers(input.square.size() / 2);
    for (std::size_t s = 0; s < markers.size(); ++s)
        markers[s] = static_cast<int>(s) + 2;
    return markers;
}

std::map<std::string, double>& bestSeconds()
{
    static std::map<std::string, double> best;
    return best;
}

void record(benchmark::State& state, std::string const& name, double seconds)
{
    state.SetIterationTime(seconds);
    auto& best = bestSeconds();
    auto it = best.find(name);
    if (it == best.end() || seconds < it->second)
        best[name] = seconds;
}

char const* inputName(int which)
{
    return which == 0 ? "random" : "grid";
}

void BM_TriangleProcess(benchmark::State& state)
{
    int const which = static_cast<int>(state.range(0));
    Input const& input = inputFor(which);
    for (auto _ : state) {
        auto const start = std::chrono::steady_clock::now();
        triangleio_t out{};
        trianglecui::TriangleProcess::execute("pjzQ", input.points, {}, input.square, {}, {}, {},
                                              &out, true);
        benchmark::DoNotOptimize(out.numberoftriangles);
        triangle_free(out.pointlist);
        triangle_free(out.trianglelist);
        auto const end = std::chrono::steady_clock::now();
        record(state, std::string("ours/") + inputName(which),
               std::chrono::duration<double>(end - start).count());
        state.counters["triangles"] = out.numberoftriangles;
    }
}

void BM_BareDelaunay(benchmark::State& state)
{
    int const which = static_cast<int>(state.range(0));
    Input const& input = inputFor(which);
    std::size_t const count = input.points.size() / 2;
    for (auto _ : state) {
        auto const start = std::chrono::steady_clock::now();
        {
            std::vector<std::pair<Kernel::Point_2, int>> points;
            points.reserve(count);
            for (std::size_t i = 0; i < count; ++i)
                points.emplace_back(Kernel::Point_2(input.points[2 * i], input.points[2 * i + 1]),
                                    static_cast<int>(i));
            Delaunay triangulation;
            triangulation.insert(points.begin(), points.end());
            benchmark::DoNotOptimize(triangulation.number_of_faces());
            state.counters["triangles"] = static_cast<double>(triangulation.number_of_faces());
        }
        auto const end = std::chrono::steady_clock::now();
        record(state, std::string("bare/") + inputName(which),
               std::chrono::duration<double>(end - start).count());
    }
}

void BM_OverlayRun(benchmark::State& state)
{
    Input const& input = crossingInput();
    std::vector<int> const markers = overlayMarkers(input);
    for (auto _ : state) {
        auto const start = std::chrono::steady_clock::now();
        triangleio_t out{};
        trianglecui::TriangleProcess::execute("epjzQ", input.points, {}, input.square, markers, {},
                                              {}, &out, true);
        benchmark::DoNotOptimize(out.numberoftriangles);
        auto const end = std::chrono::steady_clock::now();
        state.counters["segments"] = static_cast<double>(markers.size());
        state.counters["crossings"] = out.numberofpoints - static_cast<double>(input.points.size() / 2);
        state.counters["triangles"] = out.numberoftriangles;
        triangle_free(out.pointlist);
        triangle_free(out.trianglelist);
        triangle_free(out.edgelist);
        triangle_free(out.edgemarkerlist);
        record(state, "ours/overlay", std::chrono::duration<double>(end - start).count());
    }
}

// The floor of any run that returns the overlay's mesh: a bare Delaunay triangulation of its
// vertices.
void BM_BareDelaunayOfOverlay(benchmark::State& state)
{
    Input const& input = crossingInput();
    std::vector<int> const markers = overlayMarkers(input);
    triangleio_t out{};
    trianglecui::TriangleProcess::execute("epjzQ", input.points, {}, input.square, markers, {}, {},
                                          &out, true);
    std::vector<double> const points(out.pointlist, out.pointlist + 2 * out.numberofpoints);
    triangle_free(out.pointlist);
    triangle_free(out.trianglelist);
    triangle_free(out.edgelist);
    triangle_free(out.edgemarkerlist);
    std::size_t const count = points.size() / 2;
    for (auto _ : state) {
        auto const start = std::chrono::steady_clock::now();
        {
            std::vector<std::pair<Kernel::Point_2, int>> entries;
            entries.reserve(count);
            for (std::size_t i = 0; i < count; ++i)
                entries.emplace_back(Kernel::Point_2(points[2 * i], points[2 * i + 1]),
                                     static_cast<int>(i));
            Delaunay triangulation;
            triangulation.insert(entries.begin(), entries.end());
            benchmark::DoNotOptimize(triangulation.number_of_faces());
        }
        auto const end = std::chrono::steady_clock::now();
        record(state, "bare/overlay", std::chrono::duration<double>(end - start).count());
    }
}

BENCHMARK(BM_TriangleProcess)->Arg(0)->Arg(1)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDelaunay)->Arg(0)->Arg(1)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OverlayRun)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDelaunayOfOverlay)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::cout.imbue(std::locale::classic());
    auto const& best = bestSeconds();
    for (char const* name : {"random", "grid"}) {
        auto ours = best.find(std::string("ours/") + name);
        auto bare = best.find(std::string("bare/") + name);
        if (ours == best.end() || bare == best.end())
            continue;
        std::cout << "pjzQ " << name << ": " << ours->second * 1000.0 << " ms, bare CGAL "
                  << bare->second * 1000.0 << " ms, ratio " << ours->second / bare->second
                  << " (goal <= 1.5)\n";
    }
    auto ours = best.find("ours/overlay");
    auto bare = best.find("bare/overlay");
    if (ours != best.end() && bare != best.end())
        std::cout << "epjzQ overlay: " << ours->second * 1000.0 << " ms, bare CGAL of its vertices "
                  << bare->second * 1000.0 << " ms, ratio " << ours->second / bare->second << "\n";
    return 0;
}
