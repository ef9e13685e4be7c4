#pragma once

#include <QFont>

class QPainter;

namespace guimisc::restorer {

/// Sets the point size of a painter's font for the lifetime of this object and puts the
/// previous font back when it goes. A size of 0 or less (what a missing font-size setting
/// reads as) leaves the font as it is. Changers nest. The painter must outlive the changer.
/// Not copyable.
class QPainterFontChanger {
public:
    QPainterFontChanger(QPainter* painter, int pointSize);
    ~QPainterFontChanger();

    QPainterFontChanger(const QPainterFontChanger&) = delete;
    QPainterFontChanger& operator=(const QPainterFontChanger&) = delete;

private:
    QPainter* m_painter;
    QFont m_oldFont;
};

} // namespace guimisc::restorer
