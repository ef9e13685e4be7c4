// A mold item swept along paths: which sections are levelled, when nothing is built, and
// whether the outline crosses itself, checked against GEOS's own simplicity test.
#include "movarin/surfaces/MoldItem.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "sedrun/TinFromMoldPathCreator.h"

#include <geos/geom/CoordinateArraySequence.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/LineString.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>

namespace varnel::test {
namespace {

using Path = std::vector<tin::core::Point>;
using mold::core::Mold;

const double NaN = std::numeric_limits<double>::quiet_NaN();

/// "Slope 1": one low point (-1 m) at the left edge, two high ones (+1 m).
MoldItem slope(Mold::EditType type, double halfWidth = 3.0)
{
    return MoldItem("Slope", type, {-halfWidth, 0.0, halfWidth}, {-1.0, 1.0, 1.0}, 0.0, 0.0,
                    nullptr);
}

/// The TIN's vertices by height above the path (all path points lie at elevation 10).
std::map<double, int> heightCounts(const tin::core::Tin& tin)
{
    std::set<const tin::core::Point*> vertices;
    for (const auto& triangle : tin.allTriangles()) {
        for (int i = 0; i < 3; ++i) {
            vertices.insert(triangle->point(i).get());
        }
    }
    std::map<double, int> counts;
    for (const tin::core::Point* p : vertices) {
        ++counts[std::round((p->elevation() - 10.0) * 1e6) / 1e6];
    }
    return counts;
}

const Path BENT{{0, 0, 10.0}, {40, 0, 10.0}, {40, 40, 10.0}, {80, 40, 10.0}};
const Path SQUARE_RING{{0, 0, 10.0}, {50, 0, 10.0}, {50, 50, 10.0}, {0, 50, 10.0}};

TEST(MoldItemTest, OpenSweepsLevelTheirEndSectionsByEditTypeClosedOnesNothing)
{
    // Every unlevelled section has one low and two high points; a section levelled to its
    // lowest has three low ones, to its highest three high ones.
    const auto add = slope(Mold::Add).createTin(BENT, false, {});
    ASSERT_NE(add, nullptr);
    auto counts = heightCounts(*add);
    ASSERT_EQ(counts.size(), 2u);
    int sections = (counts[-1] + counts[1]) / 3;
    ASSERT_GT(sections, 2);
    EXPECT_EQ(counts[-1], sections + 4);
    EXPECT_EQ(counts[1], 2 * (sections - 2));

    const auto sub = slope(Mold::Subtract).createTin(BENT, false, {});
    ASSERT_NE(sub, nullptr);
    counts = heightCounts(*sub);
    EXPECT_EQ(counts[-1], sections - 2);
    EXPECT_EQ(counts[1], 2 * sections + 2);

    for (Mold::EditType type : {Mold::Add, Mold::Subtract}) {
        SCOPED_TRACE(type);
        const auto ring = slope(type).createTin(SQUARE_RING, true, {});
        ASSERT_NE(ring, nullptr);
        counts = heightCounts(*ring);
        sections = (counts[-1] + counts[1]) / 3;
        EXPECT_EQ(counts[-1], sections);
        EXPECT_EQ(counts[1], 2 * sections);
    }
}

TEST(MoldItemTest, SweepsThatBuildNothingGiveNoTin)
{
    const MoldItem add = slope(Mold::Add);
    EXPECT_EQ(add.createTin({{0, 0, 10.0}, {50, 0, 10.0}}, true, {}), nullptr) << "two corners";
    EXPECT_EQ(add.createTin({{0, 0, 10.0}, {25, 0, 10.0}, {50, 0, 10.0}}, true, {}), nullptr)
        << "three in a line";
    EXPECT_EQ(add.createTin({{0, 0, 10.0}}, false, {}), nullptr);
    EXPECT_EQ(add.createTin({}, false, {}), nullptr);
    EXPECT_EQ(add.createTin({{0, 0, 10.0}, {NaN, 5, 10.0}, {50, 0, 10.0}}, false, {}), nullptr);
    EXPECT_EQ(MoldItem("One", Mold::Add, {0.0}, {1.0}, 0, 0, nullptr).createTin(BENT, false, {}),
              nullptr)
        << "one mold point spans no triangle";
    MoldItem notFinite = slope(Mold::Add);
    notFinite.setPoint(1, QPointF(0.0, NaN));
    EXPECT_EQ(notFinite.createTin(BENT, false, {}), nullptr);
    EXPECT_FALSE(notFinite.hasSimpleOutline(BENT, false));

    MoldItem unknown = slope(Mold::Add);
    unknown.setEditType(static_cast<Mold::EditType>(7));
    for (bool closed : {false, true}) {
        try {
            unknown.createTin(closed ? SQUARE_RING : BENT, closed, {});
            ADD_FAILURE() << "an unknown edit type was swept";
        } catch (const common::exception::RuntimeException& e) {
            EXPECT_STREQ(e.what(), "Unknown not handled.");
        }
    }
}

TEST(MoldItemTest, OutlinesOfTheNamedShapes)
{
    const MoldItem narrow = slope(Mold::Add, 1.0);
    const MoldItem wide = slope(Mold::Add, 6.0);
    EXPECT_TRUE(wide.hasSimpleOutline({{0, 0, 10.0}, {100, 0, 10.0}}, false));
    EXPECT_TRUE(wide.hasSimpleOutline({{0, 0, 10.0}, {100, 0, 10.0}, {100, 100, 10.0}}, false));
    // A hairpin whose legs lie 4 m apart.
    const Path hairpin{{0, 0, 10.0}, {100, 0, 10.0}, {100, 4, 10.0}, {0, 4, 10.0}};
    EXPECT_TRUE(narrow.hasSimpleOutline(hairpin, false));
    EXPECT_FALSE(wide.hasSimpleOutline(hairpin, false));

    EXPECT_TRUE(wide.hasSimpleOutline(SQUARE_RING, true));
    const Path figureOfEight{{0, 0, 10.0}, {60, 60, 10.0}, {60, 0, 10.0}, {0, 60, 10.0}};
    EXPECT_FALSE(narrow.hasSimpleOutline(figureOfEight, true));

    EXPECT_FALSE(wide.hasSimpleOutline({{0, 0, 10.0}}, false)) << "no sections";
    EXPECT_FALSE(wide.hasSimpleOutline({{0, 0, 10.0}, {50, 0, 10.0}}, true)) << "no sections";
    EXPECT_FALSE(wide.hasSimpleOutline({{0, 0, 10.0}, {50, NaN, 10.0}}, false));
}

/// GEOS's verdict on a ring through `points` (consecutive repeats dropped, closed).
bool geosSimpleRing(std::vector<QPointF> points)
{
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (points.size() > 1 && points.front() == points.back()) {
        points.pop_back();
    }
    const auto factory = geos::geom::GeometryFactory::create();
    auto sequence = std::make_unique<geos::geom::CoordinateArraySequence>();
    for (const QPointF& p : points) {
        sequence->add(geos::geom::Coordinate(p.x(), p.y()));
    }
    sequence->add(geos::geom::Coordinate(points.front().x(), points.front().y()));
    return factory->createLineString(std::move(sequence))->isSimple();
}

std::vector<QPointF> plan(const std::vector<tin::core::Point>& points)
{
    std::vector<QPointF> out;
    for (const auto& p : points) {
        out.emplace_back(p.x(), p.y());
    }
    return out;
}

TEST(MoldItemTest, OutlineVerdictAgreesWithGeosOnRandomPaths)
{
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> coordinate(0.0, 40.0);
    std::uniform_real_distribution<double> width(0.5, 8.0);
    std::uniform_int_distribution<int> corners(3, 6);
    int crossing = 0;
    int simple = 0;
    for (int run = 0; run < 300; ++run) {
        const bool closed = run % 2 == 1;
        Path path;
        for (int i = corners(random); i > 0; --i) {
            path.emplace_back(coordinate(random), coordinate(random), 10.0);
        }
        const MoldItem item("Random", Mold::Add, {-width(random), 0.0, width(random)},
                            {0.0, 1.0, 0.0}, 0.0, 0.0, nullptr);
        const tincreator::util::TinFromMoldPathCreator creator(item.mold(), path);
        const auto a = plan(creator.createOutlineSide(true, closed));
        const auto b = plan(creator.createOutlineSide(false, closed));
        if (a.size() < 2) {
            EXPECT_FALSE(item.hasSimpleOutline(path, closed));
            continue;
        }
        bool expected;
        if (closed) {
            expected = geosSimpleRing(a) && geosSimpleRing(b);
        } else {
            std::vector<QPointF> ring = a;
            ring.insert(ring.end(), b.rbegin(), b.rend());
            expected = geosSimpleRing(ring);
        }
        SCOPED_TRACE(run);
        EXPECT_EQ(item.hasSimpleOutline(path, closed), expected);
        (expected ? simple : crossing)++;
    }
    EXPECT_GT(simple, 20);
    EXPECT_GT(crossing, 20);
}

/// GEOS's verdict on the outline of the sweep along `path` (as `hasSimpleOutline` builds it).
bool geosSimpleOutline(const MoldItem& item, const Path& path, bool closed)
{
    const tincreator::util::TinFromMoldPathCreator creator(item.mold(), path);
    const auto a = plan(creator.createOutlineSide(true, closed));
    const auto b = plan(creator.createOutlineSide(false, closed));
    if (closed) {
        return geosSimpleRing(a) && geosSimpleRing(b);
    }
    std::vector<QPointF> ring = a;
    ring.insert(ring.end(), b.rbegin(), b.rend());
    return geosSimpleRing(ring);
}

TEST(MoldItemTest, AnOutlineTouchingItselfAtAVertexIsNotSimple)
{
    // The path nearly closes: the last section's side ends on the first section's corner.
    const MoldItem oneEachSide("Flat", Mold::Add, {-1.0, 1.0}, {0.0, 0.0}, 0.0, 0.0, nullptr);
    const Path touching{{0, 0, 10.0}, {10, 0, 10.0}, {10, 10, 10.0}, {-1, 10, 10.0}, {-1, 1, 10.0}};
    ASSERT_FALSE(geosSimpleOutline(oneEachSide, touching, false));
    EXPECT_FALSE(oneEachSide.hasSimpleOutline(touching, false));

    // The same shape turned, mirrored and scaled touches itself; with its end 0.5 m farther
    // from the start it does not. The verdict is GEOS's in every case.
    int touchingCases = 0;
    for (const double scale : {1.0, 2.5}) {
        for (int turn = 0; turn < 4; ++turn) {
            for (const double mirror : {1.0, -1.0}) {
                for (const double gap : {0.0, 0.5}) {
                    Path path;
                    for (const auto& p : touching) {
                        const double x = scale * (p.x() == -1.0 ? -1.0 - gap : p.x());
                        const double y = scale * mirror * p.y();
                        const double c = std::cos(turn * M_PI / 2.0), s = std::sin(turn * M_PI / 2.0);
                        path.emplace_back(std::round(c * x - s * y), std::round(s * x + c * y), 10.0);
                    }
                    const MoldItem item("Flat", Mold::Add, {-scale, scale}, {0.0, 0.0}, 0.0, 0.0, nullptr);
                    SCOPED_TRACE(::testing::Message() << "scale " << scale << " turn " << turn << " mirror " << mirror << " gap " << gap);
                    const bool expected = geosSimpleOutline(item, path, false);
                    EXPECT_EQ(item.hasSimpleOutline(path, false), expected);
                    touchingCases += expected ? 0 : 1;
                }
            }
        }
    }
    EXPECT_GE(touchingCases, 8);
}

TEST(MoldItemTest, BoundsAndEditTypeTextOfEmptyAndLoadingItems)
{
    MoldItem empty(Mold::Subtract, nullptr);
    empty.setBase(5.0, -7.0);
    EXPECT_EQ(empty.boundingRect(), QRectF(0, 0, 0, 0));
    EXPECT_EQ(empty.editTypeText(), "Sub");

    // The base point always lies inside; points and base together span the rectangle.
    MoldItem item("Convex", Mold::Add, {-4.5, -1.5, 1.5, 4.5}, {-1.0, 1.0, 1.0, -1.0}, 6.0,
                  -2.0, nullptr);
    EXPECT_EQ(item.boundingRect(), QRectF(QPointF(-4.5, -2.0), QPointF(6.0, 1.0)));
    item.setBase(0.0, 0.0);
    EXPECT_EQ(item.boundingRect(), QRectF(QPointF(-4.5, -1.0), QPointF(4.5, 1.0)));
    EXPECT_EQ(item.editTypeText(), "Add");

    MoldItem loading;
    EXPECT_EQ(loading.editTypeText(), "") << "no file read yet";
    EXPECT_EQ(MoldItem::editTypeDisplayText(static_cast<Mold::EditType>(3)), "Unknown");

    EXPECT_THROW(empty.firstPoint(), std::out_of_range);
}

} // namespace
} // namespace varnel::test
