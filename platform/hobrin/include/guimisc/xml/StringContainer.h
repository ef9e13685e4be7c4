#pragma once

#include "guimisc/xml/XmlAttributeValueContainerT.h"

#include <QString>

namespace guimisc::xml {

/// One attribute holding any text (non-ASCII, blanks, line breaks are kept). A missing
/// attribute loads as the default; a present but empty one as the empty string.
class StringContainer : public XmlAttributeValueContainerT<QString> {
public:
    explicit StringContainer(const QString& name, const QString& defaultValue = QString());
    using XmlAttributeValueContainerT<QString>::operator=;

    void load(const QDomElement& element) override;
    void save(QXmlStreamWriter* writer) const override;
};

} // namespace guimisc::xml
