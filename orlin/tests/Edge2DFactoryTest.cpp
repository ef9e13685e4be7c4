#include "orlin/core/Edge2DFactory.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/MagnitudeRelationException.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Point2DIRepository.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

using common::exception::MagnitudeRelationException;
using tin::core::Edge2DFactory;
using tin::core::Point2D;
using tin::core::Point2DIRepository;

TEST(Edge2DFactoryTest, OneEdgePerUnorderedPairWithTheSmallerPointFirst)
{
    Point2DIRepository repository;
    Edge2DFactory factory(&repository);
    const auto a = repository.add(Point2D(2, 0));
    const auto b = repository.add(Point2D(1, 5));
    const auto c = repository.add(Point2D(1, 7));

    const auto ab = factory.factory(a, b);
    EXPECT_EQ(ab, factory.factory(b, a));
    EXPECT_EQ(b, ab->point1()); // smaller x first
    EXPECT_EQ(b, factory.factory(c, b)->point1()); // equal x: smaller y first
    ab->setId(9);
    EXPECT_EQ(9, factory.factory(a, b)->id());
    EXPECT_EQ(nullptr, factory.factory(a, a));

    // Two objects at one position (never both in one repository) still pair up one way.
    const std::shared_ptr<tin::core::Point2DI> p = std::make_shared<Point2D>(1, 1);
    const std::shared_ptr<tin::core::Point2DI> q = std::make_shared<Point2D>(1, 1);
    EXPECT_EQ(factory.factory(p, q), factory.factory(q, p));
}

TEST(Edge2DFactoryTest, CoordinateFormsUseTheRepositoryPoints)
{
    Point2DIRepository repository;
    Edge2DFactory factory(&repository);
    EXPECT_THROW(factory.factoryFuzzy(Point2D(0, 0), Point2D(1, 1)), MagnitudeRelationException);
    const auto a = repository.add(Point2D(0, 0));
    const auto b = repository.add(Point2D(10, 0));
    const auto c = repository.add(Point2D(0, 10));

    const auto exact = factory.factory(Point2D(10, 0), Point2D(0, 0));
    EXPECT_EQ(a, exact->point1());
    EXPECT_EQ(exact, factory.factory(a, b));
    EXPECT_THROW(factory.factory(Point2D(0, 0), Point2D(3, 3)),
                 common::exception::RuntimeException);

    EXPECT_EQ(factory.factory(a, c), factory.factoryFuzzy(Point2D(0.01, 9.99), Point2D(0.02, -0.01)));
    // Both ends nearest to the same stored point: no edge.
    EXPECT_EQ(nullptr, factory.factoryFuzzy(Point2D(0.01, 0), Point2D(0, 0.01)));
    // An ambiguous end passes the look-up's exception on.
    EXPECT_THROW(factory.factoryFuzzy(Point2D(5, 0), Point2D(0, 10)), MagnitudeRelationException);
}

TEST(Edge2DFactoryTest, ManyEdgesKeepOneIdentityPerPairThroughGrowth)
{
    // Enough edges to grow the table many times; every pair asked for again, the other way
    // round, must find the edge made first, and no two pairs may share one.
    Point2DIRepository repository;
    Edge2DFactory factory(&repository);
    const int n = 120;
    std::vector<std::shared_ptr<tin::core::Point2DI>> points;
    for (int i = 0; i < n * n; ++i)
        points.push_back(repository.add(Point2D(i % n, (i / n) * 0.5)));
    std::vector<std::shared_ptr<tin::core::Edge2D>> made;
    std::vector<std::pair<int, int>> pairs;
    for (int i = 0; i < n * n; ++i) {
        for (int j : {i + 1, i + n, i + n + 1}) {
            if (j < n * n && (j != i + 1 || (i + 1) % n != 0)) {
                pairs.emplace_back(i, j);
                made.push_back(factory.factory(points[i], points[j]));
            }
        }
        // A sizing hint in the middle rehashes the edges made so far.
        if (i == n * n / 2)
            factory.reserve(4 * n * n);
    }
    std::set<const tin::core::Edge2D*> distinct;
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        const auto& again = factory.factory(points[pairs[k].second], points[pairs[k].first]);
        ASSERT_EQ(made[k], again);
        distinct.insert(again.get());
        // Smaller x first, then smaller y.
        const auto& p = *again->point1();
        const auto& q = *again->point2();
        EXPECT_TRUE(p.x() < q.x() || (p.x() == q.x() && p.y() < q.y()));
    }
    EXPECT_EQ(distinct.size(), pairs.size());
}
