#include "orlin/core/GeometryFunctions.h"

#include <geos/geom/Envelope.h>
#include <geos/geom/CoordinateArraySequence.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/LineString.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace tin {
namespace core {

namespace {

const double PI = 3.141592653589793;
const double TWO_PI = 6.283185307179586;

const std::uint64_t FNV_OFFSET_BASIS = 14695981039346656037ull;
const std::uint64_t FNV_PRIME = 1099511628211ull;

// Feeds the eight bytes of v, least significant first, whatever the host order.
inline std::uint64_t fnvFeed(std::uint64_t h, std::uint64_t v)
{
    for (int i = 0; i < 8; ++i) {
        h ^= (v >> (8 * i)) & 0xffu;
        h *= FNV_PRIME;
    }
    return h;
}

inline std::uint64_t bitsOf(double d)
{
    if (d == 0.0)
        d = 0.0; // −0.0 == +0.0 must hash alike
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    return bits;
}

inline std::size_t fold(std::uint64_t h)
{
    return static_cast<std::size_t>(h ^ (h >> 32));
}

} // namespace

bool operator==(const Point2DI& a, const Point2DI& b)
{
    return a.x() == b.x() && a.y() == b.y();
}

bool operator!=(const Point2DI& a, const Point2DI& b)
{
    return !(a == b);
}

bool operator<(const Point2DI& a, const Point2DI& b)
{
    if (a.x() == b.x())
        return a.y() < b.y();
    return a.x() < b.x();
}

Point2D operator+(const Point2DI& a, const Point2DI& b)
{
    return Point2D(a.x() + b.x(), a.y() + b.y());
}

Point2D operator-(const Point2DI& a, const Point2DI& b)
{
    return Point2D(a.x() - b.x(), a.y() - b.y());
}

Point2D operator-(const Point2DI& a)
{
    return Point2D(-a.x(), -a.y());
}

Point2D operator*(double s, const Point2DI& a)
{
    return Point2D(a.x() * s, a.y() * s);
}

Point2D operator/(const Point2DI& a, double s)
{
    return Point2D(a.x() / s, a.y() / s);
}

double innerProd(const Point2DI& u, const Point2DI& v)
{
    return u.x() * v.x() + u.y() * v.y();
}

double outerProd(const Point2DI& u, const Point2DI& v)
{
    return u.x() * v.y() - u.y() * v.x();
}

double angleRadian(const Point2DI& u, const Point2DI& v)
{
    const double c = innerProd(u, v) / (v.length() * u.length());
    if (c <= -1.0)
        return PI;
    if (c >= 1.0)
        return 0.0;
    const double theta = std::acos(c);
    const double nx = -u.y();
    const double ny = u.x();
    if (v.x() * nx + v.y() * ny < 0.0)
        return TWO_PI - theta;
    return theta;
}

double angle(const Point2DI& u, const Point2DI& v)
{
    return angleRadian(u, v) / PI * 180.0;
}

Point2D innerPoint2D(double t, const Point2DI& a, const Point2DI& b)
{
    return Point2D(b.x() * t + a.x() * (1.0 - t), b.y() * t + a.y() * (1.0 - t));
}

std::pair<double, double> intersectionRS(const Point2DI& a, const Point2DI& b, const Point2DI& c,
                                         const Point2DI& d)
{
    const double den = (b.x() - a.x()) * (d.y() - c.y()) - (b.y() - a.y()) * (d.x() - c.x());
    const double r = ((d.y() - c.y()) * (c.x() - a.x()) - (d.x() - c.x()) * (c.y() - a.y())) / den;
    const double s = ((b.y() - a.y()) * (c.x() - a.x()) - (b.x() - a.x()) * (c.y() - a.y())) / den;
    return std::make_pair(r, s);
}

Point2D intersection2D(const Point2DI& a, const Point2DI& b, const Point2DI& c, const Point2DI& d)
{
    return innerPoint2D(intersectionRS(a, b, c, d).first, a, b);
}

bool intersects(const Point2DI& a, const Point2DI& b, const Point2DI& c, const Point2DI& d)
{
    const Point2D ab = b - a;
    if (!(outerProd(ab, c - a) * outerProd(ab, d - a) < 0.0))
        return false;
    const Point2D cd = d - c;
    return outerProd(cd, a - c) * outerProd(cd, b - c) < 0.0;
}

Point2D nearestPoint(const Point2DI& a, const Point2DI& b, const Point2DI& p, int* where)
{
    const Point2D v = b - a;
    const Point2D w = p - a;
    const double len = v.length();
    if (len == 0.0) {
        // A segment of one point: that point is the nearest, not a NaN.
        if (where)
            *where = 1;
        return Point2D(a.x(), a.y(), a.id());
    }
    const Point2D u = v / len;
    const double t = (u.x() * w.x() + u.y() * w.y()) / len;
    if (where)
        *where = 1;
    if (t < 0.0)
        return Point2D(a.x(), a.y(), a.id());
    if (where)
        *where = 2;
    if (t > 1.0)
        return Point2D(b.x(), b.y(), b.id());
    if (where)
        *where = 3;
    return Point2D(a.x() + v.x() * t, a.y() + v.y() * t);
}

Point3D normalize3D(const Point3DI& v)
{
    const double l = std::sqrt(v.x() * v.x() + v.y() * v.y() + v.z() * v.z());
    return Point3D(v.x() / l, v.y() / l, v.z() / l);
}

Point3D outerProd3D(const Point3DI& a, const Point3DI& b)
{
    return Point3D(a.y() * b.z() - a.z() * b.y(), a.z() * b.x() - a.x() * b.z(),
                   a.x() * b.y() - a.y() * b.x());
}

double innerProd3D(const Point3DI& a, const Point3DI& b)
{
    return a.x() * b.x() + a.y() * b.y() + a.z() * b.z();
}

Rect intersectRects(const Rect& a, const Rect& b)
{
    const double x1 = std::max(a.xMin(), b.xMin());
    const double x2 = std::min(a.xMax(), b.xMax());
    const double y1 = std::max(a.yMin(), b.yMin());
    const double y2 = std::min(a.yMax(), b.yMax());
    return Rect(x1, y1, x2, y2);
}

namespace {

geos::geom::Envelope* envelopeOf(double xMin, double xMax, double yMin, double yMax)
{
    auto* env = new geos::geom::Envelope(xMin, xMax, yMin, yMax);
    const double dx = env->getWidth() == 0.0 ? 5e-07 : 0.0;
    const double dy = env->getHeight() == 0.0 ? 5e-07 : 0.0;
    env->expandBy(dx, dy);
    return env;
}

} // namespace

geos::geom::Envelope* toEnvelope(const Rect& rect)
{
    return envelopeOf(rect.xMin(), rect.xMax(), rect.yMin(), rect.yMax());
}

geos::geom::Envelope* toEnvelope(const RectRef& rect)
{
    return envelopeOf(rect.xMin(), rect.xMax(), rect.yMin(), rect.yMax());
}

const geos::geom::GeometryFactory* defaultGeometryFactory()
{
    return geos::geom::GeometryFactory::getDefaultInstance();
}

std::size_t hashPoint2DI(const Point2DI& p)
{
    std::uint64_t h = FNV_OFFSET_BASIS;
    h = fnvFeed(h, bitsOf(p.x()));
    h = fnvFeed(h, bitsOf(p.y()));
    return fold(h);
}

std::size_t hashAddressPair(const void* first, const void* second)
{
    std::uint64_t h = FNV_OFFSET_BASIS;
    h = fnvFeed(h, static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(first)));
    h = fnvFeed(h, static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(second)));
    return fold(h);
}

std::unique_ptr<geos::geom::LineString> segmentLineString(const Point2DI& a, const Point2DI& b)
{
    auto seq = std::make_unique<geos::geom::CoordinateArraySequence>(2, 2);
    seq->setAt(geos::geom::Coordinate(a.x(), a.y(), 0.0), 0);
    seq->setAt(geos::geom::Coordinate(b.x(), b.y(), 0.0), 1);
    return defaultGeometryFactory()->createLineString(std::move(seq));
}

} // namespace core
} // namespace tin
