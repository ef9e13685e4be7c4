#include "orlin/core/Point2DIRepository.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/MagnitudeRelationException.h"
#include "orlin/core/Point2D.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <locale>
#include <random>
#include <vector>

using common::exception::MagnitudeRelationException;
using common::exception::RuntimeException;
using tin::core::Point2D;
using tin::core::Point2DI;
using tin::core::Point2DIRepository;

namespace {

std::string nearestFailure(Point2DIRepository& repository, const Point2D& query, double* distance)
{
    try {
        repository.getFuzzy(query, distance);
    } catch (const MagnitudeRelationException& e) {
        return e.what();
    }
    return "no exception";
}

// Decimal comma and thousands grouping, as a German desktop sets them.
struct CommaPunct : std::numpunct<char>
{
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

} // namespace

TEST(MagnitudeRelationExceptionTest, MessageMixesTypesAndIgnoresGlobalLocale)
{
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    const MagnitudeRelationException e("<", 1234.5, 2);
    std::locale::global(previous);
    EXPECT_STREQ("Unexpected magnitude relation (<): 1234.5, 2", e.what());
    try {
        throw MagnitudeRelationException(e);
    } catch (const RuntimeException& caught) {
        EXPECT_STREQ(e.what(), caught.what());
    }
}

TEST(Point2DIRepositoryTest, NearestNeedsTheSecondPointTenTimesFarther)
{
    Point2DIRepository repository;
    double distance = 0.0;
    EXPECT_EQ("Unexpected magnitude relation (<): 1.79769e+308, 0",
              nearestFailure(repository, Point2D(3, 4), &distance));
    EXPECT_EQ(std::numeric_limits<double>::max(), distance);

    repository.add(Point2D(1, 0));
    repository.add(Point2D(-9.99, 0));
    EXPECT_EQ("Unexpected magnitude relation (<): 9.99, 1",
              nearestFailure(repository, Point2D(0, 0), &distance));
    EXPECT_EQ(1.0, distance);

    Point2DIRepository clear;
    const auto nearer = clear.add(Point2D(1, 0));
    clear.add(Point2D(-10, 0));
    EXPECT_EQ(nearer, clear.getFuzzy(Point2D(0, 0), &distance));
    EXPECT_EQ(1.0, distance);
    EXPECT_EQ(nearer, clear.getFuzzy(Point2D(0, 0), static_cast<double*>(nullptr)));

    // An exact hit never throws, however close the neighbours.
    const auto hit = clear.add(Point2D(5, 5));
    clear.add(Point2D(5 + 1e-12, 5));
    EXPECT_EQ(hit, clear.getFuzzy(Point2D(5, 5), &distance));
    EXPECT_EQ(0.0, distance);
}

// Brute force over every stored point is the oracle: the look-up must answer exactly when no
// other point lies closer than ten times the nearest distance, at every scale of distance.
TEST(Point2DIRepositoryTest, NearestAgreesWithBruteForce)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-1000, 1000);
    Point2DIRepository repository;
    std::vector<std::shared_ptr<Point2DI>> stored;
    for (int i = 0; i < 300; ++i)
        stored.push_back(repository.add(Point2D(coordinate(random), coordinate(random))));

    int answered = 0;
    int refused = 0;
    for (int q = 0; q < 1000; ++q) {
        Point2D query(coordinate(random), coordinate(random));
        if (q % 2 == 0) { // near a stored point, 1e-1 to 1e-9 away
            const auto& base = stored[q % stored.size()];
            const double offset = std::pow(10.0, -1 - (q % 9));
            query = Point2D(base->x() + offset, base->y() - offset);
        }
        std::vector<std::pair<double, Point2DI*>> byDistance;
        for (const auto& p : stored)
            byDistance.emplace_back(std::hypot(query.x() - p->x(), query.y() - p->y()), p.get());
        std::sort(byDistance.begin(), byDistance.end());
        const bool ambiguous = byDistance[1].first < 10 * byDistance[0].first;
        double distance = 0.0;
        try {
            const auto found = repository.getFuzzy(query, &distance);
            EXPECT_FALSE(ambiguous) << "query " << q;
            EXPECT_EQ(byDistance[0].second, found.get()) << "query " << q;
            EXPECT_NEAR(byDistance[0].first, distance, 1e-9 * (1 + distance));
            ++answered;
        } catch (const MagnitudeRelationException&) {
            EXPECT_TRUE(ambiguous) << "query " << q;
            ++refused;
        }
    }
    EXPECT_GT(answered, 300);
    EXPECT_GT(refused, 300);
}

TEST(Point2DIRepositoryTest, AddKeepsOneObjectPerPosition)
{
    Point2DIRepository repository;
    const std::shared_ptr<Point2DI> first = std::make_shared<Point2D>(2, 3, 11);
    EXPECT_EQ(first, repository.add(first));
    EXPECT_EQ(first, repository.add(std::make_shared<Point2D>(2, 3, 12)));
    const auto made = repository.add(Point2D(4, 5, 42));
    EXPECT_EQ(-1, made->id());
    EXPECT_EQ(made, repository.get(Point2D(4, 5, 43)));
    EXPECT_EQ(nullptr, repository.get(Point2D(4, 5.5)));
    // 0.0 and -0.0 compare equal; a hash over their raw bytes stored the position twice.
    const auto zero = repository.add(Point2D(0.0, 1.0));
    EXPECT_EQ(zero, repository.add(Point2D(-0.0, 1.0)));
}

TEST(Point2DIRepositoryTest, ToleranceLookupsBeforeAndAfterTheIndexExists)
{
    Point2DIRepository repository;
    const auto before = repository.add(Point2D(1, 1));
    EXPECT_EQ(before, repository.getFuzzy(Point2D(1.05, 0.95), 0.1));
    const auto after = repository.add(Point2D(5, 5));
    EXPECT_EQ(after, repository.getFuzzy(Point2D(4.95, 5.05), 0.1));
    EXPECT_EQ(before, repository.getFuzzy(Point2D(1.05, 0.95), -0.1));

    EXPECT_EQ(after, repository.addFuzzy(Point2D(5.001, 5), 0.01));
    EXPECT_EQ(nullptr, repository.get(Point2D(5.001, 5)));
    const std::shared_ptr<Point2DI> lonely = std::make_shared<Point2D>(30, 30, 4);
    EXPECT_EQ(lonely, repository.addFuzzy(lonely, 0.01));
    EXPECT_EQ(lonely, repository.getFuzzy(Point2D(30, 30.001), 0.01));
    EXPECT_EQ(-1, repository.addFuzzy(Point2D(40, 40, 9), 0.01)->id());
}

TEST(Point2DIRepositoryTest, PointsMadeByToleranceAddsAreStoredOnceAndFoundBothWays)
{
    // A miss stores the new point straight away: it must still be in the position table and
    // in the index, and a second request within the tolerance must get that same object.
    Point2DIRepository repository;
    repository.add(Point2D(0, 0));
    std::vector<std::shared_ptr<Point2DI>> made;
    for (int i = 1; i <= 200; ++i) {
        double const tolerance = i % 3 == 0 ? 0.0 : (i % 3 == 1 ? 1e-8 : -1e-8);
        made.push_back(repository.addFuzzy(Point2D(i * 0.37, i * 0.11), tolerance));
    }
    for (int i = 1; i <= 200; ++i) {
        auto const& p = made[static_cast<std::size_t>(i - 1)];
        EXPECT_EQ(p, repository.get(Point2D(i * 0.37, i * 0.11)));
        EXPECT_EQ(p, repository.getFuzzy(Point2D(i * 0.37 + 5e-9, i * 0.11), 1e-8));
        EXPECT_EQ(p, repository.addFuzzy(Point2D(i * 0.37, i * 0.11 - 5e-9), 1e-8));
        EXPECT_EQ(p, repository.addFuzzy(Point2D(i * 0.37, i * 0.11), 0.0));
    }
}

// Tolerance look-ups are answered from a table of small cells where at most one point is in the
// square. Clusters of points closer than the tolerance, positions on cell borders (multiples of
// 2^-20) and squares straddling them, and a point beyond the cells' range: every answer must be
// a point of the closed square, the only one when there is one, null when there is none.
TEST(Point2DIRepositoryTest, ToleranceLookupsAgreeWithBruteForce)
{
    const double cell = std::ldexp(1.0, -20);
    for (int round = 0; round < 3; ++round) {
        std::mt19937 random(static_cast<unsigned>(31 + round));
        std::uniform_int_distribution<int> lattice(-40, 40);
        std::uniform_int_distribution<int> pick(0, 9);
        const double tolerances[] = {0.0, 1e-9, 1e-8, 0.4 * cell, 0.5 * cell, 2 * cell, 1e-3};
        Point2DIRepository repository;
        std::vector<std::shared_ptr<Point2DI>> stored;
        auto around = [&](double base) {
            switch (pick(random)) {
            case 0: return base;
            case 1: return base + 3e-9 * lattice(random);
            case 2: return base + cell * lattice(random);
            case 3: return std::nextafter(base, 1e9);
            default: return base + 1e-7 * lattice(random);
            }
        };
        const double origin = round == 0 ? 0.0 : (round == 1 ? 512345.125 : -7.75);
        for (int i = 0; i < 400; ++i) {
            stored.push_back(repository.add(Point2D(around(origin), around(origin + 1.0))));
            if (i % 10 == 9) {
                const Point2D query(around(origin), around(origin + 1.0));
                const double tolerance = tolerances[static_cast<std::size_t>(i / 10) % 7];
                // Stores on a miss, so later look-ups also meet points the cells got one by one.
                const auto made = repository.addFuzzy(query, tolerance);
                if (std::find(stored.begin(), stored.end(), made) == stored.end())
                    stored.push_back(made);
            }
            if (round == 2 && i == 200)
                stored.push_back(repository.add(Point2D(3e12, 0.0)));
        }
        int unique = 0;
        int several = 0;
        for (int q = 0; q < 2000; ++q) {
            const Point2D query(around(origin), around(origin + 1.0));
            const double tolerance = tolerances[static_cast<std::size_t>(q) % 7];
            std::vector<Point2DI*> inSquare;
            for (const auto& p : stored)
                if (query.x() + tolerance >= p->x()
                    && query.x() - tolerance <= p->x() && query.y() + tolerance >= p->y()
                    && query.y() - tolerance <= p->y())
                    inSquare.push_back(p.get());
            const auto found = repository.getFuzzy(query, tolerance);
            if (inSquare.empty()) {
                EXPECT_EQ(nullptr, found) << "round " << round << " query " << q;
            } else {
                EXPECT_NE(inSquare.end(), std::find(inSquare.begin(), inSquare.end(), found.get()))
                    << "round " << round << " query " << q;
                if (inSquare.size() == 1) {
                    EXPECT_EQ(inSquare.front(), found.get()) << "round " << round << " query " << q;
                }
                (inSquare.size() == 1 ? unique : several) += 1;
            }
        }
        EXPECT_GT(unique, 100);
        EXPECT_GT(several, 100);
    }
}

// A NaN query compares false against every bound, so the widening search never ended.
TEST(Point2DIRepositoryTest, NonFiniteCoordinatesAreRefused)
{
    Point2DIRepository repository;
    repository.add(Point2D(0, 0));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    double distance = 0.0;
    EXPECT_THROW(repository.getFuzzy(Point2D(nan, 0), &distance), RuntimeException);
    EXPECT_THROW(repository.getFuzzy(Point2D(0, inf), &distance), RuntimeException);
    EXPECT_THROW(repository.getFuzzy(Point2D(0, 0), nan), RuntimeException);
    EXPECT_THROW(repository.add(Point2D(nan, nan)), RuntimeException);
    EXPECT_NE(nullptr, repository.getFuzzy(Point2D(1, 1), &distance));
}

TEST(Point2DIRepositoryTest, ManyPositionsStayDistinctThroughGrowth)
{
    // Positions on a fine lattice (neighbouring bit patterns) and both signs of zero.
    Point2DIRepository repository;
    std::vector<std::shared_ptr<Point2DI>> stored;
    repository.reserve(10);
    for (int i = 0; i < 30000; ++i) {
        stored.push_back(repository.add(Point2D((i % 173) * 0.1, (i / 173) * 0.1 - 1.0)));
        // A sizing hint with points stored rehashes them.
        if (i == 12345)
            repository.reserve(40000);
    }
    for (int i = 0; i < 30000; ++i) {
        EXPECT_EQ(stored[i], repository.get(Point2D((i % 173) * 0.1, (i / 173) * 0.1 - 1.0)));
        if (i > 0) {
            EXPECT_NE(stored[i], stored[i - 1]);
        }
    }
    EXPECT_EQ(stored[0], repository.get(Point2D(-0.0, -1.0)));
    // A tolerance look-up after the growth sees every point.
    EXPECT_EQ(stored[174], repository.getFuzzy(Point2D(0.1 + 1e-9, -0.9), 1e-8));
    EXPECT_EQ(nullptr, repository.getFuzzy(Point2D(0.05, -0.95), 1e-8));
}
