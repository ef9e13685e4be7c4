#include "guimisc/xml/OpacityContainer.h"

#include "guimisc/xml/XmlSupport.h"

#include <QDomElement>
#include <QString>

#include <algorithm>

namespace guimisc::xml {

namespace {
const QString ATTRIBUTE = QStringLiteral("opacity");
} // namespace

OpacityContainer::OpacityContainer() : m_percent(DEFAULT_PERCENT) {}

void OpacityContainer::setPercent(int percent)
{
    m_percent = std::clamp(percent, 0, 100);
}

OpacityContainer& OpacityContainer::operator=(int percent)
{
    setPercent(percent);
    return *this;
}

void OpacityContainer::load(const QDomElement& element)
{
    setPercent(XmlSupport::getIntAttribute(element, ATTRIBUTE, DEFAULT_PERCENT));
}

void OpacityContainer::save(QXmlStreamWriter* writer) const
{
    XmlSupport::setIntAttribute(writer, ATTRIBUTE, m_percent);
}

void OpacityContainer::copyValue(const XmlAttributeContainer& other)
{
    if (auto same = dynamic_cast<const OpacityContainer*>(&other)) {
        m_percent = same->m_percent;
    }
}

} // namespace guimisc::xml
