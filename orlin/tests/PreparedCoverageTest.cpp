#include "orlin/core/PreparedCoverage.h"

#include <geos/geom/Coordinate.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/Point.h>
#include <geos/io/WKTReader.h>

#include <gtest/gtest.h>

#include <random>

using tin::core::PreparedCoverage;

// GEOS's covers is the oracle, with and without the cell grid, for shapes whose sides run along
// cell edges, through cell corners and around holes and separate parts. The probes lie on a
// lattice through the vertices (many exactly on sides and cell edges) and at random.
TEST(PreparedCoverageTest, AgreesWithGeosCoversWithAndWithoutCellGrid)
{
    std::vector<std::pair<double, double>> probes;
    for (int i = -2; i <= 42; ++i)
        for (int j = -2; j <= 42; ++j)
            probes.emplace_back(i * 0.25, j * 0.25);
    std::mt19937 random(5);
    std::uniform_real_distribution<double> c(-1, 11);
    for (int k = 0; k < 5000; ++k)
        probes.emplace_back(c(random), c(random));

    const char* shapes[] = {
        "POLYGON ((0 0, 10 0, 10 10, 0 10, 0 0), (2 2, 2 8, 8 8, 8 2, 2 2))",
        "POLYGON ((0 0, 10 5, 0 10, 3 5, 0 0))",
        "MULTIPOLYGON (((0 0, 4 0, 4 4, 0 4, 0 0)), ((6 6, 10 6, 10 10, 6 10, 6 6)))",
        "POLYGON ((0 0, 10 0, 10 0.5, 0.5 0.5, 0.5 9.5, 10 9.5, 10 10, 0 10, 0 0))",
        "LINESTRING (0 0, 5 5, 10 0)",
        "POLYGON EMPTY",
    };
    const auto* factory = geos::geom::GeometryFactory::getDefaultInstance();
    for (const char* shape : shapes) {
        const auto g = geos::io::WKTReader().read(shape);
        const PreparedCoverage plain(g.get());
        const PreparedCoverage gridded(g.get(), 1000000);
        for (const auto& [x, y] : probes) {
            const std::unique_ptr<geos::geom::Point> p(
                factory->createPoint(geos::geom::Coordinate(x, y)));
            const bool expected = g->covers(p.get());
            EXPECT_EQ(expected, plain.covers(x, y)) << shape << " at " << x << " " << y;
            EXPECT_EQ(expected, gridded.covers(x, y)) << shape << " at " << x << " " << y;
        }
    }
}
