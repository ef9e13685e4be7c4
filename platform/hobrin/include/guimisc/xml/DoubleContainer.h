#pragma once

#include "guimisc/xml/XmlAttributeValueContainerT.h"

namespace guimisc::xml {

/// One attribute holding a double, shortest C-locale text that reads back bit for bit (see `XmlSupport`). A missing or malformed attribute loads
/// as the default.
class DoubleContainer : public XmlAttributeValueContainerT<double> {
public:
    explicit DoubleContainer(const QString& name, double defaultValue = 0.0);
    using XmlAttributeValueContainerT<double>::operator=;

    void load(const QDomElement& element) override;
    void save(QXmlStreamWriter* writer) const override;
};

} // namespace guimisc::xml
