#pragma once

#include "guimisc/xml/XmlAttributeValueContainerT.h"

namespace guimisc::xml {

/// One attribute holding a boolean, "true" or "false" ("1" and "0" are read too) (see `XmlSupport`). A missing or malformed attribute loads
/// as the default.
class BoolContainer : public XmlAttributeValueContainerT<bool> {
public:
    explicit BoolContainer(const QString& name, bool defaultValue = false);
    using XmlAttributeValueContainerT<bool>::operator=;

    void load(const QDomElement& element) override;
    void save(QXmlStreamWriter* writer) const override;
};

} // namespace guimisc::xml
