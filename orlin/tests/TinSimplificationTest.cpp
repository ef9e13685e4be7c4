// Greedy simplification of a point set into a TIN (PointSetToTin::convertToSimplifiedTin).

#include "orlin/core/Edge.h"
#include "orlin/core/Point.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/PointSetToTin.h"

#include "TinTestSupport.h"

#include <common/exception/RuntimeException.h>

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace tin::core;
using namespace tin::util;
using namespace tintest;

namespace {

// Collects what is written to std::cerr while alive.
class CerrCapture {
public:
    CerrCapture() : m_old(std::cerr.rdbuf(m_buffer.rdbuf())) {}
    ~CerrCapture() { std::cerr.rdbuf(m_old); }
    std::vector<std::string> lines() const
    {
        std::vector<std::string> result;
        std::istringstream in(m_buffer.str());
        for (std::string line; std::getline(in, line);) {
            result.push_back(line);
        }
        return result;
    }

private:
    std::ostringstream m_buffer;
    std::streambuf* m_old;
};

double terrain(double x, double y)
{
    return 20.0 * std::sin(x / 70.0) * std::cos(y / 55.0) + 0.01 * x * y / 100.0;
}

// Survey of n random points on the terrain over [0, size]^2, the four corners included;
// no region, so the convex hull (the square) is the start TIN.
PointSet survey(int n, double size, unsigned seed)
{
    PointSet set;
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(0.0, size);
    for (double cx : {0.0, size}) {
        for (double cy : {0.0, size}) {
            set.addPoint(pt(cx, cy, terrain(cx, cy)));
        }
    }
    for (int i = 4; i < n; ++i) {
        double x = u(rng), y = u(rng);
        set.addPoint(pt(x, y, terrain(x, y)));
    }
    return set;
}

double maxError(Tin const& tin, PointSet const& set)
{
    double worst = 0.0;
    for (auto const& p : set.allPoints()) {
        double z = 0.0;
        EXPECT_TRUE(tin.interpolatedElevation(*p, &z));
        worst = std::max(worst, std::fabs(z - p->elevation()));
    }
    return worst;
}

} // namespace

TEST(TinSimplification, TwentyThousandPointsToTwoThousandWithOneProgressLineEach)
{
    PointSet set = survey(20000, 1000.0, 11);
    Tin tin;
    std::vector<std::string> lines;
    {
        CerrCapture capture;
        tin = PointSetToTin::convertToSimplifiedTin(set, 2000);
        lines = capture.lines();
    }
    EXPECT_EQ(tin.pointCount(), 2000);
    ASSERT_EQ(lines.size(), 2000u - 4u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i], std::to_string(5 + i) + "points");
    }
    // Still the whole square, every vertex a set point, every triangle proper.
    EXPECT_NEAR(totalArea(tin), 1e6, 1e-6);
    for (auto const& t : tin.allTriangles()) {
        EXPECT_GT(t->area(), 0.0);
        for (int k = 0; k < 3; ++k) {
            EXPECT_TRUE(set.hasPoint(t->point(k)));
        }
    }
    // Greedy insertion brings the error well below the terrain's relief.
    EXPECT_LT(maxError(tin, set), 2.0);
}

TEST(TinSimplification, ErrorThresholdIsHonouredAndTooLittleWorkChangesNothing)
{
    PointSet set = survey(3000, 500.0, 3);
    CerrCapture capture;
    Tin byError = PointSetToTin::convertToSimplifiedTin(set, 0.5);
    EXPECT_LE(maxError(byError, set), 0.5);
    EXPECT_EQ(static_cast<std::size_t>(byError.pointCount()) - 4u, capture.lines().size());

    // At or below the start count, and above every error: the start TIN, nothing written.
    CerrCapture quiet;
    EXPECT_EQ(PointSetToTin::convertToSimplifiedTin(set, 4).pointCount(), 4);
    EXPECT_EQ(PointSetToTin::convertToSimplifiedTin(set, 1e9).pointCount(), 4);
    EXPECT_TRUE(quiet.lines().empty());
}

TEST(TinSimplification, RunsThatCouldNeverStopEndWhenNoErrorIsLeft)
{
    PointSet set = survey(300, 100.0, 5);
    CerrCapture capture;
    // More points than the set has, and a negative threshold: both take every point.
    Tin byCount = PointSetToTin::convertToSimplifiedTin(set, 100000);
    EXPECT_EQ(byCount.pointCount(), 300);
    Tin byError = PointSetToTin::convertToSimplifiedTin(set, -1.0);
    EXPECT_EQ(byError.pointCount(), 300);
    EXPECT_DOUBLE_EQ(maxError(byError, set), 0.0);

    // A plane gives no error at all: the start TIN.
    PointSet flat;
    for (double x : {0.0, 10.0}) {
        for (double y : {0.0, 10.0}) {
            flat.addPoint(pt(x, y, 2.0));
        }
    }
    flat.addPoint(pt(4, 6, 2.0));
    EXPECT_EQ(PointSetToTin::convertToSimplifiedTin(flat, 5).pointCount(), 4);
}

TEST(TinSimplification, BreaklineOfTheStartSetSurvives)
{
    // A ridge along x = 50; the ring has vertices at both ends of the ridge breakline.
    auto ridge = [](double x, double y) { return 30.0 - std::fabs(x - 50.0) * 0.4 + 0.05 * y; };
    PointSet set;
    auto ring = std::vector<PointPtr>{pt(0, 0, ridge(0, 0)),     pt(50, 0, ridge(50, 0)),
                                      pt(100, 0, ridge(100, 0)), pt(100, 100, ridge(100, 100)),
                                      pt(50, 100, ridge(50, 100)), pt(0, 100, ridge(0, 100))};
    for (auto const& p : ring) {
        set.addPoint(p);
    }
    ring.push_back(ring.front());
    set.addRegion(std::make_shared<PointRing>(ring));
    set.addBreakline(ring[1], ring[4], true);
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> u(0.0, 100.0);
    for (int i = 0; i < 2000; ++i) {
        double x = u(rng), y = u(rng);
        set.addPoint(pt(x, y, ridge(x, y) + 0.3 * std::sin(x * y)));
    }
    // Points on the ridge itself split the breakline's edges.
    for (int i = 1; i < 20; ++i) {
        set.addPoint(pt(50, 5.0 * i + 0.5, ridge(50, 5.0 * i + 0.5) + (i % 2 ? 1.0 : -1.0)));
    }
    CerrCapture capture;
    Tin tin = PointSetToTin::convertToSimplifiedTin(set, 400);
    EXPECT_EQ(tin.pointCount(), 400);
    int onRidge = 0;
    for (auto const& t : tin.allTriangles()) {
        for (int j = 0; j < 3; ++j) {
            auto const& e = t->edge(j);
            double x1 = e->point1()->x(), x2 = e->point2()->x();
            EXPECT_FALSE((x1 < 50.0 && x2 > 50.0) || (x1 > 50.0 && x2 < 50.0))
                << "edge crosses the ridge from " << x1 << " to " << x2;
            onRidge += x1 == 50.0 && x2 == 50.0;
        }
    }
    EXPECT_GT(onRidge, 2 * 2); // split at inserted ridge points, each edge seen from both sides
}

TEST(TinSimplification, PointOutsideTheRegionFailsInterpolation)
{
    PointSet set = survey(50, 10.0, 1);
    auto ring = std::vector<PointPtr>{pt(1, 1), pt(9, 1), pt(9, 9), pt(1, 9)};
    for (auto const& p : ring) {
        set.addPoint(p);
    }
    ring.push_back(ring.front());
    set.addRegion(std::make_shared<PointRing>(ring));
    try {
        PointSetToTin::convertToSimplifiedTin(set, 20);
        FAIL() << "no exception";
    } catch (common::exception::RuntimeException const& e) {
        EXPECT_STREQ(e.what(), "Interpolation failed.");
    }
}
