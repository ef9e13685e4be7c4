#include "movarin/surfaces/GeoEditSurfaceItem.h"

#include "movarin/surfaces/GeoEditSurfaceArchive.h"
#include "movarin/surfaces/GeoEditSurfaceItemController.h"

#include "orlin/util/TinModifier.h"

#include <common/exception/RuntimeException.h>

#include <QStandardItem>

#include <exception>

namespace varnel {

GeoEditSurfaceItem::GeoEditSurfaceItem(mvc::core::ModelItem* parent)
    : GeoEditSurfaceItemI(QString(), parent),
      m_closed(QStringLiteral("closed"), false),
      m_moldName(QStringLiteral("moldName")),
      m_valid(QStringLiteral("valid"), false)
{
}

GeoEditSurfaceItem::~GeoEditSurfaceItem() = default;

tin::core::Tin GeoEditSurfaceItem::modifiedRootTin(const tin::core::Tin& rootTin, bool* ok)
{
    *ok = false;
    const mold::core::Mold::EditType type = m_mold.editType();
    if (type != mold::core::Mold::Add && type != mold::core::Mold::Subtract) {
        throw common::exception::RuntimeException(mold::core::Mold::editTypeString(type)
                                                  + " not handled.");
    }
    const tin::core::Tin none;
    const tin::core::Tin& surface = m_tin ? *m_tin : none;
    const tin::core::Tin& extended = m_extendedTin ? *m_extendedTin : none;
    try {
        tin::core::Tin* added = addedTinForUpdate();
        tin::core::Tin* removed = removedTinForUpdate();
        const std::vector<const geos::geom::Polygon*> outline = surface.geosPolygons();
        if (type == mold::core::Mold::Add) {
            return tin::util::TinModifier::add(rootTin, extended, outline, ok, nullptr, added, removed);
        }
        return tin::util::TinModifier::sub(rootTin, extended, outline, ok, nullptr, added, removed);
    } catch (const std::exception&) {
        *ok = false;
        return tin::core::Tin();
    }
}

QString GeoEditSurfaceItem::filenamePattern() const
{
    return QStringLiteral("geoedit%1.ges");
}

QRectF GeoEditSurfaceItem::myBoundingBox() const
{
    if (!m_tin || m_tin->empty()) {
        return QRectF(0.0, 0.0, 0.0, 0.0);
    }
    const tin::core::Rect r = m_tin->boundingRect();
    return QRectF(r.xMin(), r.yMin(), r.width(), r.height());
}

const std::vector<tin::core::Point>& GeoEditSurfaceItem::path() const
{
    return m_path;
}

void GeoEditSurfaceItem::setPath(const std::vector<tin::core::Point>& path)
{
    m_path = path;
}

bool GeoEditSurfaceItem::closed() const
{
    return m_closed;
}

void GeoEditSurfaceItem::setClosed(bool closed)
{
    m_closed = closed;
}

QString GeoEditSurfaceItem::moldName() const
{
    return m_moldName;
}

const mold::core::Mold& GeoEditSurfaceItem::mold() const
{
    return m_mold;
}

void GeoEditSurfaceItem::setMold(const QString& moldName, const mold::core::Mold& mold)
{
    m_moldName = moldName;
    m_mold = mold;
}

bool GeoEditSurfaceItem::isValid() const
{
    return m_valid;
}

tin::core::Tin* GeoEditSurfaceItem::tin() const
{
    return m_tin.get();
}

tin::core::Tin* GeoEditSurfaceItem::extendedTin() const
{
    return m_extendedTin.get();
}

void GeoEditSurfaceItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    nameContainer().load(element);
    m_closed.load(element);
    m_moldName.load(element);
    m_valid.load(element);
    markAddedTinRead();
    if (QStandardItem* row = browserItem()) {
        row->setText(name());
    }
}

void GeoEditSurfaceItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    nameContainer().save(writer);
    m_closed.save(writer);
    m_moldName.save(writer);
    m_valid.save(writer);
}

void GeoEditSurfaceItem::loadExternalData(const std::string& absoluteFilename)
{
    if (absoluteFilename.empty()) {
        return;
    }
    GeoEditSurfaceArchive::MoldSurface read = GeoEditSurfaceArchive::readMoldSurface(absoluteFilename);
    m_path = std::move(read.path);
    m_mold = std::move(read.mold);
    m_tin = std::make_unique<tin::core::Tin>(std::move(read.tin));
    m_extendedTin = std::make_unique<tin::core::Tin>(std::move(read.extendedTin));
    setAddedTin(read.addedTin);
    setRemovedTin(read.removedTin);
}

void GeoEditSurfaceItem::saveExternalData(const std::string& absoluteFilename)
{
    const tin::core::Tin none;
    GeoEditSurfaceArchive::writeMoldSurface(absoluteFilename, m_path, m_mold, m_tin ? *m_tin : none,
                                            m_extendedTin ? *m_extendedTin : none, storedAddedTin(),
                                            removedTin());
}

mvc::core::ModelItemController* GeoEditSurfaceItem::buildController() const
{
    return new GeoEditSurfaceItemController(this);
}

} // namespace varnel
