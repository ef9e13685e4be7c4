#include "guimisc/restorer/QPainterTranslateChanger.h"

#include <QPainter>

namespace guimisc::restorer {

QPainterTranslateChanger::QPainterTranslateChanger(QPainter* painter, double dx, double dy)
    : m_painter(painter), m_oldTransform(painter->worldTransform())
{
    m_painter->translate(dx, dy);
}

QPainterTranslateChanger::~QPainterTranslateChanger()
{
    m_painter->setWorldTransform(m_oldTransform);
}

} // namespace guimisc::restorer
