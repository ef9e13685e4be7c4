#pragma once

#include "guimisc/xml/XmlAttributeValueContainerT.h"

#include <QPointF>

namespace guimisc::xml {

/// A point stored as two double attributes: the name followed by "X" and by "Y"
/// ("topLeftX", "topLeftY"). Each coordinate that is missing or malformed loads as the
/// default's coordinate.
class QPointFContainer : public XmlAttributeValueContainerT<QPointF> {
public:
    explicit QPointFContainer(const QString& name, const QPointF& defaultValue = QPointF());
    using XmlAttributeValueContainerT<QPointF>::operator=;

    void load(const QDomElement& element) override;
    void save(QXmlStreamWriter* writer) const override;
};

} // namespace guimisc::xml
