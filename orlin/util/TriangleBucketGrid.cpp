#include "orlin/util/TriangleBucketGrid.h"

#include <algorithm>
#include <cmath>

#include "orlin/core/Point.h"
#include "orlin/core/Point2DI.h"
#include "orlin/core/Triangle.h"

namespace tin {
namespace util {

TriangleBucketGrid::TriangleBucketGrid(std::vector<std::shared_ptr<core::Triangle>> triangles)
    : m_triangles(std::move(triangles))
{
    std::size_t const n = m_triangles.size();
    if (n == 0) {
        return;
    }
    m_boxes.resize(4 * n);
    m_corners.resize(9 * n);
    std::vector<double>& boxes = m_boxes;
    double xMin = 0.0, yMin = 0.0, xMax = 0.0, yMax = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        core::Triangle const& t = *m_triangles[i];
        // Each corner read once (its accessors are virtual), straight into the corner table.
        double* corner = &m_corners[9 * i];
        for (int k = 0; k < 3; ++k) {
            core::Point const& p = *t.point(k);
            corner[3 * k] = p.x();
            corner[3 * k + 1] = p.y();
            corner[3 * k + 2] = p.elevation();
        }
        double x0 = corner[0], y0 = corner[1], x1 = x0, y1 = y0;
        for (int k = 1; k < 3; ++k) {
            x0 = std::min(x0, corner[3 * k]);
            x1 = std::max(x1, corner[3 * k]);
            y0 = std::min(y0, corner[3 * k + 1]);
            y1 = std::max(y1, corner[3 * k + 1]);
        }
        boxes[4 * i] = x0;
        boxes[4 * i + 1] = y0;
        boxes[4 * i + 2] = x1;
        boxes[4 * i + 3] = y1;
        if (i == 0) {
            xMin = x0, yMin = y0, xMax = x1, yMax = y1;
        } else {
            xMin = std::min(xMin, x0), yMin = std::min(yMin, y0);
            xMax = std::max(xMax, x1), yMax = std::max(yMax, y1);
        }
    }
    double const width = xMax - xMin;
    double const height = yMax - yMin;
    m_cell = std::sqrt(width * height / static_cast<double>(n));
    // A list along a line (or of one point) gets cells along its longer side.
    m_cell = std::max(m_cell, std::max(width, height) / static_cast<double>(n));
    if (!(m_cell > 0.0) || !std::isfinite(m_cell)) {
        m_cell = 1.0;
    }
    m_x0 = xMin;
    m_y0 = yMin;
    // Long thin triangles across the list would each be filed in a whole row of cells: the
    // cells grow until the filings stay within a fixed multiple of the triangles.
    std::uint64_t const budget = 16 * static_cast<std::uint64_t>(n) + 64;
    for (;;) {
        m_columns = static_cast<std::int64_t>(width / m_cell) + 1;
        m_rows = static_cast<std::int64_t>(height / m_cell) + 1;
        std::uint64_t filings = 0;
        for (std::size_t i = 0; i < n && filings <= budget; ++i) {
            auto const spanX = static_cast<std::uint64_t>((boxes[4 * i + 2] - m_x0) / m_cell) -
                               static_cast<std::uint64_t>((boxes[4 * i] - m_x0) / m_cell) + 1;
            auto const spanY = static_cast<std::uint64_t>((boxes[4 * i + 3] - m_y0) / m_cell) -
                               static_cast<std::uint64_t>((boxes[4 * i + 1] - m_y0) / m_cell) + 1;
            filings += spanX * spanY;
        }
        if (filings <= budget || (m_columns == 1 && m_rows == 1)) {
            break;
        }
        m_cell *= 2.0;
    }
    auto column = [this](double x) {
        return std::clamp<std::int64_t>(static_cast<std::int64_t>((x - m_x0) / m_cell), 0, m_columns - 1);
    };
    auto row = [this](double y) {
        return std::clamp<std::int64_t>(static_cast<std::int64_t>((y - m_y0) / m_cell), 0, m_rows - 1);
    };
    // Counting pass, prefix sums, filling pass: every cell's list in one array.
    m_cellStart.assign(static_cast<std::size_t>(m_columns * m_rows) + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::int64_t r = row(boxes[4 * i + 1]); r <= row(boxes[4 * i + 3]); ++r) {
            for (std::int64_t c = column(boxes[4 * i]); c <= column(boxes[4 * i + 2]); ++c) {
                ++m_cellStart[static_cast<std::size_t>(r * m_columns + c) + 1];
            }
        }
    }
    for (std::size_t k = 1; k < m_cellStart.size(); ++k) {
        m_cellStart[k] += m_cellStart[k - 1];
    }
    m_cellTriangles.resize(m_cellStart.back());
    std::vector<std::uint32_t> fill(m_cellStart.begin(), m_cellStart.end() - 1);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::int64_t r = row(boxes[4 * i + 1]); r <= row(boxes[4 * i + 3]); ++r) {
            for (std::int64_t c = column(boxes[4 * i]); c <= column(boxes[4 * i + 2]); ++c) {
                m_cellTriangles[fill[static_cast<std::size_t>(r * m_columns + c)]++] =
                    static_cast<std::uint32_t>(i);
            }
        }
    }
}

std::pair<std::uint32_t const*, std::uint32_t const*> TriangleBucketGrid::candidates(double x,
                                                                                   double y) const
{
    // A point off the grid lies outside every triangle's rectangle.
    if (m_columns == 0 || !(x >= m_x0 && y >= m_y0)) {
        return {nullptr, nullptr};
    }
    // The same cell arithmetic as the build, so a point on a rectangle's edge finds it.
    double const c = std::floor((x - m_x0) / m_cell);
    double const r = std::floor((y - m_y0) / m_cell);
    if (!(c < static_cast<double>(m_columns) && r < static_cast<double>(m_rows))) {
        return {nullptr, nullptr};
    }
    auto const column = static_cast<std::int64_t>(c);
    auto const row = static_cast<std::int64_t>(r);
    std::size_t const at = static_cast<std::size_t>(row * m_columns + column);
    return {m_cellTriangles.data() + m_cellStart[at], m_cellTriangles.data() + m_cellStart[at + 1]};
}

namespace {

// The weight below which Triangle::interpolateElevation counts a point as outside.
constexpr double WEIGHT_TOLERANCE = -1e-8;

// The barycentric weights of Triangle::calcSTU for (x, y), on the corners c (x, y, z of
// corners 0, 1, 2), in the same arithmetic.
void weights(double const* c, double x, double y, double* s, double* t, double* u)
{
    double const wx = x - c[0];
    double const wy = y - c[1];
    double const e1x = c[3] - c[0];
    double const e1y = c[4] - c[1];
    double const e2x = c[6] - c[0];
    double const e2y = c[7] - c[1];
    double const den = e2y * e1x - e2x * e1y;
    double const tt = (wx * e2y - wy * e2x) / den;
    double const uu = -((wx * e1y - wy * e1x) / den);
    *t = tt;
    *u = uu;
    *s = 1.0 - tt - uu;
}

// The corner of c at (x, y) exactly, or null.
double const* cornerAt(double const* c, double x, double y)
{
    for (int k = 0; k < 3; ++k) {
        if (c[3 * k] == x && c[3 * k + 1] == y) {
            return c + 3 * k;
        }
    }
    return nullptr;
}

// Triangle::interpolateElevation's decision for a point inside the triangle's rectangle, in
// its arithmetic, so that the two agree to the last bit: a corner itself, else all three
// weights at least the tolerance (the NaN weights of a collinear triangle reject).
bool holds(double const* c, double x, double y)
{
    if (cornerAt(c, x, y) != nullptr) {
        return true;
    }
    double s = 0.0, t = 0.0, u = 0.0;
    weights(c, x, y, &s, &t, &u);
    return s >= WEIGHT_TOLERANCE && t >= WEIGHT_TOLERANCE && u >= WEIGHT_TOLERANCE;
}

}  // namespace

std::shared_ptr<core::Triangle> TriangleBucketGrid::findContaining(core::Point2DI const& p) const
{
    std::uint32_t const n = findContainingNumber(p);
    return n == NONE ? nullptr : m_triangles[n];
}

std::uint32_t TriangleBucketGrid::findContainingNumber(core::Point2DI const& p) const
{
    auto const range = candidates(p.x(), p.y());
    double const x = p.x();
    double const y = p.y();
    for (auto it = range.first; it != range.second; ++it) {
        double const* box = &m_boxes[4 * std::size_t(*it)];
        if (x < box[0] || y < box[1] || x > box[2] || y > box[3]) {
            continue;
        }
        if (holds(&m_corners[9 * std::size_t(*it)], x, y)) {
            return *it;
        }
    }
    return NONE;
}

double TriangleBucketGrid::planeElevation(std::uint32_t n, double x, double y) const
{
    double const* c = &m_corners[9 * std::size_t(n)];
    if (double const* corner = cornerAt(c, x, y)) {
        return corner[2];
    }
    double s = 0.0, t = 0.0, u = 0.0;
    weights(c, x, y, &s, &t, &u);
    return (t * c[5] + s * c[2]) + u * c[8];
}

}  // namespace util
}  // namespace tin
