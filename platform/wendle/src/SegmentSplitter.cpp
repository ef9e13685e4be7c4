#include "SegmentSplitter.h"

#include "CgalSetup.h"

#include <CGAL/Constrained_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <utility>

namespace trianglecui {

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Point = Kernel::Point_2;

// Rounding can only make crossings among the subsegments near a rounded crossing; ordinary input
// settles in two rounds.
constexpr int MAXIMUM_ROUNDS = 8;
constexpr std::size_t MENDING_ALLOWANCE = 64;
// How far (in units in the last place of the coordinates) a computed crossing may lie from
// either line before it is computed again almost exactly.
constexpr double STRAY_ULPS = 4.0;
// A crossing this close (in units in the last place) to a segment end is that end.
constexpr int SNAP_ULPS = 4;
constexpr double MAXIMUM_CELLS_PER_SIDE = 4096.0;
// Cell side against the side that gives one cell per subsegment: larger cells file a subsegment in
// fewer of them but pair more subsegments in each.
constexpr double CELL_SCALE = 1.5;

template <typename T>
using Array = SegmentSplitter::Array<T>;

struct Subsegment
{
    int from;
    int to;
    int segment;
    std::uint32_t slot; // position of from in the chains
    double fromX, fromY, toX, toY;
    bool fresh;         // made in the last round: not yet checked against the others

    double minX() const { return std::min(fromX, toX); }
    double maxX() const { return std::max(fromX, toX); }
    double minY() const { return std::min(fromY, toY); }
    double maxY() const { return std::max(fromY, toY); }
};

// A subsegment as filed in a cell: its box beside its number, so that the pairs of a cell are
// tested on consecutive memory.
struct Entry
{
    double minX, maxX, minY, maxY;
    std::uint32_t subsegment;
    bool fresh;
};

// The subsegments filed by the cells of a uniform grid that they may pass through.
class SubsegmentGrid
{
public:
    explicit SubsegmentGrid(Array<Subsegment> const& subsegments)
    {
        minX_ = minY_ = INFINITY;
        double maxX = -INFINITY, maxY = -INFINITY;
        for (Subsegment const& p : subsegments) {
            minX_ = std::min(minX_, p.minX());
            minY_ = std::min(minY_, p.minY());
            maxX = std::max(maxX, p.maxX());
            maxY = std::max(maxY, p.maxY());
        }
        double const width = maxX - minX_;
        double const height = maxY - minY_;
        double const count = static_cast<double>(std::max<std::size_t>(subsegments.size(), 1));
        double side = CELL_SCALE * std::sqrt(width * height / count);
        if (!(side > 0.0))
            side = std::max(width, height) / count;
        if (!(side > 0.0))
            side = 1.0;
        // Bounded so that a few long subsegments over a huge extent do not ask for millions of
        // cells.
        side = std::max({side, width / MAXIMUM_CELLS_PER_SIDE, height / MAXIMUM_CELLS_PER_SIDE});
        side_ = side;
        inverse_ = 1.0 / side;
        columns_ = static_cast<int>(std::min(MAXIMUM_CELLS_PER_SIDE, std::floor(width * inverse_))) + 1;
        rows_ = static_cast<int>(std::min(MAXIMUM_CELLS_PER_SIDE, std::floor(height * inverse_))) + 1;

        Array<std::uint32_t> next(static_cast<std::size_t>(columns_) * rows_ + 1, 0);
        for (Subsegment const& p : subsegments)
            forEachCell(p, [&](std::size_t cell) { ++next[cell + 1]; });
        for (std::size_t c = 1; c < next.size(); ++c)
            next[c] += next[c - 1];
        start_ = next;
        items_.resize(start_.back());
        for (std::size_t k = 0; k < subsegments.size(); ++k) {
            Subsegment const& p = subsegments[k];
            Entry const entry{p.minX(), p.maxX(), p.minY(), p.maxY(),
                              static_cast<std::uint32_t>(k), p.fresh};
            forEachCell(p, [&](std::size_t cell) { items_[next[cell]++] = entry; });
        }
    }

    std::size_t cellCount() const { return start_.size() - 1; }
    Entry const* begin(std::size_t cell) const { return items_.data() + start_[cell]; }
    Entry const* end(std::size_t cell) const { return items_.data() + start_[cell + 1]; }

private:
    int column(double x) const
    {
        return static_cast<int>(std::clamp(std::floor((x - minX_) * inverse_), 0.0,
                                           static_cast<double>(columns_ - 1)));
    }

    int row(double y) const
    {
        return static_cast<int>(std::clamp(std::floor((y - minY_) * inverse_), 0.0,
                                           static_cast<double>(rows_ - 1)));
    }

    // Row by row, the columns the subsegment spans within the row, widened by one cell on each side
    // against rounding, so a subsegment is filed in every cell it passes through.
    template <typename F>
    void forEachCell(Subsegment const& p, F&& visit) const
    {
        double const minY = p.minY(), maxY = p.maxY();
        int const firstRow = row(minY);
        int const lastRow = row(maxY);
        int const firstColumn = column(p.minX());
        int const lastColumn = column(p.maxX());
        for (int r = firstRow; r <= lastRow; ++r) {
            int c0 = firstColumn;
            int c1 = lastColumn;
            if (firstRow != lastRow && firstColumn != lastColumn) {
                double const low = std::max(minY, minY_ + r * side_);
                double const high = std::min(maxY, minY_ + (r + 1) * side_);
                double const xLow = xAt(p, low);
                double const xHigh = xAt(p, high);
                c0 = std::max(firstColumn, column(std::min(xLow, xHigh)) - 1);
                c1 = std::min(lastColumn, column(std::max(xLow, xHigh)) + 1);
            }
            std::size_t const base = static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_);
            for (int c = c0; c <= c1; ++c)
                visit(base + static_cast<std::size_t>(c));
        }
    }

    static double xAt(Subsegment const& p, double y)
    {
        double const t = std::clamp((y - p.fromY) / (p.toY - p.fromY), 0.0, 1.0);
        return p.fromX + t * (p.toX - p.fromX);
    }

    double minX_, minY_, side_, inverse_;
    int columns_, rows_;
    Array<std::uint32_t> start_;
    Array<Entry> items_;
};

// Whether q lies in p's box widened by SNAP_ULPS steps of the floating-point grid on each side.
// Widening by SNAP_ULPS steps moves a coordinate by at most 2 SNAP_ULPS ulps of it, so the
// exact test only runs for points that close.
bool near(Point const& p, Point const& q)
{
    double const reach = 4.0 * SNAP_ULPS * DBL_EPSILON;
    if (std::abs(q.x() - p.x()) > reach * std::abs(p.x()) + DBL_MIN
        || std::abs(q.y() - p.y()) > reach * std::abs(p.y()) + DBL_MIN)
        return false;
    CGAL::Bbox_2 box = p.bbox();
    box.dilate(SNAP_ULPS);
    return CGAL::do_overlap(box, q.bbox());
}

// Distance of p from the line through a and b against the rounding of the coordinates involved.
bool strays(Point const& p, Point const& a, Point const& b)
{
    double const dx = b.x() - a.x();
    double const dy = b.y() - a.y();
    double const length = std::hypot(dx, dy);
    double const distance = std::abs(dx * (p.y() - a.y()) - dy * (p.x() - a.x())) / length;
    double const scale = std::max({std::abs(p.x()), std::abs(p.y()), std::abs(a.x()), std::abs(a.y()),
                                   std::abs(b.x()), std::abs(b.y())});
    return !(distance <= STRAY_ULPS * DBL_EPSILON * scale);
}

Point snapToEnds(Point x, Point const& a, Point const& b, Point const& c, Point const& d)
{
    for (Point const* end : {&a, &b, &c, &d}) {
        if (near(x, *end))
            x = *end;
    }
    return x;
}

// The crossing of ab and cd computed in exact arithmetic, then rounded: the point b + t (a - b)
// of ab for which (b + t (a - b) - c) x (d - c) = 0. CGAL's almost_exact_intersection cannot
// stand in for it: in this CGAL release it weights a and b with the wrong sign and returns a
// point of line ab beyond the crossing (as far beyond b as the crossing lies before it).
Point exactCrossing(Point const& a, Point const& b, Point const& c, Point const& d)
{
    using Exact = Kernel::Exact_kernel;
    using ExactPoint = Exact::Point_2;
    using ExactFT = Exact::FT;
    ExactPoint const ea(a.x(), a.y()), eb(b.x(), b.y()), ec(c.x(), c.y()), ed(d.x(), d.y());
    auto const det = [](auto const& u, auto const& v) -> ExactFT { return u.x() * v.y() - u.y() * v.x(); };
    ExactFT const t = det(ec - eb, ed - ec) / det(ea - eb, ed - ec);
    ExactFT const x = eb.x() + t * (ea.x() - eb.x());
    ExactFT const y = eb.y() + t * (ea.y() - eb.y());
    return Point(CGAL::to_double(x), CGAL::to_double(y));
}

// The crossing of ab and cd, which cross in their interiors, as the triangulation computes it
// (on whichever segment its case analysis picks, exact where the inputs make it so).
Point crossingOf(Point const& a, Point const& b, Point const& c, Point const& d)
{
    Point x;
    bool const computed = CGAL::compute_intersection(Kernel(), a, b, c, d, x);
    if (!computed) {
        // Not a point (cannot happen for a proper crossing): the end nearest the other line,
        // as the triangulation would take it.
        switch (CGAL::limit_intersection(Kernel(), a, b, c, d, CGAL::Exact_predicates_tag())) {
        case 0: return a;
        case 1: return b;
        case 2: return c;
        default: return d;
        }
    }
    x = snapToEnds(x, a, b, c, d);
    if (x == a || x == b || x == c || x == d)
        return x;
    if (strays(x, a, b) || strays(x, c, d))
        x = snapToEnds(exactCrossing(a, b, c, d), a, b, c, d);
    return x;
}

bool crossInInteriors(Point const& a, Point const& b, Point const& c, Point const& d)
{
    CGAL::Orientation const c1 = CGAL::orientation(a, b, c);
    if (c1 == CGAL::COLLINEAR)
        return false;
    CGAL::Orientation const d1 = CGAL::orientation(a, b, d);
    if (d1 == CGAL::COLLINEAR || d1 == c1)
        return false;
    CGAL::Orientation const a1 = CGAL::orientation(c, d, a);
    if (a1 == CGAL::COLLINEAR)
        return false;
    CGAL::Orientation const b1 = CGAL::orientation(c, d, b);
    return b1 != CGAL::COLLINEAR && b1 != a1;
}

// A point where a subsegment is cut.
struct Cut
{
    std::uint32_t subsegment;
    double along;   // position along the subsegment, to order several cuts of one subsegment
    int vertex;     // an existing vertex, or -1 - k for the k-th crossing of this round
};

// A crossing of this round that makes a vertex.
struct Crossing
{
    Point position;
    int laterSegment;
    std::uint32_t laterSlot;
    double along;
};

class Splitter
{
public:
    Splitter(std::vector<double> const& positions, std::vector<int> const& segments,
             SegmentSplitter::Rounds rounds)
        : positions_(positions), segmentCount_(segments.size() / 2), inputCount_(positions.size() / 2),
          rounds_(rounds == SegmentSplitter::Rounds::One ? 1 : MAXIMUM_ROUNDS + 1)
    {
        result_.chainStart.reserve(segmentCount_ + 1);
        result_.chains.reserve(segments.size());
        fresh_.reserve(segments.size());
        result_.chainStart.push_back(0);
        for (std::size_t s = 0; s < segmentCount_; ++s) {
            result_.chains.push_back(segments[2 * s]);
            fresh_.push_back(true);
            if (segments[2 * s + 1] != segments[2 * s]) {
                result_.chains.push_back(segments[2 * s + 1]);
                fresh_.push_back(true);
            }
            result_.chainStart.push_back(result_.chains.size());
        }
    }

    SegmentSplitter::Result run()
    {
        std::size_t firstCrossings = 0;
        for (int round = 0;; ++round) {
            collectSubsegments();
            findCrossings();
            if (crossingPairs_.empty())
                break;
            if (round == 0)
                firstCrossings = crossingPairs_.size();
            // Further rounds only mend what rounding did near crossings; more than the first
            // round found means the subsegments are not settling.
            if (round == MAXIMUM_ROUNDS
                || (round > 0 && crossingPairs_.size() > firstCrossings + MENDING_ALLOWANCE)) {
                result_.converged = false;
                break;
            }
            cutSubsegments();
            if (round + 1 == rounds_)
                break;
        }
        return std::move(result_);
    }

private:
    void collectSubsegments()
    {
        subsegments_.clear();
        subsegments_.reserve(result_.chains.size() - segmentCount_);
        for (std::size_t s = 0; s < segmentCount_; ++s) {
            for (std::size_t k = result_.chainStart[s]; k + 1 < result_.chainStart[s + 1]; ++k) {
                Subsegment p;
                p.from = result_.chains[k];
                p.to = result_.chains[k + 1];
                p.segment = static_cast<int>(s);
                p.slot = static_cast<std::uint32_t>(k);
                p.fresh = fresh_[k] || fresh_[k + 1];
                Point const a = point(p.from);
                Point const b = point(p.to);
                p.fromX = a.x();
                p.fromY = a.y();
                p.toX = b.x();
                p.toY = b.y();
                subsegments_.push_back(p);
            }
        }
    }

    // Pairs of subsegments, one of them fresh, that cross in their interiors; each pair once.
    void findCrossings()
    {
        crossingPairs_.clear();
        if (subsegments_.size() < 2)
            return;
        SubsegmentGrid const grid(subsegments_);
        for (std::size_t cell = 0; cell < grid.cellCount(); ++cell) {
            Entry const* first = grid.begin(cell);
            Entry const* last = grid.end(cell);
            for (Entry const* i = first; i != last; ++i) {
                Entry const e = *i;
                for (Entry const* j = i + 1; j != last; ++j) {
                    if (e.maxX < j->minX || j->maxX < e.minX || e.maxY < j->minY || j->maxY < e.minY)
                        continue;
                    if (!e.fresh && !j->fresh)
                        continue;
                    Subsegment const& p = subsegments_[e.subsegment];
                    Subsegment const& q = subsegments_[j->subsegment];
                    if (p.from == q.from || p.from == q.to || p.to == q.from || p.to == q.to)
                        continue;
                    if (crossInInteriors(Point(p.fromX, p.fromY), Point(p.toX, p.toY),
                                         Point(q.fromX, q.fromY), Point(q.toX, q.toY)))
                        crossingPairs_.push_back((std::uint64_t(e.subsegment) << 32) | j->subsegment);
                }
            }
        }
        std::sort(crossingPairs_.begin(), crossingPairs_.end());
        crossingPairs_.erase(std::unique(crossingPairs_.begin(), crossingPairs_.end()),
                             crossingPairs_.end());
    }

    // Input vertices are read where the caller keeps them (a survey of a million points with a
    // handful of segments is not copied), created ones from the result.
    Point point(int id) const
    {
        auto const i = static_cast<std::size_t>(id);
        if (i < inputCount_)
            return Point(positions_[2 * i], positions_[2 * i + 1]);
        std::size_t const k = i - inputCount_;
        return Point(result_.created[2 * k], result_.created[2 * k + 1]);
    }

    // Order of two cuts along their subsegment. Cuts that round to one position along it but lie
    // apart across it are ordered by their own coordinates in the subsegment's direction, so that
    // the order is the same whichever way they were found.
    bool before(Cut const& a, Cut const& b) const
    {
        if (a.along != b.along)
            return a.along < b.along;
        Subsegment const& p = subsegments_[a.subsegment];
        Point const pa = point(a.vertex);
        Point const pb = point(b.vertex);
        bool const east = p.toX >= p.fromX, north = p.toY >= p.fromY;
        if (pa.x() != pb.x())
            return east ? pa.x() < pb.x() : pa.x() > pb.x();
        if (pa.y() != pb.y())
            return north ? pa.y() < pb.y() : pa.y() > pb.y();
        return a.vertex < b.vertex;
    }

    static double along(Subsegment const& p, Point const& x)
    {
        return (x.x() - p.fromX) * (p.toX - p.fromX) + (x.y() - p.fromY) * (p.toY - p.fromY);
    }

    // Cuts both subsegments of every crossing pair at the crossing (or at the end it snapped to),
    // numbers the new vertices in order of creation and rebuilds the chains.
    void cutSubsegments()
    {
        Array<Cut> cuts;
        Array<Crossing> crossings;
        cuts.reserve(2 * crossingPairs_.size());
        for (std::uint64_t pair : crossingPairs_) {
            std::uint32_t const i = static_cast<std::uint32_t>(pair >> 32);
            std::uint32_t const j = static_cast<std::uint32_t>(pair);
            Subsegment const& p = subsegments_[i];
            Subsegment const& q = subsegments_[j];
            // The later segment first, as the triangulation would meet the crossing when
            // inserting it.
            Subsegment const& later = p.segment > q.segment ? p : q;
            Subsegment const& earlier = p.segment > q.segment ? q : p;
            Point const x = crossingOf(point(later.from), point(later.to), point(earlier.from),
                                       point(earlier.to));
            int vertex = -1 - static_cast<int>(crossings.size());
            bool created = true;
            for (int end : {p.from, p.to, q.from, q.to}) {
                if (x == point(end)) {
                    vertex = end;
                    created = false;
                }
            }
            if (created) {
                crossings.push_back(Crossing{x, later.segment, later.slot, along(later, x)});
            }
            for (std::uint32_t k : {i, j}) {
                Subsegment const& cut = subsegments_[k];
                if (vertex != cut.from && vertex != cut.to)
                    cuts.push_back(Cut{k, along(cut, x), vertex});
            }
        }

        // Vertex ids in order of creation.
        Array<std::uint32_t> order(crossings.size());
        for (std::uint32_t k = 0; k < order.size(); ++k)
            order[k] = k;
        std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
            Crossing const& p = crossings[a];
            Crossing const& q = crossings[b];
            if (p.laterSegment != q.laterSegment)
                return p.laterSegment < q.laterSegment;
            if (p.laterSlot != q.laterSlot)
                return p.laterSlot < q.laterSlot;
            return p.along < q.along;
        });
        Array<int> idOf(crossings.size());
        for (std::uint32_t rank = 0; rank < order.size(); ++rank) {
            Crossing const& c = crossings[order[rank]];
            idOf[order[rank]] = static_cast<int>(inputCount_ + result_.created.size() / 2);
            result_.created.push_back(c.position.x());
            result_.created.push_back(c.position.y());
        }
        for (Cut& cut : cuts) {
            if (cut.vertex < 0)
                cut.vertex = idOf[static_cast<std::size_t>(-1 - cut.vertex)];
        }

        // Cuts in chain order: by subsegment (subsegments are in chain order, so counting does it),
        // then along the subsegment (a subsegment has a few cuts).
        {
            Array<std::uint32_t> start(subsegments_.size() + 1, 0);
            for (Cut const& cut : cuts)
                ++start[cut.subsegment + 1];
            for (std::size_t k = 1; k < start.size(); ++k)
                start[k] += start[k - 1];
            Array<Cut> ordered(cuts.size());
            for (Cut const& cut : cuts)
                ordered[start[cut.subsegment]++] = cut;
            std::uint32_t first = 0;
            for (std::size_t k = 0; k < subsegments_.size(); ++k) {
                std::uint32_t const last = start[k];
                if (last - first > 1) {
                    std::sort(ordered.begin() + first, ordered.begin() + last,
                              [this](Cut const& a, Cut const& b) { return before(a, b); });
                }
                first = last;
            }
            cuts.swap(ordered);
        }
        Array<std::size_t> chainStart;
        Array<int> chains;
        Array<char> fresh;
        chainStart.reserve(segmentCount_ + 1);
        chains.reserve(result_.chains.size() + cuts.size());
        fresh.reserve(result_.chains.size() + cuts.size());
        chainStart.push_back(0);
        auto append = [&](int vertex, bool made) {
            if (!chains.empty() && chains.size() > chainStart.back()
                && point(chains.back()) == point(vertex))
                return;
            chains.push_back(vertex);
            fresh.push_back(made);
        };
        std::size_t nextCut = 0;
        std::uint32_t subsegment = 0;
        for (std::size_t s = 0; s < segmentCount_; ++s) {
            std::size_t const first = result_.chainStart[s];
            std::size_t const last = result_.chainStart[s + 1];
            for (std::size_t k = first; k < last; ++k) {
                append(result_.chains[k], false);
                if (k + 1 == last)
                    break;
                while (nextCut < cuts.size() && cuts[nextCut].subsegment == subsegment)
                    append(cuts[nextCut++].vertex, true);
                ++subsegment;
            }
            // A chain that came back to its start by snapping is still one end.
            chainStart.push_back(chains.size());
        }
        result_.chainStart.swap(chainStart);
        result_.chains.swap(chains);
        fresh_.swap(fresh);
    }

    std::vector<double> const& positions_; // input vertices
    std::size_t const segmentCount_;
    std::size_t const inputCount_;
    int const rounds_;
    Array<char> fresh_;         // per chain entry: cut in by the last round
    Array<Subsegment> subsegments_;
    Array<std::uint64_t> crossingPairs_;
    SegmentSplitter::Result result_;
};

} // namespace

SegmentSplitter::Result SegmentSplitter::split(std::vector<double> const& positions,
                                               std::vector<int> const& segments, Rounds rounds)
{
    return Splitter(positions, segments, rounds).run();
}

} // namespace trianglecui
