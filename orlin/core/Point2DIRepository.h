#pragma once

#include "orlin/core/Point2DI.h"

#include <cstddef>
#include <memory>

namespace tin::core {

// The store of shared 2-D points from which the topology of one editing operation is built.
//
// Every distinct coordinate pair is held once, as one shared Point2DI object, so that topology
// can be compared by object identity. Exact look-ups and stores go through a hash table keyed by
// the exact x and y (0.0 and -0.0 are the same key). The first tolerance look-up builds a
// quadtree over the stored points, brought up to date before each of its queries, and a table
// of the stored points by cells of 2^-20 units, kept in step. A tolerance look-up of at most
// half a cell that meets no point or one point is answered from that table; the quadtree
// answers the others.
//
// Points are never removed and never renumbered: a point the repository makes itself is a
// Point2D with id -1. Stored points are shared with the callers and outlive the repository while
// anybody holds them. A repository is used through a pointer and is neither copied nor assigned.
// Coordinates and tolerances must be finite numbers (an infinite tolerance is allowed);
// anything else is refused with a common::exception::RuntimeException naming the value.
//
// Single-threaded: look-ups build the index.
class Point2DIRepository
{
public:
    // Half-width of the first search square of the nearest-point look-up.
    static const double DEFAULT_DELTA;
    // How much farther than the nearest point the second-nearest one must lie.
    static const int DEFAULT_MINIMUM_RATIO;

    Point2DIRepository();
    ~Point2DIRepository();
    Point2DIRepository(const Point2DIRepository&) = delete;
    Point2DIRepository& operator=(const Point2DIRepository&) = delete;

    // Room for n points without growing the position table (a sizing hint; never shrinks).
    void reserve(std::size_t n);

    // The stored point at exactly p's x and y when there is one (p is then not stored);
    // otherwise p itself is stored and returned.
    std::shared_ptr<Point2DI> add(const std::shared_ptr<Point2DI>& p);

    // The stored point at exactly p's x and y, or a new Point2D(x, y) with id -1, stored.
    std::shared_ptr<Point2DI> add(const Point2DI& p);

    // The stored point at exactly p's x and y, or an empty pointer.
    std::shared_ptr<Point2DI> get(const Point2DI& p) const;

    // Some stored point within the closed square p ± |tolerance| (the first one the index
    // reports, not necessarily the nearest), or an empty pointer.
    std::shared_ptr<Point2DI> getFuzzy(const Point2DI& p, double tolerance);

    // The unambiguous nearest stored point; *distance (when distance is not null) receives its
    // distance. Throws common::exception::MagnitudeRelationException when the repository is empty
    // ("Unexpected magnitude relation (<): 1.79769e+308, 0") or when a second point lies closer
    // than DEFAULT_MINIMUM_RATIO times the nearest distance ("... (<): <second>, <nearest>").
    // An exact hit never throws. Cost: O(log of the distance to the nearest point) index queries.
    std::shared_ptr<Point2DI> getFuzzy(const Point2DI& p, double* distance);

    // getFuzzy(p, tolerance); on a miss p itself is stored and returned.
    std::shared_ptr<Point2DI> addFuzzy(const std::shared_ptr<Point2DI>& p, double tolerance);

    // getFuzzy(p, tolerance); on a miss a new Point2D(x, y) with id -1 is stored and returned.
    std::shared_ptr<Point2DI> addFuzzy(const Point2DI& p, double tolerance);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace tin::core
