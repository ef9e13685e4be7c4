#include "movarin/surfaces/MoldGroupItemWidgetUpdateViewCommand.h"

namespace varnel {

MoldGroupItemWidget::UpdateViewCommand::UpdateViewCommand(QUndoCommand* command, QWidget* widget)
    : WrapperCommandT(command), m_widget(widget)
{
}

void MoldGroupItemWidget::UpdateViewCommand::undo()
{
    command()->undo();
    if (m_widget) {
        m_widget->update();
    }
}

void MoldGroupItemWidget::UpdateViewCommand::redo()
{
    command()->redo();
    if (m_widget) {
        m_widget->update();
    }
}

} // namespace varnel
