#include "orlin/core/Raster.h"

#include "orlin/core/GeometryFunctions.h"

#include <geos/geom/Coordinate.h>
#include <geos/geom/CoordinateSequence.h>
#include <geos/geom/CoordinateSequenceFactory.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/LinearRing.h>
#include <geos/geom/Polygon.h>

#include <cstddef>
#include <limits>
#include <stdexcept>
#include <string>

namespace tin::core {

struct Raster::Impl
{
    double m_x0;
    double m_y0;
    double m_pitch;
    int m_xCount;
    int m_yCount;
    std::vector<bool> m_valid;
    std::vector<double> m_elevations;
    std::unique_ptr<geos::geom::Polygon> m_polygon;

    std::size_t node(int i, int j, const char* operation) const
    {
        if (i < 0 || i >= m_xCount || j < 0 || j >= m_yCount)
            throw std::out_of_range(std::string("Raster::") + operation + ": node (" +
                                    std::to_string(i) + ", " + std::to_string(j) +
                                    ") outside the grid of " + std::to_string(m_xCount) + " x " +
                                    std::to_string(m_yCount) + " nodes");
        return static_cast<std::size_t>(i) + static_cast<std::size_t>(j) * m_xCount;
    }
};

namespace {

std::size_t nodeCount(int xCount, int yCount)
{
    if (xCount < 0 || yCount < 0)
        throw std::invalid_argument("Raster: negative node count (" + std::to_string(xCount) +
                                    " x " + std::to_string(yCount) + ")");
    const std::size_t count = static_cast<std::size_t>(xCount) * static_cast<std::size_t>(yCount);
    if (yCount != 0 && count / static_cast<std::size_t>(yCount) != static_cast<std::size_t>(xCount))
        throw std::invalid_argument("Raster: too many nodes");
    return count;
}

} // namespace

Raster::Raster(double x0, double y0, double pitch, int xCount, int yCount)
    : m_impl(std::make_unique<Impl>())
{
    const std::size_t count = nodeCount(xCount, yCount);
    m_impl->m_x0 = x0;
    m_impl->m_y0 = y0;
    m_impl->m_pitch = pitch;
    m_impl->m_xCount = xCount;
    m_impl->m_yCount = yCount;
    m_impl->m_valid.assign(count, false);
    m_impl->m_elevations.assign(count, 0.0);
}

Raster::Raster(const Raster& other) : Geometry(other), m_impl(std::make_unique<Impl>())
{
    m_impl->m_x0 = other.m_impl->m_x0;
    m_impl->m_y0 = other.m_impl->m_y0;
    m_impl->m_pitch = other.m_impl->m_pitch;
    m_impl->m_xCount = other.m_impl->m_xCount;
    m_impl->m_yCount = other.m_impl->m_yCount;
    m_impl->m_valid = other.m_impl->m_valid;
    m_impl->m_elevations = other.m_impl->m_elevations;
}

Raster::~Raster() = default;

int Raster::xCount() const { return m_impl->m_xCount; }
int Raster::yCount() const { return m_impl->m_yCount; }

double Raster::x(int i) const
{
    if (i >= m_impl->m_xCount)
        throw std::out_of_range("i is must be smaller than xCount");
    return m_impl->m_x0 + i * m_impl->m_pitch;
}

double Raster::y(int j) const
{
    if (j >= m_impl->m_yCount)
        throw std::out_of_range("j is must be smaller than yCount");
    return m_impl->m_y0 + j * m_impl->m_pitch;
}

std::vector<double> Raster::xValues() const
{
    std::vector<double> values;
    values.reserve(m_impl->m_xCount);
    for (int i = 0; i < m_impl->m_xCount; ++i)
        values.push_back(m_impl->m_x0 + i * m_impl->m_pitch);
    return values;
}

std::vector<double> Raster::yValues() const
{
    std::vector<double> values;
    values.reserve(m_impl->m_yCount);
    for (int j = 0; j < m_impl->m_yCount; ++j)
        values.push_back(m_impl->m_y0 + j * m_impl->m_pitch);
    return values;
}

void Raster::setData(int i, int j, bool valid, double z)
{
    const std::size_t n = m_impl->node(i, j, "setData");
    m_impl->m_valid[n] = valid;
    m_impl->m_elevations[n] = z;
}

void Raster::data(int i, int j, bool* valid, double* z) const
{
    const std::size_t n = m_impl->node(i, j, "data");
    if (valid)
        *valid = m_impl->m_valid[n];
    if (z)
        *z = m_impl->m_elevations[n];
}

bool Raster::isValid(int i, int j) const { return m_impl->m_valid[m_impl->node(i, j, "isValid")]; }

double Raster::elevation(int i, int j) const
{
    return m_impl->m_elevations[m_impl->node(i, j, "elevation")];
}

geos::geom::Polygon* Raster::geosPolygon() const
{
    if (!m_impl->m_polygon) {
        const auto* factory = defaultGeometryFactory();
        const double x0 = m_impl->m_x0;
        const double y0 = m_impl->m_y0;
        const double xMax = x0 + (m_impl->m_xCount - 1) * m_impl->m_pitch;
        const double yMax = y0 + (m_impl->m_yCount - 1) * m_impl->m_pitch;
        auto sequence = factory->getCoordinateSequenceFactory()->create(5, 2);
        // Coordinate(x, y) leaves z undefined (not-a-number).
        sequence->setAt(geos::geom::Coordinate(x0, y0), 0);
        sequence->setAt(geos::geom::Coordinate(xMax, y0), 1);
        sequence->setAt(geos::geom::Coordinate(xMax, yMax), 2);
        sequence->setAt(geos::geom::Coordinate(x0, yMax), 3);
        sequence->setAt(geos::geom::Coordinate(x0, y0), 4);
        m_impl->m_polygon = factory->createPolygon(factory->createLinearRing(std::move(sequence)));
    }
    return m_impl->m_polygon.get();
}

geos::geom::Geometry* Raster::geosGeometry() const { return geosPolygon(); }

} // namespace tin::core
