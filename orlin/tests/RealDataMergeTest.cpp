// A designed surface (a 10 m wide trapezoid channel) merged into the warsaw ground TIN as a cut
// and as a fill: the result against min/max of the two surfaces, the added and removed triangles
// against the base, plan area and volume against the cut and fill of the two surfaces.

#include "RealDataTestSupport.h"

#include "orlin/core/Point.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/io/TpoPointSetImporter.h"
#include "orlin/util/PointSetToTin.h"
#include "orlin/util/TinDifferences.h"
#include "orlin/util/TinMerge.h"
#include "orlin/util/TinToPointSet.h"

#include <geos/geom/Geometry.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace {

using tin::core::Point;
using tin::core::Tin;

std::map<realdata::Facet, int> facetCounts(const Tin& tin) {
    std::map<realdata::Facet, int> counts;
    for (const auto& t : tin.allTriangles()) {
        ++counts[realdata::sortedVertices(realdata::facetOf(*t))];
    }
    return counts;
}

// What a merge hands back beside its result.
struct Edit {
    bool ok = false;
    Tin taken;
    Tin added;
    Tin removed;
};

class RealDataMergeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string path = realdata::dataPath("points/warsaw_small-ground.tpo");
        const tin::core::PointSet set = tin::io::TpoPointSetImporter().importPointSet(path.c_str());
        s_ground = new Tin(tin::util::PointSetToTin::convertCleanPointSet(set, false, false));
        s_channel = new Tin(channel(*s_ground));
    }
    static void TearDownTestSuite() {
        delete s_ground;
        delete s_channel;
        s_ground = nullptr;
        s_channel = nullptr;
    }

    // Runs 20 m along x through the middle of the survey: bed 4 m wide, 1 m below the lowest
    // ground, banks 10 m apart, 1 m above the highest, and the ends 5 m beyond the bed at bank
    // height, so that wherever the channel ends it lies above the ground and a cut leaves no
    // vertical step.
    static Tin channel(const Tin& ground) {
        const tin::core::Rect box = ground.boundingRect();
        const double xMid = std::round((box.xMin() + box.xMax()) / 2);
        const double yMid = std::round((box.yMin() + box.yMax()) / 2);
        double lowest = 1e300;
        double highest = -1e300;
        for (const auto& t : ground.allTriangles()) {
            for (int i = 0; i < 3; ++i) {
                lowest = std::min(lowest, t->point(i)->elevation());
                highest = std::max(highest, t->point(i)->elevation());
            }
        }
        const double low = lowest - 1.0;
        const double high = highest + 1.0;
        const double offsets[4] = {-5.0, -2.0, 2.0, 5.0};
        const double section[4] = {high, low, low, high};
        auto z = [&](int column, int row) { return column == 0 || column == 4 ? high : section[row]; };
        Tin tin;
        for (int i = 0; i < 4; ++i) {
            const double x0 = xMid - 10.0 + 5.0 * i;
            const double x1 = x0 + 5.0;
            for (int k = 0; k < 3; ++k) {
                const double y0 = yMid + offsets[k];
                const double y1 = yMid + offsets[k + 1];
                const Point a(x0, y0, z(i, k));
                const Point b(x1, y0, z(i + 1, k));
                const Point c(x1, y1, z(i + 1, k + 1));
                const Point d(x0, y1, z(i, k + 1));
                tin.addTriangle(a, b, c);
                tin.addTriangle(a, c, d);
            }
        }
        return tin;
    }

    // The merged TIN is the base less the removed plus the added triangles, nothing overlaps,
    // and the plan area is the base's.
    static void expectConsistentEdit(const Tin& base, const Tin& result, const Tin& added, const Tin& removed) {
        auto expected = facetCounts(base);
        for (const auto& [facet, count] : facetCounts(removed)) {
            expected[facet] -= count;
            if (expected[facet] == 0) {
                expected.erase(facet);
            }
        }
        for (const auto& [facet, count] : facetCounts(added)) {
            expected[facet] += count;
        }
        EXPECT_TRUE(expected == facetCounts(result)) << "base - removed + added is the result";
        EXPECT_FALSE(added.empty());
        EXPECT_FALSE(removed.empty());

        const double area = realdata::planArea(base);
        EXPECT_NEAR(realdata::planArea(result), area, 1e-9 * area);
        EXPECT_NEAR(realdata::planArea(added), realdata::planArea(removed), 1e-9 * area);
        const double outline = result.geosGeometry()->getArea();
        EXPECT_NEAR(outline, area, 1e-9 * area) << "no overlap, no gap";
    }

    // Inside the channel the result is the lower (cut) or higher (fill) of the two surfaces, or
    // the channel itself (overwrite); outside it the ground, or nothing after an overwrite.
    enum class Take { Lower, Higher, Designed };

    static void expectEnvelope(const Tin& result, Take take) {
        const tin::core::Rect box = s_ground->boundingRect();
        int inside = 0;
        for (double y = box.yMin() + 0.37; y < box.yMax(); y += 0.71) {
            for (double x = box.xMin() + 0.29; x < box.xMax(); x += 0.73) {
                const Point p(x, y);
                double merged = 0.0;
                const bool covered = result.interpolatedElevation(p, &merged);
                double designed = 0.0;
                const bool inChannel = s_channel->interpolatedElevation(p, &designed);
                inside += inChannel ? 1 : 0;
                if (take == Take::Designed) {
                    EXPECT_EQ(covered, inChannel) << x << ", " << y;
                    EXPECT_NEAR(covered ? merged : designed, designed, 1e-6) << x << ", " << y;
                    continue;
                }
                double ground = 0.0;
                if (!s_ground->interpolatedElevation(p, &ground)) {
                    continue;
                }
                ASSERT_TRUE(covered) << x << ", " << y;
                const double expected = !inChannel              ? ground
                                        : take == Take::Lower ? std::min(ground, designed)
                                                              : std::max(ground, designed);
                EXPECT_NEAR(merged, expected, 1e-6) << x << ", " << y;
            }
        }
        EXPECT_GT(inside, 100);
    }

    // Merges the channel into the ground by `merge` and checks the edit against the ground and the
    // volume change against the difference of the two surfaces (`minus` for a cut, `plus` for a fill).
    static void expectEditMatchesDifference(Tin (*merge)(Tin const&, Tin const&, bool*, Tin*, Tin*, Tin*),
                                            Take take, bool cut) {
        Edit e;
        const Tin result = merge(*s_ground, *s_channel, &e.ok, &e.taken, &e.added, &e.removed);
        ASSERT_TRUE(e.ok);
        expectConsistentEdit(*s_ground, result, e.added, e.removed);
        expectEnvelope(result, take);

        bool diffOk = false;
        double plus = 0.0;
        double minus = 0.0;
        tin::util::TinDifferences::calculateDifferences(*s_ground, *s_channel, &diffOk, &plus, &minus);
        ASSERT_TRUE(diffOk);
        const double volume = tin::util::TinDifferences::volume(*s_ground);
        const double expected = cut ? minus : plus;
        if (cut) {
            EXPECT_LT(minus, 0.0);
        } else {
            EXPECT_GT(plus, 0.0);
        }
        EXPECT_NEAR(tin::util::TinDifferences::volume(result) - volume, expected,
                    1e-6 * std::abs(expected) + 1e-10 * volume)
            << (cut ? "the cut removes exactly the volume above the channel"
                    : "the fill adds exactly the volume below the banks");
    }

    static Tin* s_ground;
    static Tin* s_channel;
};

Tin* RealDataMergeTest::s_ground = nullptr;
Tin* RealDataMergeTest::s_channel = nullptr;

TEST_F(RealDataMergeTest, ChannelCutIntoTheGround) {
    expectEditMatchesDifference(&tin::util::TinMerge::sub, Take::Lower, true);
}

TEST_F(RealDataMergeTest, ChannelBanksFilledOnTheGround) {
    expectEditMatchesDifference(&tin::util::TinMerge::add, Take::Higher, false);
}

// Overwrite keeps only where both surfaces exist: the channel itself, all of the ground there
// removed.
TEST_F(RealDataMergeTest, ChannelOverwritesTheGround) {
    Edit e;
    const Tin result = tin::util::TinMerge::overwrite(*s_ground, *s_channel, &e.ok, &e.taken, &e.added, &e.removed);
    ASSERT_TRUE(e.ok);
    const double channelArea = realdata::planArea(*s_channel);
    EXPECT_NEAR(realdata::planArea(result), channelArea, 1e-9 * channelArea);
    EXPECT_NEAR(realdata::planArea(e.taken), channelArea, 1e-9 * channelArea);
    EXPECT_NEAR(realdata::planArea(e.removed), realdata::planArea(*s_ground), 1e-9 * realdata::planArea(*s_ground));
    EXPECT_TRUE(facetCounts(result) == facetCounts(e.added));

    expectEnvelope(result, Take::Designed);
}

TEST_F(RealDataMergeTest, EditedSurfaceSurvivesConversionToPointsAndBack) {
    Edit e;
    const Tin cut = tin::util::TinMerge::sub(*s_ground, *s_channel, &e.ok, &e.taken, &e.added, &e.removed);
    ASSERT_TRUE(e.ok);

    // Every edge comes back as a breakline, so the triangulation has no choice left.
    const tin::core::PointSet set = tin::util::TinToPointSet::convert(cut);
    const Tin again = tin::util::PointSetToTin::convertCleanPointSet(set, false, false);
    EXPECT_TRUE(facetCounts(again) == facetCounts(cut));
    EXPECT_EQ(again.pointCount(), cut.pointCount());
}

// The soil-volume calculation of an edit against the ground it was made on: a cut is all cut and a
// fill all fill, each equal to the change of volume.
// The edited TIN's new vertices lie on the ground's edges (where the merge cut its triangles).
TEST_F(RealDataMergeTest, DifferencesOfEditedAgainstOriginalGroundAreTheEditsVolume) {
    const double volume = tin::util::TinDifferences::volume(*s_ground);
    for (const bool fill : {false, true}) {
        SCOPED_TRACE(fill ? "fill" : "cut");
        Edit e;
        const Tin edited = fill ? tin::util::TinMerge::add(*s_ground, *s_channel, &e.ok, &e.taken, &e.added, &e.removed)
                                : tin::util::TinMerge::sub(*s_ground, *s_channel, &e.ok, &e.taken, &e.added, &e.removed);
        ASSERT_TRUE(e.ok);
        const double change = tin::util::TinDifferences::volume(edited) - volume;

        bool diffOk = false;
        double plus = 0.0;
        double minus = 0.0;
        tin::util::TinDifferences::calculateDifferences(*s_ground, edited, &diffOk, &plus, &minus);
        ASSERT_TRUE(diffOk);
        const double tolerance = 1e-6 * std::abs(change) + 1e-10 * volume;
        EXPECT_NEAR(fill ? plus : minus, change, tolerance);
        EXPECT_NEAR(fill ? minus : plus, 0.0, tolerance);

        // The other way round the overlay runs with the TINs' roles swapped.
        tin::util::TinDifferences::calculateDifferences(edited, *s_ground, &diffOk, &plus, &minus);
        ASSERT_TRUE(diffOk);
        EXPECT_NEAR(fill ? minus : plus, -change, tolerance);
        EXPECT_NEAR(fill ? plus : minus, 0.0, tolerance);
    }
}

} // namespace
