#include "orlin/core/Edge.h"
#include "orlin/core/EdgeFactory.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/Tin.h"
#include "orlin/util/AssertError.h"
#include "orlin/util/TinRegions.h"

#include "TinTestSupport.h"

#include <geos/geom/Coordinate.h>
#include <geos/geom/CoordinateSequence.h>
#include <geos/geom/LinearRing.h>
#include <geos/geom/MultiPolygon.h>
#include <geos/geom/Polygon.h>
#include <geos/io/WKTWriter.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

using namespace tin::core;
using namespace tin::util;
using namespace tintest;

namespace {

double flat(double, double) { return 1.0; }

// 10 x 10 cells with the cells of [3,7] x [3,7] missing except the island [4,6] x [4,6].
bool gapWithIsland(int i, int j)
{
    bool inGap = i >= 3 && i < 7 && j >= 3 && j < 7;
    bool inIsland = i >= 4 && i < 6 && j >= 4 && j < 6;
    return inGap && !inIsland;
}

std::string normalizedWkt(geos::geom::Geometry const& g)
{
    auto copy = g.clone();
    copy->normalize();
    geos::io::WKTWriter writer;
    return writer.write(copy.get());
}

} // namespace

TEST(TinRegions, OneTriangleGivesOneRegionAndOnePolygonWithoutHoles)
{
    Tin tin;
    tin.addTriangle(pt(0, 0), pt(1, 0), pt(0, 1));

    RingList regions, holes;
    buildTinRegionsAndHoles(tin, regions, holes);
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_TRUE(holes.empty());
    EXPECT_EQ(regions[0]->points().size(), 4u);
    EXPECT_EQ(regions[0]->points().front().get(), regions[0]->points().back().get());

    std::unique_ptr<geos::geom::MultiPolygon> outline(buildOutlineMultiPolygon(tin));
    ASSERT_EQ(outline->getNumGeometries(), 1u);
    auto const* polygon = dynamic_cast<geos::geom::Polygon const*>(outline->getGeometryN(0));
    ASSERT_NE(polygon, nullptr);
    EXPECT_EQ(polygon->getNumInteriorRing(), 0u);
    EXPECT_DOUBLE_EQ(outline->getArea(), 0.5);
    auto coords = outline->getCoordinates();
    for (std::size_t i = 0; i < coords->size(); ++i) {
        double z = coords->getAt(i).z;
        EXPECT_TRUE(z == 0.0 || std::isnan(z));
    }
}

TEST(TinRegions, EmptyTinAndEmptyRingListGiveNothing)
{
    Tin tin;
    std::unique_ptr<geos::geom::MultiPolygon> outline(buildOutlineMultiPolygon(tin));
    EXPECT_TRUE(outline->isEmpty());

    RingList regions{nullptr}, holes{nullptr};
    EXPECT_NO_THROW(buildRegionsAndHoles({}, regions, holes, tin));
    EXPECT_TRUE(regions.empty());
    EXPECT_TRUE(holes.empty());
}

TEST(TinRegions, HoleWithIslandGivesSameMultipolygonWhateverInsertionOrder)
{
    auto triangles = gridTriangles(10, 10, gapWithIsland, flat);
    std::string first;
    for (unsigned seed : {0u, 7u, 12345u}) {
        Tin tin = tinOf(triangles, seed);
        std::unique_ptr<geos::geom::MultiPolygon> outline(buildOutlineMultiPolygon(tin));
        ASSERT_TRUE(outline->isValid()) << "seed " << seed;
        ASSERT_EQ(outline->getNumGeometries(), 2u) << "seed " << seed;
        EXPECT_DOUBLE_EQ(outline->getArea(), 100.0 - 16.0 + 4.0);
        for (std::size_t k = 0; k < 2; ++k) {
            auto const* p = dynamic_cast<geos::geom::Polygon const*>(outline->getGeometryN(k));
            ASSERT_NE(p, nullptr);
            if (p->getArea() > 50.0) {
                EXPECT_EQ(p->getNumInteriorRing(), 1u);
                EXPECT_DOUBLE_EQ(p->getArea(), 84.0);
            } else {
                EXPECT_EQ(p->getNumInteriorRing(), 0u);
                EXPECT_DOUBLE_EQ(p->getArea(), 4.0);
            }
        }
        std::string wkt = normalizedWkt(*outline);
        if (first.empty()) {
            first = wkt;
        }
        EXPECT_EQ(wkt, first) << "seed " << seed;

        RingList regions, holes;
        buildTinRegionsAndHoles(tin, regions, holes);
        EXPECT_EQ(regions.size(), 2u);
        EXPECT_EQ(holes.size(), 1u);
    }
}

TEST(TinRegions, RingAroundEmptyGapIsHoleInsteadOfThrowing)
{
    Tin tin = tinOf(gridTriangles(5, 5, [](int i, int j) { return i == 2 && j == 2; }, flat));
    RingList regions, holes;
    EXPECT_NO_THROW(buildTinRegionsAndHoles(tin, regions, holes));
    ASSERT_EQ(regions.size(), 1u);
    ASSERT_EQ(holes.size(), 1u);
    EXPECT_EQ(holes[0]->segmentCount(), 4);

    std::unique_ptr<geos::geom::MultiPolygon> outline(buildOutlineMultiPolygon(tin));
    EXPECT_DOUBLE_EQ(outline->getArea(), 24.0);
}

TEST(TinRegions, ZeroAreaRingIsHole)
{
    Tin tin;
    tin.addTriangle(pt(0, 0), pt(4, 0), pt(0, 4));
    RingList rings{std::make_shared<PointRing>(
        std::vector<PointPtr>{pt(1, 1), pt(2, 1), pt(3, 1), pt(1, 1)})};
    RingList regions, holes;
    buildRegionsAndHoles(rings, regions, holes, tin);
    EXPECT_TRUE(regions.empty());
    ASSERT_EQ(holes.size(), 1u);
    EXPECT_EQ(holes[0].get(), rings[0].get());
}

TEST(TinRegions, InnerRingListedBeforeOuterRingIsStillItsHole)
{
    auto gapTin = tinOf(gridTriangles(6, 6, [](int i, int j) { return i >= 2 && i < 4 && j >= 2 && j < 4; }, flat));
    OuterEdgeMap map;
    collectOuterEdges(gapTin, map);
    RingList rings = traceRings(map);
    ASSERT_EQ(rings.size(), 2u);
    for (int swap = 0; swap < 2; ++swap) {
        if (swap) {
            std::swap(rings[0], rings[1]);
        }
        LinearRingList linear = toLinearRings(rings);
        RingPolygonList polygons = ringPolygons(linear);
        int outer = rings[0]->segmentCount() > rings[1]->segmentCount() ? 0 : 1;
        std::unique_ptr<geos::geom::Polygon> p(polygonWithHoles(outer, linear, polygons));
        EXPECT_EQ(p->getNumInteriorRing(), 1u);
        EXPECT_DOUBLE_EQ(p->getArea(), 32.0);
    }
}

TEST(TinRegions, TrianglesTouchingAtOneVertexGiveTwoValidPolygons)
{
    auto shared = pt(1, 1);
    for (int order = 0; order < 2; ++order) {
        Tin tin;
        if (order == 0) {
            tin.addTriangle(pt(0, 0), pt(1, 0), shared);
            tin.addTriangle(shared, pt(2, 1), pt(2, 2));
        } else {
            tin.addTriangle(shared, pt(2, 1), pt(2, 2));
            tin.addTriangle(pt(0, 0), pt(1, 0), shared);
        }
        RingList regions, holes;
        buildTinRegionsAndHoles(tin, regions, holes);
        EXPECT_EQ(regions.size(), 2u);
        EXPECT_TRUE(holes.empty());
        std::unique_ptr<geos::geom::MultiPolygon> outline(buildOutlineMultiPolygon(tin));
        EXPECT_EQ(outline->getNumGeometries(), 2u);
        EXPECT_TRUE(outline->isValid());
        EXPECT_DOUBLE_EQ(outline->getArea(), 1.0);
    }
}

TEST(TinRegions, LoopsTouchingAtVerticesGiveValidOutlines)
{
    // Without the triangle (1,0), (2,1), (1,1): in a 3 x 3 grid the gap meets the outer
    // boundary at the vertex (1, 0) only (one region with a hole touching its shell);
    // in a 2 x 2 grid the triangle (1,0), (2,0), (2,1) hangs on two vertices (two
    // regions, no hole).
    struct Case {
        int cells;
        std::size_t regions, holes;
        double area;
    };
    for (Case const& c : {Case{3, 1, 1, 8.5}, Case{2, 2, 0, 3.5}}) {
        std::vector<Corners> kept;
        for (auto const& t : gridTriangles(c.cells, c.cells, [](int, int) { return false; }, flat)) {
            bool gap = t.a->x() == 1 && t.a->y() == 0 && t.b->x() == 2 && t.b->y() == 1;
            if (!gap) {
                kept.push_back(t);
            }
        }
        for (unsigned seed : {0u, 3u, 99u, 1234u}) {
            Tin tin = tinOf(kept, seed);
            RingList regions, holes;
            ASSERT_NO_THROW(buildTinRegionsAndHoles(tin, regions, holes));
            EXPECT_EQ(regions.size(), c.regions) << c.cells << " seed " << seed;
            EXPECT_EQ(holes.size(), c.holes) << c.cells << " seed " << seed;
            geos::geom::Geometry* outline = nullptr;
            ASSERT_NO_THROW(outline = tin.geosGeometry());
            ASSERT_NE(outline, nullptr);
            EXPECT_TRUE(outline->isValid());
            EXPECT_DOUBLE_EQ(outline->getArea(), c.area);

            Tin inside;
            inside.addTriangle(pt(0.1, 1.1), pt(0.9, 1.1), pt(0.9, 1.9));
            Tin inGap;
            inGap.addTriangle(pt(1.2, 0.6), pt(1.4, 0.6), pt(1.2, 0.8));
            EXPECT_TRUE(tin.isCoveredByTin(inside));
            EXPECT_FALSE(tin.isCoversTin(inside));
            EXPECT_FALSE(tin.isCoveredByTin(inGap));
            EXPECT_FALSE(tin.isIntersectedByTin(inGap));
        }
    }
}

TEST(TinRegions, OpenChainOfOutlineEdgesThrows)
{
    auto a = pt(0, 0), b = pt(1, 0), c = pt(1, 1);
    auto ab = EdgeFactory::instance().factory(a, b);
    auto bc = EdgeFactory::instance().factory(b, c);
    OuterEdgeMap map;
    for (Edge* e : {ab.get(), bc.get()}) {
        map[e->point1()].push_back(OuterEdge{e, true});
        map[e->point2()].push_back(OuterEdge{e, true});
    }
    EXPECT_THROW(traceRings(map), AssertError);
}

TEST(TinRegions, SelfTouchingRingIsClassifiedWithoutCrashing)
{
    // A bow tie drawn as one ring through its middle vertex twice: invalid for GEOS.
    Tin tin = tinOf(gridTriangles(2, 2, [](int, int) { return false; }, flat));
    auto m = pt(1, 1);
    RingList rings{std::make_shared<PointRing>(
        std::vector<PointPtr>{pt(0, 0), pt(2, 0), m, pt(2, 2), pt(0, 2), m, pt(0, 0)})};
    rings.push_back(std::make_shared<PointRing>(std::vector<PointPtr>{pt(0.2, 0.1), pt(0.4, 0.1), pt(0.3, 0.2), pt(0.2, 0.1)}));
    RingList regions, holes;
    try {
        buildRegionsAndHoles(rings, regions, holes, tin);
        EXPECT_EQ(regions.size() + holes.size(), 2u);
    } catch (AssertError const& e) {
        EXPECT_NE(std::string(e.what()).find("buildRegionsAndHoles"), std::string::npos);
    }
}

TEST(TinRegions, IslandStandingOnTheRimOfItsHoleStaysInTheOutline)
{
    // A fill body merged onto the ground: a frame of ground around a 1 x 1 hole, and over the
    // hole a raised square whose corners stand at the hole's corners (other point objects).
    Tin tin;
    auto o00 = pt(0, 0), o10 = pt(3, 0), o11 = pt(3, 3), o01 = pt(0, 3);
    auto h00 = pt(1, 1), h10 = pt(2, 1), h11 = pt(2, 2), h01 = pt(1, 2);
    for (auto const& [a, b, c] : std::vector<std::array<PointPtr, 3>>{
             {o00, o10, h10}, {o00, h10, h00}, {o10, o11, h11}, {o10, h11, h10},
             {o11, o01, h01}, {o11, h01, h11}, {o01, o00, h00}, {o01, h00, h01}}) {
        tin.addTriangle(a, b, c);
    }
    auto i00 = std::make_shared<Point>(1.0, 1.0, 5.0), i10 = std::make_shared<Point>(2.0, 1.0, 5.0);
    auto i11 = std::make_shared<Point>(2.0, 2.0, 5.0), i01 = std::make_shared<Point>(1.0, 2.0, 5.0);
    tin.addTriangle(i00, i10, i11);
    tin.addTriangle(i00, i11, i01);

    EXPECT_DOUBLE_EQ(tin.geosGeometry()->getArea(), 9.0);
    RingList regions, holes;
    buildTinRegionsAndHoles(tin, regions, holes);
    EXPECT_EQ(regions.size(), 2u);
    EXPECT_EQ(holes.size(), 1u);
}
