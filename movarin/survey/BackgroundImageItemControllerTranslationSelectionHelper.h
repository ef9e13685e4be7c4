#pragma once

#include "movarin/survey/BackgroundImageItemControllerDragSelectionHelper.h"

namespace varnel {

/// The left drag of a background image: the top-left corner moves by the mouse's world
/// displacement since the press.
class BackgroundImageItemController::TranslationSelectionHelper : public DragSelectionHelper {
public:
    explicit TranslationSelectionHelper(SelectionHelper& other);
    ~TranslationSelectionHelper() override;

protected:
    gdalimg::GdalImageSetting settingAt(const QPoint& current,
                                        const mvc::core::View* view) const override;
};

} // namespace varnel
