#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace geos {
namespace geom {
class Geometry;
}
}

namespace tin::support {

/**
 * Process-wide home of the GEOS geometries of edges and triangles, keyed by the owner's
 * address.
 *
 * A TIN holds millions of edges and triangles, and only a few of them are ever asked for
 * their GEOS form; a pointer in each object would cost 8 bytes apiece (16 once the heap
 * rounds up). The owner keeps a flag that says it has an entry, asks here only when the
 * flag is set, and erases its entry when it dies, so that a later object at the same
 * address starts empty.
 *
 * The table owns the geometries. Never destroyed, so that owners released during static
 * destruction can still erase their entries. Look-ups are an average O(1) hash probe under
 * a mutex, so different owners may be served from different threads.
 */
class GeosCacheTable {
public:
    static GeosCacheTable& instance();

    /// The geometry stored for owner; null when there is none.
    geos::geom::Geometry* find(const void* owner) const;
    /// Stores g for owner (replacing any earlier one) and returns it.
    geos::geom::Geometry* insert(const void* owner, std::unique_ptr<geos::geom::Geometry> g);
    /// Drops owner's geometry, if any.
    void erase(const void* owner) noexcept;
    /// Number of owners with a geometry.
    std::size_t size() const;

    GeosCacheTable(const GeosCacheTable&) = delete;
    GeosCacheTable& operator=(const GeosCacheTable&) = delete;

private:
    GeosCacheTable() = default;
    ~GeosCacheTable() = default;

    mutable std::mutex m_mutex;
    std::unordered_map<const void*, std::unique_ptr<geos::geom::Geometry>> m_geometries;
};

} // namespace tin::support
