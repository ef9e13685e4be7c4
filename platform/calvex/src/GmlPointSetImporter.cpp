#include "tingml/io/GmlPointSetImporter.h"

#include "GmlArchive.h"
#include "GmlGridCoverage.h"
#include "GmlGridReader.h"

#include "common/exception/FileOpenException.h"
#include "common/exception/InvalidFileFormatException.h"
#include "common/exception/RuntimeException.h"
#include "orlin/core/PointFactory.h"
#include "proj/ProjectionPair.h"

#include <QFile>
#include <QString>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace tingml::io {

namespace {

using common::exception::RuntimeException;

// A ZIP begins with a local file header, or with the end record when it is empty.
bool isZipArchive(const QString& path, const std::string& name)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw common::exception::FileOpenException(name);
    }
    const QByteArray magic = file.read(4);
    return magic == QByteArray("PK\x03\x04", 4) || magic == QByteArray("PK\x05\x06", 4);
}

std::string fileName(const char* path)
{
    if (!path) {
        throw RuntimeException("No file given to read elevation grids from");
    }
    return path;
}

struct Region {
    double xmin = -std::numeric_limits<double>::infinity();
    double ymin = -std::numeric_limits<double>::infinity();
    double xmax = std::numeric_limits<double>::infinity();
    double ymax = std::numeric_limits<double>::infinity();

    bool holds(double x, double y) const { return x >= xmin && x <= xmax && y >= ymin && y <= ymax; }
};

} // namespace

struct GmlPointSetImporter::Impl {
    QString tempFolder;
    const proj::ProjectionPair* pair = nullptr;
    int step = 1;

    // Calls visit(grid, name) for every grid of the file, in reading order.
    template <typename Visit>
    void forEachGrid(const char* path, Visit visit) const;

    const proj::ProjectionPair& projectionPair(const std::string& name) const;
    void toPlane(double lon, double lat, double& x, double& y, const std::string& name) const;
    tin::core::PointSet readPoints(const char* path, const Region& region) const;
};

template <typename Visit>
void GmlPointSetImporter::Impl::forEachGrid(const char* path, Visit visit) const
{
    const std::string name = fileName(path);
    const QString file = QFile::decodeName(path);
    if (!isZipArchive(file, name)) {
        const std::optional<GmlGridCoverage> grid = GmlGridReader::read(file, name);
        if (!grid) {
            throw common::exception::InvalidFileFormatException(
                "No elevation grid (only JPGIS GML elevation models are read)", name);
        }
        visit(*grid, name);
        return;
    }
    const GmlArchive archive(file, tempFolder, name);
    bool any = false;
    for (const GmlArchive::Member& member : archive.xmlMembers()) {
        const std::string memberName = member.name + " in " + name;
        if (const std::optional<GmlGridCoverage> grid = GmlGridReader::read(member.path, memberName)) {
            visit(*grid, memberName);
            any = true;
        }
    }
    if (!any) {
        throw common::exception::InvalidFileFormatException(
            "No XML member with an elevation grid (only JPGIS GML elevation models are read)", name);
    }
}

const proj::ProjectionPair& GmlPointSetImporter::Impl::projectionPair(const std::string& name) const
{
    if (!pair) {
        throw RuntimeException("No coordinate system to convert the points of " + name + " to");
    }
    return *pair;
}

void GmlPointSetImporter::Impl::toPlane(double lon, double lat, double& x, double& y,
                                        const std::string& name) const
{
    const proj::ProjectionPair& target = projectionPair(name);
    if (!target.forward(lon, lat, x, y) || !std::isfinite(x) || !std::isfinite(y)) {
        const std::string system = target.name().empty() ? "the coordinate system" : target.name();
        throw RuntimeException("Cannot convert longitude " + std::to_string(lon) + ", latitude "
                               + std::to_string(lat) + " to " + system + ": " + name);
    }
}

tin::core::PointSet GmlPointSetImporter::Impl::readPoints(const char* path, const Region& region) const
{
    projectionPair(fileName(path));
    std::vector<double> xyz;
    forEachGrid(path, [&](const GmlGridCoverage& grid, const std::string& name) {
        grid.forEachPoint(step, [&](double lon, double lat, double elevation) {
            double x = 0;
            double y = 0;
            toPlane(lon, lat, x, y, name);
            if (region.holds(x, y)) {
                xyz.insert(xyz.end(), {x, y, elevation});
            }
        });
    });
    const std::size_t count = xyz.size() / 3;
    tin::core::PointFactory& factory = tin::core::PointFactory::instance();
    factory.reserve(count);
    tin::core::PointSet::PointList points(count);
    factory.factoryAll(xyz.data(), count, points.data());
    // A cell read twice (one tile twice in an archive) is one point: it keeps the number of its
    // first reading, so that the set's points are numbered 0 to n-1 without gaps.
    for (const std::shared_ptr<tin::core::Point>& point : points) {
        point->setId(-1);
    }
    int next = 0;
    for (const std::shared_ptr<tin::core::Point>& point : points) {
        if (point->id() < 0) {
            point->setId(next++);
        }
    }
    tin::core::PointSet set;
    set.addPoints(std::move(points));
    return set;
}

GmlPointSetImporter::GmlPointSetImporter() : m_impl(std::make_unique<Impl>()) {}

GmlPointSetImporter::~GmlPointSetImporter() = default;

void GmlPointSetImporter::setTempFolder(const char* folder)
{
    m_impl->tempFolder = folder ? QFile::decodeName(folder) : QString();
}

void GmlPointSetImporter::setProjectionPair(proj::ProjectionPair* pair)
{
    m_impl->pair = pair;
}

void GmlPointSetImporter::setStep(int step)
{
    if (step < 1) {
        throw RuntimeException("Invalid step " + std::to_string(step) + ": the step is 1 or more");
    }
    m_impl->step = step;
}

bool GmlPointSetImporter::boundingBox(const char* path, double* x1, double* y1, double* x2, double* y2) const
{
    double box[4] = {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    m_impl->projectionPair(fileName(path));
    bool any = false;
    m_impl->forEachGrid(path, [&](const GmlGridCoverage& grid, const std::string& name) {
        const double corners[4][2] = {{grid.west, grid.south}, {grid.east, grid.south},
                                      {grid.west, grid.north}, {grid.east, grid.north}};
        for (const auto& corner : corners) {
            double x = 0;
            double y = 0;
            m_impl->toPlane(corner[0], corner[1], x, y, name);
            box[0] = std::min(box[0], x);
            box[1] = std::min(box[1], y);
            box[2] = std::max(box[2], x);
            box[3] = std::max(box[3], y);
        }
        any = true;
    });
    if (!any) {
        return false;
    }
    double* const out[4] = {x1, y1, x2, y2};
    for (int i = 0; i < 4; ++i) {
        if (out[i]) {
            *out[i] = box[i];
        }
    }
    return true;
}

tin::core::PointSet GmlPointSetImporter::importPointSet(const char* path) const
{
    return m_impl->readPoints(path, Region());
}

tin::core::PointSet GmlPointSetImporter::importPointSet(const char* path, double xmin, double ymin,
                                                        double xmax, double ymax) const
{
    return m_impl->readPoints(path, Region{xmin, ymin, xmax, ymax});
}

} // namespace tingml::io
