#include "guimisc/xml/IntContainer.h"

#include "guimisc/xml/XmlSupport.h"

#include <QDomElement>

namespace guimisc::xml {

IntContainer::IntContainer(const QString& name, int defaultValue)
    : XmlAttributeValueContainerT<int>(name, defaultValue)
{
}

void IntContainer::load(const QDomElement& element)
{
    setValue(XmlSupport::getIntAttribute(element, attributeName(), defaultValue()));
}

void IntContainer::save(QXmlStreamWriter* writer) const
{
    XmlSupport::setIntAttribute(writer, attributeName(), value());
}

} // namespace guimisc::xml
