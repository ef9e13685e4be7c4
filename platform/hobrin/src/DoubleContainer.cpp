#include "guimisc/xml/DoubleContainer.h"

#include "guimisc/xml/XmlSupport.h"

#include <QDomElement>

namespace guimisc::xml {

DoubleContainer::DoubleContainer(const QString& name, double defaultValue)
    : XmlAttributeValueContainerT<double>(name, defaultValue)
{
}

void DoubleContainer::load(const QDomElement& element)
{
    setValue(XmlSupport::getDoubleAttribute(element, attributeName(), defaultValue()));
}

void DoubleContainer::save(QXmlStreamWriter* writer) const
{
    XmlSupport::setDoubleAttribute(writer, attributeName(), value());
}

} // namespace guimisc::xml
