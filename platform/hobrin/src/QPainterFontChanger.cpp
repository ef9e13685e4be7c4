#include "guimisc/restorer/QPainterFontChanger.h"

#include <QPainter>

namespace guimisc::restorer {

QPainterFontChanger::QPainterFontChanger(QPainter* painter, int pointSize)
    : m_painter(painter), m_oldFont(painter->font())
{
    if (pointSize > 0) {
        QFont font = m_oldFont;
        font.setPointSize(pointSize);
        m_painter->setFont(font);
    }
}

QPainterFontChanger::~QPainterFontChanger()
{
    m_painter->setFont(m_oldFont);
}

} // namespace guimisc::restorer
