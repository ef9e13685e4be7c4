#pragma once

#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"

#include <cstddef>
#include <deque>
#include <vector>

namespace mold {
namespace core {
class Mold;
}
} // namespace mold

namespace tincreator {
namespace util {

/// Decides where along a path the mold is placed, and places it: the sections of a sweep.
///
/// Input: the corners of the path (where it turns), the inner vertices (path vertices that are
/// not corners, each with the index of the last corner before it, -1 when none), the path and
/// whether it is closed. Every stretch between consecutive corners is a segment. At each corner
/// both segments are cut back by the setback w * cot(half the angle between them), w being the
/// mold's width on the inner side of the bend (widthL for a left turn, widthR for a right turn),
/// so that the sections on either side of the bend do not cross there. Segments that setbacks
/// eat up are merged or replaced until none is left short; then a margin of
/// tol = 0.1 * (widthL + widthR) is added at both ends of every segment (not at the two ends of
/// an open path), segments are split at the inner vertices that lie within them, and the mold
/// is placed twice per segment (once near each end) and once per split vertex.
///
/// Degenerate input ends and yields finite points only: a node whose two segments are
/// collinear (also a 180-degree reversal) has setbacks 0; a short run at either end of an open
/// path is dropped; on a closed path a short run may wrap around the end of the segment list,
/// and a ring left with fewer than three segments, or with every segment short, has no
/// sections; a section is placed only along a direction of non-zero length.
///
/// Every repair pass removes at least one segment, so the passes are at most as many as the
/// corners plus one; the whole computation is O(c^2 + v log v + s m) for c corners, v inner
/// vertices, s sections and m mold points.
class SectionSweep
{
public:
    using Section = std::vector<tin::core::Point>;

    struct InnerVertex
    {
        std::size_t pathIndex;
        int lastCorner;
    };

    /// corners point into path. The sections are in path order, each with mold.size() points
    /// in mold order; their points are new, not interned.
    static std::vector<Section> computeSections(const std::vector<const tin::core::Point*>& corners,
                                                const std::vector<InnerVertex>& innerVertices,
                                                const std::vector<tin::core::Point>& path,
                                                bool closed, const mold::core::Mold& mold);

    /// The mold placed at position (x, y, elevation) across the direction d: point i lies at
    /// l[i] to the right of d and h[i] above the position. d must not be of zero length.
    static Section placeMold(double x, double y, double elevation, const tin::core::Point2D& d,
                             const mold::core::Mold& mold);

private:
    struct Segment;

    struct Node
    {
        tin::core::Point2D position;
        Segment* incoming = nullptr;
        Segment* outgoing = nullptr;
        bool computed = false;
        bool hasElevation = false;
        double elevation = 0.0;
        bool split = false;
        bool removed = false;
    };

    struct Segment
    {
        Node* start = nullptr;
        Node* end = nullptr;
        double startSetback = 0.0;
        double endSetback = 0.0;
        int cornerIndex = 0;
        bool removed = false;
    };

    struct Run
    {
        std::size_t first;
        std::size_t last;
        bool hasNext; // false: the run reaches the end of an open path
        std::size_t next;
    };

    SectionSweep(const std::vector<const tin::core::Point*>& corners, bool closed,
                 const mold::core::Mold& mold);

    void buildNodesAndSegments();
    bool repairPass(bool& changed);
    void updateSetbacks(Node& node) const;
    bool isShort(const Segment& segment) const;
    std::vector<Run> findShortRuns(const std::vector<char>& shortFlags, bool& allShort) const;
    void repairRun(const Run& run, std::vector<Node*>& newNodes, bool& collapsed);
    void dropRemoved(std::vector<Node*>& newNodes);
    void addMargin();
    void splitAtInnerVertices(const std::vector<InnerVertex>& innerVertices,
                              const std::vector<tin::core::Point>& path);
    std::vector<Section> placeSections() const;
    tin::core::Point pointAt(const Node& node, int cornerIndex) const;

    Node* newNode(const tin::core::Point2D& position);
    Segment* newSegment(Node* start, Node* end, int cornerIndex);
    static bool pending(const Node& node);

    const std::vector<const tin::core::Point*>& m_corners;
    bool m_closed;
    const mold::core::Mold& m_mold;
    double m_widthL;
    double m_widthR;
    double m_tolerance;

    std::deque<Node> m_nodePool;
    std::deque<Segment> m_segmentPool;
    std::vector<Node*> m_nodes;
    std::vector<Segment*> m_segments;
};

} // namespace util
} // namespace tincreator
