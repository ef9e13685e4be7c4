#include "orlin/core/Point2DIRingTree.h"

#include <geos/geom/GeometryFactory.h>
#include <geos/geom/LinearRing.h>
#include <geos/geom/Polygon.h>
#include <geos/operation/union/CascadedPolygonUnion.h>

#include "orlin/core/Point2DIRing.h"
#include "orlin/core/Polygon.h"

namespace tin {
namespace core {

struct Point2DIRingTree::Impl {
    std::shared_ptr<Point2DIRing> m_ring;
    std::vector<std::shared_ptr<Point2DIRingTree>> m_children;
    mutable std::unique_ptr<geos::geom::Polygon> m_polygon;
};

Point2DIRingTree::Point2DIRingTree(std::shared_ptr<Point2DIRing> const& ring)
    : m_impl(std::make_unique<Impl>())
{
    m_impl->m_ring = ring;
}

Point2DIRingTree::Point2DIRingTree(std::shared_ptr<Point2DIRing> const& ring,
                                   std::vector<std::shared_ptr<Point2DIRingTree>> const& children)
    : Point2DIRingTree(ring)
{
    m_impl->m_children = children;
}

Point2DIRingTree::~Point2DIRingTree() = default;

std::shared_ptr<Point2DIRing> Point2DIRingTree::ring() const
{
    return m_impl->m_ring;
}

Rect Point2DIRingTree::boundingRect() const
{
    return m_impl->m_ring->boundingRect();
}

void Point2DIRingTree::addChildRing(std::shared_ptr<Point2DIRingTree> const& child)
{
    m_impl->m_children.push_back(child);
}

void Point2DIRingTree::clearChildRings()
{
    m_impl->m_children.clear();
}

std::vector<std::shared_ptr<Point2DIRingTree>> Point2DIRingTree::childRings() const
{
    return m_impl->m_children;
}

void Point2DIRingTree::collectDescendants(std::vector<std::shared_ptr<Point2DIRingTree>>& out) const
{
    for (auto const& child : m_impl->m_children) {
        child->collectDescendants(out);
        out.push_back(child);
    }
}

std::vector<std::shared_ptr<Point2DIRingTree>> Point2DIRingTree::descendantRings() const
{
    std::vector<std::shared_ptr<Point2DIRingTree>> out;
    collectDescendants(out);
    return out;
}

std::vector<std::shared_ptr<Point2DIRingTree>> Point2DIRingTree::allMemberRings(
    std::shared_ptr<Point2DIRingTree> const& tree)
{
    auto out = tree->descendantRings();
    out.push_back(tree);
    return out;
}

geos::geom::Polygon* Point2DIRingTree::geosPolygon() const
{
    if (m_impl->m_polygon) {
        return m_impl->m_polygon.get();
    }
    auto const* factory = geos::geom::GeometryFactory::getDefaultInstance();
    geos::geom::LinearRing const& shell = *m_impl->m_ring->geosLinearRing();
    std::vector<geos::geom::LinearRing*> holes;
    std::vector<std::unique_ptr<geos::geom::LinearRing>> ownedHoles;
    if (!m_impl->m_children.empty()) {
        // Keep the children's polygons alive until the union is done with them.
        std::vector<Polygon> childPolygons;
        childPolygons.reserve(m_impl->m_children.size());
        std::vector<geos::geom::Polygon*> parts;
        for (auto const& child : m_impl->m_children) {
            childPolygons.push_back(child->ring()->toPolygon());
            parts.push_back(childPolygons.back().geosPolygon());
        }
        std::unique_ptr<geos::geom::Geometry> unionOfChildren(
            geos::operation::geounion::CascadedPolygonUnion::Union(&parts));
        // A component of the union may have holes of its own where children enclose an area
        // together; that area belongs to no region of this node, so only the component's
        // exterior ring is a hole (shell and holes in one coordinate list would not be a ring).
        for (std::size_t i = 0; unionOfChildren && i < unionOfChildren->getNumGeometries(); ++i) {
            auto const* component =
                dynamic_cast<geos::geom::Polygon const*>(unionOfChildren->getGeometryN(i));
            if (component == nullptr || component->isEmpty()) {
                continue;
            }
            ownedHoles.push_back(component->getExteriorRing()->clone());
            holes.push_back(ownedHoles.back().get());
        }
    }
    m_impl->m_polygon.reset(factory->createPolygon(shell, holes));
    m_impl->m_polygon->normalize();
    return m_impl->m_polygon.get();
}

geos::geom::Geometry* Point2DIRingTree::geosGeometry() const
{
    return geosPolygon();
}

}  // namespace core
}  // namespace tin
