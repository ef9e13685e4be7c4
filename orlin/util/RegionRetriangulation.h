#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "orlin/util/RegionTinMap.h"
#include "orlin/util/SplitRecord.h"

namespace tin {
namespace core {
class Edge2D;
class Edge2DFactory;
class Point2DI;
class Point2DIRepository;
class Point2DIRingTree;
class Tin;
class Tin2D;
class Triangle;
}  // namespace core

namespace util {

// The last step of the overlay of two TINs, for one of them: triangulates the TIN's vertices
// and edges again together with the ring points and ring sides of the overlay's regions as
// constraints, so that every region boundary is a chain of triangle edges; gives every vertex
// the elevation of the TIN's own surface; and sorts the triangles into a RegionTinMap by
// flooding each region from a seed triangle at its interior point. The flood crosses the sides
// of the plane, not the 3-D edges, so a vertical step (two vertices at one position) inside a
// region does not cut it.
//
// Triangles the triangulator fills outside the TIN (its holes, the other TIN's area) are
// dropped, and triangles of no area flipped away (flipSlivers). Every output corner maps to an existing repository point; a run that returns a
// vertex it was not given (an unexpected crossing) fails with trianglecui::TriangleProcessError.
// The trees are visited in order, parents before children: the first region to reach a
// triangle takes it. A region whose interior point lies on no triangle of the TIN gets no entry;
// the regions nested in it are still visited. One triangulation run.
//
// Cost: linear-logarithmic in the triangles of the run; the new triangles are located on the
// TIN through a bucket grid and grouped over plain arrays, and each goes into one region TIN
// (or the null key) only. The source triangle of a new triangle is the first triangle of the
// TIN (in its own order) that holds its centroid.
class RegionRetriangulation {
public:
    // Whether the map is to hold the region of a node (null: the unclaimed triangles). A
    // region left out claims its triangles all the same; only its TIN is not built. Empty:
    // every key.
    using Wanted = std::function<bool(core::Point2DIRingTree const*)>;

    // low and high, the range of numbers tin2D gave its sides, are kept for callers that
    // number them; the source triangles are found by position. made, when given, receives
    // every triangle made, those of the regions left out included: the point factory shares a
    // live corner with later requests at its position, so a caller that makes more triangles
    // keeps these alive until then to get the same corners as with every region kept.
    // Each entry's triangles come as a list in the order a TIN of them holds them (tinsOf
    // makes those TINs).
    static RegionTriangleMap retriangulateTriangles(
        std::vector<std::shared_ptr<core::Point2DIRingTree>> const& trees,
        core::Tin2D const& tin2D, SplitMap const& splitMap, core::Tin const& tin, int low,
        int high, core::Point2DIRepository* repository, core::Edge2DFactory* factory,
        Wanted const& wanted = Wanted(),
        std::vector<std::shared_ptr<core::Triangle>>* made = nullptr);
    // A TIN of each list, in list order.
    static RegionTinMap tinsOf(RegionTriangleMap const& lists);

    // Empties work of the triangles that the regions claim.
    static RegionTinMap groupTrianglesByRegion(
        core::Tin& work, std::vector<std::shared_ptr<core::Point2DIRingTree>> const& trees,
        core::Point2DIRepository* repository, core::Edge2DFactory* factory);

    // Whether e is a side of the tree's own ring or of a direct child's ring.
    static bool isRegionBoundaryEdge(core::Edge2D const& e, core::Point2DIRingTree const& tree);

    // The triangles of a run (corner numbers into corners, counter-clockwise) of which a corner
    // lies within 1e-10 of the line through the other two, each flipped with its neighbour
    // across its longest side when both triangles of the other diagonal are higher than that;
    // the others stay as they are. Keeps the covered area.
    static void flipSlivers(std::vector<std::array<std::uint32_t, 3>>* triangles,
                            std::vector<std::shared_ptr<core::Point2DI>> const& corners);

private:
    struct PlanarAdjacency;
    static void makeTriangles(std::vector<std::array<std::uint32_t, 3>> const& triangles,
                              std::vector<std::shared_ptr<core::Point2DI>> const& corners,
                              core::Tin const& tin, PlanarAdjacency* adjacency);
    // Floods the regions over the listed triangles and sides. work, when given, is the TIN the
    // list was read from: the claimed triangles leave it and the null key is left to the
    // caller; otherwise the null key lists the unclaimed triangles, in list order.
    static RegionTriangleMap groupTriangles(
        PlanarAdjacency& adjacency,
        std::vector<std::shared_ptr<core::Point2DIRingTree>> const& trees, core::Tin* work,
        Wanted const& wanted);
    static void extractRegion(RegionTriangleMap& map,
                              std::shared_ptr<core::Point2DIRingTree> const& tree,
                              PlanarAdjacency& adjacency, Wanted const& wanted);
    // Claims the region's triangles; region, when not null, receives them in flood order.
    static void collectRegionTriangles(std::vector<std::shared_ptr<core::Triangle>>* region,
                                       std::uint32_t first, core::Point2DIRingTree const& tree,
                                       PlanarAdjacency& adjacency);
};

}  // namespace util
}  // namespace tin
