#include "orlin/core/PointSet.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/Breakline.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/Polygon.h"

#include <geos/geom/Coordinate.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/MultiPoint.h>
#include <geos/geom/Point.h>
#include <geos/geom/Polygon.h>
#include <geos/io/WKTReader.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <set>
#include <vector>

using common::exception::RuntimeException;
using tin::core::Breakline;
using tin::core::ContainerType;
using tin::core::Point;
using tin::core::Point2D;
using tin::core::PointRing;
using tin::core::PointSet;
using tin::core::Polygon;
using tin::core::Rect;

namespace {

using PointPtr = std::shared_ptr<Point>;

PointPtr at(double x, double y) { return std::make_shared<Point>(x, y); }

template <typename T>
std::set<T*> objects(const std::vector<std::shared_ptr<T>>& items)
{
    std::set<T*> result;
    for (const auto& item : items)
        result.insert(item.get());
    return result;
}

PointSet setOf(const std::vector<PointPtr>& points, ContainerType type = tin::core::Quadtree)
{
    PointSet set(type);
    for (const auto& p : points)
        set.addPoint(p);
    return set;
}

} // namespace

TEST(PointSetTest, PointsAreHeldByObjectAndFoundAtExactPositions)
{
    PointSet set;
    EXPECT_FALSE(set.boundingRect().isValid());
    const PointPtr first = set.addPoint(Point(7.25, 3.5, 2.0));
    EXPECT_EQ(first, set.addPoint(Point(7.25, 3.5, 2.0)));

    const PointPtr p = at(1, 1), twin = at(1, 1), near = at(1 + 1e-9, 1);
    for (const auto& q : {p, twin, near, p})
        set.addPoint(q);
    EXPECT_EQ(4u, set.points().size());
    EXPECT_FALSE(set.hasPoint(at(1, 1)));
    EXPECT_EQ((std::set<Point*>{p.get(), twin.get()}), objects(set.findPointsAt(Point2D(1, 1))));
    EXPECT_TRUE(set.removePoint(twin));
    EXPECT_FALSE(set.removePoint(twin));
    EXPECT_EQ((std::set<Point*>{p.get()}), objects(set.findPointsAt(*p)));
    EXPECT_THROW(set.addPoint(PointPtr()), RuntimeException);
}

TEST(PointSetTest, CachesAndIndexFollowPointChanges)
{
    const PointPtr onBorder = at(10, 5), inside = at(5, 5), justOutside = at(10 + 5e-9, 5);
    PointSet set = setOf({inside});
    EXPECT_EQ(1u, set.geosMultiPoint()->getNumGeometries());
    EXPECT_EQ(5.0, set.boundingRect().xMax());
    EXPECT_EQ(1u, set.findPointsInRect(Rect(0, 0, 10, 10)).size()); // builds the index
    set.addPoint(onBorder);
    set.addPoint(justOutside);
    EXPECT_EQ(3u, set.geosMultiPoint()->getNumGeometries());
    EXPECT_EQ(10 + 5e-9, set.boundingRect().xMax());
    // A point's box reaches 1e-8 around it.
    const Rect rect(0, 0, 10, 10);
    EXPECT_EQ((std::set<Point*>{inside.get()}), objects(set.findPointsInRect(rect)));
    EXPECT_EQ(3u, set.findPointsIntersectRect(rect).size());
    set.removePoint(justOutside);
    EXPECT_EQ(10.0, set.boundingRect().xMax());
    EXPECT_EQ(2u, set.geosMultiPoint()->getNumGeometries());
}

TEST(PointSetTest, BreaklinesFollowTheirEndPoints)
{
    const PointPtr hub = at(0, 0), east = at(1, 0), north = at(0, 1), west = at(-1, 0);
    PointSet set = setOf({hub, east, north, west});
    set.addBreakline(hub, at(2, 2), true); // an end outside the set
    EXPECT_TRUE(set.allBreaklines().empty());
    const auto hubEast = std::make_shared<Breakline>(hub, east);
    set.addBreakline(hubEast, true);
    set.addBreakline(hubEast, false);
    EXPECT_EQ(1u, set.findBreaklinesFromPoint(east).size());
    EXPECT_TRUE(set.hasBreakline(east, hub));
    set.addBreakline(north, hub, true);
    set.addBreakline(north, west, true);
    EXPECT_EQ(3u, set.findBreaklinesIntersectRect(Rect(-5, -5, 5, 5)).size());

    EXPECT_TRUE(set.removePoint(hub));
    EXPECT_TRUE(set.findBreaklinesFromPoint(east).empty());
    EXPECT_EQ(1u, set.findBreaklinesFromPoint(north).size());
    EXPECT_EQ(1u, set.findBreaklinesIntersectRect(Rect(-5, -5, 5, 5)).size());
    set.removeAllBreaklines();
    EXPECT_TRUE(set.findBreaklinesIntersectRect(Rect(-5, -5, 5, 5)).empty());
}

// A crossing breakline usually sticks out of the new one's box; looking only inside that box
// kept such crossings, and crossing constraints then reached the triangulation.
TEST(PointSetTest, CrossingBreaklineStickingOutOfTheBoxIsFoundAndReplaced)
{
    const PointPtr a = at(0, 0), b = at(4, 4);     // the new breakline
    const PointPtr c = at(-1, 3), d = at(3, -1);   // crosses it, box reaches outside
    const PointPtr e = at(1, 3), f = at(3, 1);     // crosses it, box inside
    const PointPtr g = at(4, 0);                   // shares an end with a-b
    const PointPtr h = at(10, 10), i = at(11, 10); // far away
    PointSet set = setOf({a, b, c, d, e, f, g, h, i});
    set.addBreakline(c, d, true);
    set.addBreakline(e, f, true);
    set.addBreakline(g, b, true);
    set.addBreakline(h, i, true);

    const Breakline ab(a, b);
    const auto crossing = set.findCrossingBreaklines(&ab);
    EXPECT_EQ(2u, crossing.size());
    for (const auto& x : crossing)
        EXPECT_TRUE(x->point1() == c || x->point1() == e);

    PointSet keeping = set;
    keeping.addBreakline(a, b, true);
    EXPECT_EQ(5u, keeping.allBreaklines().size());

    set.addBreakline(a, b, false);
    EXPECT_EQ(3u, set.allBreaklines().size());
    EXPECT_FALSE(set.hasBreakline(c, d));
    EXPECT_FALSE(set.hasBreakline(e, f));
    EXPECT_TRUE(set.hasBreakline(g, b));
    EXPECT_TRUE(set.hasBreakline(a, b));
}

TEST(PointSetTest, RingSidesCountAsBreaklines)
{
    const PointPtr a = at(0, 0), b = at(2, 0), c = at(1, 2);
    const PointPtr h1 = at(0.5, 0.5), h2 = at(1.5, 0.5), h3 = at(1.5, 1), h4 = at(0.5, 1);
    PointSet set = setOf({a, b, c});
    set.addRegion(std::make_shared<PointRing>(PointRing{a, b, c, a}));
    set.addHole(new PointRing{h1, h2, h3, h4, h1});
    EXPECT_TRUE(set.hasBreakline(c, a));
    EXPECT_TRUE(set.hasBreakline(std::make_shared<Breakline>(h4, h1)));
    EXPECT_FALSE(set.hasBreakline(h1, h3));
    EXPECT_TRUE(set.allBreaklines().empty());
    EXPECT_EQ(7, set.countSegmentsOfRegionsAndHoles());

    const auto hole = set.allHoles().front();
    EXPECT_FALSE(set.removeRegion(hole.get()));
    EXPECT_TRUE(set.removeHole(hole.get()));
    EXPECT_EQ(3, set.countSegmentsOfRegionsAndHoles());
}

// A point on the polygon's extreme side has a box reaching 1e-8 beyond the polygon's box; an
// "inside the box" candidate search lost every such point.
TEST(PointSetTest, PointsOnTheExtremeSidesOfAPolygonAreFound)
{
    const PointPtr corner = at(0, 0), leftSide = at(0, 2), top = at(2, 4), rightVertex = at(4, 2);
    const PointPtr inner = at(1, 1), outside = at(4.5, 4.5), nearOutside = at(-1e-9, 2);
    // A far point makes the polygon a small share of the set, so the index answers.
    PointSet set = setOf({corner, leftSide, top, rightVertex, inner, outside, nearOutside,
                          at(1000, 1000)});
    const Polygon polygon{Point2D(0, 0), Point2D(4, 0), Point2D(4, 4), Point2D(0, 4)};
    const std::set<Point*> expected{corner.get(), leftSide.get(), top.get(), rightVertex.get(),
                                    inner.get()};
    EXPECT_EQ(expected, objects(set.findPointsInPolygon(polygon)));
    set.findPointsInRect(Rect(0, 0, 1, 1)); // build the index
    EXPECT_EQ(expected, objects(set.findPointsInPolygon(polygon)));
}

// GEOS's own covers, point by point, is the oracle for ragged polygons over a random set that
// also holds every vertex and side midpoint of the polygons. The large polygon is answered by a
// walk over all points, the small one through the index once there is one.
TEST(PointSetTest, PolygonQueryAgreesWithGeosCovers)
{
    std::mt19937 random(3);
    std::uniform_real_distribution<double> coordinate(-20, 120);
    const auto ragged = [](double cx, double cy, double scale) {
        std::vector<Point2D> vertices;
        for (int k = 0; k < 40; ++k) {
            const double angle = 2 * M_PI * k / 40;
            const double radius = (k % 2 == 0) ? 50 : 30 + 10 * std::sin(3 * angle);
            vertices.emplace_back(cx + scale * radius * std::cos(angle),
                                  cy + scale * radius * std::sin(angle));
        }
        return vertices;
    };
    const std::vector<Point2D> shapes[2] = {ragged(50, 50, 1.0), ragged(0, 0, 0.15)};

    for (const ContainerType type : {tin::core::Quadtree, tin::core::STRtree}) {
        PointSet set(type);
        for (int k = 0; k < 20000; ++k)
            set.addPoint(at(coordinate(random), coordinate(random)));
        for (const auto& vertices : shapes) {
            for (std::size_t k = 0; k < vertices.size(); ++k) {
                const Point2D& v = vertices[k];
                const Point2D& w = vertices[(k + 1) % vertices.size()];
                set.addPoint(at(v.x(), v.y()));
                set.addPoint(at((v.x() + w.x()) / 2, (v.y() + w.y()) / 2));
            }
        }
        for (const auto& vertices : shapes) {
            const Polygon polygon(vertices);
            std::set<Point*> expected;
            for (const auto& p : set.allPoints())
                if (polygon.geosPolygon()->covers(p->geosGeometry()))
                    expected.insert(p.get());
            EXPECT_GT(expected.size(), 50u);
            EXPECT_EQ(expected, objects(set.findPointsInPolygon(polygon))) << type;
            EXPECT_EQ(expected, objects(set.findPointsInGeometry(polygon.geosGeometry()))) << type;
            set.findPointsInRect(Rect(0, 0, 1, 1)); // from now on the index exists
            EXPECT_EQ(expected, objects(set.findPointsInPolygon(polygon))) << type;
        }
    }
}

TEST(PointSetTest, GeometryQueryAcceptsAnyGeometry)
{
    const PointPtr onLine = at(1, 1), offLine = at(1, 2);
    const PointSet set = setOf({onLine, offLine});
    const auto line = geos::io::WKTReader().read("LINESTRING (0 0, 2 2)");
    EXPECT_EQ((std::set<Point*>{onLine.get()}), objects(set.findPointsInGeometry(line.get())));
    EXPECT_THROW(set.findPointsInGeometry(nullptr), RuntimeException);
}

TEST(PointSetTest, BreaklinesInPolygonMustLieWhollyInside)
{
    const PointPtr a = at(0, 0), b = at(4, 0), c = at(2, 2), d = at(6, 2);
    PointSet set = setOf({a, b, c, d});
    set.addBreakline(a, b, true); // on the boundary
    set.addBreakline(a, c, true); // inside
    set.addBreakline(c, d, true); // leaves the polygon
    const Polygon polygon{Point2D(0, 0), Point2D(4, 0), Point2D(4, 4), Point2D(0, 4)};
    const auto found = set.findBreaklinesInPolygon(polygon);
    ASSERT_EQ(2u, found.size());
    for (const auto& b : found)
        EXPECT_NE(d, b->point2());
}

TEST(PointSetTest, CopiesShareObjectsAndKeepTheirOwnIndex)
{
    const PointPtr a = at(0, 0), b = at(1, 1), c = at(2, 0);
    const Rect all(-1, -1, 3, 3);
    PointSet original = setOf({a, b});
    original.addBreakline(a, b, true);
    original.findPointsInRect(all);
    PointSet copy(original);
    copy.addPoint(c);
    EXPECT_EQ(2u, original.findPointsInRect(all).size());
    EXPECT_EQ(3u, copy.findPointsInRect(all).size());
    EXPECT_EQ(original.allBreaklines(), copy.allBreaklines());

    PointSet& self = original;
    original = self;
    EXPECT_EQ(2u, original.findPointsInRect(all).size());
}

TEST(PointSetTest, MergeAddsPointsAndBreaklinesButNotRings)
{
    const PointPtr a = at(0, 0), b = at(4, 4), c = at(0, 4), d = at(4, 0), e = at(9, 9);
    PointSet base = setOf({a, b});
    base.addBreakline(a, b, true);
    PointSet other = setOf({c, d, e});
    other.addBreakline(c, d, true);
    other.addRegion(std::make_shared<PointRing>(PointRing{c, d, e, c}));

    base.merge(other);
    EXPECT_EQ(5u, base.allPoints().size());
    // c-d crosses the held a-b and knocks it out.
    EXPECT_EQ(1u, base.allBreaklines().size());
    EXPECT_TRUE(base.hasBreakline(c, d));
    EXPECT_TRUE(base.allRegions().empty());

    base.merge(base);
    EXPECT_EQ(1u, base.allBreaklines().size());
    EXPECT_EQ(5u, base.allPoints().size());
}

TEST(PointSetTest, RepeatedAdditionsHoldEachObjectOnce)
{
    // Additions before any index exists are filed only when the set is next read; the
    // repeats among them must vanish then, with removal and membership agreeing.
    std::vector<PointPtr> points;
    for (int i = 0; i < 5000; ++i)
        points.push_back(at(i % 100, i / 100));
    PointSet set;
    set.reservePoints(points.size());
    for (int round = 0; round < 3; ++round) {
        for (std::size_t i = round; i < points.size(); i += 2)
            set.addPoint(points[i]);
    }
    EXPECT_EQ(set.size(), points.size()); // the repeats settled without reading the list
    EXPECT_EQ(objects(set.allPoints()), objects(points));
    std::vector<PointPtr> visited;
    set.forEachPoint([&](const PointPtr& p) { visited.push_back(p); });
    EXPECT_EQ(visited, set.allPoints());
    for (std::size_t i = 0; i < points.size(); i += 3)
        EXPECT_TRUE(set.removePoint(points[i]));
    for (std::size_t i = 0; i < points.size(); ++i)
        ASSERT_EQ(set.hasPoint(points[i]), i % 3 != 0) << i;
    // Once the point index exists, additions are filed at once.
    EXPECT_EQ(set.findPointsInRect(Rect(-1, -1, 200, 200)).size(), points.size() - (points.size() + 2) / 3);
    set.addPoint(points[0]);
    set.addPoint(points[0]);
    set.addPoint(points[1]);
    EXPECT_EQ(set.findPointsAt(*points[0]).size(), 1u);
    EXPECT_EQ(set.size(), points.size() - (points.size() + 2) / 3 + 1);
    // A copy and a merge share the objects, once each.
    PointSet copy(set);
    copy.merge(setOf(points));
    EXPECT_EQ(objects(copy.allPoints()), objects(points));
    EXPECT_EQ(copy.allPoints().size(), points.size());
    EXPECT_EQ(set.allPoints().size(), points.size() - (points.size() + 2) / 3 + 1);
}

TEST(PointSetTest, BulkAdditionHoldsWhatOneByOneHolds)
{
    // Taken over whole by an empty set, appended to a filled one, filed at once into a set
    // with a point index: each time the same points, in the same order, as addPoint one by one.
    std::vector<PointPtr> points;
    for (int i = 0; i < 3000; ++i)
        points.push_back(at(i % 70, i / 70));
    for (int i = 0; i < 3000; i += 7)
        points.push_back(points[static_cast<std::size_t>(i)]); // repeats
    auto bulk = [&points](PointSet& set) {
        PointSet::PointList list(points.begin(), points.end());
        set.addPoints(std::move(list));
    };
    auto single = [&points](PointSet& set) {
        for (const PointPtr& p : points)
            set.addPoint(p);
    };
    const PointPtr first = at(-5, -5);
    for (int start = 0; start < 3; ++start) {
        PointSet bulkSet;
        PointSet singleSet;
        for (PointSet* set : {&bulkSet, &singleSet}) {
            if (start >= 1)
                set->addPoint(first);
            if (start == 2) {
                EXPECT_EQ(set->findPointsInRect(Rect(-10, -10, 0, 0)).size(), 1u); // makes the index
            }
        }
        bulk(bulkSet);
        single(singleSet);
        if (start == 0) { // held by the caller and the two sets: the bulk copied nothing on the way
            EXPECT_EQ(points[1].use_count(), 3);
        }
        EXPECT_EQ(bulkSet.allPoints(), singleSet.allPoints()) << start;
        EXPECT_EQ(bulkSet.findPointsInRect(Rect(-10, -10, 100, 100)).size(), 3000u + (start >= 1)) << start;
        EXPECT_EQ(bulkSet.boundingRect().xMax(), 69.0);
    }
}

TEST(PointSetTest, BulkAdditionStopsAtANullPointLikeOneByOne)
{
    PointSet set;
    PointSet::PointList list = {at(0, 0), at(1, 0), nullptr, at(2, 0)};
    const PointPtr kept = list[1];
    EXPECT_THROW(set.addPoints(std::move(list)), RuntimeException);
    EXPECT_EQ(set.allPoints().size(), 2u);
    EXPECT_TRUE(set.hasPoint(kept));
}

TEST(PointSetTest, PointListIsTheSettledListInPlaceWithoutRepeats)
{
    PointSet set;
    const PointPtr a = std::make_shared<Point>(0.0, 0.0, 1.0);
    const PointPtr b = std::make_shared<Point>(1.0, 0.0, 2.0);
    set.addPoint(a);
    set.addPoint(b);
    set.addPoint(a); // a repeat, filed away by the first read
    const PointSet::PointList& list = set.pointList();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], a);
    EXPECT_EQ(list[1], b);
    EXPECT_EQ(std::vector<PointPtr>(list.begin(), list.end()), set.allPoints());
    // The list itself, not a copy: the same object at every call, no pointer copied.
    EXPECT_EQ(&set.pointList(), &list);
    EXPECT_EQ(a.use_count(), 2);
}
