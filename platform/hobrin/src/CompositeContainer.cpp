#include "guimisc/xml/CompositeContainer.h"

#include <algorithm>

namespace guimisc::xml {

CompositeContainer::CompositeContainer(const std::vector<XmlAttributeContainer*>& members)
    : m_members(members)
{
}

CompositeContainer::~CompositeContainer() = default;

void CompositeContainer::load(const QDomElement& element)
{
    for (XmlAttributeContainer* member : m_members) {
        member->load(element);
    }
}

void CompositeContainer::save(QXmlStreamWriter* writer) const
{
    for (const XmlAttributeContainer* member : m_members) {
        member->save(writer);
    }
}

void CompositeContainer::copyValue(const XmlAttributeContainer& other)
{
    const auto composite = dynamic_cast<const CompositeContainer*>(&other);
    if (composite == nullptr || composite == this) {
        return;
    }
    const std::size_t n = std::min(m_members.size(), composite->m_members.size());
    for (std::size_t i = 0; i < n; ++i) {
        m_members[i]->copyValue(*composite->m_members[i]);
    }
}

} // namespace guimisc::xml
