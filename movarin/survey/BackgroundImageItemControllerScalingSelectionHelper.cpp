#include "movarin/survey/BackgroundImageItemControllerScalingSelectionHelper.h"

#include "movarin/survey/BackgroundImageDragGeometry.h"

#include "brask/core/View.h"

namespace varnel {

using Self = BackgroundImageItemController::ScalingSelectionHelper;

Self::ScalingSelectionHelper(SelectionHelper& other)
    : DragSelectionHelper(other, QStringLiteral(":/images/cursorImageZoom.png")),
      m_startBox(controller()->item()->myBoundingBox())
{
}

Self::~ScalingSelectionHelper() = default;

gdalimg::GdalImageSetting Self::settingAt(const QPoint& current,
                                          const mvc::core::View* view) const
{
    // The box's world height at the view's scale: its height on the screen when the view
    // is not turned, and never zero for a turned view as a difference of screen positions
    // can be.
    return BackgroundImageDragGeometry::scaled(startSetting(), view->scale() * m_startBox.height(),
                                               QPointF(pressPosition()), QPointF(current));
}

} // namespace varnel
