#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"

#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/surfaces/MoldsContainer.h"

#include <guimisc/xml/XmlSupport.h>

#include <QDomElement>
#include <QXmlStreamWriter>

namespace varnel {

GeoEditSurfaceGroupItem::GeoEditSurfaceGroupItem(mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(FolderIcon, tr("GeoEdit Surfaces"), parent, 0),
      m_moldsContainer(new MoldsContainer(this))
{
    setSubPath("geoEditSurfaceGroupItem");
}

GeoEditSurfaceGroupItem::~GeoEditSurfaceGroupItem() = default;

QString GeoEditSurfaceGroupItem::itemTypeName() const
{
    return tr("GeoEdit surface");
}

MoldsContainer* GeoEditSurfaceGroupItem::moldsContainer() const
{
    return m_moldsContainer;
}

GeoEditSurfaceGroupItemController* GeoEditSurfaceGroupItem::groupController() const
{
    return static_cast<GeoEditSurfaceGroupItemController*>(controller());
}

mvc::core::ModelItemController* GeoEditSurfaceGroupItem::buildController() const
{
    return new GeoEditSurfaceGroupItemController(this);
}

void GeoEditSurfaceGroupItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    const QDomElement molds =
        guimisc::xml::XmlSupport::getChildNode(element, QStringLiteral("MoldsContainer"));
    if (!molds.isNull()) {
        m_moldsContainer->loadFromProjectMainFile(molds);
    }
}

void GeoEditSurfaceGroupItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    writer->writeStartElement(QStringLiteral("MoldsContainer"));
    m_moldsContainer->saveToProjectMainFile(writer);
    writer->writeEndElement();
}

} // namespace varnel
