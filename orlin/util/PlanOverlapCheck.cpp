#include "orlin/util/PlanOverlapCheck.h"

#include "orlin/core/Point.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <utility>
#include <vector>

namespace tin {
namespace util {

namespace {

// Twice the signed area of a, b, c in plan (positive counter-clockwise).
double orient(double ax, double ay, double bx, double by, double cx, double cy)
{
    return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

// The search over one TIN: the plan corners of the triangles that have an interior, a grid
// of cells each listing the triangles that meet it, and the pairs within each cell.
class Search {
public:
    explicit Search(core::Tin const& tin) : m_tin(tin) {}

    PlanOverlapCheck::Finding run()
    {
        PlanOverlapCheck::Finding finding;
        if (core::Triangle const* vertical = collect()) {
            finding.fault = PlanOverlapCheck::Fault::Vertical;
            finding.first = held(vertical);
            return finding;
        }
        if (m_triangles.size() < 2) {
            return finding;
        }
        chooseGrid();
        file();
        const std::pair<std::uint32_t, std::uint32_t> pair = firstOverlap();
        if (pair.first != NONE) {
            finding.fault = PlanOverlapCheck::Fault::Overlap;
            finding.first = held(m_triangles[pair.first]);
            finding.second = held(m_triangles[pair.second]);
        }
        return finding;
    }

private:
    static constexpr std::uint32_t NONE = std::numeric_limits<std::uint32_t>::max();
    // Cells over the TIN's box, per triangle compared.
    static constexpr double CELLS_PER_TRIANGLE = 2.0;
    // Filings per triangle beyond which the cells are made coarser.
    static constexpr std::size_t FILINGS_PER_TRIANGLE = 32;
    // Triangles whose extents give the cell size.
    static constexpr std::size_t SAMPLE = 4096;

    // Copies the plan corners of every triangle with an interior; the first vertical
    // triangle met, or null.
    core::Triangle const* collect()
    {
        const std::size_t count = m_tin.allTriangles().size();
        if (count > (NONE - 4096) / FILINGS_PER_TRIANGLE) {
            throw std::length_error("PlanOverlapCheck: too many triangles");
        }
        m_triangles.reserve(count);
        m_corners.reserve(6 * count);
        m_area.reserve(count);
        for (std::shared_ptr<core::Triangle> const& triangle : m_tin.allTriangles()) {
            double x[3], y[3], z[3];
            bool finite = true;
            for (int k = 0; k < 3; ++k) {
                core::Point const& p = *triangle->point(k);
                x[k] = p.x();
                y[k] = p.y();
                z[k] = p.elevation();
                finite = finite && std::isfinite(x[k]) && std::isfinite(y[k]) && std::isfinite(z[k]);
            }
            if (!finite) {
                continue;
            }
            const double ux = x[1] - x[0], uy = y[1] - y[0], uz = z[1] - z[0];
            const double vx = x[2] - x[0], vy = y[2] - y[0], vz = z[2] - z[0];
            const double plan = ux * vy - uy * vx;
            const double space = std::sqrt((uy * vz - uz * vy) * (uy * vz - uz * vy) +
                                           (uz * vx - ux * vz) * (uz * vx - ux * vz) + plan * plan);
            if (std::abs(plan) < PlanOverlapCheck::VERTICAL_RATIO * space) {
                return triangle.get();
            }
            if (plan == 0.0) {
                continue; // collinear in space: no interior
            }
            m_triangles.push_back(triangle.get());
            m_area.push_back(plan);
            for (int k = 0; k < 3; ++k) {
                m_corners.push_back(x[k]);
                m_corners.push_back(y[k]);
            }
        }
        return nullptr;
    }

    void box(std::size_t t, double* x0, double* y0, double* x1, double* y1) const
    {
        const double* c = &m_corners[6 * t];
        *x0 = std::min({c[0], c[2], c[4]});
        *x1 = std::max({c[0], c[2], c[4]});
        *y0 = std::min({c[1], c[3], c[5]});
        *y1 = std::max({c[1], c[3], c[5]});
    }

    // Cells about the median triangle's size, and no more of them than CELLS_PER_TRIANGLE
    // per triangle over the box of all.
    void chooseGrid()
    {
        const std::size_t n = m_triangles.size();
        double xMax = 0.0, yMax = 0.0;
        std::vector<double> extents;
        extents.reserve(std::min(n, 2 * SAMPLE));
        const std::size_t step = std::max<std::size_t>(1, n / SAMPLE);
        for (std::size_t t = 0; t < n; ++t) {
            double x0, y0, x1, y1;
            box(t, &x0, &y0, &x1, &y1);
            if (t == 0) {
                m_x0 = x0, m_y0 = y0, xMax = x1, yMax = y1;
            } else {
                m_x0 = std::min(m_x0, x0), m_y0 = std::min(m_y0, y0);
                xMax = std::max(xMax, x1), yMax = std::max(yMax, y1);
            }
            if (t % step == 0) {
                extents.push_back(std::max(x1 - x0, y1 - y0));
            }
        }
        m_width = xMax - m_x0;
        m_height = yMax - m_y0;
        m_magnitude = std::max({std::abs(m_x0), std::abs(m_y0), std::abs(xMax), std::abs(yMax)});
        std::nth_element(extents.begin(), extents.begin() + extents.size() / 2, extents.end());
        m_cell = extents[extents.size() / 2];
        m_cell = std::max(m_cell, std::sqrt(m_width * m_height / maxCells()));
        m_cell = std::max(m_cell, std::max(m_width, m_height) / maxCells());
        if (!(m_cell > 0.0) || !std::isfinite(m_cell)) {
            m_cell = std::max(1.0, std::max(m_width, m_height));
        }
        setCell(m_cell);
    }

    double maxCells() const { return CELLS_PER_TRIANGLE * static_cast<double>(m_triangles.size()) + 64.0; }

    // Takes cells of the given size, or larger ones where they would be too many.
    void setCell(double cell)
    {
        m_cell = cell;
        for (;;) {
            m_columns = static_cast<std::int64_t>(m_width / m_cell) + 1;
            m_rows = static_cast<std::int64_t>(m_height / m_cell) + 1;
            if (static_cast<double>(m_columns) * static_cast<double>(m_rows) <= 1.25 * maxCells()) {
                break;
            }
            m_cell *= 1.25;
        }
        // Wider than any rounding of the band and cell arithmetic, so that a triangle is
        // filed in every cell it meets (and perhaps a neighbour more).
        m_pad = 1e-6 * m_cell + 1e-12 * m_magnitude;
    }

    std::int64_t column(double x) const
    {
        return std::clamp<std::int64_t>(static_cast<std::int64_t>(std::floor((x - m_x0) / m_cell)), 0,
                                        m_columns - 1);
    }

    std::int64_t row(double y) const
    {
        return std::clamp<std::int64_t>(static_cast<std::int64_t>(std::floor((y - m_y0) / m_cell)), 0,
                                        m_rows - 1);
    }

    // The cells of triangle t's box (closed, padded): first and last column and row.
    struct Span {
        std::int64_t c0, c1, r0, r1;
        // Filed in every cell of its box: it spans at most two columns and two rows, where
        // the triangle itself misses at most one of them.
        bool whole() const { return c1 - c0 <= 1 && r1 - r0 <= 1; }
    };

    Span spanOf(double x0, double y0, double x1, double y1) const
    {
        return {column(x0 - m_pad), column(x1 + m_pad), row(y0 - m_pad), row(y1 + m_pad)};
    }

    // Calls visit(cell) once for every cell that triangle t meets (closed, padded), or
    // perhaps a neighbour more: a small triangle's box whole, a larger one row by row, the
    // columns of the triangle's extent within the row.
    template <class Visit>
    void forEachCell(std::size_t t, Visit&& visit) const
    {
        const double* c = &m_corners[6 * t];
        double bx0, by0, bx1, by1;
        box(t, &bx0, &by0, &bx1, &by1);
        const Span span = spanOf(bx0, by0, bx1, by1);
        for (std::int64_t r = span.r0; r <= span.r1; ++r) {
            std::int64_t c0 = span.c0, c1 = span.c1;
            if (!span.whole() && span.r0 != span.r1) {
                const double ylo = std::max(by0, m_y0 + static_cast<double>(r) * m_cell) - m_pad;
                const double yhi = std::min(by1, m_y0 + static_cast<double>(r + 1) * m_cell) + m_pad;
                double lo = std::numeric_limits<double>::infinity();
                double hi = -lo;
                for (int k = 0; k < 3; ++k) {
                    const double ax = c[2 * k], ay = c[2 * k + 1];
                    const double qx = c[(2 * k + 2) % 6], qy = c[(2 * k + 3) % 6];
                    double from = 0.0, to = 1.0;
                    if (ay != qy) {
                        from = (ylo - ay) / (qy - ay);
                        to = (yhi - ay) / (qy - ay);
                        if (from > to) {
                            std::swap(from, to);
                        }
                        from = std::max(from, 0.0);
                        to = std::min(to, 1.0);
                    } else if (ay < ylo || ay > yhi) {
                        continue;
                    }
                    if (from > to) {
                        continue;
                    }
                    const double xa = ax + from * (qx - ax);
                    const double xb = ax + to * (qx - ax);
                    lo = std::min({lo, xa, xb});
                    hi = std::max({hi, xa, xb});
                }
                if (lo > hi) {
                    continue;
                }
                c0 = column(lo - m_pad);
                c1 = column(hi + m_pad);
            }
            for (std::int64_t col = c0; col <= c1; ++col) {
                visit(static_cast<std::size_t>(r * m_columns + col));
            }
        }
    }

    // Counting pass, prefix sums, filling pass: every cell's list in one array. Where the
    // triangles would be filed more than FILINGS_PER_TRIANGLE times each (a few huge ones,
    // such as a solid's base, across all cells), the cells are made coarser first.
    void file()
    {
        const std::size_t n = m_triangles.size();
        const std::size_t budget = FILINGS_PER_TRIANGLE * n + 4096;
        for (;;) {
            // Each cell's count, then (summed) its end.
            m_cellStart.assign(static_cast<std::size_t>(m_columns * m_rows) + 1, 0);
            std::size_t filings = 0;
            for (std::size_t t = 0; t < n && filings <= budget; ++t) {
                forEachCell(t, [this, &filings](std::size_t cell) {
                    ++m_cellStart[cell];
                    ++filings;
                });
            }
            if (filings <= budget || (m_columns == 1 && m_rows == 1)) {
                break;
            }
            setCell(2.0 * m_cell);
        }
        for (std::size_t k = 1; k < m_cellStart.size(); ++k) {
            m_cellStart[k] += m_cellStart[k - 1];
        }
        m_cellTriangles.resize(m_cellStart.back());
        // Filled from the back, so that each end moves to its cell's start and every list
        // ascends.
        for (std::size_t t = n; t-- > 0;) {
            forEachCell(t, [&](std::size_t cell) {
                m_cellTriangles[--m_cellStart[cell]] = static_cast<std::uint32_t>(t);
            });
        }
    }

    // The first pair of triangles sharing a cell that overlap, or (NONE, NONE). Two
    // triangles filed by their whole boxes are compared only in the first cell both boxes
    // meet (both are filed there); a pair of which one was filed row by row, in every cell
    // they share.
    std::pair<std::uint32_t, std::uint32_t> firstOverlap() const
    {
        struct Entry {
            std::uint32_t t;
            double x0, y0, x1, y1;
            Span span;
        };
        std::vector<Entry> entries;
        const std::size_t cells = m_cellStart.size() - 1;
        for (std::size_t cell = 0; cell < cells; ++cell) {
            const std::uint32_t* begin = m_cellTriangles.data() + m_cellStart[cell];
            const std::uint32_t* end = m_cellTriangles.data() + m_cellStart[cell + 1];
            if (end - begin < 2) {
                continue;
            }
            entries.clear();
            for (const std::uint32_t* t = begin; t != end; ++t) {
                Entry e;
                e.t = *t;
                box(*t, &e.x0, &e.y0, &e.x1, &e.y1);
                e.span = spanOf(e.x0, e.y0, e.x1, e.y1);
                entries.push_back(e);
            }
            const auto column = static_cast<std::int64_t>(cell % static_cast<std::size_t>(m_columns));
            const auto row = static_cast<std::int64_t>(cell / static_cast<std::size_t>(m_columns));
            for (std::size_t i = 0; i < entries.size(); ++i) {
                const Entry& a = entries[i];
                for (std::size_t j = i + 1; j < entries.size(); ++j) {
                    const Entry& b = entries[j];
                    if (a.x1 <= b.x0 || b.x1 <= a.x0 || a.y1 <= b.y0 || b.y1 <= a.y0) {
                        continue;
                    }
                    if (a.span.whole() && b.span.whole() &&
                        (std::max(a.span.c0, b.span.c0) != column || std::max(a.span.r0, b.span.r0) != row)) {
                        continue;
                    }
                    if (overlap(a.t, b.t)) {
                        return {a.t, b.t};
                    }
                }
            }
        }
        return {NONE, NONE};
    }

    // Whether every corner of triangle b lies outside triangle a's edge k or on its line.
    bool outside(std::uint32_t a, int k, std::uint32_t b) const
    {
        const double* p = &m_corners[6 * std::size_t(a)];
        const double* q = &m_corners[6 * std::size_t(b)];
        const double sign = m_area[a] > 0.0 ? 1.0 : -1.0;
        const double ax = p[2 * k], ay = p[2 * k + 1];
        const double bx = p[(2 * k + 2) % 6], by = p[(2 * k + 3) % 6];
        for (int j = 0; j < 3; ++j) {
            if (sign * orient(ax, ay, bx, by, q[2 * j], q[2 * j + 1]) > 0.0) {
                return false;
            }
        }
        return true;
    }

    bool separated(std::uint32_t a, std::uint32_t b) const
    {
        for (int k = 0; k < 3; ++k) {
            if (outside(a, k, b) || outside(b, k, a)) {
                return true;
            }
        }
        return false;
    }

    // The plan area that the interiors of a and b share: b clipped by a's three edges,
    // coordinates taken relative to a's first corner.
    double sharedArea(std::uint32_t a, std::uint32_t b) const
    {
        const double* p = &m_corners[6 * std::size_t(a)];
        const double* q = &m_corners[6 * std::size_t(b)];
        const double ox = p[0], oy = p[1];
        const double sign = m_area[a] > 0.0 ? 1.0 : -1.0;
        // A triangle clipped by three half-planes has at most six corners.
        double polygon[2][2 * 9];
        int size = 3;
        for (int j = 0; j < 3; ++j) {
            polygon[0][2 * j] = q[2 * j] - ox;
            polygon[0][2 * j + 1] = q[2 * j + 1] - oy;
        }
        int in = 0;
        for (int k = 0; k < 3 && size > 0; ++k) {
            const double ax = p[2 * k] - ox, ay = p[2 * k + 1] - oy;
            const double bx = p[(2 * k + 2) % 6] - ox, by = p[(2 * k + 3) % 6] - oy;
            const double* from = polygon[in];
            double* to = polygon[1 - in];
            int kept = 0;
            for (int i = 0; i < size; ++i) {
                const int j = (i + 1) % size;
                const double si = sign * orient(ax, ay, bx, by, from[2 * i], from[2 * i + 1]);
                const double sj = sign * orient(ax, ay, bx, by, from[2 * j], from[2 * j + 1]);
                if (si >= 0.0) {
                    to[2 * kept] = from[2 * i];
                    to[2 * kept + 1] = from[2 * i + 1];
                    ++kept;
                }
                if ((si > 0.0 && sj < 0.0) || (si < 0.0 && sj > 0.0)) {
                    const double t = si / (si - sj);
                    to[2 * kept] = from[2 * i] + t * (from[2 * j] - from[2 * i]);
                    to[2 * kept + 1] = from[2 * i + 1] + t * (from[2 * j + 1] - from[2 * i + 1]);
                    ++kept;
                }
            }
            size = kept;
            in = 1 - in;
        }
        double twice = 0.0;
        const double* v = polygon[in];
        for (int i = 0; i < size; ++i) {
            const int j = (i + 1) % size;
            twice += v[2 * i] * v[2 * j + 1] - v[2 * j] * v[2 * i + 1];
        }
        return std::abs(twice) / 2.0;
    }

    // Whether a and b, whose boxes overlap, share more than the tolerance of the smaller.
    bool overlap(std::uint32_t a, std::uint32_t b) const
    {
        if (separated(a, b)) {
            return false;
        }
        const double smaller = std::min(std::abs(m_area[a]), std::abs(m_area[b])) / 2.0;
        return sharedArea(a, b) > PlanOverlapCheck::OVERLAP_RATIO * smaller;
    }

    std::shared_ptr<core::Triangle> held(core::Triangle const* triangle) const
    {
        for (std::shared_ptr<core::Triangle> const& t : m_tin.allTriangles()) {
            if (t.get() == triangle) {
                return t;
            }
        }
        return nullptr;
    }

    core::Tin const& m_tin;
    std::vector<core::Triangle const*> m_triangles;
    // x, y of each compared triangle's three corners in its own order.
    std::vector<double> m_corners;
    // Twice each compared triangle's signed plan area.
    std::vector<double> m_area;
    double m_x0 = 0.0;
    double m_y0 = 0.0;
    double m_width = 0.0;
    double m_height = 0.0;
    double m_magnitude = 0.0;
    double m_cell = 1.0;
    double m_pad = 0.0;
    std::int64_t m_columns = 1;
    std::int64_t m_rows = 1;
    std::vector<std::uint32_t> m_cellStart;
    std::vector<std::uint32_t> m_cellTriangles;
};

}  // namespace

PlanOverlapCheck::Finding PlanOverlapCheck::find(core::Tin const& tin)
{
    return Search(tin).run();
}

bool PlanOverlapCheck::isSingleValued(core::Tin const& tin)
{
    return find(tin).fault == Fault::None;
}

}  // namespace util
}  // namespace tin
