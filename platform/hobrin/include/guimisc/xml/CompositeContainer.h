#pragma once

#include "guimisc/xml/XmlAttributeContainer.h"

#include <vector>

namespace guimisc::xml {

/// A list of containers that are loaded, saved and copied together, in list order. A
/// setting derives from it and hands the addresses of its own member containers to the
/// constructor:
///
///     class ImageSetting : public CompositeContainer {
///     public:
///         ImageSetting() : CompositeContainer({&angle, &scale}) {}
///         ImageSetting(const ImageSetting& o) : ImageSetting() { copyValue(o); }
///         ImageSetting& operator=(const ImageSetting& o) { copyValue(o); return *this; }
///         DoubleContainer angle {"angle", 0.0};
///         DoubleContainer scale {"scale", 1.0};
///     };
///
/// The members are not owned. Because the list points into the object that holds it, a
/// composite is not copyable itself: copying goes through `copyValue`, which copies member i
/// of `other` into member i of this list (a composite of another length copies the common
/// leading members).
class CompositeContainer : public XmlAttributeContainer {
public:
    explicit CompositeContainer(const std::vector<XmlAttributeContainer*>& members);
    CompositeContainer(const CompositeContainer&) = delete;
    CompositeContainer& operator=(const CompositeContainer&) = delete;
    ~CompositeContainer() override;

    void load(const QDomElement& element) override;
    void save(QXmlStreamWriter* writer) const override;
    void copyValue(const XmlAttributeContainer& other) override;

    const std::vector<XmlAttributeContainer*>& members() const { return m_members; }

private:
    std::vector<XmlAttributeContainer*> m_members;
};

} // namespace guimisc::xml
