#pragma once

#include "orlin/core/Point2D.h"
#include "orlin/core/Rect.h"

#include <memory>
#include <vector>

namespace geos::geom {
class Geometry;
} // namespace geos::geom

namespace tin::core {

// The record behind Polygon and Polyline: the vertices, the cached bounding rectangle and the
// cached GEOS geometry. Every edit drops both caches, so a geometry handed out earlier is deleted
// by the next edit. Index arguments out of range throw std::out_of_range naming the operation.
class VertexList
{
public:
    VertexList() = default;
    explicit VertexList(std::vector<Point2D> vertices);
    // Copies the vertices only; the caches are built again on first use.
    VertexList(const VertexList& other);
    VertexList& operator=(const VertexList& other);
    ~VertexList();

    void addPoint(const Point2D& p);
    void insertPoint(int index, const Point2D& p);
    void removePoint(int index);
    void removePoint(const Point2D& p);
    void removeLastPoint();
    void setPoint(int index, const Point2D& p);
    void setLastPoint(const Point2D& p);
    void clear();

    const std::vector<Point2D>& points() const { return m_vertices; }
    Rect boundingRect() const;

    geos::geom::Geometry* cachedGeometry() const { return m_geometry.get(); }
    void setCachedGeometry(std::unique_ptr<geos::geom::Geometry> geometry) const;

private:
    void dropCaches();
    void checkIndex(int index, int size, const char* operation) const;

    std::vector<Point2D> m_vertices;
    mutable bool m_rectCached = false;
    mutable Rect m_rect;
    mutable std::unique_ptr<geos::geom::Geometry> m_geometry;
};

} // namespace tin::core
