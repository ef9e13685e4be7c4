#pragma once

#include <guimisc/xml/XmlAttributeContainer.h>

#include <memory>

namespace mvc::core {
class View;
}

namespace mvc::xml {

/// Saves and restores a main view's centre, scale and angle as the attributes "centerX",
/// "centerY", "scale" and "angle" (in this order) of the element the caller has opened,
/// as doubles that read back bit for bit.
///
/// Loading sets what it reads on the view without repainting (the caller calls
/// `updateView()`); a missing attribute gives its default (centre 0, 0, scale 1, angle 0),
/// and so does one that is not a finite number or, for the scale, not positive. The view's
/// local origin is left as it is. The view is borrowed and watched: once it is gone, load
/// and save do nothing.
class ViewSettingContainer : public guimisc::xml::XmlAttributeContainer {
public:
    explicit ViewSettingContainer(core::View* view);
    ViewSettingContainer(const ViewSettingContainer&) = delete;
    ViewSettingContainer& operator=(const ViewSettingContainer&) = delete;
    ~ViewSettingContainer() override;

    void load(const QDomElement& element) override;
    void save(QXmlStreamWriter* writer) const override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace mvc::xml
