#include "guimisc/restorer/QPainterRotateChanger.h"

#include <QPainter>

namespace guimisc::restorer {

QPainterRotateChanger::QPainterRotateChanger(QPainter* painter, double degrees)
    : m_painter(painter), m_oldTransform(painter->worldTransform())
{
    m_painter->rotate(degrees);
}

QPainterRotateChanger::~QPainterRotateChanger()
{
    m_painter->setWorldTransform(m_oldTransform);
}

} // namespace guimisc::restorer
