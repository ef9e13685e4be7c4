#include "orlin/core/Edge2DFactory.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/MagnitudeRelationException.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Point2DIRepository.h"

#include <gtest/gtest.h>

using common::exception::MagnitudeRelationException;
using common::exception::RuntimeException;
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
    ASSERT_NE(nullptr, ab);
    EXPECT_EQ(ab, factory.factory(b, a));
    EXPECT_EQ(b, ab->point1()); // smaller x first
    EXPECT_EQ(a, ab->point2());
    EXPECT_EQ(0, ab->id());

    const auto cb = factory.factory(c, b);
    EXPECT_EQ(b, cb->point1()); // equal x: smaller y first
    EXPECT_NE(ab, cb);

    // The factory keeps its edges alive and ids stick to the shared object.
    ab->setId(9);
    EXPECT_EQ(9, factory.factory(a, b)->id());

    EXPECT_EQ(nullptr, factory.factory(a, a));
    EXPECT_EQ(nullptr, factory.factory(a, nullptr));
}

TEST(Edge2DFactoryTest, TwoObjectsAtOnePositionStillMakeAnEdgeBetweenThem)
{
    Point2DIRepository repository;
    Edge2DFactory factory(&repository);
    const std::shared_ptr<tin::core::Point2DI> p = std::make_shared<Point2D>(1, 1);
    const std::shared_ptr<tin::core::Point2DI> q = std::make_shared<Point2D>(1, 1);
    const auto pq = factory.factory(p, q);
    ASSERT_NE(nullptr, pq);
    EXPECT_NE(pq->point1(), pq->point2());
    EXPECT_EQ(pq, factory.factory(q, p));
}

TEST(Edge2DFactoryTest, CoordinateFormsUseTheRepositoryPoints)
{
    Point2DIRepository repository;
    Edge2DFactory factory(&repository);
    const auto a = repository.add(Point2D(0, 0));
    const auto b = repository.add(Point2D(10, 0));
    const auto c = repository.add(Point2D(0, 10));

    const auto exact = factory.factory(Point2D(10, 0), Point2D(0, 0));
    EXPECT_EQ(a, exact->point1());
    EXPECT_EQ(b, exact->point2());
    EXPECT_EQ(exact, factory.factory(a, b));
    EXPECT_THROW(factory.factory(Point2D(0, 0), Point2D(3, 3)), RuntimeException);

    const auto fuzzy = factory.factoryFuzzy(Point2D(0.01, 9.99), Point2D(0.02, -0.01));
    EXPECT_EQ(factory.factory(a, c), fuzzy);

    // Both ends nearest to the same stored point: no edge.
    EXPECT_EQ(nullptr, factory.factoryFuzzy(Point2D(0.01, 0), Point2D(0, 0.01)));
    // An ambiguous end passes the look-up's exception on.
    EXPECT_THROW(factory.factoryFuzzy(Point2D(5, 0), Point2D(0, 10)), MagnitudeRelationException);
}

TEST(Edge2DFactoryTest, FuzzyOnEmptyRepositoryThrows)
{
    Point2DIRepository repository;
    Edge2DFactory factory(&repository);
    EXPECT_THROW(factory.factoryFuzzy(Point2D(0, 0), Point2D(1, 1)), MagnitudeRelationException);
}
