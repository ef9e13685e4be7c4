#pragma once

#include <QVariant>

namespace varnel {

/// One row of a cross section's table in the grid-model export: a point of the section's
/// profile (or one put in where a reference line or a value polygon begins or ends) with
/// what the grid model needs there. `panel` is the number (1 to 4) of the reference line that
/// crosses the section at this row, 0 for none. The four values describe the stretch of the
/// section that ends at this row: the roughness coefficient (0.02 unless a "roughness"
/// polygon covers the stretch), the dead-area flag, the vegetation height in metres and the
/// vegetation-density flag (each 0 unless a polygon of its group covers the stretch), as the
/// polygons carry them (a value read from a project is text; writers convert).
struct GridSectionRow {
    double L = 0.0;
    double z = 0.0;
    int panel = 0;
    QVariant roughness = 0.02;
    QVariant deadArea = 0;
    QVariant vegetationHeight = 0;
    QVariant vegetationDensity = 0;
};

} // namespace varnel
