#include "movarin/shell/StartPageHelpTabWidget.h"

#include "movarin/shell/StartPageLinks.h"

#include <QVBoxLayout>

namespace varnel {

StartPageHelpTabWidget::StartPageHelpTabWidget(QWidget* parent)
    : QWidget(parent), m_links(new StartPageLinks(this))
{
    auto layout = new QVBoxLayout(this);
    layout->addWidget(m_links);
}

StartPageHelpTabWidget::~StartPageHelpTabWidget() = default;

} // namespace varnel
