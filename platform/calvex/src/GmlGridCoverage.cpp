#include "GmlGridCoverage.h"

namespace tingml::io {

long long GmlGridCoverage::cellsFromStart() const
{
    return columns() * rows() - ((startRow - lowRow) * columns() + (startColumn - lowColumn));
}

double GmlGridCoverage::longitudeOfColumn(long long column) const
{
    return west + (static_cast<double>(column) + 0.5) * (east - west) / static_cast<double>(columns());
}

double GmlGridCoverage::latitudeOfRow(long long row) const
{
    return north - (static_cast<double>(row) + 0.5) * (north - south) / static_cast<double>(rows());
}

} // namespace tingml::io
