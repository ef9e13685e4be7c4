#include "kalmo/ShpReader.h"

#include "kalmo/ShpFileHandles.h"
#include "kalmo/ShpText.h"

#include <QTextCodec>

#include <shapefil.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tinshp {

struct ShpReader::Impl
{
    ShpFileHandles files;
    int count = 0;
    QTextCodec* codec = QTextCodec::codecForLocale();
};

namespace {

// Owns one shape object read from the file.
struct ShapeObject
{
    explicit ShapeObject(SHPObject* o) : object(o) {}
    ~ShapeObject()
    {
        if (object) {
            SHPDestroyObject(object);
        }
    }
    ShapeObject(const ShapeObject&) = delete;
    ShapeObject& operator=(const ShapeObject&) = delete;

    SHPObject* object;
};

} // namespace

ShpReader::ShpReader() : m_impl(std::make_unique<Impl>()) {}

ShpReader::~ShpReader()
{
    close();
}

bool ShpReader::open(const std::string& path)
{
    close();
    ShpFileHandles& files = m_impl->files;
    files.shp = SHPOpen(path.c_str(), "rb");
    files.dbf = files.shp ? DBFOpen(path.c_str(), "rb") : nullptr;
    // Files cut short fail here, as GDAL calls them broken, not shape by shape later.
    if (!files.dbf || !files.shapesFitTheirFile() || !files.recordsFitTheirFile()) {
        files.close();
        return false;
    }
    SHPGetInfo(files.shp, &m_impl->count, nullptr, nullptr, nullptr);
    return true;
}

void ShpReader::close()
{
    m_impl->files.close();
    m_impl->count = 0;
}

int ShpReader::count() const
{
    return m_impl->count;
}

bool ShpReader::hasCell(int row, int col) const
{
    return m_impl->files.dbf && row >= 0 && row < DBFGetRecordCount(m_impl->files.dbf) && col >= 0 &&
           col < DBFGetFieldCount(m_impl->files.dbf);
}

int ShpReader::getIntAttribute(int row, int col) const
{
    return hasCell(row, col) ? DBFReadIntegerAttribute(m_impl->files.dbf, row, col) : 0;
}

double ShpReader::getDoubleAttribute(int row, int col) const
{
    return hasCell(row, col) ? DBFReadDoubleAttribute(m_impl->files.dbf, row, col) : 0.0;
}

QString ShpReader::getStringAttribute(int row, int col) const
{
    if (!hasCell(row, col)) {
        return QString();
    }
    return ShpText::decode(m_impl->codec, DBFReadStringAttribute(m_impl->files.dbf, row, col));
}

void ShpReader::setCodec(const QString& name)
{
    m_impl->codec = ShpText::codec(name);
}

std::vector<tin::core::Point2D> ShpReader::readVertices(int i) const
{
    if (!m_impl->files.shp || i < 0 || i >= m_impl->count) {
        throw std::out_of_range("No shape record " + std::to_string(i));
    }
    std::vector<tin::core::Point2D> kept;
    const ShapeObject shape(SHPReadObject(m_impl->files.shp, i));
    const SHPObject* o = shape.object;
    if (!o || o->nVertices <= 0) {
        return kept;
    }
    const int first = o->nParts > 0 ? std::clamp(o->panPartStart[0], 0, o->nVertices) : 0;
    kept.reserve(static_cast<std::size_t>(o->nVertices - first));
    double lastX = 0.0;
    double lastY = 0.0;
    for (int v = first; v < o->nVertices; ++v) {
        const double x = o->padfX[v];
        const double y = o->padfY[v];
        const bool samePlace =
            std::fabs(x - lastX) < LOCATION_DELTA && std::fabs(y - lastY) < LOCATION_DELTA;
        if (!kept.empty() && samePlace) {
            continue;
        }
        kept.emplace_back(x, y, -1);
        lastX = x;
        lastY = y;
    }
    return kept;
}

} // namespace tinshp
