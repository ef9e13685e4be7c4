// Conversions of the projection pairs, checked against PROJ's own programs: `proj` for plane
// systems (the projection alone, no datum shift) and `cs2cs` for a geographic target.
#include "proj/ProjectionPairLonLatDegreeToPlane.h"

#include "ProjProgram.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using proj::ProjectionPairLonLatDegreeToPlane;
using projprogram::LonLat;
using projprogram::Plane;
using projprogram::runProgram;

namespace {

/// Points on a small grid around a centre, in degrees.
std::vector<LonLat> gridAround(double lon, double lat, double step)
{
    std::vector<LonLat> points;
    for (int i = -2; i <= 2; ++i) {
        for (int j = -2; j <= 2; ++j) {
            points.push_back({lon + i * step, lat + j * step});
        }
    }
    return points;
}

struct Case
{
    const char* what;
    const char* definition;
    LonLat centre;
};

// Plane definitions: as the EPSG list gives them, plus the forms other callers may bring
// (a datum shift, a datum that names its ellipsoid, a prime meridian, US feet, a south-oriented
// axis order), where PROJ on its own would shift the point or swap the axes.
const std::array<Case, 8> kPlaneCases = {{
    {"JGD2011 plane IX", "+proj=tmerc +lat_0=36 +lon_0=139.833333333333 +k=0.9999 +x_0=0 +y_0=0 "
                         "+ellps=GRS80 +units=m +no_defs",
     {139.7, 35.7}},
    {"WGS 84 UTM 11N", "+proj=utm +zone=11 +datum=WGS84 +units=m +no_defs", {-117.5, 34.0}},
    {"NAD27 UTM 15N", "+proj=utm +zone=15 +datum=NAD27 +units=m +no_defs", {-93.5, 45.0}},
    {"Potsdam datum", "+proj=tmerc +lat_0=0 +lon_0=9 +k=1 +x_0=3500000 +y_0=0 +datum=potsdam "
                      "+units=m +no_defs",
     {9.5, 50.0}},
    {"Paris meridian with shift", "+proj=lcc +lat_1=46.8 +lat_0=46.8 +lon_0=0 +k_0=0.99987742 "
                                  "+x_0=600000 +y_0=2200000 +ellps=clrk80ign +pm=paris "
                                  "+towgs84=-168,-60,320,0,0,0,0 +units=m +no_defs",
     {2.5, 47.0}},
    {"US survey feet", "+proj=lcc +lat_0=36.5 +lon_0=-120.5 +lat_1=38.4333333333333 "
                       "+lat_2=37.0666666666667 +x_0=2000000.0001016 +y_0=500000.0001016 "
                       "+ellps=GRS80 +towgs84=0,0,0,0,0,0,0 +units=us-ft +no_defs",
     {-121.0, 37.5}},
    {"South-oriented", "+proj=tmerc +axis=wsu +lat_0=0 +lon_0=17 +k=1 +x_0=0 +y_0=0 "
                       "+a=6378249.145 +rf=293.4663077 +units=m +no_defs",
     {17.5, -30.0}},
    {"Oblique stereographic", "+proj=sterea +lat_0=52.1561605555556 +lon_0=5.38763888888889 "
                              "+k=0.9999079 +x_0=155000 +y_0=463000 +ellps=bessel +units=m "
                              "+no_defs",
     {5.4, 52.2}},
}};

} // namespace

TEST(ProjectionPairTest, JapanPlaneNineOriginConvertsToZero)
{
    // EPSG:2451, JGD2000 / Japan Plane Rectangular CS IX: origin 139 deg 50 min E, 36 deg N.
    ProjectionPairLonLatDegreeToPlane pair(
        "+proj=latlong +ellps=GRS80",
        "+proj=tmerc +lat_0=36 +lon_0=139.833333333333 +k=0.9999 +x_0=0 +y_0=0 +ellps=GRS80 "
        "+units=m +no_defs");
    double x = 1e9;
    double y = 1e9;
    ASSERT_TRUE(pair.forward(139.0 + 50.0 / 60.0, 36.0, x, y));
    EXPECT_NEAR(x, 0.0, 1e-3);
    EXPECT_NEAR(y, 0.0, 1e-3);
}

TEST(ProjectionPairTest, ForwardAgreesWithProjProgram)
{
    for (const Case& c : kPlaneCases) {
        SCOPED_TRACE(c.what);
        const std::vector<LonLat> points = gridAround(c.centre.lon, c.centre.lat, 0.4);
        const std::vector<Plane> expected =
            runProgram(std::string("proj -f %.6f ") + c.definition, points);
        ASSERT_EQ(expected.size(), points.size()) << "proj gave no answer for " << c.definition;
        ProjectionPairLonLatDegreeToPlane pair("+proj=latlong", c.definition);
        for (std::size_t i = 0; i < points.size(); ++i) {
            double x = 0.0;
            double y = 0.0;
            ASSERT_TRUE(pair.forward(points[i].lon, points[i].lat, x, y));
            EXPECT_NEAR(x, expected[i].x, 1e-3) << points[i].lon << " " << points[i].lat;
            EXPECT_NEAR(y, expected[i].y, 1e-3) << points[i].lon << " " << points[i].lat;
        }
    }
}

TEST(ProjectionPairTest, GeographicTargetGivesDegreesAsCs2cs)
{
    double lon = 0.0;
    double lat = 0.0;
    const char* paris = "+proj=longlat +datum=WGS84 +pm=paris +no_defs";
    const std::vector<LonLat> points = {{2.5, 48.5}, {-1.25, 43.0}, {7.75, 50.5}};
    const std::vector<Plane> expected = runProgram(
        std::string("cs2cs -f %.10f +proj=longlat +datum=WGS84 +no_defs +to ") + paris, points);
    ASSERT_EQ(expected.size(), points.size());
    ProjectionPairLonLatDegreeToPlane shifted("+proj=latlong +datum=WGS84", paris);
    for (std::size_t i = 0; i < points.size(); ++i) {
        ASSERT_TRUE(shifted.forward(points[i].lon, points[i].lat, lon, lat));
        EXPECT_NEAR(lon, expected[i].x, 1e-9);
        EXPECT_NEAR(lat, expected[i].y, 1e-9);
    }
}

TEST(ProjectionPairTest, InverseGivesThePointBack)
{
    std::vector<std::pair<std::string, LonLat>> cases;
    for (const Case& c : kPlaneCases) {
        cases.emplace_back(c.definition, c.centre);
    }
    cases.emplace_back("+proj=longlat +ellps=bessel +pm=paris +no_defs", LonLat{2.0, 47.0});
    for (const auto& [definition, centre] : cases) {
        SCOPED_TRACE(definition);
        ProjectionPairLonLatDegreeToPlane pair("+proj=latlong", definition);
        for (const LonLat& p : gridAround(centre.lon, centre.lat, 0.7)) {
            double x = 0.0;
            double y = 0.0;
            double lon = 0.0;
            double lat = 0.0;
            ASSERT_TRUE(pair.forward(p.lon, p.lat, x, y));
            ASSERT_TRUE(pair.inverse(x, y, lon, lat));
            EXPECT_NEAR(lon, p.lon, 1e-9);
            EXPECT_NEAR(lat, p.lat, 1e-9);
        }
    }
}

TEST(ProjectionPairTest, RejectedDefinitionGivesFalseAndLeavesOutputs)
{
    const char* rejected[] = {"", "+proj=nosuchprojection +ellps=GRS80",
                              "+proj=utm +zone=60 +datum=WGS84 +type=crs"};
    for (const char* definition : rejected) {
        SCOPED_TRACE(definition);
        ProjectionPairLonLatDegreeToPlane pair("+proj=latlong +datum=WGS84", definition);
        for (int attempt = 0; attempt < 2; ++attempt) {
            double x = 7.0;
            double y = 8.0;
            EXPECT_FALSE(pair.forward(139.0, 36.0, x, y));
            EXPECT_FALSE(pair.inverse(1000.0, 2000.0, x, y));
            EXPECT_EQ(x, 7.0);
            EXPECT_EQ(y, 8.0);
        }
    }
}

TEST(ProjectionPairTest, PointsOutsideTheDomainGiveFalseWithoutSpoilingThePair)
{
    ProjectionPairLonLatDegreeToPlane pair("+proj=latlong +datum=WGS84",
                                           "+proj=utm +zone=11 +datum=WGS84 +units=m +no_defs");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const LonLat bad[] = {{-117.0, 91.0}, {nan, 30.0}, {-117.0, inf}};
    for (const LonLat& p : bad) {
        double x = 7.0;
        double y = 8.0;
        EXPECT_FALSE(pair.forward(p.lon, p.lat, x, y)) << p.lon << " " << p.lat;
        EXPECT_EQ(x, 7.0);
        EXPECT_EQ(y, 8.0);
    }
    // A failed point leaves no error behind for the next one.
    double x = 0.0;
    double y = 0.0;
    EXPECT_TRUE(pair.forward(-117.0, 34.0, x, y));
}

TEST(ProjectionPairTest, ThreadsConvertingOnePairAgreeWithOneThread)
{
    const Case& c = kPlaneCases[0];
    ProjectionPairLonLatDegreeToPlane pair("+proj=latlong", c.definition);
    const std::vector<LonLat> points = gridAround(c.centre.lon, c.centre.lat, 0.1);
    std::vector<Plane> expected(points.size());
    {
        ProjectionPairLonLatDegreeToPlane alone("+proj=latlong", c.definition);
        for (std::size_t i = 0; i < points.size(); ++i) {
            ASSERT_TRUE(alone.forward(points[i].lon, points[i].lat, expected[i].x, expected[i].y));
        }
    }
    // The first conversion (which makes the projection) races on purpose.
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 50; ++round) {
                for (std::size_t i = 0; i < points.size(); ++i) {
                    double x = 0.0;
                    double y = 0.0;
                    if (!pair.forward(points[i].lon, points[i].lat, x, y) || x != expected[i].x
                        || y != expected[i].y) {
                        ++mismatches[t];
                    }
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (int count : mismatches) {
        EXPECT_EQ(count, 0);
    }
}
