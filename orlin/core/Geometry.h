#pragma once

namespace geos {
namespace geom {
class Geometry;
}
}

namespace tin {
namespace core {

/**
 * Base of every TIN object that has a GEOS representation.
 *
 * geosGeometry() builds the GEOS object on its first call (also through a const
 * reference), keeps it and hands out the same pointer until the object changes or
 * dies. The object owns what it hands out: callers never delete it and must not keep
 * it beyond the next change of the object. Building the cache mutates the object, so
 * one object must not be queried from two threads at once.
 */
class Geometry {
public:
    virtual ~Geometry();

    /// The cached GEOS representation; owned by this object, never null.
    virtual geos::geom::Geometry* geosGeometry() const = 0;

protected:
    Geometry() = default;
    Geometry(const Geometry&) = default;
    Geometry& operator=(const Geometry&) = default;
};

} // namespace core
} // namespace tin
