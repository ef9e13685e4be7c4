#pragma once

#include "orlin/core/Geometry.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/Point3D.h"
#include "orlin/core/Rect.h"

#include <cstddef>
#include <memory>

namespace geos {
namespace geom {
class Point;
}
}

namespace tin {
namespace core {

/**
 * The survey point: id, planar position x/y and elevation, in metres.
 *
 * Points are shared (std::shared_ptr) and identity matters: edges, breaklines and
 * triangles recognise a common vertex by the object's address. Obtain points through
 * PointFactory so that one position maps to one object.
 *
 * Tolerances: positions are close within 1e-8 (inclusive), elevations below 1e-8
 * (strict). boundingRect() is the position widened by 1e-8 on every side.
 *
 * The GEOS point is built on first request and dropped whenever x or y changes; a
 * copy never shares it. Not synchronised.
 *
 * A point filed by a weak container (the point factory's) counts its destruction in a
 * process-wide counter, so that the container can tell how many of its slots may have
 * expired without looking at each of them. Copies do not count theirs.
 */
class Point : public Geometry, public Point2DI {
public:
    static constexpr int UNDEFINED_ID = -1;

    Point(double x, double y);
    Point(double x, double y, int id);
    Point(double x, double y, double elevation);
    Point(double x, double y, double elevation, int id);
    /// Position only: id −1 (the Point2D's id is not taken), elevation 0.
    Point(const Point2D& p);
    Point(const Point& other);
    Point(Point&& other) noexcept;
    ~Point() override;

    /// Copies id, position and elevation; the GEOS cache of this point is emptied.
    Point& operator=(const Point& other);

    double x() const override { return m_x; }
    double y() const override { return m_y; }
    int id() const override { return m_id; }
    void setId(int id) override { m_id = id; }
    double elevation() const { return m_elevation; }
    void setElevation(double elevation) { m_elevation = elevation; }

    void setX(double x);
    void setY(double y);
    void setPosition(double x, double y);
    void move(double dx, double dy);
    void moveVertically(double dz) { m_elevation += dz; }

    /// References to the stored coordinates; Triangle's bounding box follows them.
    const double& xRef() const { return m_x; }
    const double& yRef() const { return m_y; }

    /// (x, y) with id −1.
    Point2D point2d() const { return Point2D(m_x, m_y); }
    Point3D point3d() const { return Point3D(m_x, m_y, m_elevation); }

    /// The position widened by 1e-8 on every side; valid.
    Rect boundingRect() const override;

    /// |dx| <= 1e-8 and |dy| <= 1e-8.
    bool isCloseTo(const Point& other) const;
    /// |dz| < 1e-8.
    bool isElevationCloseTo(const Point& other) const;

    /// From now on this point's destruction is counted in countedDestructions(). For weak
    /// containers, which own no point; const because they hold any point.
    void countDestruction() const { m_countDestruction = true; }
    /// Destructions of points that countDestruction() marked, since the process began.
    /// Unsynchronised, like the point pool: points are destroyed on one thread.
    static std::size_t countedDestructions() { return s_countedDestructions; }

    /// GEOS point (x, y, NaN), owned by this point.
    geos::geom::Point* geosPoint() const;
    geos::geom::Geometry* geosGeometry() const override;

    /// g covers this point (the border counts as inside).
    bool isInGeometry(geos::geom::Geometry* g) const;

    /// The polygon's GEOS geometry covers this point (the border counts as inside).
    template <typename PolygonT>
    bool isInPolygon(const PolygonT& polygon) const
    {
        return isInGeometry(polygon.geosGeometry());
    }

private:
    void dropCache();

    static std::size_t s_countedDestructions;

    int m_id;
    mutable bool m_countDestruction = false; // in the padding after m_id
    double m_x;
    double m_y;
    double m_elevation;
    mutable std::unique_ptr<geos::geom::Point> m_geos;
};

} // namespace core
} // namespace tin

#include "orlin/core/PointFunctions.h"
