#include "movarin/surfaces/GeoEditSurfaceByBrushItem.h"

#include "movarin/shell/NonFiniteSaveGuard.h"
#include "movarin/surfaces/GeoEditSurfaceArchive.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItemController.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItemView.h"

#include <QStandardItem>

namespace varnel {

GeoEditSurfaceByBrushItem::GeoEditSurfaceByBrushItem(const QString& name,
                                                     const tin::core::Tin& addedTin,
                                                     const tin::core::Tin& removedTin,
                                                     mvc::core::ModelItem* parent)
    : GeoEditSurfaceItemI(name, parent)
{
    setAddedTin(addedTin);
    setRemovedTin(removedTin);
}

GeoEditSurfaceByBrushItem::GeoEditSurfaceByBrushItem(mvc::core::ModelItem* parent)
    : GeoEditSurfaceItemI(QString(), parent)
{
}

GeoEditSurfaceByBrushItem::~GeoEditSurfaceByBrushItem() = default;

QString GeoEditSurfaceByBrushItem::filenamePattern() const
{
    return QStringLiteral("geoedit%1.geb");
}

void GeoEditSurfaceByBrushItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    nameContainer().load(element);
    markAddedTinRead();
    if (QStandardItem* row = browserItem()) {
        row->setText(name());
    }
}

void GeoEditSurfaceByBrushItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    nameContainer().save(writer);
}

void GeoEditSurfaceByBrushItem::loadExternalData(const std::string& absoluteFilename)
{
    if (absoluteFilename.empty()) {
        return;
    }
    GeoEditSurfaceArchive::BrushSurface read = GeoEditSurfaceArchive::readBrushSurface(absoluteFilename);
    setAddedTin(read.addedTin);
    setRemovedTin(read.removedTin);
}

void GeoEditSurfaceByBrushItem::saveExternalData(const std::string& absoluteFilename)
{
    NonFiniteSaveGuard::write(name(), [&] {
        GeoEditSurfaceArchive::writeBrushSurface(absoluteFilename, storedAddedTin(), removedTin());
    });
}

mvc::core::ModelItemView* GeoEditSurfaceByBrushItem::buildView() const
{
    return new GeoEditSurfaceByBrushItemView(this);
}

mvc::core::ModelItemController* GeoEditSurfaceByBrushItem::buildController() const
{
    return new GeoEditSurfaceByBrushItemController(this);
}

} // namespace varnel
