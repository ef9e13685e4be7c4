#pragma once

// Owner of one result record of the triangulation process.
//
// The record owns every array the process fills; the destructor (or release) frees
// each non-null one with triangle_free and leaves the record zeroed, so no array leaks
// whichever of them a caller has read. Not copyable.

#include <triangle/triangleio.h>

namespace tin {
namespace util {

class TriangleRecord {
public:
    TriangleRecord();
    ~TriangleRecord();
    TriangleRecord(TriangleRecord const&) = delete;
    TriangleRecord& operator=(TriangleRecord const&) = delete;

    triangleio_t* get() { return &m_record; }
    triangleio_t const& operator*() const { return m_record; }
    triangleio_t const* operator->() const { return &m_record; }

    // Frees every array and zeroes the record.
    void release();
    // Frees the point list alone (no points left), for a caller that has mapped the
    // output vertices and goes on with the triangles.
    void releasePoints();

private:
    triangleio_t m_record;
};

} // namespace util
} // namespace tin
