#include "guimisc/xml/BoolContainer.h"

#include "guimisc/xml/XmlSupport.h"

#include <QDomElement>

namespace guimisc::xml {

BoolContainer::BoolContainer(const QString& name, bool defaultValue)
    : XmlAttributeValueContainerT<bool>(name, defaultValue)
{
}

void BoolContainer::load(const QDomElement& element)
{
    setValue(XmlSupport::getBooleanAttribute(element, attributeName(), defaultValue()));
}

void BoolContainer::save(QXmlStreamWriter* writer) const
{
    XmlSupport::setBooleanAttribute(writer, attributeName(), value());
}

} // namespace guimisc::xml
