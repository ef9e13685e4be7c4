#pragma once

#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/QuadtreeWeakContainerT.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace tin {
namespace core {

/**
 * Process-wide interning of survey points by position.
 *
 * factory() hands back the live point within 1e-8 in x and in y whose elevation
 * differs by less than 1e-8, or makes a new one (id −1). Elevations below 1e-10 in
 * magnitude are snapped to 0. With overwrite, every live point close in position is
 * moved exactly onto the requested position (and re-indexed), and a chosen point
 * also takes the requested elevation. Two points may share a position when their
 * elevations differ by 1e-8 or more.
 *
 * The factory holds weak references only: a point dies with its last owner, and a
 * later request at its position makes a new object.
 *
 * Positions are stored relative to offset() (0, 0 unless set); requests are given in
 * unshifted coordinates and are shifted before the search and the overwrite, so one
 * position maps to one point whatever the offset.
 *
 * Points live in chunks of the process-wide support::FixedSizePool (through
 * support::FixedSizePoolAllocatorT), each chunk holding a point with its shared-pointer control
 * block; a chunk is reused once the point and every weak reference to it are gone.
 *
 * Cost: one cell-hash probe plus a test per nearby point, which also finds the place
 * of a new point; factoryAll() overlaps the probes of consecutive requests and looks for
 * dead slots at most once per call, not at every turn of the container's sweep. Single-threaded, like the pool: the factory is
 * unsynchronised, and the last reference to a point must be dropped on the thread that
 * uses the factory.
 */
class PointFactory {
public:
    static PointFactory& instance();

    /// The interned point for p; p's id never reaches a new point. Throws
    /// std::invalid_argument when x or y is NaN (such a point could never be found).
    std::shared_ptr<Point> factory(Point p, bool overwrite = false);
    /// out[i] = factory(Point(x, y, z), false) for each of the `count` triples of xyz, in
    /// order: the same points as the calls one by one, for bulk readers (out holds count
    /// pointers). Throws like factory() at the first NaN position, after the requests
    /// before it.
    void factoryAll(const double* xyz, std::size_t count, std::shared_ptr<Point>* out);
    /// As factoryAll(), for readers of what the program itself wrote: a request gets a live
    /// point only when that point holds these very numbers, bit for bit, and a new one
    /// otherwise (its elevation not snapped), even beside a live point within the tolerances.
    /// Two points a unit in the last place apart, both alive when a TIN was saved, so come
    /// back as two and with their own values; a TIN read back shares the vertex objects of
    /// the TINs in memory wherever it was saved from them. Throws like factory() at the
    /// first NaN position.
    void factoryAllExact(const double* xyz, std::size_t count, std::shared_ptr<Point>* out);

    /// Whether a live point stands within 1e-8 of (x, y) in x and in y, whatever its elevation;
    /// *position (unshifted) receives the nearest such point's position. Points made later at
    /// a position found here share it exactly with the point found, at any elevation.
    bool findLivePosition(double x, double y, Point2D* position);

    /// Room for `more` further points without growing the factory's tables, for bulk
    /// readers that request their points in several factoryAll() calls. May drop the
    /// slots of dead points first, as factoryAll() itself does for a large request.
    void reserve(std::size_t more) { m_points.reserve(more); }

    Point2D offset() const { return m_offset; }
    /// Shifts every live point by the difference to the old offset.
    void setOffset(const Point2D& offset);
    /// Sets the offset to the centre of the bounding box of all live points (in
    /// unshifted coordinates), so that they end up centred on (0, 0). No live
    /// points: the offset becomes (0, 0).
    void setAutoOffset();

    /// Slots of the weak container, live or expired (for tests and diagnostics).
    std::size_t slotCount() const { return m_points.slotCount(); }
    /// Live points, in the container's slot order.
    std::vector<std::shared_ptr<Point>> livePoints() { return m_points.liveItems(); }

private:
    PointFactory();
    ~PointFactory();
    PointFactory(const PointFactory&) = delete;
    PointFactory& operator=(const PointFactory&) = delete;

    static PointFactory m_instance;

    /// The lookup without overwrite, for a shifted position and a snapped elevation.
    std::shared_ptr<Point> intern(double x, double y, double elevation);
    /// The lookup of factoryAllExact(), for a shifted position.
    std::shared_ptr<Point> internExact(double x, double y, double elevation);
    template <class Intern>
    void internAll(const double* xyz, std::size_t count, std::shared_ptr<Point>* out, Intern intern);

    Point2D m_offset;
    QuadtreeWeakContainerT<Point> m_points;
};

} // namespace core
} // namespace tin
