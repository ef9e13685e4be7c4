#include "orlin/core/Triangle.h"

#include "orlin/core/Edge.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Point.h"
#include "orlin/support/GeosCacheTable.h"

#include <geos/geom/CoordinateArraySequence.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/LinearRing.h>
#include <geos/geom/Polygon.h>

#include <cmath>
#include <stdexcept>

namespace tin {
namespace core {

namespace {

const double WEIGHT_TOLERANCE = -1e-8;

enum Bound { X_MIN = 0, X_MAX = 1, Y_MIN = 2, Y_MAX = 3 };

inline int extremeOf(std::uint8_t extremes, Bound b)
{
    return (extremes >> (2 * b)) & 3;
}

} // namespace

Triangle::Triangle(std::shared_ptr<Point> p1, std::shared_ptr<Point> p2, std::shared_ptr<Point> p3,
                   std::shared_ptr<Edge> e1, std::shared_ptr<Edge> e2, std::shared_ptr<Edge> e3)
    : m_edges{std::move(e1), std::move(e2), std::move(e3)},
      m_extremes(0),
      m_ends(0)
{
    const std::shared_ptr<Point>* points[3] = {&p1, &p2, &p3};
    for (int i = 0; i < 3; ++i) {
        if (!*points[i])
            throw std::invalid_argument(std::string("Triangle: null point") + char('1' + i));
        if (!m_edges[i])
            throw std::invalid_argument(std::string("Triangle: null edge") + char('1' + i));
    }
    for (int i = 0; i < 3; ++i) {
        const Edge& e = *m_edges[i];
        const std::shared_ptr<Point>& a = *points[(i + 1) % 3];
        const std::shared_ptr<Point>& b = *points[(i + 2) % 3];
        if (!((e.point1() == a && e.point2() == b) || (e.point1() == b && e.point2() == a)))
            throw std::invalid_argument(std::string("Triangle: edge") + char('1' + i)
                                        + " does not join the other two points");
        // Vertex (i + 2) mod 3 is b, an end of this edge, which follows edge (i + 1) mod 3.
        if (e.point2() == b && e.point1() != b)
            m_ends = std::uint8_t(m_ends | (1 << ((i + 2) % 3)));
    }
    // The first vertex holds every extreme; a later one takes it only when strictly
    // beyond, so ties keep the earlier vertex.
    int xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    for (int i = 1; i < 3; ++i) {
        const Point& p = **points[i];
        if (p.x() < (*points[xMin])->x())
            xMin = i;
        if (p.x() > (*points[xMax])->x())
            xMax = i;
        if (p.y() < (*points[yMin])->y())
            yMin = i;
        if (p.y() > (*points[yMax])->y())
            yMax = i;
    }
    m_extremes = std::uint8_t(xMin << (2 * X_MIN) | xMax << (2 * X_MAX) | yMin << (2 * Y_MIN)
                              | yMax << (2 * Y_MAX));
}

// Every triangle of a large TIN pays for each byte here: the object and its control block
// fill an 80-byte pool chunk.
static_assert(sizeof(void*) != 8 || sizeof(Triangle) <= 64, "Triangle grew beyond 64 bytes");

Triangle::~Triangle()
{
    if (m_hasGeos)
        support::GeosCacheTable::instance().erase(this);
}

std::shared_ptr<Edge> Triangle::opposite(const std::shared_ptr<Point>& p) const
{
    for (const std::shared_ptr<Edge>& e : m_edges) {
        if (e->point1() != p && e->point2() != p)
            return e;
    }
    return nullptr;
}

std::shared_ptr<Point> Triangle::opposite(const std::shared_ptr<Edge>& e) const
{
    for (int i = 0; i < 3; ++i) {
        const std::shared_ptr<Point>& p = vertex(i);
        if (!e || (e->point1() != p && e->point2() != p))
            return p;
    }
    return nullptr;
}

RectRef Triangle::boundingRect() const
{
    return RectRef(vertex(extremeOf(m_extremes, X_MIN))->xRef(),
                   vertex(extremeOf(m_extremes, Y_MIN))->yRef(),
                   vertex(extremeOf(m_extremes, X_MAX))->xRef(),
                   vertex(extremeOf(m_extremes, Y_MAX))->yRef());
}

double Triangle::area() const
{
    const Point2D e1 = *vertex(1) - *vertex(0);
    const Point2D e2 = *vertex(2) - *vertex(0);
    const double ip = innerProd(e1, e2);
    // Rounding can leave a collinear triangle slightly below zero: its area is 0.
    const double squared = e2.lengthSqr() * e1.lengthSqr() - ip * ip;
    return squared > 0.0 ? 0.5 * std::sqrt(squared) : 0.0;
}

double Triangle::angleRadian(int i) const
{
    const Point& a = *point(i);
    return tin::core::angleRadian(*point(i + 1) - a, *point(i + 2) - a);
}

void Triangle::calcSTU(const Point2DI& p, double* s, double* t, double* u) const
{
    const Point& p1 = *vertex(0);
    const double wx = p.x() - p1.x();
    const double wy = p.y() - p1.y();
    const double e1x = vertex(1)->x() - p1.x();
    const double e1y = vertex(1)->y() - p1.y();
    const double e2x = vertex(2)->x() - p1.x();
    const double e2y = vertex(2)->y() - p1.y();
    const double den = e2y * e1x - e2x * e1y;
    const double tt = (wx * e2y - wy * e2x) / den;
    const double uu = -((wx * e1y - wy * e1x) / den);
    *t = tt;
    *u = uu;
    *s = 1.0 - tt - uu;
}

bool Triangle::interpolateElevation(const Point2DI& p, double* z, bool skipBox) const
{
    if (!skipBox && !boundingRect().contains(p))
        return false;
    for (int i = 0; i < 3; ++i) {
        const std::shared_ptr<Point>& v = vertex(i);
        if (v->x() == p.x() && v->y() == p.y()) {
            *z = v->elevation();
            return true;
        }
    }
    double s, t, u;
    calcSTU(p, &s, &t, &u);
    // Written as "not at least" so that the NaN weights of a collinear triangle
    // reject the point instead of reporting a NaN elevation as a success.
    if (!(s >= WEIGHT_TOLERANCE) || !(t >= WEIGHT_TOLERANCE) || !(u >= WEIGHT_TOLERANCE))
        return false;
    *z = (t * vertex(1)->elevation() + s * vertex(0)->elevation()) + u * vertex(2)->elevation();
    return true;
}

Point2D Triangle::getInteriorPoint() const
{
    return Point2D((vertex(0)->x() + vertex(1)->x() + vertex(2)->x()) / 3.0,
                   (vertex(0)->y() + vertex(1)->y() + vertex(2)->y()) / 3.0);
}

geos::geom::Polygon* Triangle::geosPolygon() const
{
    support::GeosCacheTable& cache = support::GeosCacheTable::instance();
    if (m_hasGeos)
        return static_cast<geos::geom::Polygon*>(cache.find(this));
    auto seq = std::make_unique<geos::geom::CoordinateArraySequence>(4, 2);
    for (std::size_t i = 0; i < 4; ++i) {
        const Point& p = *vertex(i % 3);
        seq->setAt(geos::geom::Coordinate(p.x(), p.y(), 0.0), i);
    }
    const geos::geom::GeometryFactory* f = defaultGeometryFactory();
    std::unique_ptr<geos::geom::LinearRing> ring = f->createLinearRing(std::move(seq));
    std::unique_ptr<geos::geom::Polygon> polygon = f->createPolygon(std::move(ring));
    polygon->normalize();
    geos::geom::Geometry* g = cache.insert(this, std::move(polygon));
    m_hasGeos = true;
    return static_cast<geos::geom::Polygon*>(g);
}

geos::geom::Geometry* Triangle::geosGeometry() const
{
    return geosPolygon();
}

} // namespace core
} // namespace tin
