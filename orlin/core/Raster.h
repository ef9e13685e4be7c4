#pragma once

#include "orlin/core/Geometry.h"

#include <memory>
#include <vector>

namespace geos::geom {
class Geometry;
class Polygon;
} // namespace geos::geom

namespace tin::core {

// A regular square grid of elevation samples: an origin, one pitch for both axes, a node count
// per axis, and per node a valid flag and an elevation.
//
// Node (i, j) lies at (x0 + i·pitch, y0 + j·pitch) and is stored at the flat position
// i + j·xCount (i runs fastest). Flags are packed one bit per node; elevations are one flat
// array, so a node costs one multiplication and one addition to reach. A new raster has every
// node invalid with elevation 0.0. The node accessors refuse indexes outside the grid with
// std::out_of_range. The GEOS geometry is the rectangle through the outermost nodes (not half a
// pitch beyond them), built on first request and owned by the raster. Copyable (the copy builds
// its own GEOS rectangle), not assignable. Single-threaded.
class Raster : public Geometry
{
public:
    // Negative counts, or a node count beyond what one vector can index, throw
    // std::invalid_argument.
    Raster(double x0, double y0, double pitch, int xCount, int yCount);
    Raster(const Raster& other);
    Raster& operator=(const Raster&) = delete;
    ~Raster() override;

    int xCount() const;
    int yCount() const;

    // x0 + i·pitch; i ≥ xCount throws std::out_of_range "i is must be smaller than xCount".
    // A negative i is not refused.
    double x(int i) const;
    // y0 + j·pitch; j ≥ yCount throws std::out_of_range "j is must be smaller than yCount".
    double y(int j) const;
    std::vector<double> xValues() const;
    std::vector<double> yValues() const;

    void setData(int i, int j, bool valid, double z);
    void data(int i, int j, bool* valid, double* z) const;
    bool isValid(int i, int j) const;
    // The stored elevation whatever the node's flag.
    double elevation(int i, int j) const;

    geos::geom::Polygon* geosPolygon() const;
    geos::geom::Geometry* geosGeometry() const override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace tin::core
