#include "movarin/sections/GeoDataTopItem.h"

#include "movarin/sections/GeoDataGroupItem.h"

#include <guimisc/xml/XmlSupport.h>

#include <QDomElement>
#include <QStandardItem>
#include <QXmlStreamWriter>

namespace varnel {

namespace {

const QString GROUP_ELEMENT = QStringLiteral("GeoDataGroup");

} // namespace

GeoDataTopItem::GeoDataTopItem(mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(FolderIcon, tr("Geographic data"), parent, 0)
{
    setSubPath("geoData");
}

GeoDataTopItem::~GeoDataTopItem() = default;

GeoDataGroupItem* GeoDataTopItem::groupItem(const QString& name) const
{
    for (mvc::core::ModelItem* child : childItems()) {
        auto group = qobject_cast<GeoDataGroupItem*>(child);
        if (group && group->name() == name) {
            return group;
        }
    }
    return nullptr;
}

QString GeoDataTopItem::itemTypeName() const
{
    return tr("Geographic data top");
}

void GeoDataTopItem::addGroup(GeoDataGroupItem* group)
{
    // The constructor hung the group's row under ours; attaching puts it back in order.
    browserItem()->takeRow(group->browserItem()->row());
    attachChildAtBack(group);
}

void GeoDataTopItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    for (mvc::core::ModelItem* child : childItems()) {
        auto group = qobject_cast<GeoDataGroupItem*>(child);
        if (!group) {
            continue;
        }
        const QDomElement groupElement = guimisc::xml::XmlSupport::getChildNodeWithAttribute(
            element, GROUP_ELEMENT, QStringLiteral("name"), group->name());
        if (!groupElement.isNull()) {
            group->loadFromProjectMainFile(groupElement);
        }
    }
}

void GeoDataTopItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    for (mvc::core::ModelItem* child : childItems()) {
        writer->writeStartElement(GROUP_ELEMENT);
        child->saveToProjectMainFile(writer);
        writer->writeEndElement();
    }
}

} // namespace varnel
