#include "movarin/survey/BackgroundImageItemControllerWaitingSelectionHelper.h"

#include "movarin/survey/BackgroundImageItemControllerRotationSelectionHelper.h"
#include "movarin/survey/BackgroundImageItemControllerScalingSelectionHelper.h"
#include "movarin/survey/BackgroundImageItemControllerTranslationSelectionHelper.h"

#include <QMouseEvent>

namespace varnel {

using Self = BackgroundImageItemController::WaitingSelectionHelper;

Self::WaitingSelectionHelper(BackgroundImageItemController* controller)
    : SelectionHelper(controller)
{
}

Self::WaitingSelectionHelper(SelectionHelper& other) : SelectionHelper(other) {}

Self::~WaitingSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::mousePressEvent(QMouseEvent* event, mvc::core::View*)
{
    setPressPosition(event->pos());
    switch (event->button()) {
    case Qt::LeftButton:
        return new TranslationSelectionHelper(*this);
    case Qt::MiddleButton:
        return new ScalingSelectionHelper(*this);
    case Qt::RightButton:
        return new RotationSelectionHelper(*this);
    default:
        return this;
    }
}

} // namespace varnel
