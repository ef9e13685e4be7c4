#include "guimisc/restorer/CursorChanger.h"

#include <QWidget>

namespace guimisc::restorer {

CursorChanger::CursorChanger(QWidget* widget, const QCursor& cursor)
    : m_widget(widget), m_hadCursor(widget->testAttribute(Qt::WA_SetCursor)),
      m_oldCursor(widget->cursor())
{
    widget->setCursor(cursor);
}

CursorChanger::~CursorChanger()
{
    if (!m_widget) {
        return;
    }
    if (m_hadCursor) {
        m_widget->setCursor(m_oldCursor);
    } else {
        m_widget->unsetCursor();
    }
}

} // namespace guimisc::restorer
