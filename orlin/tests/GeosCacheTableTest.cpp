#include "orlin/core/Edge.h"
#include "orlin/core/EdgeFactory.h"
#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/support/GeosCacheTable.h"

#include <geos/geom/LineString.h>
#include <geos/geom/Polygon.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace tin::core;

namespace {

std::shared_ptr<Point> at(double x, double y)
{
    return std::make_shared<Point>(x, y, 0.0);
}

} // namespace

TEST(GeosCacheTableTest, OwnersLeaveNoEntryBehind)
{
    tin::support::GeosCacheTable& table = tin::support::GeosCacheTable::instance();
    const std::size_t before = table.size();
    {
        auto p = at(0, 0), q = at(4, 0), r = at(0, 3);
        Tin tin;
        auto t = tin.addTriangle(p, q, r);
        geos::geom::Polygon* polygon = t->geosPolygon();
        EXPECT_EQ(t->geosGeometry(), polygon);
        EXPECT_DOUBLE_EQ(polygon->getArea(), 6.0);
        geos::geom::LineString* side = t->edge1()->geosLineString();
        EXPECT_EQ(t->edge1()->geosGeometry(), side);
        EXPECT_DOUBLE_EQ(side->getLength(), 5.0);
        EXPECT_EQ(table.size(), before + 2);
        // Edges made without the factory use the table too.
        Edge free(p, q);
        EXPECT_DOUBLE_EQ(free.geosLineString()->getLength(), 4.0);
        EXPECT_EQ(table.size(), before + 3);
    }
    EXPECT_EQ(table.size(), before);
}

TEST(GeosCacheTableTest, ObjectAtAReleasedAddressBuildsItsOwnGeometry)
{
    // The pool hands a released chunk to the next object of its size, edge or triangle: a
    // stale entry of the dead owner would give the newcomer the old shape.
    auto p = at(0, 0), q = at(10, 0), r = at(0, 10), s = at(1, 1);
    std::set<const void*> released;
    {
        Tin tin;
        auto t = tin.addTriangle(p, q, r);
        EXPECT_DOUBLE_EQ(t->geosPolygon()->getArea(), 50.0);
        released.insert(t.get());
        for (int i = 0; i < 3; ++i) {
            EXPECT_GT(t->edge(i)->geosLineString()->getLength(), 9.0);
            released.insert(t->edge(i).get());
        }
    }
    Tin tin;
    auto t = tin.addTriangle(p, s, q);
    std::size_t reused = released.count(t.get());
    EXPECT_DOUBLE_EQ(t->geosPolygon()->getArea(), 5.0);
    for (int i = 0; i < 3; ++i) {
        reused += released.count(t->edge(i).get());
        EXPECT_DOUBLE_EQ(t->edge(i)->geosLineString()->getLength(), t->edge(i)->length());
    }
    EXPECT_GT(reused, 0u) << "no released chunk was reused: the checks above prove less";
}
