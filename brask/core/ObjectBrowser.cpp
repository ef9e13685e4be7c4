#include "brask/core/ObjectBrowser.h"

#include "brask/core/ObjectBrowserView.h"

namespace mvc::core {

ObjectBrowser::ObjectBrowser(QWidget* parent) : QDockWidget(parent)
{
    setWindowTitle(tr("Object Browser"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
}

ObjectBrowser::~ObjectBrowser() = default;

ObjectBrowserView* ObjectBrowser::view() const
{
    return m_view;
}

void ObjectBrowser::setView(ObjectBrowserView* view)
{
    if (view == m_view) {
        return;
    }
    delete m_view;
    m_view = view;
    setWidget(view);
}

} // namespace mvc::core
