#include "orlin/util/PointSetToTin.h"

#include "orlin/core/Breakline.h"
#include "orlin/core/Edge.h"
#include "orlin/core/Point.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/support/AlignedMapping.h"
#include "orlin/support/HashMix.h"
#include "orlin/support/LargeTableAllocatorT.h"
#include "orlin/support/Prefetch.h"
#include "orlin/util/AssertError.h"
#include "orlin/util/PointResolution.h"
#include "orlin/util/PointSetModifier.h"
#include "orlin/util/TinModifier.h"
#include "orlin/util/TriangleRecord.h"

#include <common/exception/RuntimeException.h>
#include <trianglecui/TriangleProcess.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iostream>
#include <limits>
#include <locale>
#include <map>
#include <sstream>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tin {
namespace util {

using core::Breakline;
using core::Point;
using core::Point2D;
using core::PointRing;
using core::PointSet;
using core::Tin;
using core::Triangle;

namespace {

using PointPtr = std::shared_ptr<Point>;
using BreaklineList = std::vector<std::shared_ptr<Breakline>>;

// Asks for huge pages under a buffer of the C heap that is about to be written for the first
// time (reserved, not yet filled): a survey-sized array then costs one page fault per 2 MiB
// instead of one per 4 KiB. Memory the heap hands out again was touched before and is left as
// it is.
void adviseHugePages(void const* data, std::size_t bytes)
{
    support::AlignedMapping::adviseHugePages(const_cast<void*>(data), bytes);
}

// The vertices of a run by exact position (-0 and +0 alike): open addressing over
// indices into the run's point list, so that a survey of a million points costs one
// flat array instead of a hash node per point. Each slot keeps 32 bits of its position's
// hash beside the index: a probe that passes another position compares the tags, not the
// positions, so it reads no point list entry at random.
class PositionTable {
public:
    // Room for count vertices without regrowing.
    void reserve(std::size_t count, std::vector<double> const& xy)
    {
        std::size_t capacity = 16;
        while (capacity < 2 * count) {
            capacity *= 2;
        }
        if (capacity > m_slots.size()) {
            resize(capacity, xy);
        }
    }

    // The vertex at the position, or -1.
    int find(std::vector<double> const& xy, double x, double y) const
    {
        if (m_slots.empty()) {
            return -1;
        }
        std::uint64_t h = hash(x, y);
        std::size_t mask = m_slots.size() - 1;
        for (std::size_t slot = h & mask;; slot = (slot + 1) & mask) {
            std::uint64_t e = m_slots[slot];
            if (e == EMPTY) {
                return -1;
            }
            if (tagOf(e) == tagOf(h) && at(xy, indexOf(e), x, y)) {
                return indexOf(e);
            }
        }
    }

    // Files vertex index (its position is in xy, its hash is h) unless a vertex stands
    // there already; returns the vertex at the position either way.
    int insert(std::vector<double> const& xy, int index, std::uint64_t h)
    {
        reserve(m_count + 1, xy);
        double x = xy[2 * static_cast<std::size_t>(index)];
        double y = xy[2 * static_cast<std::size_t>(index) + 1];
        std::size_t mask = m_slots.size() - 1;
        for (std::size_t slot = h & mask;; slot = (slot + 1) & mask) {
            std::uint64_t e = m_slots[slot];
            if (e == EMPTY) {
                m_slots[slot] = entry(h, index);
                ++m_count;
                return index;
            }
            if (tagOf(e) == tagOf(h) && at(xy, indexOf(e), x, y)) {
                return indexOf(e);
            }
        }
    }

    // The slot where a search for the hash begins, for the caller to prefetch. (A
    // prefetch inside a const member of a local class is dropped: the compiler finds the
    // member free of effects and removes its calls.) Requires a reserved table.
    std::uint64_t const* home(std::uint64_t h) const { return &m_slots[h & (m_slots.size() - 1)]; }

    static std::uint64_t hash(double x, double y)
    {
        return support::mixWords(support::coordinateBits(x), support::coordinateBits(y));
    }

    void release()
    {
        Slots().swap(m_slots);
        m_count = 0;
    }

private:
    using Slots = std::vector<std::uint64_t, support::LargeTableAllocatorT<std::uint64_t>>;
    static constexpr std::uint64_t EMPTY = ~std::uint64_t(0);

    // The tag is the hash's high half, the home slot comes from its low bits.
    static std::uint64_t entry(std::uint64_t h, int index)
    {
        return (h & 0xFFFFFFFF00000000ull) | static_cast<std::uint32_t>(index);
    }
    static std::uint64_t tagOf(std::uint64_t e) { return e >> 32; }
    static int indexOf(std::uint64_t e) { return static_cast<int>(static_cast<std::uint32_t>(e)); }

    static bool at(std::vector<double> const& xy, int v, double x, double y)
    {
        auto i = 2 * static_cast<std::size_t>(v);
        return xy[i] == x && xy[i + 1] == y;
    }

    void resize(std::size_t capacity, std::vector<double> const& xy)
    {
        Slots old(capacity, EMPTY);
        old.swap(m_slots);
        std::size_t mask = capacity - 1;
        for (std::uint64_t e : old) {
            if (e == EMPTY) {
                continue;
            }
            auto i = 2 * static_cast<std::size_t>(indexOf(e));
            std::size_t slot = hash(xy[i], xy[i + 1]) & mask;
            while (m_slots[slot] != EMPTY) {
                slot = (slot + 1) & mask;
            }
            m_slots[slot] = e;
        }
    }

    Slots m_slots;
    std::size_t m_count = 0;
};

// The input of one triangulation run: vertices by exact position, the flat point
// list and the segment list, as the triangulation process takes them. Vertices refer
// to the shared pointers of the caller's point list and of the ring, which the run
// keeps: a million reference counts need not be raised and dropped again.
struct Run {
    PositionTable table;
    std::vector<PointPtr> ringPoints;
    std::vector<PointPtr const*, support::LargeTableAllocatorT<PointPtr const*>> vertices;
    std::vector<double> pointList; // the type the triangulation process takes
    std::vector<int> segments;

    int find(double x, double y) const { return table.find(pointList, x, y); }
    PointPtr const& vertex(std::size_t i) const { return *vertices[i]; }
};

std::string positionMessage(char const* text, double x, double y)
{
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s << text << x << ", " << y << ")";
    return s.str();
}

// The ring's corners, then the points, each position once (the first point there
// stands for it and gets its vertex index as id). Two passes: the first reads the points
// in list order into the position list and hashes them, streaming; the second files
// them, its only random accesses being the table slots, which it loads far ahead.
void addVertices(Run& run, std::size_t sides, std::vector<PointPtr> const& points)
{
    std::size_t const count = sides + points.size();
    auto candidate = [&](std::size_t k) -> PointPtr const& {
        return k < sides ? run.ringPoints[k] : points[k - sides];
    };
    std::vector<double>& xy = run.pointList;
    xy.reserve(2 * count);
    adviseHugePages(xy.data(), 2 * count * sizeof(double));
    xy.resize(2 * count);
    run.vertices.reserve(count);
    run.table.reserve(count, xy);

    std::vector<std::uint64_t, support::LargeTableAllocatorT<std::uint64_t>> hashes(count);
    for (std::size_t k = 0; k < count; ++k) {
        Point const& p = *candidate(k);
        xy[2 * k] = p.x();
        xy[2 * k + 1] = p.y();
        hashes[k] = PositionTable::hash(p.x(), p.y());
    }

    // A kept position moves down to the next vertex slot; moving never overtakes reading.
    constexpr std::size_t AHEAD = 32;
    for (std::size_t k = 0; k < std::min(AHEAD, count); ++k) {
        support::prefetchLine(run.table.home(hashes[k]));
    }
    std::size_t kept = 0;
    for (std::size_t k = 0; k < count; ++k) {
        if (k + AHEAD < count) {
            support::prefetchLine(run.table.home(hashes[k + AHEAD]));
        }
        xy[2 * kept] = xy[2 * k];
        xy[2 * kept + 1] = xy[2 * k + 1];
        auto const index = static_cast<int>(kept);
        if (run.table.insert(xy, index, hashes[k]) != index) {
            continue;
        }
        PointPtr const& p = candidate(k);
        p->setId(index);
        run.vertices.push_back(&p);
        ++kept;
    }
    xy.resize(2 * kept);
}

int vertexAt(Run const& run, Point const& p)
{
    int v = run.find(p.x(), p.y());
    if (v < 0) {
        throw AssertError(positionMessage("Point not found in getPointAt at (", p.x(), p.y()));
    }
    return v;
}

bool isVertex(Run const& run, Point const& p)
{
    return run.find(p.x(), p.y()) >= 0;
}

// Builds the run of one region ring and triangulates it into record. With
// runBreaklinesOnly, a breakline whose ends are not both vertices of the run is left
// out instead of failing the run.
void triangulate(PointRing const& ring, std::vector<PointPtr> const& points,
                 BreaklineList const& breaklines, TriangleRecord& record, Run& run, bool quality,
                 bool runBreaklinesOnly)
{
    run.ringPoints = ring.points();
    std::vector<PointPtr> const& ringPoints = run.ringPoints;
    std::size_t sides = ringPoints.empty() ? 0 : ringPoints.size() - 1;
    addVertices(run, sides, points);
    run.segments.reserve(2 * (breaklines.size() + sides));

    // Directed: a segment is sent once per direction it is met in.
    std::unordered_set<EdgeKey, EdgeKeyHash> sent;
    auto addSegment = [&](PointPtr const& a, PointPtr const& b) {
        int ia = vertexAt(run, *a);
        int ib = vertexAt(run, *b);
        // Two point objects at one position are one vertex: no segment joins them.
        if (ia != ib && sent.emplace(a.get(), b.get()).second) {
            run.segments.push_back(ia);
            run.segments.push_back(ib);
        }
    };
    for (std::size_t i = 0; i < sides; ++i) {
        addSegment(ringPoints[i], ringPoints[i + 1]);
    }
    for (auto const& b : breaklines) {
        if (runBreaklinesOnly && !(isVertex(run, *b->point1()) && isVertex(run, *b->point2()))) {
            continue;
        }
        addSegment(b->point1(), b->point2());
    }

    std::vector<int> none;
    trianglecui::TriangleProcess::execute(quality ? "pjzQq40" : "pjzQ", run.pointList, none,
                                          run.segments, none, none, none, record.get(), true);
}

// ---------------------------------------------------------------------------------
// Elevations of vertices the first run adds.

double segmentDistanceSqr(double px, double py, double ax, double ay, double bx, double by, double* t)
{
    double vx = bx - ax;
    double vy = by - ay;
    double len2 = vx * vx + vy * vy;
    double s = len2 > 0.0 ? ((px - ax) * vx + (py - ay) * vy) / len2 : 0.0;
    s = std::min(1.0, std::max(0.0, s));
    *t = s;
    double dx = ax + s * vx - px;
    double dy = ay + s * vy - py;
    return dx * dx + dy * dy;
}

// Finds the input segments each new vertex lies on: a uniform grid over the segments'
// boxes, with segments spanning many cells checked for every vertex.
class SegmentLocator {
public:
    explicit SegmentLocator(Run const& run) : m_run(run)
    {
        std::size_t count = run.segments.size() / 2;
        double xMin = std::numeric_limits<double>::max(), yMin = xMin;
        double xMax = -xMin, yMax = -xMin;
        for (std::size_t i = 0; i + 1 < run.pointList.size(); i += 2) {
            xMin = std::min(xMin, run.pointList[i]);
            xMax = std::max(xMax, run.pointList[i]);
            yMin = std::min(yMin, run.pointList[i + 1]);
            yMax = std::max(yMax, run.pointList[i + 1]);
        }
        m_xMin = xMin;
        m_yMin = yMin;
        m_cells = std::max<std::size_t>(1, static_cast<std::size_t>(std::sqrt(static_cast<double>(count))));
        double span = std::max(xMax - xMin, yMax - yMin);
        m_cellSize = span > 0.0 ? span / static_cast<double>(m_cells) : 1.0;
        m_scale = std::max({std::fabs(xMin), std::fabs(xMax), std::fabs(yMin), std::fabs(yMax), span, 1.0});
        m_grid.resize(m_cells * m_cells);
        for (std::size_t s = 0; s < count; ++s) {
            double ax, ay, bx, by;
            ends(s, &ax, &ay, &bx, &by);
            std::size_t cx0 = cell(std::min(ax, bx) - m_xMin), cx1 = cell(std::max(ax, bx) - m_xMin);
            std::size_t cy0 = cell(std::min(ay, by) - m_yMin), cy1 = cell(std::max(ay, by) - m_yMin);
            if ((cx1 - cx0 + 1) * (cy1 - cy0 + 1) > 64) {
                m_long.push_back(s);
                continue;
            }
            for (std::size_t cy = cy0; cy <= cy1; ++cy) {
                for (std::size_t cx = cx0; cx <= cx1; ++cx) {
                    m_grid[cy * m_cells + cx].push_back(s);
                }
            }
        }
    }

    // Mean of the elevations interpolated along every segment within rounding of the
    // position; false when no segment passes there.
    bool elevationAt(double x, double y, double* z) const
    {
        double tolerance = 1e-9 * m_scale;
        double tolerance2 = tolerance * tolerance;
        double sum = 0.0;
        int hits = 0;
        auto test = [&](std::size_t s) {
            double ax, ay, bx, by, t;
            ends(s, &ax, &ay, &bx, &by);
            if (segmentDistanceSqr(x, y, ax, ay, bx, by, &t) <= tolerance2) {
                Point const& a = *m_run.vertex(static_cast<std::size_t>(m_run.segments[2 * s]));
                Point const& b = *m_run.vertex(static_cast<std::size_t>(m_run.segments[2 * s + 1]));
                sum += (1.0 - t) * a.elevation() + t * b.elevation();
                ++hits;
            }
        };
        std::size_t cx = cell(x - m_xMin), cy = cell(y - m_yMin);
        std::unordered_set<std::size_t> seen;
        for (std::size_t gy = (cy > 0 ? cy - 1 : 0); gy <= std::min(cy + 1, m_cells - 1); ++gy) {
            for (std::size_t gx = (cx > 0 ? cx - 1 : 0); gx <= std::min(cx + 1, m_cells - 1); ++gx) {
                for (std::size_t s : m_grid[gy * m_cells + gx]) {
                    if (seen.insert(s).second) {
                        test(s);
                    }
                }
            }
        }
        for (std::size_t s : m_long) {
            test(s);
        }
        if (hits == 0) {
            return false;
        }
        *z = sum / hits;
        return true;
    }

private:
    void ends(std::size_t s, double* ax, double* ay, double* bx, double* by) const
    {
        auto ia = static_cast<std::size_t>(m_run.segments[2 * s]);
        auto ib = static_cast<std::size_t>(m_run.segments[2 * s + 1]);
        *ax = m_run.pointList[2 * ia];
        *ay = m_run.pointList[2 * ia + 1];
        *bx = m_run.pointList[2 * ib];
        *by = m_run.pointList[2 * ib + 1];
    }

    std::size_t cell(double offset) const
    {
        if (!(offset > 0.0)) {
            return 0;
        }
        auto c = static_cast<std::size_t>(offset / m_cellSize);
        return std::min(c, m_cells - 1);
    }

    Run const& m_run;
    double m_xMin = 0.0, m_yMin = 0.0, m_cellSize = 1.0, m_scale = 1.0;
    std::size_t m_cells = 1;
    std::vector<std::vector<std::size_t>> m_grid;
    std::vector<std::size_t> m_long;
};

// Output vertex i as a shared point: the run's vertex at that exact position, or a new
// interned point for a vertex the triangulation added. The TIN is built over this array.
using MappedVertices = std::vector<PointPtr, support::LargeTableAllocatorT<PointPtr>>;

MappedVertices mapFirstPass(triangleio_t const& out, Run const& run)
{
    MappedVertices mapped(static_cast<std::size_t>(out.numberofpoints));
    std::vector<std::size_t> added;
    for (int i = 0; i < out.numberofpoints; ++i) {
        double x = out.pointlist[2 * i], y = out.pointlist[2 * i + 1];
        // Output vertices mostly keep their input index; the position decides either way.
        if (i < static_cast<int>(run.vertices.size()) && run.pointList[2 * i] == x && run.pointList[2 * i + 1] == y) {
            mapped[static_cast<std::size_t>(i)] = run.vertex(static_cast<std::size_t>(i));
            continue;
        }
        int v = run.find(x, y);
        if (v >= 0) {
            mapped[static_cast<std::size_t>(i)] = run.vertex(static_cast<std::size_t>(v));
        } else {
            added.push_back(static_cast<std::size_t>(i));
        }
    }
    if (added.empty()) {
        return mapped;
    }

    auto create = [&mapped](std::size_t i, double x, double y, double z) {
        mapped[i] = core::PointFactory::instance().factory(Point(x, y, z), false);
        mapped[i]->setId(static_cast<int>(i));
    };
    SegmentLocator locator(run);
    std::vector<std::size_t> unresolved;
    for (std::size_t i : added) {
        double x = out.pointlist[2 * i], y = out.pointlist[2 * i + 1], z = 0.0;
        if (!locator.elevationAt(x, y, &z)) {
            unresolved.push_back(i);
            continue;
        }
        create(i, x, y, z);
    }
    // A vertex on no input segment should not occur; rather than inventing a height,
    // take the mean of the run vertices it is joined to.
    for (std::size_t i : unresolved) {
        double sum = 0.0;
        int count = 0;
        for (int t = 0; t < out.numberoftriangles; ++t) {
            int const* c = out.trianglelist + 3 * t;
            if (c[0] != static_cast<int>(i) && c[1] != static_cast<int>(i) && c[2] != static_cast<int>(i)) {
                continue;
            }
            for (int k = 0; k < 3; ++k) {
                PointPtr const& p = mapped[static_cast<std::size_t>(c[k])];
                if (p && static_cast<std::size_t>(c[k]) != i) {
                    sum += p->elevation();
                    ++count;
                }
            }
        }
        if (count == 0) {
            throw AssertError(positionMessage("No elevation for a new vertex at (", out.pointlist[2 * i],
                                              out.pointlist[2 * i + 1]));
        }
        create(i, out.pointlist[2 * i], out.pointlist[2 * i + 1], sum / count);
    }
    return mapped;
}

// Elevation of the TIN at (x, y), from the nearest triangle's plane where rounding puts
// the position just outside every triangle.
double elevationInPass(Tin const& tin, double x, double y)
{
    double z = 0.0;
    Point2D at(x, y);
    if (tin.interpolatedElevation(at, &z)) {
        return z;
    }
    core::Rect box = tin.boundingRect();
    double span = std::max({box.width(), box.height(), 1.0});
    for (double r = 1e-9 * span; r <= 4.0 * span; r *= 8.0) {
        std::shared_ptr<Triangle> nearest;
        double best = std::numeric_limits<double>::max();
        for (auto const& t : tin.findTrianglesIntersectRect(core::Rect(x - r, y - r, x + r, y + r))) {
            double d = std::numeric_limits<double>::max();
            for (int k = 0; k < 3; ++k) {
                auto const& a = t->point(k);
                auto const& b = t->point(k + 1);
                double s = 0.0;
                d = std::min(d, segmentDistanceSqr(x, y, a->x(), a->y(), b->x(), b->y(), &s));
            }
            if (d < best) {
                best = d;
                nearest = t;
            }
        }
        if (nearest) {
            double s = 0.0, t = 0.0, u = 0.0;
            nearest->calcSTU(at, &s, &t, &u);
            return (t * nearest->point2()->elevation() + s * nearest->point1()->elevation()) +
                   u * nearest->point3()->elevation();
        }
    }
    throw AssertError(positionMessage("No triangle near a quality vertex at (", x, y));
}

// The triangulation's triangles, each as its three corner numbers (unchanged, in the same
// rotation), reordered by where their lowest vertex lies in memory. The TIN's adjacency
// tables and the edge factory place an entry by its point's address, so a TIN built in this
// order visits those tables a neighbourhood at a time instead of all over them (the
// triangulation lists its triangles in the order of its own storage, unrelated to the
// points'), which makes building it markedly faster. Every triangle is kept; the
// order among triangles whose lowest vertices share a bucket is their list order. A
// counting sort: two passes over the triangles, linear.
using CornerList = std::vector<std::uint32_t, support::LargeTableAllocatorT<std::uint32_t>>;

CornerList cornersByVertexAddress(PointPtr const* vertices, std::size_t vertexCount, int const* list,
                                  std::size_t count)
{
    // A bucket per vertex or so: a span of points the tables keep close together.
    std::uintptr_t low = std::numeric_limits<std::uintptr_t>::max();
    std::uintptr_t high = 0;
    for (std::size_t i = 0; i < vertexCount; ++i) {
        auto const address = reinterpret_cast<std::uintptr_t>(vertices[i].get());
        if (address != 0) {
            low = std::min(low, address);
            high = std::max(high, address);
        }
    }
    std::size_t buckets = 1;
    while (buckets < vertexCount) {
        buckets *= 2;
    }
    unsigned shift = 0;
    while (high > low && ((high - low) >> shift) >= buckets) {
        ++shift;
    }
    CornerList key(vertexCount);
    for (std::size_t i = 0; i < vertexCount; ++i) {
        auto const address = reinterpret_cast<std::uintptr_t>(vertices[i].get());
        key[i] = address == 0 ? 0 : static_cast<std::uint32_t>((address - low) >> shift);
    }
    auto lowest = [&](std::size_t t) {
        int const* c = list + 3 * t;
        return std::min({key[static_cast<std::size_t>(c[0])], key[static_cast<std::size_t>(c[1])],
                         key[static_cast<std::size_t>(c[2])]});
    };
    CornerList start(buckets + 1, 0);
    for (std::size_t t = 0; t < count; ++t) {
        ++start[lowest(t) + 1];
    }
    for (std::size_t b = 1; b <= buckets; ++b) {
        start[b] += start[b - 1];
    }
    CornerList sorted(3 * count);
    for (std::size_t t = 0; t < count; ++t) {
        std::uint32_t& at = start[lowest(t)];
        int const* c = list + 3 * t;
        std::uint32_t* to = sorted.data() + 3 * static_cast<std::size_t>(at);
        to[0] = static_cast<std::uint32_t>(c[0]);
        to[1] = static_cast<std::uint32_t>(c[1]);
        to[2] = static_cast<std::uint32_t>(c[2]);
        ++at;
    }
    return sorted;
}

// Adds the record's triangles over the given output vertices (one per output vertex of the
// record) in one batch, in the order of cornersByVertexAddress. The batch overlaps the table
// misses of neighbouring triangles; the TIN holds the same triangles, with the same corners
// in the same rotation, as when they are added one by one in list order. The record's
// arrays are freed before the TIN is built.
void addRecordTriangles(Tin& tin, MappedVertices const& vertices, TriangleRecord& record)
{
    auto const count = static_cast<std::size_t>(std::max(0, record->numberoftriangles));
    CornerList corners = cornersByVertexAddress(vertices.data(), vertices.size(), record->trianglelist, count);
    record.release();
    if (count > 0) {
        tin.addTriangles(vertices.data(), corners.data(), count);
    }
}

void triangulateRegion(PointRing const& ring, std::vector<PointPtr> const& points,
                       BreaklineList const& breaklines, Tin& out, bool quality)
{
    Run run;
    TriangleRecord record;
    triangulate(ring, points, breaklines, record, run, false, true);
    MappedVertices mapped = mapFirstPass(*record, run);
    // The run's tables and the output positions are done with; a survey-sized TIN is
    // built next. (The quality pass builds a run of its own.)
    run.table.release();
    std::vector<double>().swap(run.pointList);
    decltype(run.vertices)().swap(run.vertices);
    record.releasePoints();

    Tin firstPass;
    addRecordTriangles(quality ? firstPass : out, mapped, record);
    if (!quality) {
        return;
    }
    MappedVertices().swap(mapped);

    Run qualityRun;
    TriangleRecord refined;
    triangulate(ring, points, breaklines, refined, qualityRun, true, true);
    MappedVertices corners(static_cast<std::size_t>(refined->numberofpoints));
    for (int i = 0; i < refined->numberofpoints; ++i) {
        double x = refined->pointlist[2 * i], y = refined->pointlist[2 * i + 1];
        if (i < static_cast<int>(qualityRun.vertices.size()) && qualityRun.pointList[2 * i] == x &&
            qualityRun.pointList[2 * i + 1] == y) {
            corners[static_cast<std::size_t>(i)] = qualityRun.vertex(static_cast<std::size_t>(i));
            continue;
        }
        int v = qualityRun.find(x, y);
        if (v >= 0) {
            corners[static_cast<std::size_t>(i)] = qualityRun.vertex(static_cast<std::size_t>(v));
            continue;
        }
        corners[static_cast<std::size_t>(i)] =
            core::PointFactory::instance().factory(Point(x, y, elevationInPass(firstPass, x, y)), false);
    }
    addRecordTriangles(out, corners, refined);
}

void triangulateOnBase(PointRing const& ring, std::vector<PointPtr> const& points,
                       BreaklineList const& breaklines, PointSet const& set, Tin const& base, Tin& out)
{
    Run run;
    TriangleRecord record;
    triangulate(ring, points, breaklines, record, run, false, false);

    // A position the set holds exactly once resolves the same for every triangle.
    std::vector<PointPtr> unique(static_cast<std::size_t>(record->numberofpoints));
    std::vector<char> looked(unique.size(), 0);
    auto vertex = [&](int i) { return Point2D(record->pointlist[2 * i], record->pointlist[2 * i + 1]); };

    for (int t = 0; t < record->numberoftriangles; ++t) {
        int const* c = record->trianglelist + 3 * t;
        Point2D hint((vertex(c[0]).x() + vertex(c[1]).x() + vertex(c[2]).x()) / 3.0,
                     (vertex(c[0]).y() + vertex(c[1]).y() + vertex(c[2]).y()) / 3.0);
        PointPtr corner[3];
        for (int k = 0; k < 3; ++k) {
            auto i = static_cast<std::size_t>(c[k]);
            if (!looked[i]) {
                looked[i] = 1;
                auto found = set.findPointsAt(vertex(c[k]));
                if (found.size() == 1) {
                    unique[i] = found.front();
                }
            }
            corner[k] = unique[i] ? unique[i] : getOrCreatePoint(vertex(c[k]), base, hint);
        }
        out.addTriangle(corner[0], corner[1], corner[2]);
    }
}

// createRegion, then cleanUpBreaklines on that same copy: a survey set is copied once.
PointSet prepare(PointSet const& set)
{
    PointSet prepared = PointSetModifier::createRegion(set);
    PointSetModifier::removeRingSideBreaklines(prepared);
    return prepared;
}

} // namespace

Tin PointSetToTin::convert(PointSet const& set, Tin const& base, bool noInnerPoints)
{
    PointSet prepared = prepare(set);
    Tin result;
    auto regions = prepared.allRegions();
    if (regions.size() == 1) {
        std::vector<PointPtr> points;
        if (!noInnerPoints) {
            points = prepared.allPoints();
        }
        triangulateOnBase(*regions.front(), points, prepared.allBreaklines(), prepared, base, result);
        return result;
    }
    for (auto const& ring : regions) {
        core::Rect box = ring->boundingRect();
        std::vector<PointPtr> points;
        if (!noInnerPoints) {
            points = prepared.findPointsInRect(box);
        }
        triangulateOnBase(*ring, points, prepared.findBreaklinesInRect(box), prepared, base, result);
    }
    return result;
}

Tin PointSetToTin::convertCleanPointSet(PointSet const& set, bool noInnerPoints, bool quality)
{
    // What prepare leaves in its copy, taken from the set itself: a survey-sized set is
    // not copied. A set without regions gets its hull and loses its holes; the hull of
    // such a set holds every point of it, so the polygon query would only return them all.
    bool hullRegion = set.allRegions().empty();
    std::vector<PointPtr> allPoints;
    std::vector<std::shared_ptr<PointRing>> regions;
    std::vector<std::shared_ptr<PointRing>> holes;
    if (hullRegion) {
        allPoints = set.allPoints();
        if (auto hull = PointSetModifier::hullRing(allPoints)) {
            regions.push_back(hull);
        }
        if (noInnerPoints) {
            std::vector<PointPtr>().swap(allPoints);
        }
    } else {
        regions = set.allRegions();
        holes = set.allHoles();
    }
    BreaklineList breaklines = set.allBreaklines();
    breaklines.erase(std::remove_if(breaklines.begin(), breaklines.end(),
                                    [&](std::shared_ptr<Breakline> const& b) {
                                        auto onSide = [&b](std::shared_ptr<PointRing> const& r) {
                                            return r->containsBreakline(*b);
                                        };
                                        return std::any_of(regions.begin(), regions.end(), onSide) ||
                                               std::any_of(holes.begin(), holes.end(), onSide);
                                    }),
                     breaklines.end());

    Tin result;
    for (auto const& ring : regions) {
        std::vector<PointPtr> points;
        if (!noInnerPoints) {
            points = hullRegion ? std::move(allPoints) : set.findPointsInPolygon(ring->toPolygon());
        }
        triangulateRegion(*ring, points, breaklines, result, quality);
    }
    return result;
}

} // namespace util
} // namespace tin

// =================================================================================
// Simplification: greedy insertion of the point with the largest vertical error.

namespace tin {
namespace util {

namespace {

using TrianglePtr = std::shared_ptr<Triangle>;

struct SimplifyCondition {
    virtual ~SimplifyCondition() = default;
};

struct SimplifyByPointCount : SimplifyCondition {
    explicit SimplifyByPointCount(int count) : pointCount(count) {}
    int pointCount;
};

struct SimplifyByMaximumError : SimplifyCondition {
    explicit SimplifyByMaximumError(double error) : maxError(error) {}
    double maxError;
};

// Largest error first; among equal errors the node inserted first comes first.
using ErrorOrder = std::multimap<double, std::size_t, std::greater<double>>;

// A run also ends when the best remaining error is 0 (every point left already lies on
// the surface, inserted ones included) or nothing is left.
bool worthInserting(ErrorOrder const& order)
{
    return !order.empty() && order.begin()->first > 0.0;
}

class ConditionTester {
public:
    virtual ~ConditionTester() = default;
    virtual bool test() const = 0;
};

class PointCountTester : public ConditionTester {
public:
    PointCountTester(ErrorOrder const& order, int const& count, int target)
        : m_order(order), m_count(count), m_target(target)
    {
    }
    bool test() const override { return m_count < m_target && worthInserting(m_order); }

private:
    ErrorOrder const& m_order;
    int const& m_count;
    int m_target;
};

class MaximumErrorTester : public ConditionTester {
public:
    MaximumErrorTester(ErrorOrder const& order, double threshold) : m_order(order), m_threshold(threshold) {}
    bool test() const override { return worthInserting(m_order) && m_order.begin()->first > m_threshold; }

private:
    ErrorOrder const& m_order;
    double m_threshold;
};

struct ErrorEntry {
    PointPtr point;
    double error = 0.0;
    ErrorOrder::iterator node;
    bool queued = false;
};

// Whether point p lies on the segment a-b within the position tolerance.
bool onSegment(Point const& p, Point const& a, Point const& b)
{
    double t = 0.0;
    double d2 = segmentDistanceSqr(p.x(), p.y(), a.x(), a.y(), b.x(), b.y(), &t);
    return d2 <= 1e-16;
}

// The edges of the start TIN that lie along a breakline of the set (a breakline may
// have been split where it crosses another).
ConstraintEdges breaklineEdges(PointSet const& set, Tin const& tin)
{
    ConstraintEdges result;
    for (auto const& b : set.allBreaklines()) {
        Point const& a = *b->point1();
        Point const& c = *b->point2();
        core::Rect box(std::min(a.x(), c.x()) - 1e-8, std::min(a.y(), c.y()) - 1e-8,
                       std::max(a.x(), c.x()) + 1e-8, std::max(a.y(), c.y()) + 1e-8);
        for (auto const& t : tin.findTrianglesIntersectRect(box)) {
            for (int j = 0; j < 3; ++j) {
                auto const& e = t->edge(j);
                if (onSegment(*e->point1(), a, c) && onSegment(*e->point2(), a, c)) {
                    result.insert(edgeKey(e->point1().get(), e->point2().get()));
                }
            }
        }
    }
    return result;
}

void writeProgress(int count)
{
    char buffer[16];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, count).ptr;
    std::cerr.write(buffer, end - buffer);
    std::cerr << "points" << std::endl;
}

// The first triangle (index order) that holds p, or null.
TrianglePtr triangleHolding(Tin const& tin, Point const& p)
{
    double z = 0.0;
    for (auto const& t : tin.findTrianglesIntersectRect(p.boundingRect())) {
        if (t->interpolateElevation(p, &z, false)) {
            return t;
        }
    }
    return nullptr;
}

// A point standing on a vertex of t that is another object cannot become a vertex.
bool onOtherVertex(Triangle const& t, PointPtr const& p)
{
    for (int i = 0; i < 3; ++i) {
        auto const& v = t.point(i);
        if (v != p && std::fabs(v->x() - p->x()) <= 1e-8 && std::fabs(v->y() - p->y()) <= 1e-8) {
            return true;
        }
    }
    return false;
}

// The set points still in the run, by entry index, in a uniform grid of about four
// points per cell: a neighbourhood query visits only the cells its rectangle meets.
class PointGrid {
public:
    explicit PointGrid(std::vector<ErrorEntry> const& entries) : m_entries(entries)
    {
        double xMin = std::numeric_limits<double>::max(), yMin = xMin;
        double xMax = -xMin, yMax = -xMin;
        for (auto const& e : entries) {
            xMin = std::min(xMin, e.point->x());
            xMax = std::max(xMax, e.point->x());
            yMin = std::min(yMin, e.point->y());
            yMax = std::max(yMax, e.point->y());
        }
        std::size_t n = std::max<std::size_t>(1, entries.size());
        m_side = std::max<std::size_t>(1, static_cast<std::size_t>(std::sqrt(static_cast<double>(n) / 4.0)));
        m_xMin = entries.empty() ? 0.0 : xMin;
        m_yMin = entries.empty() ? 0.0 : yMin;
        double span = entries.empty() ? 1.0 : std::max(xMax - xMin, yMax - yMin);
        m_cellSize = span > 0.0 ? span / static_cast<double>(m_side) * (1.0 + 1e-9) : 1.0;
        m_cells.resize(m_side * m_side);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            m_cells[cellOf(entries[i].point->x(), entries[i].point->y())].push_back(static_cast<std::uint32_t>(i));
        }
    }

    void remove(std::size_t index)
    {
        auto& cell = m_cells[cellOf(m_entries[index].point->x(), m_entries[index].point->y())];
        auto it = std::find(cell.begin(), cell.end(), static_cast<std::uint32_t>(index));
        if (it != cell.end()) {
            *it = cell.back();
            cell.pop_back();
        }
    }

    // Entry indices of the points within r (closed), in no particular order.
    void query(core::Rect const& r, std::vector<std::size_t>& out) const
    {
        out.clear();
        std::size_t cx0 = clampCell(r.xMin() - m_xMin), cx1 = clampCell(r.xMax() - m_xMin);
        std::size_t cy0 = clampCell(r.yMin() - m_yMin), cy1 = clampCell(r.yMax() - m_yMin);
        for (std::size_t cy = cy0; cy <= cy1; ++cy) {
            for (std::size_t cx = cx0; cx <= cx1; ++cx) {
                for (std::uint32_t i : m_cells[cy * m_side + cx]) {
                    Point const& p = *m_entries[i].point;
                    if (p.x() >= r.xMin() && p.x() <= r.xMax() && p.y() >= r.yMin() && p.y() <= r.yMax()) {
                        out.push_back(i);
                    }
                }
            }
        }
    }

private:
    std::size_t clampCell(double offset) const
    {
        if (!(offset > 0.0)) {
            return 0;
        }
        return std::min(m_side - 1, static_cast<std::size_t>(offset / m_cellSize));
    }
    std::size_t cellOf(double x, double y) const { return clampCell(y - m_yMin) * m_side + clampCell(x - m_xMin); }

    std::vector<ErrorEntry> const& m_entries;
    std::vector<std::vector<std::uint32_t>> m_cells;
    std::size_t m_side = 1;
    double m_xMin = 0.0;
    double m_yMin = 0.0;
    double m_cellSize = 1.0;
};

// Elevation at p in the first of the triangles that holds it.
bool interpolateIn(std::vector<TrianglePtr> const& triangles, Point const& p, double* z)
{
    for (auto const& t : triangles) {
        if (t->interpolateElevation(p, z, false)) {
            return true;
        }
    }
    return false;
}

Tin simplify(PointSet const& set, SimplifyCondition const& condition)
{
    Tin tin = PointSetToTin::convertCleanPointSet(set, true, false);
    int count = tin.pointCount();
    ConstraintEdges constraints = breaklineEdges(set, tin);

    std::vector<ErrorEntry> entries;
    ErrorOrder order;

    std::unique_ptr<ConditionTester> tester;
    if (auto const* byCount = dynamic_cast<SimplifyByPointCount const*>(&condition)) {
        tester = std::make_unique<PointCountTester>(order, count, byCount->pointCount);
    } else if (auto const* byError = dynamic_cast<SimplifyByMaximumError const*>(&condition)) {
        tester = std::make_unique<MaximumErrorTester>(order, byError->maxError);
    } else {
        throw AssertError("Unknown simplification condition");
    }

    PointSet::PointHashSet points = set.points();
    entries.reserve(points.size());
    for (auto const& p : points) {
        double z = 0.0;
        if (!tin.interpolatedElevation(*p, &z)) {
            throw common::exception::RuntimeException("Interpolation failed.");
        }
        std::size_t index = entries.size();
        ErrorEntry entry;
        entry.point = p;
        entry.error = std::fabs(z - p->elevation());
        entry.node = order.emplace(entry.error, index);
        entry.queued = true;
        entries.push_back(entry);
    }
    // The set holds each object once, so every point is filed once.
    PointGrid grid(entries);

    auto dropEntry = [&](std::size_t index) {
        ErrorEntry& entry = entries[index];
        if (entry.queued) {
            order.erase(entry.node);
            entry.queued = false;
        }
        grid.remove(index);
    };

    std::vector<TrianglePtr> filled;
    std::vector<std::size_t> candidates;
    while (tester->test()) {
        std::size_t index = order.begin()->second;
        PointPtr p = entries[index].point;
        TrianglePtr t = triangleHolding(tin, *p);
        if (!t || onOtherVertex(*t, p)) {
            dropEntry(index);
            continue;
        }

        TinModifier::divideTriangleAndNeighbors(&tin, t, p, &constraints, &filled);

        // Every point in the re-triangulated patch may have a new error, not only those
        // around t: an edge split also re-triangulates the neighbours of t's neighbour.
        auto first = filled.front()->boundingRect();
        core::Rect box(first.xMin(), first.yMin(), first.xMax(), first.yMax());
        for (auto const& nt : filled) {
            auto r = nt->boundingRect();
            box = core::Rect(std::min(box.xMin(), r.xMin()), std::min(box.yMin(), r.yMin()),
                             std::max(box.xMax(), r.xMax()), std::max(box.yMax(), r.yMax()));
        }
        grid.query(box, candidates);
        double z = 0.0;
        for (std::size_t c : candidates) {
            ErrorEntry& entry = entries[c];
            if (!interpolateIn(filled, *entry.point, &z)) {
                continue;
            }
            double error = std::fabs(z - entry.point->elevation());
            if (error == entry.error && entry.queued) {
                continue;
            }
            if (entry.queued) {
                order.erase(entry.node);
            }
            entry.error = error;
            entry.node = order.emplace(error, c);
            entry.queued = true;
        }
        ++count;
        writeProgress(count);
    }
    return tin;
}

} // namespace

Tin PointSetToTin::convertToSimplifiedTin(PointSet const& set, int pointCount)
{
    return simplify(set, SimplifyByPointCount(pointCount));
}

Tin PointSetToTin::convertToSimplifiedTin(PointSet const& set, double maxError)
{
    return simplify(set, SimplifyByMaximumError(maxError));
}

} // namespace util
} // namespace tin
