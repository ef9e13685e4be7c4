#include "movarin/shell/ToolBar.h"

namespace varnel {

ToolBar::ToolBar(const QString& title, QWidget* parent) : QToolBar(title, parent)
{
    setIconSize(QSize(16, 16));
}

ToolBar::~ToolBar() = default;

void ToolBar::showEvent(QShowEvent* event)
{
    emit visibilityChanged(true);
    QToolBar::showEvent(event);
}

void ToolBar::hideEvent(QHideEvent* event)
{
    emit visibilityChanged(false);
    QToolBar::hideEvent(event);
}

} // namespace varnel
