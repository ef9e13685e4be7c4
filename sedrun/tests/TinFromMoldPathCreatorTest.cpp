#include "sedrun/TinFromMoldPathCreator.h"

#include "common/exception/RuntimeException.h"
#include "mold/core/Mold.h"
#include "orlin/core/Triangle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <map>
#include <random>
#include <set>
#include <vector>

using mold::core::Mold;
using tin::core::Point;
using tincreator::util::TinFromMoldPathCreator;
using Creator = TinFromMoldPathCreator;

namespace {

const std::unordered_set<std::uint64_t> kNoPins;

std::vector<Point> makePath(std::initializer_list<std::array<double, 3>> points)
{
    std::vector<Point> path;
    for (const auto& p : points) {
        path.emplace_back(p[0], p[1], p[2]);
    }
    return path;
}

Mold symmetric(double halfWidth)
{
    return Mold(Mold::Add, {-halfWidth, 0.0, halfWidth}, {1.0, 0.0, 1.0}, 0.0, 0.0);
}

double planArea(const tin::core::Tin& tin)
{
    double area = 0.0;
    for (const auto& t : tin.allTriangles()) {
        const Point& a = *t->point(0);
        const Point& b = *t->point(1);
        const Point& c = *t->point(2);
        area += std::fabs((b.x() - a.x()) * (c.y() - a.y()) - (b.y() - a.y()) * (c.x() - a.x())) / 2;
    }
    return area;
}

bool finite(const Point& p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y()) && std::isfinite(p.elevation());
}

bool allFinite(const std::vector<Point>& points)
{
    return std::all_of(points.begin(), points.end(), finite);
}

bool allFinite(const tin::core::Tin& tin)
{
    return std::all_of(tin.allTriangles().begin(), tin.allTriangles().end(), [](const auto& t) {
        return finite(*t->point(0)) && finite(*t->point(1)) && finite(*t->point(2));
    });
}

/// Middle of the first and last point of every section: the path position for a symmetric mold.
std::vector<Point> centres(const Creator& creator, bool closed)
{
    const auto a = creator.createOutlineSide(true, closed);
    const auto b = creator.createOutlineSide(false, closed);
    std::vector<Point> result;
    for (std::size_t i = 0; i < a.size(); ++i) {
        result.emplace_back((a[i].x() + b[i].x()) / 2, (a[i].y() + b[i].y()) / 2,
                            (a[i].elevation() + b[i].elevation()) / 2);
    }
    return result;
}

} // namespace

TEST(TinFromMoldPathCreatorTest, OpenAndClosedPathsGiveTheExpectedTriangleCounts)
{
    for (std::size_t m : {2u, 3u, 5u}) {
        std::vector<double> l;
        std::vector<double> h;
        for (std::size_t i = 0; i < m; ++i) {
            l.push_back(-4.0 + 8.0 * static_cast<double>(i) / static_cast<double>(m - 1));
            h.push_back(static_cast<double>(i % 2));
        }
        const Mold mold(Mold::Add, l, h, 0.0, 0.0);

        Creator open(mold, makePath({{0, 0, 0}, {100, 0, 1}, {150, 80, 2}, {250, 80, 3}}));
        const auto openTin = open.createTin(false, kNoPins, Creator::Lowest);
        const std::size_t s = open.createOutlineSide(true, false).size();
        EXPECT_EQ(s, 6u); // two per segment
        EXPECT_TRUE(open.isValid());
        EXPECT_EQ(openTin.allTriangles().size(), 2 * (m - 1) * (s - 1)) << "m = " << m;

        Creator ring(mold, makePath({{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}}));
        const auto ringTin = ring.createTin(true, kNoPins, Creator::None);
        const std::size_t sRing = ring.createOutlineSide(true, true).size();
        EXPECT_EQ(sRing, 8u);
        EXPECT_EQ(ringTin.allTriangles().size(), 2 * (m - 1) * sRing) << "m = " << m;
    }
}

TEST(TinFromMoldPathCreatorTest, OutlinePolygonHasTwoSAndTwoSPlusFourVertices)
{
    const Mold mold = symmetric(5);
    const auto path = makePath({{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}});
    Creator creator(mold, path);

    const auto sideA = creator.createOutlineSide(true, false);
    const auto sideB = creator.createOutlineSide(false, false);
    const auto open = creator.createOutlinePolygon(false);
    ASSERT_EQ(open.pointsCount(), static_cast<int>(2 * sideA.size()));
    const std::size_t s = sideA.size();
    for (std::size_t j = 0; j < s; ++j) {
        EXPECT_EQ(open.points()[j].x(), sideA[j].x());
        EXPECT_EQ(open.points()[2 * s - 1 - j].y(), sideB[j].y());
    }

    const std::size_t sRing = creator.createOutlineSide(true, true).size();
    EXPECT_EQ(creator.createOutlinePolygon(true).pointsCount(), static_cast<int>(2 * sRing + 4));
    EXPECT_FALSE(creator.isValid()); // outlines do not touch the flag
}

TEST(TinFromMoldPathCreatorTest, RightAngleSetbackIsInnerWidthPlusMargin)
{
    // Left width 3, right width 7, margin 0.1 * 10 = 1.
    const Mold mold(Mold::Add, {-3.0, 0.0, 7.0}, {0.0, 0.0, 0.0}, 0.0, 0.0);

    // A left turn cuts back by the left width: 3 + 1 on both legs.
    Creator left(mold, makePath({{0, 0, 0}, {100, 0, 10}, {100, 100, 20}}));
    auto a = left.createOutlineSide(true, false); // the points at l = -3, left of the path
    ASSERT_EQ(a.size(), 4u);
    EXPECT_NEAR(a[1].x(), 96.0, 1e-9);
    EXPECT_NEAR(a[1].y(), 3.0, 1e-9);
    EXPECT_NEAR(a[1].elevation(), 9.6, 1e-9); // interpolated along the leg
    EXPECT_NEAR(a[2].x(), 97.0, 1e-9);
    EXPECT_NEAR(a[2].y(), 4.0, 1e-9);
    EXPECT_NEAR(a[2].elevation(), 10.4, 1e-9);
    // The open ends have no setback.
    EXPECT_NEAR(a[0].x(), 0.0, 1e-9);
    EXPECT_NEAR(a[3].y(), 100.0, 1e-9);

    // A right turn cuts back by the right width: 7 + 1.
    Creator right(mold, makePath({{0, 0, 0}, {100, 0, 0}, {100, -100, 0}}));
    auto b = right.createOutlineSide(false, false); // the points at l = 7, right of the path
    ASSERT_EQ(b.size(), 4u);
    EXPECT_NEAR(b[1].x(), 92.0, 1e-9);
    EXPECT_NEAR(b[1].y(), -7.0, 1e-9);
    EXPECT_NEAR(b[2].x(), 93.0, 1e-9);
    EXPECT_NEAR(b[2].y(), -8.0, 1e-9);
}

TEST(TinFromMoldPathCreatorTest, CollinearMiddleVertexSplitsIntoThreeSections)
{
    const Mold mold = symmetric(5);
    Creator creator(mold, makePath({{0, 0, 10}, {50, 0, 20}, {100, 0, 10}}));
    const auto tin = creator.createTin(false, kNoPins, Creator::None);
    const auto c = centres(creator, false);
    ASSERT_EQ(c.size(), 3u);
    EXPECT_NEAR(c[0].x(), 0.0, 1e-12);
    EXPECT_NEAR(c[1].x(), 50.0, 1e-12);
    EXPECT_NEAR(c[1].elevation(), 21.0, 1e-12); // the vertex's own elevation, mold heights 1, 0, 1
    EXPECT_NEAR(c[2].x(), 100.0, 1e-12);
    EXPECT_EQ(tin.allTriangles().size(), 2u * 2u * 2u);
}

TEST(TinFromMoldPathCreatorTest, ShortSegmentBetweenTwoBendsIsReplacedByTheirIntersection)
{
    // The 1.4 m middle leg is eaten by the setbacks of its two 45-degree bends; the legs
    // around it meet at (101, 0), a right-angle bend with setback 5 + 1.
    const Mold mold = symmetric(5);
    Creator creator(mold, makePath({{0, 0, 0}, {100, 0, 0}, {101, 1, 0}, {101, 100, 0}}));
    const auto c = centres(creator, false);
    ASSERT_EQ(c.size(), 4u);
    EXPECT_NEAR(c[1].x(), 95.0, 1e-9);
    EXPECT_NEAR(c[1].y(), 0.0, 1e-9);
    EXPECT_NEAR(c[2].x(), 101.0, 1e-9);
    EXPECT_NEAR(c[2].y(), 6.0, 1e-9);
}

TEST(TinFromMoldPathCreatorTest, ShortSegmentAtTheEndOfARingIsRepairedAcrossTheSeam)
{
    // A square ring with its last corner chamfered by a 1.4 m segment, which is the last in the
    // segment list; it is replaced by the corner (0, 100) where its neighbours meet, one of
    // which is the ring's closing segment.
    const Mold mold = symmetric(5);
    Creator creator(mold,
                    makePath({{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {1, 100, 0}, {0, 99, 0}}));
    const auto c = centres(creator, true);
    // The far ends of the two lengthened neighbours keep their setback as a fraction: 5/99
    // of a 99 m segment before, of a 100 m one now.
    const double farEnd = 1.0 + 500.0 / 99.0;
    const double expected[8][2] = {{0, 94},  {0, farEnd}, {6, 0},   {94, 0},
                                   {100, 6}, {100, 94},   {100 - farEnd, 100}, {6, 100}};
    ASSERT_EQ(c.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_NEAR(c[i].x(), expected[i][0], 1e-9) << "section " << i;
        EXPECT_NEAR(c[i].y(), expected[i][1], 1e-9) << "section " << i;
    }
    const auto tin = creator.createTin(true, kNoPins, Creator::None);
    EXPECT_EQ(tin.allTriangles().size(), 2u * 2u * 8u);
}

TEST(TinFromMoldPathCreatorTest, ClosedPathWithFlatteningThrowsAndStaysInvalid)
{
    const Mold mold = symmetric(5);
    Creator creator(mold, makePath({{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}}));
    for (auto flatten : {Creator::Highest, Creator::Lowest}) {
        try {
            creator.createTin(true, kNoPins, flatten);
            FAIL() << "no exception";
        } catch (const common::exception::RuntimeException& e) {
            EXPECT_STREQ(e.what(), "closed option should be used in conjunction with FlattenTo::None.");
        }
        EXPECT_FALSE(creator.isValid());
    }
    creator.createTin(true, kNoPins, Creator::None);
    EXPECT_TRUE(creator.isValid());
}

TEST(TinFromMoldPathCreatorTest, FlatteningLevelsOnlyTheEndSections)
{
    const Mold mold = symmetric(5); // heights 1, 0, 1
    const auto path = makePath({{0, 0, 0}, {50, 0, 5}, {100, 0, 10}});
    for (auto flatten : {Creator::Highest, Creator::Lowest}) {
        Creator creator(mold, path);
        const auto tin = creator.createTin(false, kNoPins, flatten);
        std::map<double, std::set<double>> levelsByX;
        for (const auto& t : tin.allTriangles()) {
            for (int i = 0; i < 3; ++i) {
                levelsByX[t->point(i)->x()].insert(t->point(i)->elevation());
            }
        }
        ASSERT_EQ(levelsByX.size(), 3u);
        const bool high = flatten == Creator::Highest;
        EXPECT_EQ(levelsByX[0.0], (std::set<double>{high ? 1.0 : 0.0}));
        EXPECT_EQ(levelsByX[100.0], (std::set<double>{high ? 11.0 : 10.0}));
        EXPECT_EQ(levelsByX[50.0], (std::set<double>{5.0, 6.0}));
    }
}

TEST(TinFromMoldPathCreatorTest, TrapezoidAlongStraightLevelPathFollowsTheProfile)
{
    const Mold mold(Mold::Subtract, {-10.0, -4.0, 4.0, 10.0}, {2.0, 0.0, 0.0, 2.0}, 0.0, 0.0);
    const double z = 50.0;
    Creator creator(mold, makePath({{0, 0, z}, {40, 0, z}, {100, 0, z}}));
    const auto tin = creator.createTin(false, kNoPins, Creator::None);
    ASSERT_TRUE(creator.isValid());
    EXPECT_NEAR(planArea(tin), 20.0 * 100.0, 1e-9);

    // Walking east, the right (positive l) lies at negative y.
    std::map<double, std::set<std::pair<double, double>>> sections;
    for (const auto& t : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            const Point& p = *t->point(i);
            sections[p.x()].insert({-p.y(), p.elevation() - z});
        }
    }
    ASSERT_EQ(sections.size(), 3u);
    for (const auto& [x, points] : sections) {
        ASSERT_EQ(points.size(), mold.size()) << "x = " << x;
        std::size_t i = 0;
        for (const auto& [l, h] : points) {
            EXPECT_NEAR(l, mold.l()[i], 1e-9) << "x = " << x;
            EXPECT_NEAR(h, mold.h()[i], 1e-9) << "x = " << x;
            ++i;
        }
    }
}

TEST(TinFromMoldPathCreatorTest, TooFewCornersGiveAnEmptyInvalidTin)
{
    const Mold mold = symmetric(5);
    const auto bend = makePath({{0, 0, 0}, {50, 10, 0}, {100, 0, 0}});
    Creator pinnedEnds(mold, bend);
    EXPECT_TRUE(pinnedEnds.createTin(false, {0, 2}, Creator::Lowest).allTriangles().empty());
    EXPECT_FALSE(pinnedEnds.isValid());

    Creator line(mold, makePath({{0, 0, 0}, {50, 0, 0}, {100, 0, 0}}));
    EXPECT_TRUE(line.createTin(true, kNoPins, Creator::None).allTriangles().empty());
    EXPECT_FALSE(line.isValid());
    EXPECT_TRUE(line.createOutlinePolygon(true).empty());

    // A one-point mold: sections but no triangles.
    const Mold point(Mold::Add, {0.0}, {0.0}, 0.0, 0.0);
    Creator single(point, bend);
    EXPECT_TRUE(single.createTin(false, kNoPins, Creator::Lowest).allTriangles().empty());
    EXPECT_TRUE(single.isValid());
}

TEST(TinFromMoldPathCreatorTest, DegeneratePathEndsWithoutNaN)
{
    const Mold mold = symmetric(5);
    // Repeated points, a spur out and back, a point visited twice, a 180-degree reversal.
    const auto path = makePath({{0, 0, 0},
                                {0, 0, 0},
                                {30, 0, 1},
                                {60, 0, 2},
                                {60, 40, 3},
                                {60, 0, 4},
                                {90, 0, 5},
                                {90, 0, 5},
                                {120, 30, 6},
                                {90, 0, 7},
                                {90, 0, 7},
                                {150, 0, 8}});
    for (bool closed : {false, true}) {
        Creator creator(mold, path);
        const auto tin = creator.createTin(closed, kNoPins, closed ? Creator::None : Creator::Lowest);
        EXPECT_TRUE(allFinite(tin));
        EXPECT_TRUE(allFinite(creator.createOutlineSide(true, closed)));
        EXPECT_TRUE(allFinite(creator.createOutlineSide(false, closed)));
    }
    for (const auto& p : {makePath({{5, 5, 1}, {5, 5, 1}, {5, 5, 1}}),
                          makePath({{0, 0, 0}, {10, 0, 0}, {0, 0, 0}, {10, 0, 0}}),
                          makePath({{0, 0, 0}, {1e-12, 0, 0}, {1e-12, 1e-12, 0}, {0, 0, 0}}),
                          makePath({{0, 0, 0}, {100, 0, 0}, {0, 0.001, 0}, {100, 0.002, 0}})}) {
        for (bool closed : {false, true}) {
            Creator creator(mold, p);
            EXPECT_TRUE(allFinite(creator.createTin(closed, kNoPins, Creator::None)));
            EXPECT_TRUE(allFinite(creator.createOutlineSide(true, closed)));
        }
    }
}

TEST(TinFromMoldPathCreatorTest, RandomGridPathsEndWithFinitePointsAndBoundedTriangles)
{
    // Small integer grids make repeated points, collinear runs, reversals and hairpins common.
    std::mt19937 random(12);
    std::uniform_int_distribution<int> coordinate(0, 4);
    std::uniform_int_distribution<int> length(2, 9);
    const Mold wide(Mold::Add, {-3.0, -1.0, 0.0, 2.5}, {1.0, 0.0, 0.0, 1.0}, 0.0, 0.0);
    std::size_t withSections[2] = {0, 0};
    for (int run = 0; run < 300; ++run) {
        const bool closed = run % 2 == 1;
        // Rings need more room than the mold's width to keep any section.
        const double spacing = closed ? 12.0 : 3.0;
        std::vector<Point> path;
        const int n = length(random);
        for (int i = 0; i < n; ++i) {
            path.emplace_back(coordinate(random) * spacing, coordinate(random) * spacing,
                              coordinate(random));
        }
        Creator creator(wide, path);
        const auto tin = creator.createTin(closed, kNoPins, Creator::None);
        const std::size_t s = creator.createOutlineSide(true, closed).size();
        ASSERT_TRUE(allFinite(tin)) << "run " << run;
        ASSERT_TRUE(allFinite(creator.createOutlineSide(false, closed))) << "run " << run;
        const std::size_t joins = closed ? s : (s > 0 ? s - 1 : 0);
        EXPECT_LE(tin.allTriangles().size(), 2 * (wide.size() - 1) * joins) << "run " << run;
        EXPECT_EQ(creator.isValid(), s > 0) << "run " << run;
        withSections[closed ? 1 : 0] += s > 0 ? 1 : 0;
    }
    // The sample must exercise the sweep, not only the early exits.
    EXPECT_GT(withSections[0], 50u);
    EXPECT_GT(withSections[1], 50u);
}

TEST(TinFromMoldPathCreatorTest, NonFinitePathIsRefused)
{
    const Mold mold = symmetric(5);
    Creator creator(mold, makePath({{0, 0, 0}, {NAN, 0, 0}, {100, 0, 0}}));
    EXPECT_THROW(creator.createTin(false, kNoPins, Creator::None), common::exception::RuntimeException);
    EXPECT_FALSE(creator.isValid());
}
