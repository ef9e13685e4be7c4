// Cut and fill between two surveys of the same patch (autzen, 2010 and 2023), checked against
// a dense sampling of both surfaces and against an exact clipping of each TIN by the other's
// outline.

#include "RealDataTestSupport.h"

#include "orlin/core/Point.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/io/TpoPointSetImporter.h"
#include "orlin/util/PointSetToTin.h"
#include "orlin/util/TinDifferences.h"

#include <geos/geom/Geometry.h>
#include <geos/geom/Point.h>
#include <geos/geom/Polygon.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace {

tin::core::Tin surveyTin(const std::string& name) {
    const std::string path = realdata::dataPath("points/" + name);
    const tin::core::PointSet set = tin::io::TpoPointSetImporter().importPointSet(path.c_str());
    return tin::util::PointSetToTin::convertCleanPointSet(set, false, false);
}

class RealDataDifferencesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_before = new tin::core::Tin(surveyTin("autzen-bmx-2010-ground.tpo"));
        s_after = new tin::core::Tin(surveyTin("autzen-bmx-2023-ground.tpo"));
    }
    static void TearDownTestSuite() {
        delete s_before;
        delete s_after;
        s_before = nullptr;
        s_after = nullptr;
    }

    static tin::core::Tin* s_before;
    static tin::core::Tin* s_after;
};

tin::core::Tin* RealDataDifferencesTest::s_before = nullptr;
tin::core::Tin* RealDataDifferencesTest::s_after = nullptr;

// Integral of the TIN's planar surface over the part of its triangles inside the outline:
// each triangle clipped by GEOS, its plane taken at the centroid of the clipped part (exact for
// a linear function).
double integralInside(const tin::core::Tin& tin, const geos::geom::Geometry& outline) {
    double sum = 0.0;
    for (const auto& t : tin.allTriangles()) {
        const realdata::Facet f = realdata::facetOf(*t);
        const auto clipped = t->geosPolygon()->intersection(&outline);
        const double area = clipped->getArea();
        if (area <= 0.0) {
            continue;
        }
        const auto centroid = clipped->getCentroid();
        // Plane z = z0 + a (x - x0) + b (y - y0) through the three vertices.
        const double ux = f[1][0] - f[0][0], uy = f[1][1] - f[0][1], uz = f[1][2] - f[0][2];
        const double vx = f[2][0] - f[0][0], vy = f[2][1] - f[0][1], vz = f[2][2] - f[0][2];
        const double det = ux * vy - uy * vx;
        const double a = (uz * vy - uy * vz) / det;
        const double b = (ux * vz - uz * vx) / det;
        sum += area * (f[0][2] + a * (centroid->getX() - f[0][0]) + b * (centroid->getY() - f[0][1]));
    }
    return sum;
}

struct Sampled {
    double positive = 0.0;
    double negative = 0.0;
    double area = 0.0;
};

// Midpoint rule on a square grid of the given step over the area both surfaces cover.
Sampled sampleDifference(const tin::core::Tin& before, const tin::core::Tin& after, double step) {
    const tin::core::Rect a = before.boundingRect();
    const tin::core::Rect b = after.boundingRect();
    const double x0 = std::max(a.xMin(), b.xMin());
    const double x1 = std::min(a.xMax(), b.xMax());
    const double y0 = std::max(a.yMin(), b.yMin());
    const double y1 = std::min(a.yMax(), b.yMax());
    Sampled s;
    const double cell = step * step;
    for (double y = y0 + step / 2; y < y1; y += step) {
        for (double x = x0 + step / 2; x < x1; x += step) {
            const tin::core::Point p(x, y);
            double zBefore = 0.0;
            double zAfter = 0.0;
            if (!before.interpolatedElevation(p, &zBefore) || !after.interpolatedElevation(p, &zAfter)) {
                continue;
            }
            const double d = zAfter - zBefore;
            (d > 0 ? s.positive : s.negative) += d * cell;
            s.area += cell;
        }
    }
    return s;
}

TEST_F(RealDataDifferencesTest, CutAndFillAgreeWithDenseSamplingOfBothSurveys) {
    bool ok = false;
    double plus = 0.0;
    double minus = 0.0;
    tin::util::TinDifferences::calculateDifferences(*s_before, *s_after, &ok, &plus, &minus);
    ASSERT_TRUE(ok);
    EXPECT_GE(plus, 0.0);
    EXPECT_LE(minus, 0.0);

    const Sampled sampled = sampleDifference(*s_before, *s_after, 0.05);
    const std::unique_ptr<geos::geom::Geometry> common =
        s_before->geosGeometry()->intersection(s_after->geosGeometry());
    ASSERT_NEAR(sampled.area, common->getArea(), 0.01 * common->getArea()) << "the sampling covers the overlap";
    ASSERT_GT(sampled.positive, 0.0);
    ASSERT_LT(sampled.negative, 0.0);
    EXPECT_NEAR(plus, sampled.positive, 0.002 * sampled.positive);
    EXPECT_NEAR(minus, sampled.negative, 0.002 * std::abs(sampled.negative));

    // Swapping the surveys swaps cut and fill.
    double plusSwapped = 0.0;
    double minusSwapped = 0.0;
    tin::util::TinDifferences::calculateDifferences(*s_after, *s_before, &ok, &plusSwapped, &minusSwapped);
    ASSERT_TRUE(ok);
    EXPECT_NEAR(plusSwapped, -minus, 1e-6 * (plus - minus));
    EXPECT_NEAR(minusSwapped, -plus, 1e-6 * (plus - minus));
}

TEST_F(RealDataDifferencesTest, NetDifferenceEqualsTheIntegralOverTheCommonArea) {
    bool ok = false;
    double plus = 0.0;
    double minus = 0.0;
    tin::util::TinDifferences::calculateDifferences(*s_before, *s_after, &ok, &plus, &minus);
    ASSERT_TRUE(ok);

    const double after = integralInside(*s_after, *s_before->geosGeometry());
    const double before = integralInside(*s_before, *s_after->geosGeometry());
    const double scale = std::abs(after) + std::abs(before);
    EXPECT_NEAR(plus + minus, after - before, 1e-9 * scale)
        << "net " << plus + minus << " against " << after - before;
}

TEST_F(RealDataDifferencesTest, SurveyAgainstItselfHasNoCutOrFill) {
    bool ok = false;
    double plus = 1.0;
    double minus = -1.0;
    const tin::core::Tin copy(*s_after);
    tin::util::TinDifferences::calculateDifferences(*s_after, copy, &ok, &plus, &minus);
    ASSERT_TRUE(ok);
    EXPECT_EQ(plus, 0.0);
    EXPECT_EQ(minus, 0.0);
}

} // namespace
