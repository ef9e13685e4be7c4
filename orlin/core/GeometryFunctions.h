#pragma once

// Free vector operations on Point2DI and Point3DI, and the operations every part of
// the library shares: rectangle overlap, rectangle to GEOS envelope, the one GEOS
// factory, and the hash of a 2-D position.

#include "orlin/core/Point2D.h"
#include "orlin/core/Point3D.h"
#include "orlin/core/Rect.h"
#include "orlin/core/RectRef.h"

#include <cstddef>
#include <memory>
#include <utility>

namespace geos {
namespace geom {
class Envelope;
class GeometryFactory;
class LineString;
}
}

namespace tin {
namespace core {

// Positions compare exactly; ids take no part. Results carry id −1.
bool operator==(const Point2DI& a, const Point2DI& b);
bool operator!=(const Point2DI& a, const Point2DI& b);
/// By x, then by y.
bool operator<(const Point2DI& a, const Point2DI& b);
Point2D operator+(const Point2DI& a, const Point2DI& b);
Point2D operator-(const Point2DI& a, const Point2DI& b);
Point2D operator-(const Point2DI& a);
Point2D operator*(double s, const Point2DI& a);
/// No test for s == 0: IEEE results.
Point2D operator/(const Point2DI& a, double s);

double innerProd(const Point2DI& u, const Point2DI& v);
/// u.x·v.y − u.y·v.x: positive when v lies counter-clockwise of u.
double outerProd(const Point2DI& u, const Point2DI& v);
/// Counter-clockwise angle from u to v in [0, 2π). Zero-length vectors: undefined.
double angleRadian(const Point2DI& u, const Point2DI& v);
/// angleRadian in degrees.
double angle(const Point2DI& u, const Point2DI& v);
/// a at t = 0, b at t = 1; t is not clamped.
Point2D innerPoint2D(double t, const Point2DI& a, const Point2DI& b);
/// (r, s) with a + r·(b − a) = c + s·(d − c); parallel lines give IEEE infinities/NaN.
std::pair<double, double> intersectionRS(const Point2DI& a, const Point2DI& b,
                                         const Point2DI& c, const Point2DI& d);
/// Meeting point of the lines a–b and c–d (r not clamped).
Point2D intersection2D(const Point2DI& a, const Point2DI& b, const Point2DI& c, const Point2DI& d);
/// Proper crossing of segments a–b and c–d: touching or collinear overlap is false.
bool intersects(const Point2DI& a, const Point2DI& b, const Point2DI& c, const Point2DI& d);
/**
 * Point of segment a–b nearest to p. *where (when not null) tells the case: 1 a (with
 * a's id), 2 b (with b's id), 3 an inner point (id −1). When a == b the result is a
 * (case 1).
 */
Point2D nearestPoint(const Point2DI& a, const Point2DI& b, const Point2DI& p, int* where);

/// v / |v|; no test for |v| == 0.
Point3D normalize3D(const Point3DI& v);
Point3D outerProd3D(const Point3DI& a, const Point3DI& b);
double innerProd3D(const Point3DI& a, const Point3DI& b);

/**
 * Overlap of two rectangles; always a valid Rect (for disjoint rectangles the gap
 * between them). The valid flags of a and b are not consulted.
 */
Rect intersectRects(const Rect& a, const Rect& b);

/**
 * A new GEOS envelope of the rectangle; the caller deletes it. A zero width (height)
 * is widened to 1e-06 centred on the rectangle, so that points and axis-parallel
 * segments can be found in GEOS indexes. The valid flag is not consulted.
 */
geos::geom::Envelope* toEnvelope(const Rect& rect);
geos::geom::Envelope* toEnvelope(const RectRef& rect);

/// The one GEOS factory that makes every GEOS object of the library.
const geos::geom::GeometryFactory* defaultGeometryFactory();

// The GEOS line string from a to b (two coordinates, z 0), made by the default factory; the caller
// owns it. Edges and breaklines cache theirs.
std::unique_ptr<geos::geom::LineString> segmentLineString(const Point2DI& a, const Point2DI& b);

/**
 * FNV-1a 64-bit hash of the position (x then y, each as little-endian binary64),
 * folded as h ^ (h >> 32). −0.0 hashes as +0.0 so that equal positions hash equally.
 * The id takes no part. With operator== it keys every position-keyed hash container.
 */
std::size_t hashPoint2DI(const Point2DI& p);

/// The same FNV-1a with fold over the two addresses, first then second (object pairs).
std::size_t hashAddressPair(const void* first, const void* second);

} // namespace core
} // namespace tin
