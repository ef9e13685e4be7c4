#pragma once

#include "guimisc/xml/XmlAttributeContainer.h"

namespace guimisc::xml {

/// The opacity of a drawing as one attribute, "opacity": an integer percentage from 0
/// (invisible) to 100 (opaque), 100 until set. It is set in percent (`container = 50;`,
/// `setPercent`) and read as the fraction that `QPainter::setOpacity` takes
/// (`double o = container;`, 0.5 here). Values outside 0..100, whether set or read from a
/// file, are clamped into it; a missing or malformed attribute loads as 100. Copying a
/// container, or `copyValue` from another opacity container, copies the percentage.
class OpacityContainer : public XmlAttributeContainer {
public:
    static constexpr int DEFAULT_PERCENT = 100;

    OpacityContainer();

    int percent() const { return m_percent; }
    void setPercent(int percent);
    /// The percentage as a fraction from 0 to 1.
    double fraction() const { return m_percent / 100.0; }

    operator double() const { return fraction(); }
    OpacityContainer& operator=(int percent);

    void load(const QDomElement& element) override;
    void save(QXmlStreamWriter* writer) const override;
    void copyValue(const XmlAttributeContainer& other) override;

private:
    int m_percent;
};

} // namespace guimisc::xml
