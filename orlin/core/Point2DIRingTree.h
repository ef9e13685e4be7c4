#pragma once

#include <memory>
#include <vector>

#include "orlin/core/Geometry.h"
#include "orlin/core/Rect.h"

namespace geos {
namespace geom {
class Geometry;
class Polygon;
}  // namespace geom
}  // namespace geos

namespace tin {
namespace core {

class Point2DIRing;

// A node of nested rings: a ring with child trees. The node's polygon is the area inside its
// ring and outside its children's rings; nested levels alternate between boundaries and
// holes, so a grandchild bounds an island inside a hole and is the shell of its own node's
// polygon. The tree does not test containment: its builder decides which ring is whose child.
//
// The GEOS polygon is built on the first request from the children present then, owned by the
// tree and not rebuilt when children change later.
class Point2DIRingTree : public Geometry {
public:
    explicit Point2DIRingTree(std::shared_ptr<Point2DIRing> const& ring);
    Point2DIRingTree(std::shared_ptr<Point2DIRing> const& ring,
                     std::vector<std::shared_ptr<Point2DIRingTree>> const& children);
    Point2DIRingTree(Point2DIRingTree const&) = delete;
    Point2DIRingTree& operator=(Point2DIRingTree const&) = delete;
    ~Point2DIRingTree() override;

    std::shared_ptr<Point2DIRing> ring() const;
    Rect boundingRect() const;
    void addChildRing(std::shared_ptr<Point2DIRingTree> const& child);
    void clearChildRings();
    std::vector<std::shared_ptr<Point2DIRingTree>> childRings() const;
    // Every proper descendant in post-order: each child's descendants, then the child.
    std::vector<std::shared_ptr<Point2DIRingTree>> descendantRings() const;
    // tree's descendants followed by tree itself: one node per part of the area.
    static std::vector<std::shared_ptr<Point2DIRingTree>> allMemberRings(
        std::shared_ptr<Point2DIRingTree> const& tree);

    // The ring as shell, the union of the children's areas as holes (each connected component of
    // the union gives one hole: its exterior ring); normalized, owned by the tree.
    geos::geom::Polygon* geosPolygon() const;
    geos::geom::Geometry* geosGeometry() const override;

private:
    void collectDescendants(std::vector<std::shared_ptr<Point2DIRingTree>>& out) const;

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace core
}  // namespace tin
