#include "movarin/survey/BackgroundImageItemControllerRotationSelectionHelper.h"

#include "movarin/survey/BackgroundImageDragGeometry.h"

#include "brask/core/View.h"

namespace varnel {

using Self = BackgroundImageItemController::RotationSelectionHelper;

Self::RotationSelectionHelper(SelectionHelper& other)
    : DragSelectionHelper(other, QStringLiteral(":/images/cursorImageRotate.png"))
{
}

Self::~RotationSelectionHelper() = default;

gdalimg::GdalImageSetting Self::settingAt(const QPoint& current,
                                          const mvc::core::View* view) const
{
    return BackgroundImageDragGeometry::rotated(startSetting(), view->conv(startSetting().topLeft()),
                                                QPointF(pressPosition()), QPointF(current));
}

} // namespace varnel
