#include "guimisc/restorer/WaitCursor.h"

#include <QApplication>
#include <QCursor>

namespace guimisc::restorer {

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

} // namespace guimisc::restorer
