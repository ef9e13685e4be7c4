#include "movarin/sections/GeoDataPolylineItem.h"

#include "movarin/sections/GeoDataPolylineItemController.h"
#include "movarin/sections/GeoDataPolylineItemView.h"

#include <guimisc/dialog/InformationDialog.h>

#include <QMainWindow>

namespace varnel {

namespace {

// One picture shared by every row, never destroyed (see mvc::core::ModelItem's icons).
const QIcon& rowIcon()
{
    static const QIcon* const icon = new QIcon(QStringLiteral(":/images/iconPolyline.png"));
    return *icon;
}

} // namespace

GeoDataPolylineItem::GeoDataPolylineItem(const QString& caption, mvc::core::ModelItem* parent)
    : GeoDataShapeItemT(rowIcon(), caption, parent)
{
    // The group is looked up at each emission: the item is made before it is attached.
    connect(this, &GeoDataPolylineItem::geoDataPolylineChanged, this, [this] {
        if (GeoDataGroupItem* group = groupItem()) {
            group->announcePolylineChange();
        }
    });
}

GeoDataPolylineItem::~GeoDataPolylineItem() = default;

void GeoDataPolylineItem::showDefineInformation() const
{
    guimisc::dialog::InformationDialog::information(
        mainWindow(), tr("Information"),
        tr("Please define polyline by mouse-clicking. Finish definining by double clicking, or "
           "pressing return key."),
        QStringLiteral("geodatapolylineinit"));
}

void GeoDataPolylineItem::shapeChanged()
{
    emit geoDataPolylineChanged();
}

QString GeoDataPolylineItem::itemTypeName() const
{
    return tr("polyline");
}

void GeoDataPolylineItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    loadShapeAttributes(element);
}

void GeoDataPolylineItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    saveShapeAttributes(writer);
}

mvc::core::ModelItemView* GeoDataPolylineItem::buildView() const
{
    return new GeoDataPolylineItemView(this);
}

mvc::core::ModelItemController* GeoDataPolylineItem::buildController() const
{
    return new GeoDataPolylineItemController(this);
}

} // namespace varnel
