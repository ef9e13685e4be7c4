#pragma once

#include <geos/geom/Envelope.h>

#include <cstddef>
#include <memory>
#include <vector>

namespace geos::geom {
class Geometry;
namespace prep {
class PreparedGeometry;
class PreparedPolygon;
} // namespace prep
} // namespace geos::geom

namespace tin::core {

// Answers "does this geometry cover that position" for many positions against one GEOS
// geometry, with the same result as geos::geom::Geometry::covers of a point (a position on the
// boundary is covered).
//
// The geometry is prepared once and a position outside its envelope is refused at once. For a
// polygonal geometry the prepared polygon's indexed point locator answers in O(log n) in the
// ring vertices, without making a GEOS point per position. When many positions are expected, a
// grid of cells over the envelope is laid out first: cells that no ring side comes near are
// wholly inside or wholly outside (one locator call per connected group of such cells), so most
// positions are answered by one cell look-up and only those in cells along the rings go to the
// locator. The grid has at most 512 x 512 cells and costs O(cells + ring vertices) to build.
//
// The geometry is not owned and must outlive this object. Single-threaded.
class PreparedCoverage
{
public:
    // expectedQueries: roughly how many positions will be asked; it sizes the cell grid (none
    // below a few hundred).
    explicit PreparedCoverage(const geos::geom::Geometry* geometry, std::size_t expectedQueries = 0);
    ~PreparedCoverage();
    PreparedCoverage(const PreparedCoverage&) = delete;
    PreparedCoverage& operator=(const PreparedCoverage&) = delete;

    bool covers(double x, double y) const;
    // Prepared covers of a whole geometry (a segment, a line string).
    bool covers(const geos::geom::Geometry* g) const;

private:
    void buildGrid(const geos::geom::Geometry& geometry, std::size_t expectedQueries);
    int column(double x) const;
    int row(double y) const;
    bool locate(double x, double y) const;

    std::unique_ptr<geos::geom::prep::PreparedGeometry> m_prepared;
    const geos::geom::prep::PreparedPolygon* m_polygon;
    geos::geom::Envelope m_envelope;
    // Cell grid over the envelope, empty when not built; i runs fastest.
    std::vector<unsigned char> m_cells;
    int m_columns = 0;
    int m_rows = 0;
    double m_cellWidth = 0.0;
    double m_cellHeight = 0.0;
};

} // namespace tin::core
