#include "guimisc/xml/StringContainer.h"

#include <QDomElement>
#include <QXmlStreamWriter>

namespace guimisc::xml {

StringContainer::StringContainer(const QString& name, const QString& defaultValue)
    : XmlAttributeValueContainerT<QString>(name, defaultValue)
{
}

void StringContainer::load(const QDomElement& element)
{
    setValue(element.hasAttribute(attributeName()) ? element.attribute(attributeName())
                                                   : defaultValue());
}

void StringContainer::save(QXmlStreamWriter* writer) const
{
    writer->writeAttribute(attributeName(), value());
}

} // namespace guimisc::xml
