#include "orlin/core/PreparedCoverage.h"

#include <geos/geom/Coordinate.h>
#include <geos/geom/Geometry.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/Point.h>
#include <geos/io/WKTReader.h>

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

using tin::core::PreparedCoverage;

namespace {

std::unique_ptr<geos::geom::Geometry> wkt(const std::string& text)
{
    return geos::io::WKTReader().read(text);
}

bool geosCovers(const geos::geom::Geometry& g, double x, double y)
{
    const std::unique_ptr<geos::geom::Point> p(
        geos::geom::GeometryFactory::getDefaultInstance()->createPoint(geos::geom::Coordinate(x, y)));
    return g.covers(p.get());
}

// Positions on a lattice through the vertices (so many lie exactly on sides and on the cell
// edges of the grid) plus random ones.
std::vector<std::pair<double, double>> probes()
{
    std::vector<std::pair<double, double>> result;
    for (int i = -2; i <= 42; ++i)
        for (int j = -2; j <= 42; ++j)
            result.emplace_back(i * 0.25, j * 0.25);
    std::mt19937 random(5);
    std::uniform_real_distribution<double> c(-1, 11);
    for (int k = 0; k < 5000; ++k)
        result.emplace_back(c(random), c(random));
    return result;
}

} // namespace

// GEOS's covers is the oracle, with and without the cell grid, for shapes whose sides run along
// cell edges, through cell corners and around holes and separate parts.
TEST(PreparedCoverageTest, AgreesWithGeosCoversWithAndWithoutCellGrid)
{
    const char* shapes[] = {
        "POLYGON ((0 0, 10 0, 10 10, 0 10, 0 0))",
        "POLYGON ((0 0, 10 0, 10 10, 0 10, 0 0), (2 2, 2 8, 8 8, 8 2, 2 2))",
        "POLYGON ((0 0, 10 5, 0 10, 3 5, 0 0))",
        "MULTIPOLYGON (((0 0, 4 0, 4 4, 0 4, 0 0)), ((6 6, 10 6, 10 10, 6 10, 6 6)))",
        "POLYGON ((0 0, 10 0, 10 0.5, 0.5 0.5, 0.5 9.5, 10 9.5, 10 10, 0 10, 0 0))",
        "LINESTRING (0 0, 5 5, 10 0)",
    };
    const auto positions = probes();
    for (const char* shape : shapes) {
        const auto g = wkt(shape);
        const PreparedCoverage plain(g.get());
        const PreparedCoverage gridded(g.get(), 1000000);
        int inside = 0;
        for (const auto& [x, y] : positions) {
            const bool expected = geosCovers(*g, x, y);
            EXPECT_EQ(expected, plain.covers(x, y)) << shape << " at " << x << " " << y;
            EXPECT_EQ(expected, gridded.covers(x, y)) << shape << " at " << x << " " << y;
            inside += expected;
        }
        EXPECT_GT(inside, 0) << shape;
    }
}

TEST(PreparedCoverageTest, EmptyGeometryCoversNothing)
{
    const auto g = wkt("POLYGON EMPTY");
    const PreparedCoverage coverage(g.get(), 100000);
    EXPECT_FALSE(coverage.covers(0, 0));
}
