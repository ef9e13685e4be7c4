#pragma once

#include "movarin/surfaces/MoldGroupItemWidget.h"

#include "brask/util/WrapperCommandT.h"

namespace varnel {

/// Wraps a command of the Mold Browser: after its redo and its undo the widget (watched,
/// not owned) repaints. Text, id and merging are the inner command's; owns it.
class MoldGroupItemWidget::UpdateViewCommand
    : public mvc::util::WrapperCommandT<MoldGroupItemWidget::UpdateViewCommand> {
public:
    UpdateViewCommand(QUndoCommand* command, QWidget* widget);

    void undo() override;
    void redo() override;

private:
    QPointer<QWidget> m_widget;
};

} // namespace varnel
