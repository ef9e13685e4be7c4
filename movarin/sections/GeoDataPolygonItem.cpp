#include "movarin/sections/GeoDataPolygonItem.h"

#include "movarin/sections/GeoDataPolygonItemController.h"
#include "movarin/sections/GeoDataPolygonItemView.h"

#include <guimisc/dialog/InformationDialog.h>

#include <QMainWindow>

namespace varnel {

namespace {

// One picture shared by every row, never destroyed (see mvc::core::ModelItem's icons).
const QIcon& rowIcon()
{
    static const QIcon* const icon = new QIcon(QStringLiteral(":/images/iconPolygon.png"));
    return *icon;
}

} // namespace

GeoDataPolygonItem::GeoDataPolygonItem(const QString& caption, mvc::core::ModelItem* parent)
    : GeoDataShapeItemT(rowIcon(), caption, parent)
{
}

GeoDataPolygonItem::~GeoDataPolygonItem() = default;

const QVariant& GeoDataPolygonItem::value() const
{
    return m_value;
}

void GeoDataPolygonItem::setValue(const QVariant& value)
{
    m_value = value;
}

void GeoDataPolygonItem::showDefineInformation() const
{
    guimisc::dialog::InformationDialog::information(
        mainWindow(), tr("Information"),
        tr("Please define polygon by mouse-clicking. Finish definining by double clicking, or "
           "pressing return key."),
        QStringLiteral("geodatapolygoninit"));
}

QString GeoDataPolygonItem::itemTypeName() const
{
    return tr("polygon");
}

void GeoDataPolygonItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    loadShapeAttributes(element);
    m_value = QVariant(element.attribute(QStringLiteral("value")));
}

void GeoDataPolygonItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    saveShapeAttributes(writer);
    writer->writeAttribute(QStringLiteral("value"), m_value.toString());
}

mvc::core::ModelItemView* GeoDataPolygonItem::buildView() const
{
    return new GeoDataPolygonItemView(this);
}

mvc::core::ModelItemController* GeoDataPolygonItem::buildController() const
{
    return new GeoDataPolygonItemController(this);
}

} // namespace varnel
