#include "orlin/support/GeosCacheTable.h"

#include <geos/geom/Geometry.h>

namespace tin::support {

GeosCacheTable& GeosCacheTable::instance()
{
    // Leaked on purpose: edges and triangles held by other libraries' statics die after
    // any static table would have been destroyed.
    static GeosCacheTable* table = new GeosCacheTable();
    return *table;
}

geos::geom::Geometry* GeosCacheTable::find(const void* owner) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_geometries.find(owner);
    return it == m_geometries.end() ? nullptr : it->second.get();
}

geos::geom::Geometry* GeosCacheTable::insert(const void* owner, std::unique_ptr<geos::geom::Geometry> g)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::unique_ptr<geos::geom::Geometry>& slot = m_geometries[owner];
    slot = std::move(g);
    return slot.get();
}

void GeosCacheTable::erase(const void* owner) noexcept
{
    std::unique_ptr<geos::geom::Geometry> dropped;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_geometries.find(owner);
        if (it == m_geometries.end())
            return;
        dropped = std::move(it->second);
        m_geometries.erase(it);
    }
}

std::size_t GeosCacheTable::size() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_geometries.size();
}

} // namespace tin::support
