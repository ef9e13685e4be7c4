#pragma once

#include "orlin/core/Geometry.h"
#include "orlin/core/Rect.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace geos::geom {
class Geometry;
class LinearRing;
} // namespace geos::geom

namespace tin::core {

class Breakline;
class Point;
class Polygon;

// A closed, immutable ring of shared Point objects: a region or hole of a point set or TIN.
//
// The ring is kept in one canonical form, so that two rings over the same cycle of point objects
// hold the same sequence whatever start and direction they were given in: the first entry is the
// least point (smaller y, then smaller x), the second entry is the lesser of its two neighbours in
// the same order, and the last entry repeats the first object. Membership (contains,
// containsBreakline) is decided by object identity, never by coordinates.
//
// The input must be a closed sequence of at least three entries (two distinct points and the
// repeat) without null entries; its last entry must be the first entry's object or lie at its
// position, and is dropped. Anything else throws common::exception::RuntimeException.
//
// The bounding rectangle, the sorted address table and the GEOS ring are built on first (also
// const) use and kept: they follow the point positions of that moment. The GEOS ring is owned by
// the ring and normalised; a ring of two points and the repeat gives a degenerate GEOS ring of
// three coordinates, which GEOS 3.11 accepts. Cost: contains is O(log n) after one O(n log n)
// sort. Single-threaded.
class PointRing : public Geometry
{
public:
    explicit PointRing(const std::vector<std::shared_ptr<Point>>& points);
    PointRing(std::initializer_list<std::shared_ptr<Point>> points);
    // Runs the source's entries through the canonical construction again; fresh caches.
    PointRing(const PointRing& other);
    PointRing(PointRing&& other) noexcept;
    PointRing& operator=(const PointRing&) = delete;
    PointRing& operator=(PointRing&&) = delete;
    ~PointRing() override;

    Rect boundingRect() const;
    bool contains(Point* p) const;
    // Whether the breakline joins two neighbouring entries, in either direction.
    bool containsBreakline(const Breakline& b) const;

    geos::geom::LinearRing* geosLinearRing() const;
    geos::geom::Geometry* geosGeometry() const override;

    // The entries, closed: the first appears again at the end.
    std::vector<std::shared_ptr<Point>> points() const;
    // Number of sides: entries minus one.
    int segmentCount() const;
    // A polygon over the entries as Point2D (id -1), closing repeat included.
    Polygon toPolygon() const;

private:
    PointRing();

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace tin::core
