// The profile cut of a cross section, against closed forms on a plane (the crossings with
// the grid lines x = 10k, y = 10k and x - y = 10k) and against an independent barycentric
// interpolation on a curved surface; degenerate sections give finite rows only.
#include "SectionsTestSupport.h"

#include "movarin/sections/CrossSectionItem.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <cmath>
#include <set>
#include <vector>

namespace varnel::test {
namespace {

using Rows = std::vector<CrossSectionLhTableRow>;

double plane(double x, double y)
{
    return 10.0 + 0.02 * x + 0.05 * y;
}

double wave(double x, double y)
{
    return 5.0 * std::sin(x / 17.0) * std::cos(y / 23.0);
}

/// A section outside any project: its TINs are the ones handed to it.
struct Section {
    Section(QPointF s, QPointF e)
        : start(s), end(e), item(QString(), tin::core::Point(s.x(), s.y()),
                                 tin::core::Point(e.x(), e.y()), nullptr)
    {
    }

    double length() const { return std::hypot(end.x() - start.x(), end.y() - start.y()); }
    /// The point at signed distance L from S towards E.
    QPointF at(double L) const
    {
        const double t = L / length();
        return start + t * (end - start);
    }

    QPointF start;
    QPointF end;
    CrossSectionItem item;
};

/// The L of every crossing of the segment from S + a·(E − S) to S + b·(E − S) with the grid
/// lines x = 10k, y = 10k and x − y = 10k inside [0, 100]², and of its ends where they lie
/// on the grid: the profile's L values in closed form.
std::vector<double> closedFormLs(const Section& s, double a, double b)
{
    const double dx = s.end.x() - s.start.x();
    const double dy = s.end.y() - s.start.y();
    std::vector<double> ts;
    const auto keep = [&](double t) {
        const double x = s.start.x() + t * dx;
        const double y = s.start.y() + t * dy;
        const double eps = 1e-9;
        if (t >= a - eps && t <= b + eps && x >= -eps && x <= 100.0 + eps && y >= -eps
            && y <= 100.0 + eps) {
            ts.push_back(t);
        }
    };
    keep(a);
    keep(b);
    for (int k = -10; k <= 10; ++k) {
        if (dx != 0.0) {
            keep((10.0 * k - s.start.x()) / dx);
        }
        if (dy != 0.0) {
            keep((10.0 * k - s.start.y()) / dy);
        }
        if (dx != dy) {
            keep((10.0 * k - s.start.x() + s.start.y()) / (dx - dy));
        }
    }
    std::vector<double> ls;
    for (double t : ts) {
        ls.push_back(t * s.length());
    }
    return ls;
}

/// The distinct values of `values`, those within `tolerance` of a smaller one dropped.
std::vector<double> distinct(std::vector<double> values, double tolerance = 1e-7)
{
    std::sort(values.begin(), values.end());
    std::vector<double> out;
    for (double v : values) {
        if (out.empty() || v - out.back() > tolerance) {
            out.push_back(v);
        }
    }
    return out;
}

std::vector<double> lsOf(const Rows& rows)
{
    std::vector<double> ls;
    for (const CrossSectionLhTableRow& row : rows) {
        ls.push_back(row.L);
    }
    return ls;
}

/// Every row enabled, finite, on the surface at S + L·u, and in ascending L.
void expectOnSurface(const Section& s, const Rows& rows, const Surface& z)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CrossSectionLhTableRow& row = rows[i];
        ASSERT_TRUE(std::isfinite(row.L) && std::isfinite(row.H)) << "row " << i;
        EXPECT_TRUE(row.enabled);
        const QPointF p = s.at(row.L);
        const std::optional<double> expected = gridElevation(z, p.x(), p.y());
        ASSERT_TRUE(expected.has_value()) << "row " << i << " lies off the grid";
        EXPECT_NEAR(row.H, *expected, 1e-9) << "row " << i << " at L " << row.L;
        if (i > 0) {
            EXPECT_LE(rows[i - 1].L, row.L) << "rows " << i - 1 << " and " << i;
        }
    }
}

TEST(CrossSectionProfileTest, PlaneProfileHasTheClosedFormCrossings)
{
    const tin::core::Tin tin = gridTin(plane);
    const Section s({10.5, 20.25}, {80.5, 70.75});

    const Rows rows = s.item.buildLhTable(&tin, false);
    expectOnSurface(s, rows, plane);
    const std::vector<double> expected = distinct(closedFormLs(s, 0.0, 1.0));
    const std::vector<double> got = distinct(lsOf(rows));
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i], expected[i], 1e-9);
    }
    EXPECT_EQ(rows.front().L, 0.0);
    EXPECT_NEAR(rows.back().L, s.length(), 1e-9);

    // Both extended ends lie off the grid: the rows end where the line leaves the grid.
    const Rows extended = s.item.buildLhTable(&tin, true);
    expectOnSurface(s, extended, plane);
    const std::vector<double> expectedExtended = distinct(closedFormLs(s, -1.0, 2.0));
    const std::vector<double> gotExtended = distinct(lsOf(extended));
    ASSERT_EQ(gotExtended.size(), expectedExtended.size());
    for (std::size_t i = 0; i < gotExtended.size(); ++i) {
        EXPECT_NEAR(gotExtended[i], expectedExtended[i], 1e-9);
    }
    EXPECT_GT(extended.front().L, -s.length());
    EXPECT_LT(extended.back().L, 2.0 * s.length());
}

TEST(CrossSectionProfileTest, ExtendedProfileSpansThreeSectionLengths)
{
    const tin::core::Tin tin = gridTin(plane);
    const Section s({20.5, 30.25}, {40.5, 35.75});
    const Rows rows = s.item.buildLhTable(&tin, true);
    expectOnSurface(s, rows, plane);
    EXPECT_NEAR(rows.front().L, -s.length(), 1e-9);
    EXPECT_NEAR(rows.back().L, 2.0 * s.length(), 1e-9);
    const std::vector<double> expected = distinct(closedFormLs(s, -1.0, 2.0));
    EXPECT_EQ(distinct(lsOf(rows)).size(), expected.size());
}

// No crossing is missed: between two consecutive rows the surface is one plane piece, so
// halfway it equals the mean of the two rows.
TEST(CrossSectionProfileTest, CurvedSurfaceRowsMatchAnIndependentInterpolation)
{
    const tin::core::Tin tin = gridTin(wave);
    for (const auto& [start, end] : {std::pair<QPointF, QPointF>{{3.3, 91.7}, {96.1, 7.4}},
                                     {{47.2, 2.5}, {52.9, 98.8}},
                                     {{-20.0, 33.3}, {120.0, 41.1}}}) {
        const Section s(start, end);
        for (bool extend : {false, true}) {
            const Rows rows = s.item.buildLhTable(&tin, extend);
            ASSERT_GT(rows.size(), 10u);
            expectOnSurface(s, rows, wave);
            for (std::size_t i = 1; i < rows.size(); ++i) {
                const QPointF mid = s.at((rows[i - 1].L + rows[i].L) / 2.0);
                EXPECT_NEAR(*gridElevation(wave, mid.x(), mid.y()),
                            (rows[i - 1].H + rows[i].H) / 2.0, 1e-9)
                    << "between rows " << i - 1 << " and " << i;
            }
        }
    }
}

TEST(CrossSectionProfileTest, SectionThroughAVertexGetsOneRowPerEdgeThere)
{
    const tin::core::Tin tin = gridTin(wave);
    // Through the node (20, 20) halfway, in no edge's direction.
    const Section s({15.0, 12.0}, {25.0, 28.0});
    const Rows rows = s.item.buildLhTable(&tin, false);
    expectOnSurface(s, rows, wave);

    std::set<std::pair<const tin::core::Point*, const tin::core::Point*>> edges;
    for (const auto& triangle : tin.allTriangles()) {
        for (int k = 0; k < 3; ++k) {
            const tin::core::Point* a = triangle->point(k).get();
            const tin::core::Point* b = triangle->point(k + 1).get();
            if ((a->x() == 20.0 && a->y() == 20.0) || (b->x() == 20.0 && b->y() == 20.0)) {
                edges.insert(std::minmax(a, b));
            }
        }
    }
    const double atVertex = s.length() / 2.0;
    Rows there;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(there),
                 [&](const CrossSectionLhTableRow& r) { return std::abs(r.L - atVertex) < 1e-9; });
    EXPECT_EQ(there.size(), edges.size());
    for (const CrossSectionLhTableRow& row : there) {
        EXPECT_EQ(row.L, there.front().L);
        EXPECT_EQ(row.H, wave(20.0, 20.0));
    }
}

TEST(CrossSectionProfileTest, DegenerateSectionsGiveFiniteRowsOnly)
{
    const tin::core::Tin tin = gridTin(plane);

    // S on a node: the first row is S itself, at L = -0.0.
    const Section onVertex({20.0, 20.0}, {35.0, 41.0});
    const Rows fromVertex = onVertex.item.buildLhTable(&tin, false);
    ASSERT_FALSE(fromVertex.empty());
    EXPECT_EQ(fromVertex.front().L, 0.0);
    EXPECT_TRUE(std::signbit(fromVertex.front().L));
    EXPECT_DOUBLE_EQ(fromVertex.front().H, plane(20.0, 20.0));
    expectOnSurface(onVertex, fromVertex, plane);

    // Wholly off the TIN.
    const Section off({150.0, 150.0}, {200.0, 180.0});
    EXPECT_TRUE(off.item.buildLhTable(&tin, true).empty());
    EXPECT_FALSE(off.item.intersectsTin(&tin));

    // Drawn from east to west: L still grows towards E.
    const Section westward({80.5, 40.2}, {10.3, 45.1});
    const Rows west = westward.item.buildLhTable(&tin, false);
    expectOnSurface(westward, west, plane);
    EXPECT_EQ(west.front().L, 0.0);
    EXPECT_NEAR(west.back().L, westward.length(), 1e-9);

    // Along TIN edges (a diagonal, a grid line): the edges along the section give no row,
    // the nodes on it come from the edges across.
    // Or within 1e-12 of one.
    for (const auto& [start, end] : {std::pair<QPointF, QPointF>{{5.0, 5.0}, {45.0, 45.0}},
                                     {{5.0, 30.0}, {95.0, 30.0}},
                                     {{5.0, 30.0}, {95.0, 30.0 + 1e-12}}}) {
        const Section along(start, end);
        const Rows rows = along.item.buildLhTable(&tin, false);
        expectOnSurface(along, rows, plane);
        const std::vector<double> got = distinct(lsOf(rows));
        const std::vector<double> expected = distinct(closedFormLs(along, 0.0, 1.0));
        ASSERT_EQ(got.size(), expected.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i], expected[i], 1e-9);
        }
        EXPECT_TRUE(along.item.intersectsTin(&tin));
    }

    // S = E, a null TIN and an empty one cut nothing.
    const Section point({30.0, 30.0}, {30.0, 30.0});
    EXPECT_TRUE(point.item.buildLhTable(&tin, true).empty());
    EXPECT_FALSE(point.item.intersectsTin(&tin));
    const tin::core::Tin empty;
    EXPECT_TRUE(westward.item.buildLhTable(nullptr, false).empty());
    EXPECT_TRUE(westward.item.buildLhTable(&empty, false).empty());
}

TEST(CrossSectionProfileTest, SignedLFollowsTheAxisTheSectionRunsAlong)
{
    // Mostly along y, drawn downwards: points below S towards E are positive, above S
    // negative, whatever their x.
    const Section s({10.0, 50.0}, {12.0, 10.0});
    EXPECT_DOUBLE_EQ(s.item.signedL(tin::core::Point2D(11.0, 30.0)), std::hypot(1.0, 20.0));
    EXPECT_DOUBLE_EQ(s.item.signedL(tin::core::Point2D(9.0, 60.0)), -std::hypot(1.0, 10.0));
    // A tie of the two products takes x.
    const Section diagonal({0.0, 0.0}, {10.0, -10.0});
    EXPECT_GT(diagonal.item.signedL(tin::core::Point2D(1.0, -1.0)), 0.0);
    EXPECT_LT(diagonal.item.signedL(tin::core::Point2D(-1.0, 1.0)), 0.0);
    EXPECT_TRUE(std::signbit(diagonal.item.signedL(tin::core::Point2D(0.0, 0.0))));

    const tin::core::Polyline extended = s.item.polyline(true);
    ASSERT_EQ(extended.pointsCount(), 2);
    EXPECT_DOUBLE_EQ(s.item.signedL(extended.points()[0]), -s.length());
    EXPECT_DOUBLE_EQ(s.item.signedL(extended.points()[1]), 2.0 * s.length());
    EXPECT_EQ(s.item.myBoundingBox(), QRectF(10.0, 10.0, 2.0, 40.0));
}

// In a project the current profile is cut from the edited TIN and the base profile from the
// base TIN; a section outside a project cuts nothing.
class CrossSectionProjectProfileTest : public SectionsTest {};

TEST_F(CrossSectionProjectProfileTest, ProfilesComeFromTheProjectsTins)
{
    root()->baseTinItem()->setTin(new tin::core::Tin(gridTin(plane)));
    root()->tinItem()->setTin(new tin::core::Tin(gridTin(wave)));
    CrossSectionItem* section = addSection(QStringLiteral("K1"), {12.5, 3.0}, {60.0, 77.7});
    const Section alone({12.5, 3.0}, {60.0, 77.7});

    // Two TINs of their own point objects: rows at one L may come in another order.
    const auto same = [](const Rows& a, const Rows& b) {
        return a.size() == b.size()
               && std::equal(a.begin(), a.end(), b.begin(), [](const auto& x, const auto& y) {
                      return std::abs(x.L - y.L) < 1e-12 && std::abs(x.H - y.H) < 1e-12;
                  });
    };
    const tin::core::Tin base = gridTin(plane);
    const tin::core::Tin edited = gridTin(wave);
    EXPECT_TRUE(same(section->currentLhTable(false), alone.item.buildLhTable(&edited, false)));
    EXPECT_TRUE(same(section->baseLhTable(true), alone.item.buildLhTable(&base, true)));
    EXPECT_FALSE(section->currentLhTable(false).empty());
    EXPECT_TRUE(section->intersectsTin(root()->tinItem()->tin()));

    EXPECT_TRUE(alone.item.currentLhTable(false).empty());
    EXPECT_TRUE(alone.item.baseLhTable(true).empty());
}

} // namespace
} // namespace varnel::test
