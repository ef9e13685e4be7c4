#include "movarin/survey/BackgroundImageItemControllerAddGcpSelectionHelper.h"

#include "movarin/survey/BackgroundImageItemControllerSourceOperationWaitingSelectionHelper.h"

#include "brask/core/View.h"

#include <QMouseEvent>

namespace varnel {

using Self = BackgroundImageItemController::AddGcpSelectionHelper;

Self::AddGcpSelectionHelper(SelectionHelper& other) : SelectionHelper(other)
{
    addGcpTableHelper();
}

Self::~AddGcpSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::mouseReleaseEvent(QMouseEvent* event,
                                                          mvc::core::View* view)
{
    if (event->button() != Qt::LeftButton || !controller()->georeferenceDialog()) {
        return this;
    }
    emit controller()->gcpDefined(view->rconv(event->pos()));
    controller()->showGeoreferenceDialog();
    return new SourceOperationWaitingSelectionHelper(*this);
}

} // namespace varnel
