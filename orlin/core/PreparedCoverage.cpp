#include "orlin/core/PreparedCoverage.h"

#include "orlin/core/GeometryFunctions.h"

#include <geos/algorithm/locate/PointOnGeometryLocator.h>
#include <geos/geom/Coordinate.h>
#include <geos/geom/CoordinateSequence.h>
#include <geos/geom/Geometry.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/Location.h>
#include <geos/geom/Point.h>
#include <geos/geom/prep/PreparedGeometry.h>
#include <geos/geom/prep/PreparedGeometryFactory.h>
#include <geos/geom/prep/PreparedPolygon.h>

#include <algorithm>
#include <cmath>

namespace tin::core {

namespace {

enum CellState : unsigned char { Unknown, Outside, Inside, Boundary };

constexpr std::size_t queriesPerCell = 4;
constexpr std::size_t minimumCells = 64;
constexpr int maximumSide = 512;

} // namespace

PreparedCoverage::PreparedCoverage(const geos::geom::Geometry* geometry,
                                   std::size_t expectedQueries)
    : m_prepared(geos::geom::prep::PreparedGeometryFactory::prepare(geometry)),
      m_polygon(dynamic_cast<const geos::geom::prep::PreparedPolygon*>(m_prepared.get())),
      m_envelope(*geometry->getEnvelopeInternal())
{
    if (m_polygon && !m_envelope.isNull() && m_envelope.getWidth() > 0 &&
        m_envelope.getHeight() > 0 && expectedQueries / queriesPerCell >= minimumCells)
        buildGrid(*geometry, expectedQueries);
}

PreparedCoverage::~PreparedCoverage() = default;

bool PreparedCoverage::covers(double x, double y) const
{
    if (!m_envelope.covers(x, y))
        return false;
    if (!m_cells.empty()) {
        const unsigned char state =
            m_cells[static_cast<std::size_t>(column(x)) +
                    static_cast<std::size_t>(row(y)) * static_cast<std::size_t>(m_columns)];
        if (state == Inside)
            return true;
        if (state == Outside)
            return false;
    }
    return locate(x, y);
}

bool PreparedCoverage::covers(const geos::geom::Geometry* g) const
{
    return m_prepared->covers(g);
}

bool PreparedCoverage::locate(double x, double y) const
{
    const geos::geom::Coordinate c(x, y);
    if (m_polygon)
        return m_polygon->getPointLocator()->locate(&c) != geos::geom::Location::EXTERIOR;
    const std::unique_ptr<geos::geom::Point> point(defaultGeometryFactory()->createPoint(c));
    return m_prepared->covers(point.get());
}

int PreparedCoverage::column(double x) const
{
    const double i = std::floor((x - m_envelope.getMinX()) / m_cellWidth);
    return static_cast<int>(std::clamp(i, 0.0, static_cast<double>(m_columns - 1)));
}

int PreparedCoverage::row(double y) const
{
    const double j = std::floor((y - m_envelope.getMinY()) / m_cellHeight);
    return static_cast<int>(std::clamp(j, 0.0, static_cast<double>(m_rows - 1)));
}

void PreparedCoverage::buildGrid(const geos::geom::Geometry& geometry, std::size_t expectedQueries)
{
    // Cells about square, about expectedQueries / queriesPerCell of them.
    const double cells = static_cast<double>(
        std::min<std::size_t>(expectedQueries / queriesPerCell,
                              static_cast<std::size_t>(maximumSide) * maximumSide));
    const double aspect = m_envelope.getWidth() / m_envelope.getHeight();
    m_columns = static_cast<int>(std::clamp(std::round(std::sqrt(cells * aspect)), 1.0,
                                            static_cast<double>(maximumSide)));
    m_rows = static_cast<int>(std::clamp(std::round(cells / m_columns), 1.0,
                                         static_cast<double>(maximumSide)));
    m_cellWidth = m_envelope.getWidth() / m_columns;
    m_cellHeight = m_envelope.getHeight() / m_rows;
    m_cells.assign(static_cast<std::size_t>(m_columns) * m_rows, Unknown);
    const auto cell = [this](int i, int j) -> unsigned char& {
        return m_cells[static_cast<std::size_t>(i) + static_cast<std::size_t>(j) * m_columns];
    };

    // Every cell that a side's box reaches, widened by one cell against rounding, is a boundary
    // cell. The coordinates of all rings run as one chain: the extra sides between rings only
    // mark more cells, which costs time, never correctness.
    const auto coordinates = geometry.getCoordinates();
    for (std::size_t k = 0; k + 1 < coordinates->size(); ++k) {
        const geos::geom::Coordinate& a = coordinates->getAt(k);
        const geos::geom::Coordinate& b = coordinates->getAt(k + 1);
        const int i0 = std::max(column(std::min(a.x, b.x)) - 1, 0);
        const int i1 = std::min(column(std::max(a.x, b.x)) + 1, m_columns - 1);
        const int j0 = std::max(row(std::min(a.y, b.y)) - 1, 0);
        const int j1 = std::min(row(std::max(a.y, b.y)) + 1, m_rows - 1);
        for (int j = j0; j <= j1; ++j)
            for (int i = i0; i <= i1; ++i)
                cell(i, j) = Boundary;
    }

    // A 4-connected group of cells without boundary holds no boundary point, so it lies wholly
    // inside or wholly outside: one locator call at a seed's centre decides the whole group.
    std::vector<std::pair<int, int>> stack;
    for (int j = 0; j < m_rows; ++j) {
        for (int i = 0; i < m_columns; ++i) {
            if (cell(i, j) != Unknown)
                continue;
            const unsigned char state =
                locate(m_envelope.getMinX() + (i + 0.5) * m_cellWidth,
                       m_envelope.getMinY() + (j + 0.5) * m_cellHeight)
                    ? Inside
                    : Outside;
            cell(i, j) = state;
            stack.emplace_back(i, j);
            while (!stack.empty()) {
                const auto [ci, cj] = stack.back();
                stack.pop_back();
                const std::pair<int, int> neighbours[4] = {
                    {ci - 1, cj}, {ci + 1, cj}, {ci, cj - 1}, {ci, cj + 1}};
                for (const auto& [ni, nj] : neighbours) {
                    if (ni < 0 || nj < 0 || ni >= m_columns || nj >= m_rows ||
                        cell(ni, nj) != Unknown)
                        continue;
                    cell(ni, nj) = state;
                    stack.emplace_back(ni, nj);
                }
            }
        }
    }
}

} // namespace tin::core
