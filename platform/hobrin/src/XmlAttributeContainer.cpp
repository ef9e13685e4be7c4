#include "guimisc/xml/XmlAttributeContainer.h"

namespace guimisc::xml {

XmlAttributeContainer::~XmlAttributeContainer() = default;

void XmlAttributeContainer::copyValue(const XmlAttributeContainer& other) {}

} // namespace guimisc::xml
