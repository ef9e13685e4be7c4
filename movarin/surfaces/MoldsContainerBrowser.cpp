#include "movarin/surfaces/MoldsContainerBrowser.h"

#include "movarin/surfaces/MoldsContainerWidget.h"

namespace varnel {

MoldsContainerBrowser::MoldsContainerBrowser(QWidget* parent)
    : QDockWidget(parent), m_widget(new MoldsContainerWidget(this))
{
    setWindowTitle(tr("Mold Browser"));
    setWidget(m_widget);
}

MoldsContainerBrowser::~MoldsContainerBrowser() = default;

void MoldsContainerBrowser::setMoldsContainer(MoldsContainer* container)
{
    m_widget->setMoldsContainer(container);
}

MoldsContainerWidget* MoldsContainerBrowser::moldsContainerWidget() const
{
    return m_widget;
}

MoldItem* MoldsContainerBrowser::selectedMoldItem() const
{
    return m_widget->selectedMoldItem();
}

} // namespace varnel
