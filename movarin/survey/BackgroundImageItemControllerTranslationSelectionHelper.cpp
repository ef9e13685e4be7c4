#include "movarin/survey/BackgroundImageItemControllerTranslationSelectionHelper.h"

#include "movarin/survey/BackgroundImageDragGeometry.h"

#include "brask/core/View.h"

namespace varnel {

using Self = BackgroundImageItemController::TranslationSelectionHelper;

Self::TranslationSelectionHelper(SelectionHelper& other)
    : DragSelectionHelper(other, QStringLiteral(":/images/cursorImageMove.png"))
{
}

Self::~TranslationSelectionHelper() = default;

gdalimg::GdalImageSetting Self::settingAt(const QPoint& current,
                                          const mvc::core::View* view) const
{
    return BackgroundImageDragGeometry::translated(
        startSetting(), view->rconv(current) - view->rconv(pressPosition()));
}

} // namespace varnel
