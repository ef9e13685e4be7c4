#include "movarin/shell/ProjectModelRootItem.h"

#include <guimisc/xml/XmlSupport.h>

#include <QDomElement>
#include <QStandardItemModel>
#include <QXmlStreamWriter>

namespace varnel {

using guimisc::xml::XmlSupport;

ProjectModelRootItem::ProjectModelRootItem(mvc::core::Model* model)
    : mvc::core::ModelRootItem(model)
{
}

ProjectModelRootItem::~ProjectModelRootItem() = default;

void ProjectModelRootItem::appendBrowserRows(std::initializer_list<mvc::core::ModelItem*> children)
{
    QStandardItemModel* rows = qStandardItemModel();
    for (mvc::core::ModelItem* child : children) {
        rows->appendRow(child->browserItem());
    }
    updateItemMap();
}

void ProjectModelRootItem::loadChild(mvc::core::ModelItem* child, const QDomElement& element)
{
    if (!element.isNull()) {
        child->loadFromProjectMainFile(element);
    }
}

void ProjectModelRootItem::saveChild(mvc::core::ModelItem* child, const QString& tag,
                                     QXmlStreamWriter* writer)
{
    writer->writeStartElement(tag);
    child->saveToProjectMainFile(writer);
    writer->writeEndElement();
}

QDomElement ProjectModelRootItem::backgroundImagesElement(const QDomElement& dataModel)
{
    const QDomElement group =
        XmlSupport::getChildNode(dataModel, QStringLiteral("BackgroundImageGroup"));
    return group.isNull() ? XmlSupport::getChildNode(dataModel, QStringLiteral("BackgroundImages"))
                          : group;
}

} // namespace varnel
