#include "guimisc/xml/StringContainer.h"

#include "guimisc/xml/XmlSupport.h"

#include <QDomElement>
#include <QXmlStreamWriter>

namespace guimisc::xml {

StringContainer::StringContainer(const QString& name, const QString& defaultValue)
    : XmlAttributeValueContainerT<QString>(name, defaultValue)
{
}

void StringContainer::load(const QDomElement& element)
{
    QString text;
    setValue(XmlSupport::getAttributeText(element, attributeName(), &text) ? text : defaultValue());
}

void StringContainer::save(QXmlStreamWriter* writer) const
{
    writer->writeAttribute(attributeName(), value());
}

} // namespace guimisc::xml
