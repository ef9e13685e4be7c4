#pragma once

#include "guimisc/xml/XmlAttributeValueContainerT.h"

#include <QColor>

namespace guimisc::xml {

/// One attribute holding a colour, written as `QColor::name()` ("#rrggbb"; alpha is not
/// kept) and read from any name `QColor` accepts ("#rgb", "#aarrggbb", "red"). A missing
/// attribute or an unknown name loads as the default.
class ColorContainer : public XmlAttributeValueContainerT<QColor> {
public:
    explicit ColorContainer(const QString& name, const QColor& defaultValue = QColor());
    using XmlAttributeValueContainerT<QColor>::operator=;

    void load(const QDomElement& element) override;
    void save(QXmlStreamWriter* writer) const override;
};

} // namespace guimisc::xml
