// links: orlin
//
// Point-in-polygon over a survey-sized point set: findPointsInPolygon of a 1,000-vertex
// river-shaped ring (a meandering reach 10 km long, 300 m wide) over 1 million points spread
// over the reach's 10 km x 2 km box. The ring's bounding box holds most of the points while the
// ring covers a small share of them, so the candidate test dominates.
//
// Cases:
//   BM_BareLocatorLoop    baseline: a plain vector of coordinates, an envelope test and the
//                         prepared polygon's point locator on every one.
//   BM_BarePreparedCovers baseline: a plain loop of PreparedGeometry::covers over one GEOS point
//                         per coordinate, the textbook use of a prepared geometry.
//   BM_FindPointsInPolygon the point set's query with the whole river ring (its box holds most
//                         points, so the set walks its points; a polygon query never builds
//                         the index); ratio printed against BM_BareLocatorLoop.
//   BM_FindPointsInReach  the query with a 500 m stretch of the river (a small share of the
//                         box), answered through the point index, which is built before timing;
//                         the build time is printed as index_build_s.
//   BM_UnpreparedCovers   Geometry::covers of each point's own GEOS point, the direct way, over
//                         10,000 points only (it is O(points x ring vertices)); its cost per
//                         million points is printed.
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Polygon.h"

#include <benchmark/benchmark.h>

#include <geos/algorithm/locate/PointOnGeometryLocator.h>
#include <geos/geom/Coordinate.h>
#include <geos/geom/Envelope.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/Location.h>
#include <geos/geom/Point.h>
#include <geos/geom/Polygon.h>
#include <geos/geom/prep/PreparedGeometry.h>
#include <geos/geom/prep/PreparedGeometryFactory.h>
#include <geos/geom/prep/PreparedPolygon.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

using namespace tin::core;

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t pointCount = 1000000;
constexpr int ringVertices = 1000;

double since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<std::shared_ptr<Point>> surveyPoints(std::size_t n)
{
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> x(0.0, 10000.0);
    std::uniform_real_distribution<double> y(0.0, 2000.0);
    std::uniform_real_distribution<double> z(95.0, 110.0);
    std::vector<std::shared_ptr<Point>> points;
    points.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        points.push_back(std::make_shared<Point>(x(random), y(random), z(random)));
    return points;
}

// Left bank downstream, right bank back upstream: a closed meandering strip from 0 to length.
Polygon riverRing(double length)
{
    const int perBank = ringVertices / 2;
    const auto centre = [](double s) { return 1000.0 + 600.0 * std::sin(2 * M_PI * s / 2500.0); };
    std::vector<Point2D> vertices;
    vertices.reserve(ringVertices);
    for (int k = 0; k < perBank; ++k) {
        const double s = length * k / (perBank - 1);
        vertices.emplace_back(s, centre(s) + 150.0);
    }
    for (int k = perBank - 1; k >= 0; --k) {
        const double s = length * k / (perBank - 1);
        vertices.emplace_back(s, centre(s) - 150.0);
    }
    return Polygon(vertices);
}

struct Fixture
{
    std::vector<std::shared_ptr<Point>> points = surveyPoints(pointCount);
    Polygon ring = riverRing(10000.0);
    Polygon reach = riverRing(500.0);
    PointSet set;
    double bareSeconds = 0.0;
    double indexSeconds = -1.0;

    Fixture()
    {
        for (const auto& p : points)
            set.addPoint(p);
        // The set files its additions on the first read; that belongs to building it, not
        // to the first timed query.
        set.boundingRect();
    }

    void buildIndex()
    {
        if (indexSeconds >= 0)
            return;
        const auto start = Clock::now();
        set.findPointsInRect(Rect(0, 0, 1, 1));
        indexSeconds = since(start);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

std::size_t bareLocatorLoop(const std::vector<geos::geom::Coordinate>& coordinates,
                            const geos::geom::Geometry* polygon)
{
    geos::geom::prep::PreparedPolygon prepared(polygon);
    const geos::geom::Envelope& envelope = *polygon->getEnvelopeInternal();
    std::size_t inside = 0;
    for (const auto& c : coordinates)
        if (envelope.covers(c.x, c.y)
            && prepared.getPointLocator()->locate(&c) != geos::geom::Location::EXTERIOR)
            ++inside;
    return inside;
}

std::vector<geos::geom::Coordinate> coordinatesOf(const std::vector<std::shared_ptr<Point>>& points)
{
    std::vector<geos::geom::Coordinate> coordinates;
    coordinates.reserve(points.size());
    for (const auto& p : points)
        coordinates.emplace_back(p->x(), p->y());
    return coordinates;
}

void BM_BareLocatorLoop(benchmark::State& state)
{
    Fixture& f = fixture();
    const auto coordinates = coordinatesOf(f.points);
    std::size_t inside = 0;
    double total = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        inside = bareLocatorLoop(coordinates, f.ring.geosGeometry());
        const double seconds = since(start);
        total += seconds;
        state.SetIterationTime(seconds);
    }
    f.bareSeconds = total / state.iterations();
    state.counters["found"] = static_cast<double>(inside);
}

void BM_BarePreparedCovers(benchmark::State& state)
{
    Fixture& f = fixture();
    const auto* factory = geos::geom::GeometryFactory::getDefaultInstance();
    std::vector<std::unique_ptr<geos::geom::Point>> geosPoints;
    geosPoints.reserve(f.points.size());
    for (const auto& p : f.points)
        geosPoints.emplace_back(factory->createPoint(geos::geom::Coordinate(p->x(), p->y())));
    std::size_t inside = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const auto prepared = geos::geom::prep::PreparedGeometryFactory::prepare(f.ring.geosGeometry());
        inside = 0;
        for (const auto& g : geosPoints)
            if (prepared->covers(g.get()))
                ++inside;
        state.SetIterationTime(since(start));
    }
    state.counters["found"] = static_cast<double>(inside);
}

void BM_FindPointsInPolygon(benchmark::State& state)
{
    Fixture& f = fixture();
    std::size_t found = 0;
    double total = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        found = f.set.findPointsInPolygon(f.ring).size();
        const double seconds = since(start);
        total += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["found"] = static_cast<double>(found);
    if (f.bareSeconds > 0)
        state.counters["ratio_to_bare"] = total / state.iterations() / f.bareSeconds;
}

void BM_FindPointsInReach(benchmark::State& state)
{
    Fixture& f = fixture();
    f.buildIndex();
    std::size_t found = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        found = f.set.findPointsInPolygon(f.reach).size();
        state.SetIterationTime(since(start));
    }
    state.counters["found"] = static_cast<double>(found);
    state.counters["index_build_s"] = f.indexSeconds;
}

void BM_UnpreparedCovers(benchmark::State& state)
{
    Fixture& f = fixture();
    const std::size_t n = 10000;
    std::size_t inside = 0;
    double total = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        inside = 0;
        for (std::size_t i = 0; i < n; ++i)
            if (f.ring.geosGeometry()->covers(f.points[i]->geosGeometry()))
                ++inside;
        const double seconds = since(start);
        total += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["found"] = static_cast<double>(inside);
    state.counters["s_per_million"] = total / state.iterations() / n * 1e6;
}

} // namespace

BENCHMARK(BM_BareLocatorLoop)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BarePreparedCovers)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindPointsInPolygon)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindPointsInReach)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnpreparedCovers)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
