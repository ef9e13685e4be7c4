#include "guimisc/widget/WidgetContainerWidget.h"

#include <QVBoxLayout>

namespace guimisc::widget {

WidgetContainerWidget::WidgetContainerWidget(QWidget* parent) : QWidget(parent)
{
    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

WidgetContainerWidget::~WidgetContainerWidget() = default;

void WidgetContainerWidget::setWidget(QWidget* widget)
{
    if (widget == m_widget) {
        return;
    }
    delete m_widget.data();
    m_widget = widget;
    if (widget != nullptr) {
        widget->setParent(this);
        layout()->addWidget(widget);
        widget->show();
    }
}

} // namespace guimisc::widget
