#pragma once

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tin {
namespace core {
class Edge2D;
class Point2DI;
}  // namespace core

namespace util {

// One point at which an edge of an overlay is to be cut. position is the point's distance
// from the edge's first point over the edge's length (0 at point1, 1 at point2). All objects
// are shared objects of the overlay's repository and edge factory.
struct SplitRecord {
    std::shared_ptr<core::Point2DI> point;
    double position = 0.0;
    std::shared_ptr<core::Edge2D> edge;
};

// For every cut edge (by identity) its chain of sub-edges from point1 to point2; an edge that
// is not cut has no entry.
using SplitMap =
    std::unordered_map<std::shared_ptr<core::Edge2D>, std::vector<std::shared_ptr<core::Edge2D>>>;

// A set of shared 2-D edges by identity.
using Edge2DSet = std::unordered_set<std::shared_ptr<core::Edge2D>>;

}  // namespace util
}  // namespace tin
