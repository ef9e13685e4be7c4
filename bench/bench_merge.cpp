// links: orlin wendle
// TIN merge and cut-and-fill differences at editing scale.
//  - add of a 5,000-point surface into a base of 1 million and of 100,000 points (same point
//    spacing, so the overlap is the same); the time should not follow the base's size.
//  - calculateDifferences of a 200,000-point base against a copy edited on 1 % of its area.
// Baselines: a copy of the base TIN (what any result sharing the untouched triangles costs), and
// that copy edited by the triangles one add removes and adds (the floor the TIN itself sets for
// the result; what addSurface takes beyond it is the overlay and the merge's own steps).

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "orlin/core/Point.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/support/SharedChunkArrayT.h"
#include "orlin/support/SharedPagePool.h"
#include "orlin/util/TinDifferences.h"
#include "orlin/util/TinMerge.h"

#include "BenchSupport.h"

using tin::core::Point;
using tin::core::Tin;

namespace {

double ground(double x, double y)
{
    return 0.01 * x + 0.02 * y + std::sin(x * 0.05) * std::cos(y * 0.07);
}

// A fill pad: 2 above the ground in its middle, sloping into the ground towards its rim.
double pad(double x, double y)
{
    double const r = std::hypot(x - 500.0, y - 500.0);
    return ground(x, y) + 2.0 - r * 0.06;
}

Tin& base(int n)
{
    static std::map<int, std::unique_ptr<Tin>> bases;
    auto& b = bases[n];
    if (!b) {
        b = std::make_unique<Tin>(bench::regularGridTin(500.0 - (n - 1) / 2.0, 500.0 - (n - 1) / 2.0, 1.0, n, ground));
        b->findTrianglesIntersectRect(tin::core::Rect(0, 0, 1, 1));  // index built, as in use
    }
    return *b;
}

Tin& surface()
{
    // 71 x 71 = 5,041 points around (500, 500), offset from the base's grid.
    static Tin s = bench::regularGridTin(465.3, 465.7, 1.0, 71, pad);
    return s;
}

void baselineCopy(benchmark::State& state)
{
    Tin& b = base(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Tin copy(b);
        benchmark::DoNotOptimize(copy);
    }
}

// The triangles one add of the surface removes from the base and adds to it, computed once.
struct Edit {
    std::vector<std::shared_ptr<tin::core::Triangle>> removed, added;
};

Edit const& editOf(int n)
{
    static std::map<int, Edit> edits;
    auto found = edits.find(n);
    if (found == edits.end()) {
        bool ok = false;
        Tin added, removed;
        tin::util::TinMerge::add(base(n), surface(), &ok, nullptr, &added, &removed);
        Edit edit;
        edit.removed.assign(removed.allTriangles().begin(), removed.allTriangles().end());
        edit.added.assign(added.allTriangles().begin(), added.allTriangles().end());
        found = edits.emplace(n, std::move(edit)).first;
    }
    return found->second;
}

void baselineCopyAndEdit(benchmark::State& state)
{
    int const n = static_cast<int>(state.range(0));
    Tin& b = base(n);
    Edit const& edit = editOf(n);
    // The pages of the TIN's tables that the edit gave the copy of its own (cloned or new).
    auto& pages = tin::support::SharedPagePool::of(tin::support::SharedChunkArrayT<char>::PAGE_BYTES);
    double clonedMiB = 0;
    for (auto _ : state) {
        std::size_t const before = pages.pageCount();
        Tin copy(b);
        for (auto const& t : edit.removed) {
            copy.removeTriangle(t);
        }
        for (auto const& t : edit.added) {
            copy.addTriangle(t);
        }
        benchmark::DoNotOptimize(copy);
        clonedMiB = static_cast<double>((pages.pageCount() - before) * pages.pageBytes()) / (1 << 20);
    }
    state.counters["removed"] = static_cast<double>(edit.removed.size());
    state.counters["added"] = static_cast<double>(edit.added.size());
    state.counters["ownMiB"] = clonedMiB;
}

void addSurface(benchmark::State& state)
{
    Tin& b = base(static_cast<int>(state.range(0)));
    bool ok = false;
    std::size_t taken = 0;
    for (auto _ : state) {
        Tin takenTin;
        Tin result = tin::util::TinMerge::add(b, surface(), &ok, &takenTin, nullptr, nullptr);
        taken = takenTin.allTriangles().size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["ok"] = ok ? 1 : 0;
    state.counters["baseTriangles"] = static_cast<double>(b.allTriangles().size());
    state.counters["taken"] = static_cast<double>(taken);
}

// A surface cut from the base and edited: its grid, at half the base's spacing, lies on the
// base's vertices, so that many of its edges run along parts of the base's edges (the overlay
// then reads the split points of each TIN from a run of its own).
Tin& alignedSurface()
{
    // 71 x 71 = 5,041 points on the base's grid lines (the 1M base has its vertices at x.5).
    static Tin s = bench::regularGridTin(482.5, 482.5, 0.5, 71, pad);
    return s;
}

void addAlignedSurface(benchmark::State& state)
{
    Tin& b = base(static_cast<int>(state.range(0)));
    bool ok = false;
    for (auto _ : state) {
        Tin result = tin::util::TinMerge::add(b, alignedSurface(), &ok, nullptr, nullptr, nullptr);
        benchmark::DoNotOptimize(result);
    }
    state.counters["ok"] = ok ? 1 : 0;
}

// The same add into a base edited before (as in an editing session: one triangle far from the
// surface out and back in), which drops the caches a fresh base has, its rectangle among them.
void addSurfaceIntoEditedBase(benchmark::State& state)
{
    Tin& b = base(static_cast<int>(state.range(0)));
    bool ok = false;
    for (auto _ : state) {
        state.PauseTiming();
        auto edited = std::make_unique<Tin>(b);
        tin::core::Rect const r = b.boundingRect();
        auto const corner =
            edited->findTrianglesIntersectRect(tin::core::Rect(r.xMin(), r.yMin(), r.xMin() + 1, r.yMin() + 1)).front();
        edited->removeTriangle(corner);
        edited->addTriangle(corner);
        state.ResumeTiming();
        {
            Tin result = tin::util::TinMerge::add(*edited, surface(), &ok, nullptr, nullptr, nullptr);
            benchmark::DoNotOptimize(result);
        }
        state.PauseTiming();
        edited.reset();
        state.ResumeTiming();
    }
    state.counters["ok"] = ok ? 1 : 0;
}

void differencesOfEditedCopy(benchmark::State& state)
{
    // 448 x 448 = 200,704 points; the edited copy replaces a 45 x 45 patch (1 %) by a pad.
    static Tin before = bench::regularGridTin(276.0, 276.0, 1.0, 448, ground);
    static Tin after = [] {
        Tin patch = bench::regularGridTin(477.5, 477.5, 1.0, 46, pad);
        bool ok = false;
        return tin::util::TinMerge::add(before, patch, &ok, nullptr, nullptr, nullptr);
    }();
    bool ok = false;
    double plus = 0, minus = 0;
    for (auto _ : state) {
        tin::util::TinDifferences::calculateDifferences(before, after, &ok, &plus, &minus);
    }
    state.counters["ok"] = ok ? 1 : 0;
    state.counters["plus"] = plus;
    state.counters["minus"] = minus;
}

}  // namespace

BENCHMARK(baselineCopy)->Arg(317)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(baselineCopyAndEdit)->Arg(317)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(addSurface)->Arg(317)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(addAlignedSurface)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(addSurfaceIntoEditedBase)->Arg(317)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(differencesOfEditedCopy)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.times;
    for (std::string const name : {"addSurface", "addSurfaceIntoEditedBase"}) {
        std::string const large = name + "/1000", small = name + "/317";
        if (t.count(large) && t.count(small)) {
            std::printf("%s 1M / 100k points: %.2f\n", name.c_str(), t[large] / t[small]);
        }
    }
    for (int n : {317, 1000}) {
        std::string const a = "addSurface/" + std::to_string(n);
        for (std::string const& c : {"baselineCopy/" + std::to_string(n), "baselineCopyAndEdit/" + std::to_string(n)}) {
            if (t.count(a) && t.count(c) && t[c] > 0) {
                std::printf("%s / %s: %.1f (%.0f ms beyond it)\n", a.c_str(), c.c_str(), t[a] / t[c], t[a] - t[c]);
            }
        }
    }
    benchmark::Shutdown();
    return 0;
}
