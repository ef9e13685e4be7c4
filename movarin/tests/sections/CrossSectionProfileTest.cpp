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
#include <array>
#include <cmath>
#include <map>
#include <memory>
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
    QPointF at(double L) const { return start + L / length() * (end - start); }

    QPointF start;
    QPointF end;
    CrossSectionItem item;
};

/// The distinct L of the crossings of the segment S + t·(E − S), a <= t <= b, with the grid
/// lines x = 10k, y = 10k and x − y = 10k inside [0, 100]², and of its ends on the grid.
std::vector<double> closedFormLs(const Section& s, double a, double b)
{
    const QPointF d = s.end - s.start;
    std::set<long long> seen; // L in units of 1e-7, so that crossings at a node count once
    std::vector<double> ls;
    const auto keep = [&](double t) {
        const QPointF p = s.start + t * d;
        const double eps = 1e-9;
        if (t >= a - eps && t <= b + eps && p.x() >= -eps && p.x() <= 100.0 + eps
            && p.y() >= -eps && p.y() <= 100.0 + eps
            && seen.insert(std::llround(t * s.length() * 1e7)).second) {
            ls.push_back(t * s.length());
        }
    };
    keep(a);
    keep(b);
    for (int k = -10; k <= 10; ++k) {
        keep((10.0 * k - s.start.x()) / d.x());
        keep((10.0 * k - s.start.y()) / d.y());
        keep((10.0 * k - s.start.x() + s.start.y()) / (d.x() - d.y()));
    }
    std::sort(ls.begin(), ls.end());
    return ls;
}

/// Every row enabled, finite, on the surface at S + L·u and in ascending L.
void expectProfile(const Section& s, const Rows& rows, const Surface& z)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CrossSectionLhTableRow& row = rows[i];
        ASSERT_TRUE(std::isfinite(row.L) && std::isfinite(row.H)) << "row " << i;
        EXPECT_TRUE(row.enabled);
        const QPointF p = s.at(row.L);
        const std::optional<double> expected = gridElevation(z, p.x(), p.y());
        ASSERT_TRUE(expected.has_value()) << "row " << i << " lies off the grid";
        EXPECT_NEAR(row.H, *expected, 1e-9) << "row " << i << " at L " << row.L;
        EXPECT_TRUE(i == 0 || rows[i - 1].L <= row.L) << "rows " << i - 1 << " and " << i;
    }
}

/// `expectProfile` on the plane, and the distinct L are those of `closedFormLs` over [a, b].
void expectPlaneProfile(const Section& s, const Rows& rows, double a = 0.0, double b = 1.0)
{
    expectProfile(s, rows, plane);
    std::vector<double> ls;
    for (const CrossSectionLhTableRow& row : rows) {
        if (ls.empty() || row.L - ls.back() > 1e-7) {
            ls.push_back(row.L);
        }
    }
    const std::vector<double> expected = closedFormLs(s, a, b);
    ASSERT_EQ(ls.size(), expected.size());
    for (std::size_t i = 0; i < ls.size(); ++i) {
        EXPECT_NEAR(ls[i], expected[i], 1e-9);
    }
}

TEST(CrossSectionProfileTest, PlaneProfileHasTheClosedFormCrossings)
{
    const tin::core::Tin tin = gridTin(plane);
    const Section s({10.5, 20.25}, {80.5, 70.75});
    const Rows rows = s.item.buildLhTable(&tin, false);
    expectPlaneProfile(s, rows);
    EXPECT_EQ(rows.front().L, 0.0);
    EXPECT_NEAR(rows.back().L, s.length(), 1e-9);

    // Extended, both ends lie off the grid: the rows end where the line leaves it.
    expectPlaneProfile(s, s.item.buildLhTable(&tin, true), -1.0, 2.0);
    // Extended ends on the grid give the rows at -|SE| and 2|SE|.
    const Section shorter({20.5, 30.25}, {40.5, 35.75});
    const Rows extended = shorter.item.buildLhTable(&tin, true);
    expectPlaneProfile(shorter, extended, -1.0, 2.0);
    EXPECT_NEAR(extended.front().L, -shorter.length(), 1e-9);
    EXPECT_NEAR(extended.back().L, 2.0 * shorter.length(), 1e-9);
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
            expectProfile(s, rows, wave);
            for (std::size_t i = 1; i < rows.size(); ++i) {
                const QPointF mid = s.at((rows[i - 1].L + rows[i].L) / 2.0);
                EXPECT_NEAR(*gridElevation(wave, mid.x(), mid.y()),
                            (rows[i - 1].H + rows[i].H) / 2.0, 1e-9)
                    << "between rows " << i - 1 << " and " << i;
            }
        }
    }
}

// A block 5 m high on the plane over [30, 70]², its own vertices standing on the plane's
// along its rim: a vertical step, two rows at one L where a section crosses the rim. The
// profile goes up the step where it enters the block and down where it leaves, so that
// between every two consecutive rows it runs on the TIN, whichever order the TIN was built
// in and whichever way the section runs.
TEST(CrossSectionProfileTest, ProfileClimbsAVerticalStepInTheOrderItMeetsItsSides)
{
    const auto block = [](double x, double y) {
        return x >= 30.0 && x <= 70.0 && y >= 30.0 && y <= 70.0;
    };
    const auto sheet = [](bool inside) {
        std::vector<std::shared_ptr<tin::core::Point>> nodes;
        for (int j = 0; j <= 10; ++j) {
            for (int i = 0; i <= 10; ++i) {
                const double x = 10.0 * i, y = 10.0 * j;
                nodes.push_back(std::make_shared<tin::core::Point>(x, y, plane(x, y) + (inside ? 5.0 : 0.0)));
            }
        }
        return nodes;
    };
    const auto outer = sheet(false), inner = sheet(true);
    std::vector<std::array<std::shared_ptr<tin::core::Point>, 3>> triangles;
    for (int j = 0; j < 10; ++j) {
        for (int i = 0; i < 10; ++i) {
            const bool in = block(10.0 * i + 5.0, 10.0 * j + 5.0);
            const auto& nodes = in ? inner : outer;
            const auto at = [&](int a, int b) { return nodes[static_cast<std::size_t>(b * 11 + a)]; };
            triangles.push_back({at(i, j), at(i + 1, j), at(i + 1, j + 1)});
            triangles.push_back({at(i, j), at(i + 1, j + 1), at(i, j + 1)});
        }
    }
    const auto elevation = [&](double x, double y) {
        return plane(x, y) + (x > 30.0 && x < 70.0 && y > 30.0 && y < 70.0 ? 5.0 : 0.0);
    };
    for (bool reversed : {false, true}) {
        tin::core::Tin tin;
        for (std::size_t k = 0; k < triangles.size(); ++k) {
            const auto& t = triangles[reversed ? triangles.size() - 1 - k : k];
            tin.addTriangle(t[0], t[1], t[2]);
        }
        for (const auto& [start, end] : {std::pair<QPointF, QPointF>{{5.0, 45.0}, {95.0, 52.0}},
                                         {{95.0, 52.0}, {5.0, 45.0}},
                                         {{12.0, 88.0}, {91.0, 14.0}},
                                         {{50.0, 50.0}, {50.5, 99.0}},
                                         {{33.0, 2.0}, {36.0, 97.0}}}) {
            SCOPED_TRACE(::testing::Message() << (reversed ? "reversed " : "") << start.x() << "," << start.y()
                                              << " to " << end.x() << "," << end.y());
            const Section s(start, end);
            const Rows rows = s.item.buildLhTable(&tin, false);
            ASSERT_GT(rows.size(), 5u);
            int steps = 0;
            for (std::size_t i = 1; i < rows.size(); ++i) {
                if (rows[i].L - rows[i - 1].L < 1e-9) {
                    steps += std::abs(rows[i].H - rows[i - 1].H) > 1.0 ? 1 : 0;
                    continue;
                }
                const QPointF mid = s.at((rows[i - 1].L + rows[i].L) / 2.0);
                EXPECT_NEAR(elevation(mid.x(), mid.y()), (rows[i - 1].H + rows[i].H) / 2.0, 1e-9)
                    << "between rows " << i - 1 << " and " << i << " at L " << rows[i].L;
            }
            EXPECT_GE(steps, 1);
        }
    }
}

TEST(CrossSectionProfileTest, DegenerateSectionsGiveFiniteRowsOnly)
{
    const tin::core::Tin tin = gridTin(plane);

    // Through the node (20, 20) halfway, in no edge's direction: one row per edge there.
    const Section through({15.0, 12.0}, {25.0, 28.0});
    const Rows crossing = through.item.buildLhTable(&tin, false);
    expectPlaneProfile(through, crossing);
    std::set<std::pair<const tin::core::Point*, const tin::core::Point*>> edges;
    for (const auto& triangle : tin.allTriangles()) {
        for (int k = 0; k < 3; ++k) {
            const auto a = triangle->point(k).get();
            const auto b = triangle->point(k + 1).get();
            if ((a->x() == 20.0 && a->y() == 20.0) || (b->x() == 20.0 && b->y() == 20.0)) {
                edges.insert(std::minmax(a, b));
            }
        }
    }
    EXPECT_EQ(std::count_if(crossing.begin(), crossing.end(),
                            [&](const CrossSectionLhTableRow& r) {
                                return r.L == through.length() / 2.0 && r.H == plane(20.0, 20.0);
                            }),
              static_cast<long>(edges.size()));

    // S on a node: the first row is S itself, at L = -0.0.
    const Section onVertex({20.0, 20.0}, {35.0, 41.0});
    const Rows fromVertex = onVertex.item.buildLhTable(&tin, false);
    expectPlaneProfile(onVertex, fromVertex);
    EXPECT_TRUE(fromVertex.front().L == 0.0 && std::signbit(fromVertex.front().L));

    // Wholly off the TIN.
    const Section off({150.0, 150.0}, {200.0, 180.0});
    EXPECT_TRUE(off.item.buildLhTable(&tin, true).empty());
    EXPECT_FALSE(off.item.intersectsTin(&tin));

    // Drawn from east to west: L still grows towards E.
    const Section westward({80.5, 40.2}, {10.3, 45.1});
    const Rows west = westward.item.buildLhTable(&tin, false);
    expectPlaneProfile(westward, west);
    EXPECT_NEAR(west.back().L, westward.length(), 1e-9);

    // Along TIN edges (a diagonal, a grid line) or within 1e-12 of one: the edges along the
    // section give no row, the nodes on it come from the edges across.
    for (const auto& [start, end] : {std::pair<QPointF, QPointF>{{5.0, 5.0}, {45.0, 45.0}},
                                     {{5.0, 30.0}, {95.0, 30.0}},
                                     {{5.0, 30.0}, {95.0, 30.0 + 1e-12}}}) {
        const Section along(start, end);
        expectPlaneProfile(along, along.item.buildLhTable(&tin, false));
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

// L follows the axis along which the section runs most; a tie takes x.
TEST(CrossSectionProfileTest, SignedLFollowsTheAxisTheSectionRunsAlong)
{
    const Section down({10.0, 50.0}, {12.0, 10.0});
    EXPECT_DOUBLE_EQ(down.item.signedL(tin::core::Point2D(9.0, 30.0)), std::hypot(1.0, 20.0));
    EXPECT_DOUBLE_EQ(down.item.signedL(tin::core::Point2D(13.0, 60.0)), -std::hypot(3.0, 10.0));
    const Section diagonal({0.0, 0.0}, {10.0, -10.0});
    EXPECT_GT(diagonal.item.signedL(tin::core::Point2D(1.0, -1.0)), 0.0);
    EXPECT_LT(diagonal.item.signedL(tin::core::Point2D(-1.0, 1.0)), 0.0);
    EXPECT_EQ(down.item.myBoundingBox(), QRectF(10.0, 10.0, 2.0, 40.0));
}

// An edge holds its ends in the order of their addresses, so a TIN read back from its archive
// (new point objects) may hold them the other way round; the rows must not change with it: a
// reopened project would show and export other numbers. At map coordinates a crossing
// computed from the other end differs in the last bits.
TEST(CrossSectionProfileTest, TheSameTrianglesGiveTheSameRowsWhicheverWayTheirEdgesRun)
{
    // The curved grid carried to map coordinates and jittered, its points stored twice in
    // opposite orders: every edge of one TIN runs the other way in the other.
    const tin::core::Tin grid = gridTin(wave);
    std::map<const tin::core::Point*, std::size_t> index;
    auto forwardPoints = std::make_shared<std::vector<tin::core::Point>>();
    for (const auto& triangle : grid.allTriangles()) {
        for (int k = 0; k < 3; ++k) {
            const tin::core::Point& p = *triangle->point(k);
            if (index.emplace(&p, forwardPoints->size()).second) {
                const double x = 639900.0 + p.x() + 0.61 * std::sin(0.73 * p.x() + p.y());
                const double y = 485100.0 + p.y() + 0.53 * std::cos(0.57 * p.y() + p.x());
                forwardPoints->emplace_back(x, y, 80.0 + p.elevation());
            }
        }
    }
    const std::size_t count = forwardPoints->size();
    auto backwardPoints = std::make_shared<std::vector<tin::core::Point>>(
        forwardPoints->rbegin(), forwardPoints->rend());
    const auto build = [&](const std::shared_ptr<std::vector<tin::core::Point>>& points,
                           bool reversed) {
        tin::core::Tin tin;
        for (const auto& triangle : grid.allTriangles()) {
            std::shared_ptr<tin::core::Point> corners[3];
            for (int k = 0; k < 3; ++k) {
                const std::size_t i = index.at(triangle->point(k).get());
                corners[k] = std::shared_ptr<tin::core::Point>(
                    points, &(*points)[reversed ? count - 1 - i : i]);
            }
            tin.addTriangle(corners[0], corners[1], corners[2]);
        }
        return tin;
    };
    const tin::core::Tin forward = build(forwardPoints, false);
    const tin::core::Tin backward = build(backwardPoints, true);

    for (const auto& [start, end] :
         {std::pair<QPointF, QPointF>{{639903.3, 485191.7}, {639996.1, 485107.4}},
          {{639947.2, 485102.5}, {639952.9, 485198.8}},
          {{639880.0, 485133.3}, {640020.0, 485141.1}}}) {
        const Section s(start, end);
        for (bool extend : {false, true}) {
            const Rows a = s.item.buildLhTable(&forward, extend);
            const Rows b = s.item.buildLhTable(&backward, extend);
            ASSERT_GT(a.size(), 10u);
            ASSERT_EQ(a.size(), b.size());
            for (std::size_t i = 0; i < a.size(); ++i) {
                EXPECT_EQ(a[i].L, b[i].L) << "row " << i;
                EXPECT_EQ(a[i].H, b[i].H) << "row " << i;
            }
        }
    }
}

// In a project the current profile is cut from the edited TIN and the base profile from the
// base TIN; a section outside a project cuts nothing.
class CrossSectionProjectProfileTest : public SectionsTest {};

TEST_F(CrossSectionProjectProfileTest, ProfilesComeFromTheProjectsTins)
{
    root()->baseTinItem()->setTin(new tin::core::Tin(gridTin(plane)));
    root()->tinItem()->setTin(new tin::core::Tin(gridTin(wave)));
    const Section s({12.5, 3.0}, {60.0, 77.7});
    CrossSectionItem* section = addSection(QStringLiteral("K1"), s.start, s.end);
    expectProfile(s, section->currentLhTable(false), wave);
    expectPlaneProfile(s, section->baseLhTable(true), -1.0, 2.0);
    EXPECT_FALSE(section->currentLhTable(false).empty());
    EXPECT_TRUE(s.item.currentLhTable(false).empty());
    EXPECT_TRUE(s.item.baseLhTable(true).empty());
}

} // namespace
} // namespace varnel::test
