#include "movarin/surfaces/BrushSubdivision.h"

#include "orlin/core/Edge.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/PointFunctions.h"
#include "orlin/core/Triangle.h"

#include <common/exception/RuntimeException.h>

#include <algorithm>
#include <utility>
#include <cmath>

namespace varnel {

namespace {

using tin::core::Point;
using PointPtr = BrushSubdivision::PointPtr;
using PointList = BrushSubdivision::PointList;

bool isDivided(const PointList& edge)
{
    return edge.size() > 2;
}

// The three edges of a triangle in the order the cases are told: E1 = p2->p3, E2 = p3->p1,
// E3 = p1->p2, each given by its first and last corner.
struct Corners {
    const Point* first[3];
    const Point* last[3];
};

Corners cornersOf(const tin::core::Triangle& t)
{
    return {{t.point2().get(), t.point3().get(), t.point1().get()},
            {t.point3().get(), t.point1().get(), t.point2().get()}};
}

// Which of E1, E2, E3 (0, 1, 2) the spokes of a triangle with three divided edges end on:
// the longest, the earlier one on ties as the squared lengths are compared.
int longestEdge(double d1, double d2, double d3)
{
    if (d1 <= d2) {
        return d2 < d3 ? 2 : 1;
    }
    return d1 < d3 ? 2 : 0;
}

const PointPtr& otherEnd(const tin::core::Edge& e, const PointPtr& end)
{
    return e.point1() == end ? e.point2() : e.point1();
}

} // namespace

PointPtr BrushSubdivision::internPoint(const Point& p, CreatedPoints* created)
{
    PointPtr interned = tin::core::PointFactory::instance().factory(p, false);
    // The factory holds its points weakly: a point nobody else holds was made just now.
    if (created && interned.use_count() == 1) {
        created->insert(interned);
    }
    return interned;
}

std::size_t BrushSubdivision::edgePieces(const Point& a, const Point& b, double size, double half)
{
    const double d = tin::core::distance(a, b);
    if (d < size) {
        return 1;
    }
    const double n = std::ceil(d / half);
    if (!(n < static_cast<double>(MAX_EDGE_PIECES))) {
        return MAX_EDGE_PIECES;
    }
    return std::max<std::size_t>(2, static_cast<std::size_t>(n));
}

PointList BrushSubdivision::divideEdge(const PointPtr& a, const PointPtr& b, double size,
                                       double half, CreatedPoints* created)
{
    const std::size_t n = edgePieces(*a, *b, size, half);
    PointList points;
    points.reserve(n + 1);
    points.push_back(a);
    // Computed from the end that comes first in plan (by x, then y), whichever way the edge is
    // asked for: the two edges of a vertical step, along its foot and along its top, then get
    // their points at the very same plan positions, or the factory, which merges only points
    // of one elevation, would leave a crack between them.
    const bool forward = std::make_pair(a->x(), a->y()) <= std::make_pair(b->x(), b->y());
    const tin::core::Point& from = forward ? *a : *b;
    const tin::core::Point& to = forward ? *b : *a;
    for (std::size_t i = 1; i < n; ++i) {
        const std::size_t k = forward ? i : n - i;
        const double t = static_cast<double>(k) / static_cast<double>(n);
        points.push_back(internPoint(tin::core::innerPoint(t, from, to), created));
    }
    points.push_back(b);
    return points;
}

tin::core::Tin BrushSubdivision::subdivideTriangle(const TrianglePtr& triangle, double size,
                                                   double half, CreatedPoints* created)
{
    tin::core::Tin out;
    subdivideTriangleInto(triangle, size, half, out, created);
    return out;
}

tin::core::Tin BrushSubdivision::subdivideTriangles(const std::vector<TrianglePtr>& triangles,
                                                    double size, double half,
                                                    CreatedPoints* created)
{
    tin::core::Tin out;
    for (const TrianglePtr& t : triangles) {
        subdivideTriangleInto(t, size, half, out, created);
    }
    return out;
}

void BrushSubdivision::subdivideTriangleInto(const TrianglePtr& triangle, double size, double half,
                                             tin::core::Tin& out, CreatedPoints* created)
{
    const PointPtr& p1 = triangle->point1();
    const PointPtr& p2 = triangle->point2();
    const PointPtr& p3 = triangle->point3();
    const PointList e1 = divideEdge(p2, p3, size, half, created);
    const PointList e2 = divideEdge(p3, p1, size, half, created);
    const PointList e3 = divideEdge(p1, p2, size, half, created);
    const bool d1 = isDivided(e1);
    const bool d2 = isDivided(e2);
    const bool d3 = isDivided(e3);
    if (!d1 && !d2 && !d3) {
        out.addTriangle(triangle);
    } else if (d1 && !d2 && !d3) {
        subdivideTriangle1(e1, p1, out);
    } else if (!d1 && d2 && !d3) {
        subdivideTriangle1(e2, p2, out);
    } else if (!d1 && !d2 && d3) {
        subdivideTriangle1(e3, p3, out);
    } else if (!d1) {
        subdivideTriangle2(e2, e3, out);
    } else if (!d2) {
        subdivideTriangle2(e3, e1, out);
    } else if (!d3) {
        subdivideTriangle2(e1, e2, out);
    } else {
        subdivideTriangle3(e1, e2, e3, size, half, out, created);
    }
}

std::size_t BrushSubdivision::subdividedTriangleCount(const tin::core::Triangle& triangle,
                                                      double size, double half)
{
    const Corners c = cornersOf(triangle);
    std::size_t pieces[3];
    int divided = 0;
    for (int k = 0; k < 3; ++k) {
        pieces[k] = edgePieces(*c.first[k], *c.last[k], size, half);
        divided += pieces[k] > 1 ? 1 : 0;
    }
    if (divided == 0) {
        return 1;
    }
    if (divided < 3) {
        // One divided edge: a fan, one triangle per piece. Two: a strip of |A| + |B| - 3
        // triangles, the two edges' pieces less one. An undivided edge is one piece.
        return pieces[0] + pieces[1] + pieces[2] - 2;
    }
    const int longest = longestEdge(tin::core::distanceSqr(*c.first[0], *c.last[0]),
                                    tin::core::distanceSqr(*c.first[1], *c.last[1]),
                                    tin::core::distanceSqr(*c.first[2], *c.last[2]));
    // The corner opposite E(k) is the first corner of E(k+2).
    const Point& apex = *c.first[(longest + 2) % 3];
    const Point& from = *c.first[longest];
    const Point& to = *c.last[longest];
    const std::size_t n = pieces[longest];
    std::size_t count = 0;
    std::size_t previous = edgePieces(apex, from, size, half) + 1;
    for (std::size_t i = 1; i <= n; ++i) {
        const Point q = i == n ? to : tin::core::innerPoint(static_cast<double>(i) / n, from, to);
        const std::size_t spoke = edgePieces(apex, q, size, half) + 1;
        count += previous + spoke - 3;
        previous = spoke;
    }
    return count;
}

void BrushSubdivision::subdivideTriangle1(const PointList& e, const PointPtr& apex,
                                          tin::core::Tin& out)
{
    for (std::size_t i = 1; i < e.size(); ++i) {
        out.addTriangle(apex, e[i - 1], e[i]);
    }
}

void BrushSubdivision::subdivideTriangle2(const PointList& a, const PointList& b,
                                          tin::core::Tin& out)
{
    const std::ptrdiff_t lastA = static_cast<std::ptrdiff_t>(a.size()) - 1;
    const std::ptrdiff_t lastB = static_cast<std::ptrdiff_t>(b.size()) - 1;
    std::ptrdiff_t ia = 0;
    std::ptrdiff_t ib = 0;
    std::ptrdiff_t stepA = 1;
    std::ptrdiff_t stepB = 1;
    if (a.front() == b.front()) {
    } else if (a.front() == b.back()) {
        ib = lastB;
        stepB = -1;
    } else if (a.back() == b.front()) {
        ia = lastA;
        stepA = -1;
    } else if (a.back() == b.back()) {
        ia = lastA;
        stepA = -1;
        ib = lastB;
        stepB = -1;
    } else {
        throw common::exception::RuntimeException("Fatal error in subdivideTriangle2.");
    }
    out.addTriangle(a[ia], a[ia + stepA], b[ib + stepB]);
    ia += stepA;
    ib += stepB;
    const std::size_t sizeA = a.size();
    const std::size_t sizeB = b.size();
    std::size_t countA = 2;
    std::size_t countB = 2;
    // Walk along the edge that is behind in proportion; ties walk along b.
    while (countA < sizeA || countB < sizeB) {
        if (sizeB * countA < sizeA * countB) {
            out.addTriangle(a[ia], b[ib], a[ia + stepA]);
            ia += stepA;
            ++countA;
        } else {
            out.addTriangle(a[ia], b[ib], b[ib + stepB]);
            ib += stepB;
            ++countB;
        }
    }
}

void BrushSubdivision::subdivideTriangle3(const PointList& e1, const PointList& e2,
                                          const PointList& e3, double size, double half,
                                          tin::core::Tin& out, CreatedPoints* created)
{
    const PointList* edges[3] = {&e1, &e2, &e3};
    const int longest = longestEdge(tin::core::distanceSqr(*e1.front(), *e1.back()),
                                    tin::core::distanceSqr(*e2.front(), *e2.back()),
                                    tin::core::distanceSqr(*e3.front(), *e3.back()));
    const PointList& l = *edges[longest];
    const PointList& predecessor = *edges[(longest + 2) % 3];
    const PointList& successor = *edges[(longest + 1) % 3];
    PointPtr apex;
    if (successor.front() == predecessor.front() || successor.front() == predecessor.back()) {
        apex = successor.front();
    } else if (successor.back() == predecessor.front() || successor.back() == predecessor.back()) {
        apex = successor.back();
    } else {
        throw common::exception::RuntimeException("Fatal error in subdivideTriangle3.");
    }
    PointList previous = divideEdge(apex, l.front(), size, half, created);
    for (std::size_t i = 1; i < l.size(); ++i) {
        PointList spoke = divideEdge(apex, l[i], size, half, created);
        subdivideTriangle2(previous, spoke, out);
        previous = std::move(spoke);
    }
}

Point BrushSubdivision::centroidPoint(const Point& p, const Point& q, const Point& r)
{
    return Point((p.x() + q.x() + r.x()) / 3.0, (p.y() + q.y() + r.y()) / 3.0,
                 (p.elevation() + q.elevation() + r.elevation()) / 3.0);
}

void BrushSubdivision::subdividePeripheryTriangle1(const tin::core::Edge& e, const PointPtr& o,
                                                   double size, double half, tin::core::Tin& out,
                                                   CreatedPoints* created)
{
    const PointPtr c = internPoint(centroidPoint(*e.point1(), *e.point2(), *o), created);
    out.addTriangle(c, o, e.point1());
    out.addTriangle(c, o, e.point2());
    subdivideTriangle1(divideEdge(e.point1(), e.point2(), size, half, created), c, out);
}

void BrushSubdivision::subdividePeripheryTriangle2(const tin::core::Edge& a,
                                                   const tin::core::Edge& b, double size,
                                                   double half, tin::core::Tin& out,
                                                   CreatedPoints* created)
{
    PointPtr shared;
    for (const PointPtr* candidate : {&a.point1(), &a.point2()}) {
        if (*candidate == b.point1() || *candidate == b.point2()) {
            shared = *candidate;
            break;
        }
    }
    if (!shared) {
        throw common::exception::RuntimeException("Fatal error in subdividePeripheryTriangle2.");
    }
    const PointPtr& r = otherEnd(a, shared);
    const PointPtr& w = otherEnd(b, shared);
    const PointPtr c = internPoint(centroidPoint(*shared, *r, *w), created);
    out.addTriangle(c, r, w);
    subdivideTriangle1(divideEdge(a.point1(), a.point2(), size, half, created), c, out);
    subdivideTriangle1(divideEdge(b.point1(), b.point2(), size, half, created), c, out);
}

void BrushSubdivision::subdividePeripheryTriangle3(const tin::core::Edge& e1,
                                                   const tin::core::Edge& e2,
                                                   const tin::core::Edge& e3, double size,
                                                   double half, tin::core::Tin& out,
                                                   CreatedPoints* created)
{
    // Each corner is an end of two edges, so the two centroids of ends average to the
    // triangle's centroid whichever way the edges run.
    const Point first = centroidPoint(*e1.point1(), *e2.point1(), *e3.point1());
    const Point second = centroidPoint(*e1.point2(), *e2.point2(), *e3.point2());
    const PointPtr c = internPoint(
        Point((first.x() + second.x()) * 0.5, (first.y() + second.y()) * 0.5,
              (first.elevation() + second.elevation()) * 0.5),
        created);
    for (const tin::core::Edge* e : {&e1, &e2, &e3}) {
        subdivideTriangle1(divideEdge(e->point1(), e->point2(), size, half, created), c, out);
    }
}

} // namespace varnel
