// links: wendle CGAL
// The triangulation process with "pjzQ" (as point-set triangulation calls it) against a bare CGAL
// Delaunay triangulation of the same points, spatially sorted range insertion with info, in the
// same run. Inputs: 1,000,000 random points and a 1000 x 1000 grid, each with its bounding square
// as four segments. Prints the ratio of the best times.

#include "trianglecui/TriangleProcess.h"

#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
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

BENCHMARK(BM_TriangleProcess)->Arg(0)->Arg(1)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDelaunay)->Arg(0)->Arg(1)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

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
    return 0;
}
