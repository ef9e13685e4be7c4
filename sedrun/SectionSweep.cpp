#include "sedrun/SectionSweep.h"

#include "mold/core/Mold.h"
#include "orlin/core/GeometryFunctions.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace tincreator {
namespace util {

using tin::core::Point;
using tin::core::Point2D;

namespace {

Point lerp(const Point& a, const Point& b, double t)
{
    return Point(a.x() + (b.x() - a.x()) * t, a.y() + (b.y() - a.y()) * t,
                 a.elevation() + (b.elevation() - a.elevation()) * t);
}

bool isFinite(const Point2D& p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

} // namespace

std::vector<SectionSweep::Section>
SectionSweep::computeSections(const std::vector<const Point*>& corners,
                              const std::vector<InnerVertex>& innerVertices,
                              const std::vector<Point>& path, bool closed,
                              const mold::core::Mold& mold)
{
    if (corners.size() < (closed ? 3u : 2u)) {
        return {};
    }
    SectionSweep sweep(corners, closed, mold);
    sweep.buildNodesAndSegments();
    // A pass that repaired something is followed by another even when nothing is pending, so
    // that every segment it changed is measured again before the margin divides by lengths.
    for (;;) {
        bool changed = false;
        const bool settled = sweep.repairPass(changed);
        if (settled && !changed) {
            break;
        }
    }
    if (sweep.m_segments.empty() || (closed && sweep.m_segments.size() < 3)) {
        return {};
    }
    sweep.addMargin();
    sweep.splitAtInnerVertices(innerVertices, path);
    return sweep.placeSections();
}

SectionSweep::Section SectionSweep::placeMold(double x, double y, double elevation,
                                              const Point2D& d, const mold::core::Mold& mold)
{
    // The normal points to the right of the walking direction, where offsets are positive.
    const double nx = d.y();
    const double ny = -d.x();
    const double length = std::hypot(nx, ny);
    Section section;
    section.reserve(mold.size());
    for (std::size_t i = 0; i < mold.size(); ++i) {
        const double l = mold.l().at(i);
        section.emplace_back(x + nx * (l / length), y + ny * (l / length),
                             elevation + mold.h().at(i));
    }
    return section;
}

SectionSweep::SectionSweep(const std::vector<const Point*>& corners, bool closed,
                           const mold::core::Mold& mold)
    : m_corners(corners),
      m_closed(closed),
      m_mold(mold),
      m_widthL(mold.widthL()),
      m_widthR(mold.widthR()),
      m_tolerance((mold.widthL() + mold.widthR()) * 0.1)
{
}

SectionSweep::Node* SectionSweep::newNode(const Point2D& position)
{
    m_nodePool.emplace_back();
    Node* node = &m_nodePool.back();
    node->position = position;
    return node;
}

SectionSweep::Segment* SectionSweep::newSegment(Node* start, Node* end, int cornerIndex)
{
    m_segmentPool.emplace_back();
    Segment* segment = &m_segmentPool.back();
    segment->start = start;
    segment->end = end;
    segment->cornerIndex = cornerIndex;
    start->outgoing = segment;
    end->incoming = segment;
    return segment;
}

bool SectionSweep::pending(const Node& node)
{
    return !node.computed && node.incoming && node.outgoing;
}

void SectionSweep::buildNodesAndSegments()
{
    const int count = static_cast<int>(m_corners.size());
    for (const Point* corner : m_corners) {
        m_nodes.push_back(newNode(Point2D(corner->x(), corner->y())));
    }
    // A closed path's closing segment stands first, so that its sections come first.
    if (m_closed) {
        m_segments.push_back(newSegment(m_nodes[count - 1], m_nodes[0], count - 1));
    }
    for (int i = 0; i + 1 < count; ++i) {
        m_segments.push_back(newSegment(m_nodes[i], m_nodes[i + 1], i));
    }
}

void SectionSweep::updateSetbacks(Node& node) const
{
    const Point2D back = node.incoming->start->position - node.position;
    const Point2D forward = node.outgoing->end->position - node.position;
    const double c = forward.length();
    const double d = back.length();
    const double cross = tin::core::outerProd(back, forward);
    node.computed = true;
    // Collinear neighbours, a reversal among them: nothing to cut back.
    if (cross == 0.0 || c == 0.0 || d == 0.0) {
        node.incoming->endSetback = 0.0;
        node.outgoing->startSetback = 0.0;
        return;
    }
    // A left turn (cross < 0) has its inner side on the left.
    const double width = cross < 0.0 ? m_widthL : m_widthR;
    const double e = width * (tin::core::innerProd(back, forward) + c * d) / std::fabs(cross);
    node.incoming->endSetback = e / d;
    node.outgoing->startSetback = e / c;
}

bool SectionSweep::isShort(const Segment& segment) const
{
    const double length = (segment.end->position - segment.start->position).length();
    const double left = (1.0 - segment.endSetback - segment.startSetback) * length - 2.0 * m_tolerance;
    // Written so that a NaN from an overflowing setback counts as short.
    return !(left > 0.0);
}

std::vector<SectionSweep::Run> SectionSweep::findShortRuns(const std::vector<char>& shortFlags,
                                                           bool& allShort) const
{
    const std::size_t n = shortFlags.size();
    std::vector<Run> runs;
    allShort = false;
    if (!m_closed) {
        for (std::size_t i = 0; i < n;) {
            if (!shortFlags[i]) {
                ++i;
                continue;
            }
            std::size_t j = i;
            while (j + 1 < n && shortFlags[j + 1]) {
                ++j;
            }
            runs.push_back(Run{i, j, j + 1 < n, j + 1});
            i = j + 1;
        }
        return runs;
    }
    // On a ring a run may wrap around the end of the list: walk from just after a segment
    // that is not short, so that no run is cut in two.
    const auto firstLong = std::find(shortFlags.begin(), shortFlags.end(), 0);
    if (firstLong == shortFlags.end()) {
        allShort = n > 0;
        return runs;
    }
    const std::size_t origin = static_cast<std::size_t>(firstLong - shortFlags.begin());
    for (std::size_t k = 1; k <= n;) {
        const std::size_t i = (origin + k) % n;
        if (!shortFlags[i]) {
            ++k;
            continue;
        }
        std::size_t last = k;
        while (shortFlags[(origin + last + 1) % n]) {
            ++last;
        }
        runs.push_back(Run{i, (origin + last) % n, true, (origin + last + 1) % n});
        k = last + 1;
    }
    return runs;
}

void SectionSweep::repairRun(const Run& run, std::vector<Node*>& newNodes, bool& collapsed)
{
    const std::size_t n = m_segments.size();
    Segment* q = m_segments[run.first];
    Segment* r = m_segments[run.last];
    Segment* before = q->start->incoming;
    Segment* after = run.hasNext ? m_segments[run.next] : nullptr;

    if (m_closed && before == after) {
        // Everything but one segment is eaten up: the ring encloses nothing.
        collapsed = true;
        return;
    }
    // A neighbour that an earlier run of this pass removed: leave this run to the next pass.
    if ((before && before->removed) || (after && after->removed)) {
        return;
    }

    for (std::size_t i = run.first;; i = (i + 1) % n) {
        m_segments[i]->removed = true;
        if (i != run.first) {
            m_segments[i]->start->removed = true;
        }
        if (i == run.last) {
            break;
        }
    }

    if (!before && !after) {
        q->start->removed = true;
        r->end->removed = true;
        return;
    }
    if (!before) {
        // The open path now begins where the run ended.
        q->start->removed = true;
        r->end->incoming = nullptr;
        return;
    }
    if (!after) {
        // Likewise at the end of an open path.
        r->end->removed = true;
        q->start->outgoing = nullptr;
        return;
    }

    const Point2D dirBefore = before->end->position - before->start->position;
    const Point2D dirAfter = after->end->position - after->start->position;
    const double cross = tin::core::outerProd(dirBefore, dirAfter);

    if (q == r) {
        q->start->removed = true;
        q->end->removed = true;
        Point2D position;
        bool found = false;
        if (cross != 0.0 && tin::core::innerProd(dirBefore, dirAfter) >= 0.0) {
            const double t =
                tin::core::outerProd(after->start->position - before->start->position, dirAfter)
                / cross;
            position = before->start->position + t * dirBefore;
            found = isFinite(position);
        }
        if (!found) {
            // Parallel or pointing back against each other: the length-weighted middle.
            const double lengthBefore = dirBefore.length();
            const double lengthAfter = dirAfter.length();
            const double total = lengthBefore + lengthAfter;
            position = total > 0.0 ? (lengthBefore * before->end->position
                                      + lengthAfter * after->start->position)
                                         / total
                                   : Point2D(before->end->position);
        }
        Node* node = newNode(position);
        node->incoming = before;
        node->outgoing = after;
        before->end = node;
        after->start = node;
        newNodes.push_back(node);
        return;
    }

    if (cross != 0.0) {
        // The first short segment spans the whole run; its ends are measured again.
        q->removed = false;
        q->end = r->end;
        r->end->incoming = q;
        q->start->computed = false;
        q->end->computed = false;
    } else {
        after->removed = true;
        q->start->removed = true;
        r->end->removed = true;
        before->end = after->end;
        after->end->incoming = before;
        before->start->computed = false;
        before->end->computed = false;
    }
}

void SectionSweep::dropRemoved(std::vector<Node*>& newNodes)
{
    m_segments.erase(std::remove_if(m_segments.begin(), m_segments.end(),
                                    [](const Segment* s) { return s->removed; }),
                     m_segments.end());
    m_nodes.insert(m_nodes.end(), newNodes.begin(), newNodes.end());
    std::vector<Node*> kept;
    kept.reserve(m_nodes.size());
    for (Node* node : m_nodes) {
        if (node->removed) {
            continue;
        }
        if (node->incoming && node->incoming->removed) {
            node->incoming = nullptr;
        }
        if (node->outgoing && node->outgoing->removed) {
            node->outgoing = nullptr;
        }
        if (node->incoming || node->outgoing) {
            kept.push_back(node);
        }
    }
    m_nodes.swap(kept);
}

bool SectionSweep::repairPass(bool& changed)
{
    for (Node* node : m_nodes) {
        if (pending(*node)) {
            updateSetbacks(*node);
        }
    }
    std::vector<char> shortFlags(m_segments.size());
    for (std::size_t i = 0; i < m_segments.size(); ++i) {
        shortFlags[i] = isShort(*m_segments[i]) ? 1 : 0;
    }
    bool allShort = false;
    const std::vector<Run> runs = findShortRuns(shortFlags, allShort);
    bool collapsed = allShort;
    std::vector<Node*> newNodes;
    for (const Run& run : runs) {
        if (collapsed) {
            break;
        }
        repairRun(run, newNodes, collapsed);
    }
    if (collapsed) {
        m_segments.clear();
        m_nodes.clear();
        changed = true;
        return true;
    }
    changed = !runs.empty();
    dropRemoved(newNodes);
    return std::none_of(m_nodes.begin(), m_nodes.end(), [](const Node* n) { return pending(*n); });
}

void SectionSweep::addMargin()
{
    for (Segment* segment : m_segments) {
        const double length = (segment->end->position - segment->start->position).length();
        segment->startSetback += m_tolerance / length;
        segment->endSetback += m_tolerance / length;
    }
    if (!m_closed) {
        m_segments.front()->startSetback = 0.0;
        m_segments.back()->endSetback = 0.0;
    }
}

void SectionSweep::splitAtInnerVertices(const std::vector<InnerVertex>& innerVertices,
                                        const std::vector<Point>& path)
{
    const int cornerCount = static_cast<int>(m_corners.size());
    std::unordered_map<int, Segment*> byCorner;
    for (Segment* segment : m_segments) {
        byCorner[segment->cornerIndex] = segment;
    }
    std::unordered_map<const Segment*, std::vector<std::pair<double, std::size_t>>> hits;
    for (const InnerVertex& vertex : innerVertices) {
        int corner = vertex.lastCorner;
        // Before the first corner or after the last one: the closing segment of a ring.
        if (m_closed && (corner == -1 || corner == cornerCount - 1)) {
            corner = cornerCount - 1;
        }
        const auto found = byCorner.find(corner);
        if (found == byCorner.end()) {
            continue;
        }
        const Segment* segment = found->second;
        const Point& v = path.at(vertex.pathIndex);
        const Point2D direction = segment->end->position - segment->start->position;
        const double lengthSqr = direction.lengthSqr();
        if (lengthSqr == 0.0) {
            continue;
        }
        const double t =
            tin::core::innerProd(Point2D(v.x(), v.y()) - segment->start->position, direction)
            / lengthSqr;
        if (segment->startSetback < t && t < 1.0 - segment->endSetback) {
            hits[segment].emplace_back(t, vertex.pathIndex);
        }
    }
    if (hits.empty()) {
        return;
    }

    std::vector<Segment*> segments;
    for (Segment* segment : m_segments) {
        auto found = hits.find(segment);
        if (found == hits.end()) {
            segments.push_back(segment);
            continue;
        }
        auto& vertices = found->second;
        std::stable_sort(vertices.begin(), vertices.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<Node*> nodes{segment->start};
        for (const auto& hit : vertices) {
            const Point& v = path[hit.second];
            Node* node = newNode(Point2D(v.x(), v.y()));
            node->hasElevation = true;
            node->elevation = v.elevation();
            node->split = true;
            nodes.push_back(node);
        }
        nodes.push_back(segment->end);
        // The setbacks keep their absolute length on the first and the last sub-segment.
        const double length = (segment->end->position - segment->start->position).length();
        const std::size_t first = segments.size();
        for (std::size_t j = 0; j + 1 < nodes.size(); ++j) {
            segments.push_back(newSegment(nodes[j], nodes[j + 1], segment->cornerIndex));
        }
        Segment* head = segments[first];
        Segment* tail = segments.back();
        const double headLength = (head->end->position - head->start->position).length();
        const double tailLength = (tail->end->position - tail->start->position).length();
        head->startSetback = headLength > 0.0 ? length * segment->startSetback / headLength : 0.0;
        tail->endSetback = tailLength > 0.0 ? length * segment->endSetback / tailLength : 0.0;
    }
    m_segments.swap(segments);
}

Point SectionSweep::pointAt(const Node& node, int cornerIndex) const
{
    if (node.hasElevation) {
        return Point(node.position.x(), node.position.y(), node.elevation);
    }
    const int count = static_cast<int>(m_corners.size());
    const Point& from = *m_corners.at(static_cast<std::size_t>(cornerIndex));
    const Point& to = *m_corners.at(static_cast<std::size_t>((cornerIndex + 1) % count));
    const Point2D direction(to.x() - from.x(), to.y() - from.y());
    const double lengthSqr = direction.lengthSqr();
    const double t = lengthSqr > 0.0
                         ? tin::core::innerProd(
                               Point2D(node.position.x() - from.x(), node.position.y() - from.y()),
                               direction)
                               / lengthSqr
                         : 0.0;
    return Point(node.position.x(), node.position.y(),
                 (1.0 - t) * from.elevation() + t * to.elevation());
}

std::vector<SectionSweep::Section> SectionSweep::placeSections() const
{
    std::vector<Section> sections;
    std::unordered_set<const Node*> placedSplitNodes;
    for (const Segment* segment : m_segments) {
        const Point start = pointAt(*segment->start, segment->cornerIndex);
        const Point end = pointAt(*segment->end, segment->cornerIndex);
        const Point qA = lerp(start, end, segment->startSetback);
        const Point qB = lerp(end, start, segment->endSetback);
        Point2D direction(qB.x() - qA.x(), qB.y() - qA.y());
        if (direction.length() == 0.0) {
            direction = Point2D(end.x() - start.x(), end.y() - start.y());
        }
        if (direction.length() == 0.0) {
            continue;
        }
        auto place = [&](const Node& node, const Point& at) {
            if (node.split && !placedSplitNodes.insert(&node).second) {
                return;
            }
            sections.push_back(placeMold(at.x(), at.y(), at.elevation(), direction, m_mold));
        };
        place(*segment->start, qA);
        place(*segment->end, qB);
    }
    return sections;
}

} // namespace util
} // namespace tincreator
