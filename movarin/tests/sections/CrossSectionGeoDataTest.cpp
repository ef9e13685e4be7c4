// What a cross section reads of the geographic data: the L intervals that the polygons of the
// groups of one internal name cover, last group first, and where the polylines cross the
// extended section; shapes too small for GEOS are skipped.
#include "SectionsTestSupport.h"

#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/sections/GeoDataPolygonItem.h"
#include "movarin/sections/GeoDataPolylineItem.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"

#include "orlin/core/Polygon.h"
#include "orlin/core/Polyline.h"

#include <QStandardItem>

#include <gtest/gtest.h>

#include <algorithm>

namespace varnel::test {
namespace {

using tin::core::Point2D;

class CrossSectionGeoDataTest : public SectionsTest {
protected:
    GeoDataGroupItem* geoGroup(const QString& name) const
    {
        return root()->geoDataTopItem()->groupItem(name);
    }

    static GeoDataPolygonItem* addPolygon(GeoDataGroupItem* group, std::vector<Point2D> vertices)
    {
        GeoDataPolygonItem* item = group->createPolygonItem(QStringLiteral("polygon"));
        item->setPolygon(new tin::core::Polygon(vertices));
        group->attachChildAtBack(item);
        return item;
    }

    static GeoDataPolylineItem* addPolyline(GeoDataGroupItem* group, std::vector<Point2D> vertices)
    {
        GeoDataPolylineItem* item = group->createPolylineItem(QStringLiteral("line"));
        item->setPolyline(new tin::core::Polyline(vertices));
        group->attachChildAtBack(item);
        return item;
    }
};

TEST_F(CrossSectionGeoDataTest, PolygonIntervalsOfEveryGroupOfTheNameLastFirst)
{
    GeoDataGroupItem* roughness = geoGroup(QStringLiteral("roughness"));
    ASSERT_NE(roughness, nullptr);
    GeoDataPolygonItem* square = addPolygon(roughness, {{20, 20}, {40, 20}, {40, 40}, {20, 40}});
    addPolygon(roughness, {{60, 60}, {70, 60}, {70, 70}}); // missed
    addPolygon(roughness, {{0, 0}, {100, 100}});           // two vertices
    addPolygon(geoGroup(QStringLiteral("deadarea")), {{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    // A second group of the same internal name, after the first.
    GeoDataTopForEditItem* top = root()->geoDataTopItem();
    auto again = new GeoDataGroupItem(QStringLiteral("More roughness"), QStringLiteral("roughness"),
                                      top);
    top->browserItem()->takeRow(again->browserItem()->row());
    top->attachChildAtBack(again);
    // A U open to the top: the section at y = 30 passes through both arms.
    GeoDataPolygonItem* u = addPolygon(
        again, {{50, 20}, {90, 20}, {90, 40}, {80, 40}, {80, 25}, {60, 25}, {60, 40}, {50, 40}});

    const CrossSectionItem* section = addSection(QStringLiteral("K1"), {0.0, 30.0}, {100.0, 30.0});
    const CrossSectionItem::PolygonLIntervals intervals =
        section->polygonLIntervals(QStringLiteral("roughness"));
    ASSERT_EQ(intervals.size(), 2u);
    EXPECT_EQ(intervals[0].first, u);
    using Pairs = std::vector<std::pair<double, double>>;
    Pairs arms = intervals[0].second;
    std::sort(arms.begin(), arms.end());
    EXPECT_EQ(arms, Pairs({{50.0, 60.0}, {80.0, 90.0}}));
    EXPECT_EQ(intervals[1].first, square);
    EXPECT_EQ(intervals[1].second, Pairs({{20.0, 40.0}}));

    // Drawn the other way, the pairs still hold the smaller L first.
    const CrossSectionItem* back = addSection(QStringLiteral("K2"), {100.0, 30.0}, {0.0, 30.0});
    EXPECT_EQ(back->polygonLIntervals(QStringLiteral("roughness")).back().second,
              Pairs({{60.0, 80.0}}));
    EXPECT_TRUE(section->polygonLIntervals(QStringLiteral("nothing")).empty());
}

TEST_F(CrossSectionGeoDataTest, PolylineCrossingsAlongTheExtendedSection)
{
    GeoDataGroupItem* reference = geoGroup(QStringLiteral("referenceinformation"));
    ASSERT_NE(reference, nullptr);
    GeoDataPolylineItem* across = addPolyline(reference, {{50, 0}, {50, 100}});
    GeoDataPolylineItem* zigzag = addPolyline(reference, {{-10, 0}, {-10, 60}, {5, 0}, {5, 60}});
    GeoDataPolylineItem* away = addPolyline(reference, {{200, 0}, {200, 100}});
    GeoDataPolylineItem* dot = addPolyline(reference, {{30, 30}});

    // E lies short of x = 50: the crossing there is found on the extension, beyond E.
    const CrossSectionItem* section = addSection(QStringLiteral("K1"), {10.0, 30.0}, {40.0, 30.0});
    CrossSectionItem::PolylineLs ls;
    ls[dot] = {1.0}; // cleared first
    section->polylineIntersectionLs(&ls);
    EXPECT_EQ(ls.size(), 3u);
    EXPECT_EQ(ls.count(dot), 0u);
    EXPECT_EQ(ls.at(across), std::vector<double>({40.0}));
    EXPECT_TRUE(ls.at(away).empty());
    std::vector<double> zig = ls.at(zigzag);
    std::sort(zig.begin(), zig.end());
    EXPECT_EQ(zig, std::vector<double>({-20.0, -12.5, -5.0}));
}

} // namespace
} // namespace varnel::test
