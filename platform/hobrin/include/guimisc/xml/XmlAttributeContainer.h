#pragma once

class QDomElement;
class QXmlStreamWriter;

namespace guimisc::xml {

/// Something that stores itself as attributes of an XML element: a setting of an item or a
/// view that the project file writes with `QXmlStreamWriter` and reads back from a DOM.
///
/// - `load` reads the attributes from `element`; missing or malformed ones leave the
///   container at its default (or, for containers bound to a widget or view, unchanged).
/// - `save` writes the attributes on the element that `writer` has open.
/// - `copyValue` copies the values (never the attribute names) of a container of the same
///   kind; containers whose values live elsewhere (a view's centre, a window's geometry)
///   copy nothing, which is the default.
class XmlAttributeContainer {
public:
    XmlAttributeContainer() = default;
    XmlAttributeContainer(const XmlAttributeContainer&) = default;
    XmlAttributeContainer& operator=(const XmlAttributeContainer&) = default;
    virtual ~XmlAttributeContainer();

    virtual void load(const QDomElement& element) = 0;
    virtual void save(QXmlStreamWriter* writer) const = 0;
    virtual void copyValue(const XmlAttributeContainer& other);
};

} // namespace guimisc::xml
