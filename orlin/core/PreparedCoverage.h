#pragma once

#include <geos/geom/Envelope.h>

#include <memory>

namespace geos::geom {
class Geometry;
namespace prep {
class PreparedGeometry;
class PreparedPolygon;
} // namespace prep
} // namespace geos::geom

namespace tin::core {

// Answers "does this geometry cover that position" for many positions against one GEOS
// geometry, with the same result as geos::geom::Geometry::covers of a point (a position on the
// boundary is covered).
//
// The geometry is prepared once: a position outside its envelope is refused at once, and for a
// polygonal geometry the prepared polygon's indexed point locator answers in O(log n) in the ring
// vertices instead of O(n), without making a GEOS point per position. The geometry is not owned
// and must outlive this object. Single-threaded.
class PreparedCoverage
{
public:
    explicit PreparedCoverage(const geos::geom::Geometry* geometry);
    ~PreparedCoverage();
    PreparedCoverage(const PreparedCoverage&) = delete;
    PreparedCoverage& operator=(const PreparedCoverage&) = delete;

    bool covers(double x, double y) const;
    // Prepared covers of a whole geometry (a segment, a line string).
    bool covers(const geos::geom::Geometry* g) const;

private:
    std::unique_ptr<geos::geom::prep::PreparedGeometry> m_prepared;
    const geos::geom::prep::PreparedPolygon* m_polygon;
    geos::geom::Envelope m_envelope;
};

} // namespace tin::core
