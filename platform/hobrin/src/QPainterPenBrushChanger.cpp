#include "guimisc/restorer/QPainterPenBrushChanger.h"

#include <QPainter>

namespace guimisc::restorer {

QPainterPenBrushChanger::QPainterPenBrushChanger(QPainter* painter, const QPen& pen,
                                                 const QBrush& brush)
    : m_painter(painter), m_oldPen(painter->pen()), m_oldBrush(painter->brush())
{
    m_painter->setPen(pen);
    m_painter->setBrush(brush);
}

QPainterPenBrushChanger::~QPainterPenBrushChanger()
{
    m_painter->setPen(m_oldPen);
    m_painter->setBrush(m_oldBrush);
}

} // namespace guimisc::restorer
