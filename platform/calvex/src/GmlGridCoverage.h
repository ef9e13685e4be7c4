#pragma once

#include <cstddef>
#include <vector>

namespace tingml::io {

/// One elevation grid of a JPGIS GML file as read, before any coordinate conversion.
///
/// The envelope is in degrees (south and west from the lower corner, north and east from the
/// upper corner, south < north and west < east). The grid spans columns lowColumn..highColumn
/// (west to east) and rows lowRow..highRow (north to south, the "+x-y" order). The tuples are
/// held from the start cell on in that order, one elevation each; a tuple that gives no point
/// (no-data kind or -9999) holds NaN. Cells after the last tuple have no data.
///
/// Cell (column, row) has its point at the cell's centre: longitude west + (c + 0.5) * (east -
/// west) / columns and latitude north - (r + 0.5) * (north - south) / rows, with c and r counted
/// from the grid's low corner.
struct GmlGridCoverage {
    double south = 0;
    double west = 0;
    double north = 0;
    double east = 0;
    long long lowColumn = 0;
    long long lowRow = 0;
    long long highColumn = 0;
    long long highRow = 0;
    long long startColumn = 0;
    long long startRow = 0;
    std::vector<double> elevations;

    long long columns() const { return highColumn - lowColumn + 1; }
    long long rows() const { return highRow - lowRow + 1; }
    /// Cells from the start cell to the grid's end: the most tuples the grid takes.
    long long cellsFromStart() const;

    double longitudeOfColumn(long long column) const;
    double latitudeOfRow(long long row) const;

    /// Calls visit(longitude, latitude, elevation) for every tuple with a point whose cell's
    /// column and row, counted from the low corner, are both multiples of step (>= 1), in
    /// tuple order. Cost: one test per tuple, nothing allocated.
    template <typename Visit>
    void forEachPoint(int step, Visit visit) const;
};

template <typename Visit>
void GmlGridCoverage::forEachPoint(int step, Visit visit) const
{
    const long long width = columns();
    long long column = startColumn - lowColumn;
    long long row = startRow - lowRow;
    for (const double elevation : elevations) {
        if (elevation == elevation && column % step == 0 && row % step == 0) {
            visit(longitudeOfColumn(column), latitudeOfRow(row), elevation);
        }
        if (++column == width) {
            column = 0;
            ++row;
        }
    }
}

} // namespace tingml::io
