#include "movarin/shell/BirdEyeWindow.h"

#include "movarin/shell/BirdEyeView.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSurfaceFormat>

namespace varnel {

QMdiSubWindow* createBirdEyeWindow(QMdiArea* area)
{
    auto* view = new BirdEyeView(area);
    QMdiSubWindow* subWindow = area->addSubWindow(view, Qt::WindowFlags());
    subWindow->setWindowIcon(view->windowIcon());
    subWindow->setGeometry(0, 0, 600, 600);
    return subWindow;
}

void setBirdEyeSurfaceFormat()
{
    QSurfaceFormat::setDefaultFormat(QVTKOpenGLNativeWidget::defaultFormat());
}

} // namespace varnel
