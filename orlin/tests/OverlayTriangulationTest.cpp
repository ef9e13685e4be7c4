#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "OverlayTestSupport.h"
#include "orlin/core/Edge2D.h"
#include "orlin/core/Edge2DFactory.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Point2DIRepository.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Tin2D.h"
#include "orlin/core/Triangle2D.h"
#include "orlin/util/OverlayTriangulation.h"

using namespace tin::core;
using tin::util::OverlayTriangulation;
using tin::util::SplitRecord;
using overlaytest::makeTin;

namespace {

struct Overlay {
    Overlay(Tin const& first, Tin const& second)
        : factory(&repository), first2D(first, &repository, &factory),
          second2D(second, &repository, &factory)
    {
        OverlayTriangulation::intersectTins(first, second, first2D, second2D, &segments, &records,
                                            &firstLow, &firstHigh, &secondLow, &secondHigh,
                                            &repository, &factory);
    }

    std::shared_ptr<Edge2D> edge(double x1, double y1, double x2, double y2)
    {
        return factory.factory(Point2D(x1, y1), Point2D(x2, y2));
    }

    std::vector<SplitRecord> recordsAt(double x, double y) const
    {
        std::vector<SplitRecord> found;
        for (auto const& r : records) {
            if (std::abs(r.point->x() - x) < 1e-9 && std::abs(r.point->y() - y) < 1e-9) {
                found.push_back(r);
            }
        }
        return found;
    }

    Point2DIRepository repository;
    Edge2DFactory factory;
    Tin2D first2D;
    Tin2D second2D;
    std::vector<std::shared_ptr<Edge2D>> segments;
    std::vector<SplitRecord> records;
    int firstLow = 0, firstHigh = 0, secondLow = 0, secondHigh = 0;
};

bool hasEnds(Edge2D const& e, double x1, double y1, double x2, double y2, double tolerance = 1e-9)
{
    auto near = [&](Point2DI const& p, double x, double y) {
        return std::abs(p.x() - x) <= tolerance && std::abs(p.y() - y) <= tolerance;
    };
    return (near(*e.point1(), x1, y1) && near(*e.point2(), x2, y2)) ||
           (near(*e.point1(), x2, y2) && near(*e.point2(), x1, y1));
}

// The triangle A = (0,0), (4,0), (0,4) at elevation 0, and the triangle B = (1,-1), (5,-1),
// (1,5) on the plane z = a + b x + c y. Their overlap is the single overlay triangle
// (1,0), (4,0), (1,3), whose sides lie on A's bottom, A's hypotenuse and B's left side.
Tin flatA()
{
    return makeTin({{0, 0, 0}, {4, 0, 0}, {0, 4, 0}}, {{0, 1, 2}});
}

Tin planeB(double a, double b, double c)
{
    auto z = [&](double x, double y) { return a + b * x + c * y; };
    return makeTin({{1, -1, z(1, -1)}, {5, -1, z(5, -1)}, {1, 5, z(1, 5)}}, {{0, 1, 2}});
}

}  // namespace

TEST(OverlayTriangulationTest, EdgeIdBoundsCoverBothNetworks)
{
    Tin a = flatA();
    Tin b = planeB(1, 0, 0);
    Overlay o(a, b);
    EXPECT_EQ(o.firstLow, 2);
    EXPECT_EQ(o.firstHigh, 4);
    EXPECT_EQ(o.secondLow, 5);
    EXPECT_EQ(o.secondHigh, 7);
    // Every TIN side carries its number again after the runs.
    for (int id = 2; id <= 7; ++id) {
        auto e = OverlayTriangulation::findEdgeById(id, o.first2D, o.second2D,
                                                    {o.firstLow, o.firstHigh, o.secondLow, o.secondHigh});
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->id(), id);
    }
    // B lies above A everywhere: no crossing segment.
    EXPECT_TRUE(o.segments.empty());
}

TEST(OverlayTriangulationTest, TwoCrossingEdgesGiveFourSplitRecords)
{
    // B's left side (x = 3) crosses A's bottom at (3, 0); nothing else crosses there.
    Tin a = flatA();
    Tin b = makeTin({{3, -1, 1}, {7, -1, 1}, {3, 0.5, 1}}, {{0, 1, 2}});
    Overlay o(a, b);
    auto at = o.recordsAt(3, 0);
    ASSERT_EQ(at.size(), 4u);
    auto bottom = o.edge(0, 0, 4, 0);
    auto left = o.edge(3, -1, 3, 0.5);
    std::map<Edge2D*, int> perEdge;
    for (auto const& r : at) {
        perEdge[r.edge.get()]++;
        EXPECT_EQ(r.point, at.front().point);
    }
    EXPECT_EQ(perEdge[bottom.get()], 2);
    EXPECT_EQ(perEdge[left.get()], 2);
    for (auto const& r : at) {
        EXPECT_DOUBLE_EQ(r.position, r.edge == bottom ? 0.75 : 1.0 / 1.5);
    }

    auto map = OverlayTriangulation::buildSplitMap(o.records, &o.factory);
    ASSERT_EQ(map.count(bottom), 1u);
    auto const& chain = map.at(bottom);
    ASSERT_EQ(chain.size(), 2u);
    EXPECT_TRUE(hasEnds(*chain[0], 0, 0, 3, 0));
    EXPECT_TRUE(hasEnds(*chain[1], 3, 0, 4, 0));
    ASSERT_EQ(map.count(left), 1u);
    EXPECT_EQ(map.at(left).size(), 2u);

    tin::util::Edge2DSet split;
    OverlayTriangulation::addSplitEdge(&split, bottom, map);
    EXPECT_EQ(split.count(bottom), 0u);
    EXPECT_EQ(split.size(), 2u);
}

TEST(OverlayTriangulationTest, SplitMapIgnoresRecordsAtEdgeEnds)
{
    Point2DIRepository repository;
    Edge2DFactory factory(&repository);
    auto p = repository.add(Point2D(0, 0)), q = repository.add(Point2D(4, 0)),
         m = repository.add(Point2D(1, 0));
    auto e = factory.factory(p, q);
    // A record at the edge's own second point would otherwise end the chain in a null edge.
    std::vector<SplitRecord> records{{q, 1.0, e}, {m, 0.25, e}, {m, 0.25, e}};
    auto map = OverlayTriangulation::buildSplitMap(records, &factory);
    ASSERT_EQ(map.count(e), 1u);
    EXPECT_EQ(map.at(e).size(), 2u);
    // Only end-point records: nothing to cut.
    auto none = OverlayTriangulation::buildSplitMap({{p, 0.0, e}, {q, 1.0, e}}, &factory);
    EXPECT_TRUE(none.empty());

    e->setId(9);
    std::set<std::shared_ptr<Edge2D>> edges;
    OverlayTriangulation::addSubEdges(&edges, e, map);
    ASSERT_EQ(edges.size(), 2u);
    for (auto const& sub : edges) {
        EXPECT_EQ(sub->id(), 9);
    }
}

// d = zA - zB = 2 - x on the overlap: negative at (4,0), positive at (1,0) and (1,3). The
// mirrored plane gives the mirrored pattern; both must cut A's edges (the TIN edges behind
// the overlay sides), not the overlay's sub-edges.
class CrossingOnTinEdge : public ::testing::TestWithParam<double> {};

TEST_P(CrossingOnTinEdge, RecordsNameTheTinEdgeInBothOrientations)
{
    double const sign = GetParam();
    Tin a = flatA();
    Tin b = planeB(-2 * sign, sign, 0);  // zB = sign * (x - 2)
    Overlay o(a, b);
    ASSERT_EQ(o.segments.size(), 1u);
    EXPECT_TRUE(hasEnds(*o.segments[0], 2, 0, 2, 2));

    auto bottom = o.edge(0, 0, 4, 0);
    auto hypotenuse = o.edge(0, 4, 4, 0);
    auto atBottom = o.recordsAt(2, 0);
    auto atHypotenuse = o.recordsAt(2, 2);
    ASSERT_EQ(atBottom.size(), 1u);
    ASSERT_EQ(atHypotenuse.size(), 1u);
    EXPECT_EQ(atBottom[0].edge, bottom);
    EXPECT_DOUBLE_EQ(atBottom[0].position, 0.5);
    EXPECT_EQ(atHypotenuse[0].edge, hypotenuse);
    EXPECT_NEAR(atHypotenuse[0].position, 0.5, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(BothSigns, CrossingOnTinEdge, ::testing::Values(1.0, -1.0));

TEST(OverlayTriangulationTest, ZeroAtOneVertexGivesSegmentToOppositeSide)
{
    // d = 1 - x + y: 0 at (1,0), -3 at (4,0), +3 at (1,3).
    Tin a = flatA();
    Tin b = planeB(-1, 1, -1);
    Overlay o(a, b);
    ASSERT_EQ(o.segments.size(), 1u);
    EXPECT_TRUE(hasEnds(*o.segments[0], 1, 0, 2.5, 1.5));
    auto records = o.recordsAt(2.5, 1.5);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].edge, o.edge(0, 4, 4, 0));
    EXPECT_NEAR(records[0].position, 0.625, 1e-12);
}

TEST(OverlayTriangulationTest, ZeroAlongASideGivesThatSide)
{
    // d = 1 - x: zero along the overlap's side x = 1, negative at (4,0).
    Tin a = flatA();
    Tin b = planeB(-1, 1, 0);
    Overlay o(a, b);
    ASSERT_EQ(o.segments.size(), 1u);
    EXPECT_EQ(o.segments[0], o.edge(1, 0, 1, 3));
}

TEST(OverlayTriangulationTest, CrossingNearAVertexSnapsOntoIt)
{
    // d = 1e-5 at (1,0), -1 at (4,0), 1 at (1,3): the crossing on (1,0)-(4,0) lies 3e-5 from
    // (1,0), a fraction below 1e-4 of the side, and lands on the vertex.
    double const b = -(1 + 1e-5) / 3.0;
    double const a = 1e-5 - b;
    double const c = (1 - 1e-5) / 3.0;
    Tin ta = flatA();
    Tin tb = planeB(-a, -b, -c);
    Overlay o(ta, tb);
    ASSERT_EQ(o.segments.size(), 1u);
    auto const vertex = o.repository.get(Point2D(1, 0));
    ASSERT_NE(vertex, nullptr);
    auto const& s = *o.segments[0];
    EXPECT_TRUE(s.point1() == vertex || s.point2() == vertex);
    EXPECT_TRUE(hasEnds(s, 1, 0, 2.5, 1.5, 1e-6));
}

TEST(OverlayTriangulationTest, PointsOnEdgesAgreeWithAScanForFarClustersOfShortEdges)
{
    // Two clusters a million units apart, joined by one long edge through points placed on it:
    // the cell grid must stay small and still find every point on every edge, in order.
    tin::core::Point2DIRepository repository;
    tin::core::Edge2DFactory factory(&repository);
    std::vector<std::shared_ptr<tin::core::Point2DI>> points;
    for (double base : {0.0, 1e6}) {
        for (int i = 0; i < 30; ++i) {
            for (int j = 0; j < 30; ++j) {
                points.push_back(repository.add(tin::core::Point2D(base + i * 1e-3, j * 1e-3)));
            }
        }
    }
    for (int k = 1; k < 7; ++k) {
        points.push_back(repository.add(tin::core::Point2D(k * 1e5, 0.0)));
    }
    std::vector<std::shared_ptr<tin::core::Edge2D>> edges;
    for (std::size_t i = 0; i + 31 < 900; i += 7) {
        edges.push_back(factory.factory(points[i], points[i + 31]));  // diagonal of a cell
        edges.push_back(factory.factory(points[i], points[i + 2]));   // through one point
    }
    auto check = [&points](std::vector<std::shared_ptr<tin::core::Edge2D>> const& edges) {
        auto const found = OverlayTriangulation::pointsOnEdges(points, edges);
        EXPECT_EQ(found.size(), edges.size());
        for (std::size_t k = 0; k < edges.size() && k < found.size(); ++k) {
            auto const& a = *edges[k]->point1();
            auto const& b = *edges[k]->point2();
            double const length = std::sqrt(edges[k]->lengthSqr());
            std::vector<std::pair<double, tin::core::Point2DI const*>> expected;
            for (auto const& p : points) {
                double const px = p->x() - a.x(), py = p->y() - a.y();
                double const along = (px * (b.x() - a.x()) + py * (b.y() - a.y())) / length;
                double const off = std::abs((b.x() - a.x()) * py - (b.y() - a.y()) * px) / length;
                if (p.get() != &a && p.get() != &b && along > OverlayTriangulation::ON_EDGE_DISTANCE &&
                    along < length - OverlayTriangulation::ON_EDGE_DISTANCE &&
                    off <= OverlayTriangulation::ON_EDGE_DISTANCE) {
                    expected.emplace_back(along, p.get());
                }
            }
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(found[k].size(), expected.size()) << "edge " << k;
            for (std::size_t j = 0; j < expected.size() && j < found[k].size(); ++j) {
                EXPECT_EQ(found[k][j].get(), expected[j].second);
            }
        }
        return found;
    };
    // Short edges only: cells of about their length would number half a million.
    check(edges);
    edges.push_back(factory.factory(points[0], points[900]));  // the long bridge along y = 0
    auto const found = check(edges);
    ASSERT_EQ(found.size(), edges.size());
    // The bridge passes the 29 other points of the first cluster's bottom row and the six
    // points between the clusters.
    EXPECT_EQ(found.back().size(), 29u + 6u);
}

TEST(OverlayTriangulationTest, SplitEdgesCutsAsTheFullSplitMapDoes)
{
    // Two wavy grids crossing each other along closed curves: their records cut most edges of
    // both. Records filed against sub-edges as well make chains nest.
    auto grid = [](double x0, double y0, int n, double step, double wave) {
        std::vector<overlaytest::Vertex> vertices;
        std::vector<overlaytest::Corners> triangles;
        for (int j = 0; j < n; ++j) {
            for (int i = 0; i < n; ++i) {
                double const x = x0 + i * step, y = y0 + j * step;
                vertices.push_back({x, y, wave * std::sin(x * 1.3) * std::cos(y * 0.9)});
            }
        }
        for (int j = 0; j + 1 < n; ++j) {
            for (int i = 0; i + 1 < n; ++i) {
                int const k = j * n + i;
                triangles.push_back({k, k + 1, k + n + 1});
                triangles.push_back({k, k + n + 1, k + n});
            }
        }
        return makeTin(vertices, triangles);
    };
    Tin a = grid(0, 0, 9, 1.0, 0.5);
    Tin b = grid(2.3, 1.7, 7, 0.9, -0.7);
    Overlay o(a, b);
    ASSERT_GT(o.records.size(), 20u);

    std::vector<std::shared_ptr<Edge2D>> edges;
    for (Tin2D const* t2 : {&o.first2D, &o.second2D}) {
        for (auto const& t : t2->triangles()) {
            for (int i = 0; i < 3; ++i) {
                edges.push_back(t->edge(i));
            }
        }
    }
    std::vector<SplitRecord> records = o.records;
    auto const firstMap = OverlayTriangulation::buildSplitMap(records, &o.factory);
    int nested = 0;
    for (auto const& entry : firstMap) {
        auto const& sub = entry.second.front();
        Point2D const middle((sub->point1()->x() + sub->point2()->x()) / 2,
                             (sub->point1()->y() + sub->point2()->y()) / 2);
        records.push_back(SplitRecord{o.repository.add(middle), 0.5, sub});
        if (++nested == 10) {
            break;
        }
    }
    ASSERT_EQ(nested, 10);

    auto const map = OverlayTriangulation::buildSplitMap(records, &o.factory);
    tin::util::Edge2DSet expected;
    for (auto const& e : edges) {
        OverlayTriangulation::addSplitEdge(&expected, e, map);
    }
    auto const cut = OverlayTriangulation::splitEdges(edges, records, &o.factory);
    EXPECT_EQ(cut, expected);
    EXPECT_GT(cut.size(), edges.size() / 2);
    // Only the first TIN's edges: the same as asking the full map for them alone.
    std::vector<std::shared_ptr<Edge2D>> firstEdges(edges.begin(), edges.begin() + 3 * static_cast<std::ptrdiff_t>(o.first2D.triangles().size()));
    tin::util::Edge2DSet expectedFirst;
    for (auto const& e : firstEdges) {
        OverlayTriangulation::addSplitEdge(&expectedFirst, e, map);
    }
    EXPECT_EQ(OverlayTriangulation::splitEdges(firstEdges, records, &o.factory), expectedFirst);
}
