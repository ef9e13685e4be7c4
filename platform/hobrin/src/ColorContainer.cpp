#include "guimisc/xml/ColorContainer.h"

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
    if (element.hasAttribute(attributeName())) {
        const QString text = element.attribute(attributeName()).trimmed();
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
