#include "guimisc/xml/ColorContainer.h"

#include "guimisc/xml/XmlSupport.h"

#include <QDomElement>
#include <QXmlStreamWriter>

namespace guimisc::xml {

ColorContainer::ColorContainer(const QString& name, const QColor& defaultValue)
    : XmlAttributeValueContainerT<QColor>(name, defaultValue)
{
}

void ColorContainer::load(const QDomElement& element)
{
    QColor color = defaultValue();
    QString text;
    if (XmlSupport::getAttributeText(element, attributeName(), &text)) {
        text = text.trimmed();
        if (QColor::isValidColor(text)) {
            color.setNamedColor(text);
        }
    }
    setValue(color);
}

void ColorContainer::save(QXmlStreamWriter* writer) const
{
    writer->writeAttribute(attributeName(), value().name());
}

} // namespace guimisc::xml
