#include "orlin/util/TinOverlay.h"

#include "orlin/core/Edge2D.h"
#include "orlin/core/Edge2DFactory.h"
#include "orlin/core/Point2DIRepository.h"
#include "orlin/core/Point2DIRingTree.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Tin2D.h"
#include "orlin/core/Triangle2D.h"
#include "orlin/core/Triangle.h"
#include "orlin/util/OverlayTriangulation.h"
#include "orlin/util/RegionRetriangulation.h"
#include "orlin/util/RingTracer.h"
#include "orlin/util/UniqueListT.h"

namespace tin {
namespace util {

void TinOverlay::overlayTins(core::Tin const& first, core::Tin const& second,
                             RegionProcessor processor,
                             std::vector<std::shared_ptr<core::Point2DIRingTree>>* regions,
                             RegionTinMap* firstRegions, RegionTinMap* secondRegions)
{
    overlayTins(first, second, std::move(processor), RegionSelector(), regions, firstRegions,
                secondRegions);
}

void TinOverlay::overlayTins(core::Tin const& first, core::Tin const& second,
                             RegionProcessor processor, RegionSelector const& selector,
                             std::vector<std::shared_ptr<core::Point2DIRingTree>>* regions,
                             RegionTinMap* firstRegions, RegionTinMap* secondRegions)
{
    RegionTriangleMap firstLists, secondLists;
    overlayTins(first, second, std::move(processor), selector, regions, &firstLists,
                &secondLists);
    *firstRegions = RegionRetriangulation::tinsOf(firstLists);
    *secondRegions = RegionRetriangulation::tinsOf(secondLists);
}

void TinOverlay::overlayTins(core::Tin const& first, core::Tin const& second,
                             RegionProcessor processor, RegionSelector const& selector,
                             std::vector<std::shared_ptr<core::Point2DIRingTree>>* regions,
                             RegionTriangleMap* firstRegions, RegionTriangleMap* secondRegions)
{
    // Declared in this order so that they die in reverse order of creation.
    core::Point2DIRepository repository;
    core::Edge2DFactory factory(&repository);
    // Both tables would otherwise double a dozen times. An overlay of n triangles keeps about
    // n positions and three to four times as many edges (the crossings add to both); the
    // hint is kept low so that disjoint TINs do not pay for tables they never fill.
    std::size_t const triangles = first.allTriangles().size() + second.allTriangles().size();
    repository.reserve(triangles);
    factory.reserve(3 * triangles);
    core::Tin2D first2D(first, &repository, &factory);
    core::Tin2D second2D(second, &repository, &factory);

    std::vector<std::shared_ptr<core::Edge2D>> crossingSegments;
    std::vector<SplitRecord> splitRecords;
    int firstLow = 0, firstHigh = -1, secondLow = 0, secondHigh = -1;
    OverlayTriangulation::intersectTins(first, second, first2D, second2D, &crossingSegments,
                                        &splitRecords, &firstLow, &firstHigh, &secondLow,
                                        &secondHigh, &repository, &factory);
    // Only the outline's edges are cut here; the chains of the other edges cut by the
    // records are never asked for.
    std::vector<std::shared_ptr<core::Edge2D>> outline;
    for (core::Tin2D const* t2 : {&first2D, &second2D}) {
        for (core::Edge2D* e : t2->outerEdges()) {
            outline.push_back(factory.factory(e->point1(), e->point2()));
        }
    }
    Edge2DSet const splitOutline = OverlayTriangulation::splitEdges(outline, splitRecords, &factory);
    // The arrangement cut at every vertex of either TIN and every end of its edges that lies
    // on one of its edges: the re-triangulations cut their constraints at the same points, so
    // the regions' sides are the very sides their floods stop at.
    UniqueListT<core::Point2DI> vertices;
    for (core::Tin2D const* t2 : {&first2D, &second2D}) {
        for (auto const& t : t2->triangles()) {
            for (int i = 0; i < 3; ++i) {
                vertices.insert(t->point(i));
            }
        }
    }
    std::vector<std::shared_ptr<core::Edge2D>> arrangement(splitOutline.begin(), splitOutline.end());
    std::size_t const outlineCount = arrangement.size();
    arrangement.insert(arrangement.end(), crossingSegments.begin(), crossingSegments.end());
    for (auto const& e : arrangement) {
        vertices.insert(e->point1());
        vertices.insert(e->point2());
    }
    Edge2DSet outerEdges;
    std::vector<std::shared_ptr<core::Edge2D>> crossingPieces;
    {
        std::vector<std::shared_ptr<core::Edge2D>> outlineEdges(arrangement.begin(),
                                                                arrangement.begin() + static_cast<std::ptrdiff_t>(outlineCount));
        std::vector<std::shared_ptr<core::Edge2D>> crossings(arrangement.begin() + static_cast<std::ptrdiff_t>(outlineCount),
                                                             arrangement.end());
        for (auto& e : OverlayTriangulation::cutAtPoints(outlineEdges, vertices.items(), &factory)) {
            outerEdges.insert(std::move(e));
        }
        crossingPieces = OverlayTriangulation::cutAtPoints(crossings, vertices.items(), &factory);
    }
    *regions = RingTracer::traceRegionRings(outerEdges, crossingPieces);
    processor(*regions, first, second);

    SplitMap const regionSplits = OverlayTriangulation::buildSplitMap(
        OverlayTriangulation::filterSplitRecords(splitRecords, *regions), &factory);
    auto wanted = [&selector](bool ofFirst) {
        return selector ? RegionRetriangulation::Wanted([&selector, ofFirst](
                                                            core::Point2DIRingTree const* region) {
            return selector(region, ofFirst);
        })
                        : RegionRetriangulation::Wanted();
    };
    // The first TIN's triangles outlive the second run, as they do when every region TIN is
    // kept: the point factory gives the second TIN's corners the first's live points there.
    std::vector<std::shared_ptr<core::Triangle>> firstMade;
    *firstRegions = RegionRetriangulation::retriangulateTriangles(
        *regions, first2D, regionSplits, first, firstLow, firstHigh, &repository, &factory,
        wanted(true), &firstMade);
    *secondRegions = RegionRetriangulation::retriangulateTriangles(
        *regions, second2D, regionSplits, second, secondLow, secondHigh, &repository, &factory,
        wanted(false));
}

}  // namespace util
}  // namespace tin
