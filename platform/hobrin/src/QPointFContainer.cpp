#include "guimisc/xml/QPointFContainer.h"

#include "guimisc/xml/XmlSupport.h"

#include <QDomElement>

namespace guimisc::xml {

QPointFContainer::QPointFContainer(const QString& name, const QPointF& defaultValue)
    : XmlAttributeValueContainerT<QPointF>(name, defaultValue)
{
}

void QPointFContainer::load(const QDomElement& element)
{
    const QString name = attributeName();
    setValue(QPointF(
        XmlSupport::getDoubleAttribute(element, name + QLatin1Char('X'), defaultValue().x()),
        XmlSupport::getDoubleAttribute(element, name + QLatin1Char('Y'), defaultValue().y())));
}

void QPointFContainer::save(QXmlStreamWriter* writer) const
{
    const QString name = attributeName();
    XmlSupport::setDoubleAttribute(writer, name + QLatin1Char('X'), value().x());
    XmlSupport::setDoubleAttribute(writer, name + QLatin1Char('Y'), value().y());
}

} // namespace guimisc::xml
