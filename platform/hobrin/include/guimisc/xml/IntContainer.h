#pragma once

#include "guimisc/xml/XmlAttributeValueContainerT.h"

namespace guimisc::xml {

/// One attribute holding an integer, decimal text (see `XmlSupport`). A missing or malformed attribute loads
/// as the default.
class IntContainer : public XmlAttributeValueContainerT<int> {
public:
    explicit IntContainer(const QString& name, int defaultValue = 0);
    using XmlAttributeValueContainerT<int>::operator=;

    void load(const QDomElement& element) override;
    void save(QXmlStreamWriter* writer) const override;
};

} // namespace guimisc::xml
