#pragma once

#include "guimisc/xml/XmlAttributeContainer.h"

#include <QString>

namespace guimisc::xml {

/// Base of the containers that hold one value under one attribute name: the value starts at
/// the default, is read by conversion (`int n = container;`) or `value()`, and written by
/// assignment (`container = 5;`) or `setValue`. Copying a container copies its name,
/// default and value; `copyValue` copies only the value, and only from a container of the
/// same class (anything else is ignored). Derived classes give `load` and `save`.
template <class V>
class XmlAttributeValueContainerT : public XmlAttributeContainer {
public:
    XmlAttributeValueContainerT(const QString& name, const V& defaultValue)
        : m_name(name), m_defaultValue(defaultValue), m_value(defaultValue)
    {
    }

    const QString& attributeName() const { return m_name; }
    const V& defaultValue() const { return m_defaultValue; }
    const V& value() const { return m_value; }
    void setValue(const V& value) { m_value = value; }

    operator V() const { return m_value; }
    XmlAttributeValueContainerT& operator=(const V& value)
    {
        m_value = value;
        return *this;
    }

    void copyValue(const XmlAttributeContainer& other) override
    {
        if (auto same = dynamic_cast<const XmlAttributeValueContainerT*>(&other)) {
            m_value = same->m_value;
        }
    }

private:
    QString m_name;
    V m_defaultValue;
    V m_value;
};

} // namespace guimisc::xml
