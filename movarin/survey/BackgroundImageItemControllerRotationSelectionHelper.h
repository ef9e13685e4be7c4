#pragma once

#include "movarin/survey/BackgroundImageItemControllerDragSelectionHelper.h"

namespace varnel {

/// The right drag of a background image: the image turns about its top-left corner by the
/// angle the mouse sweeps on the screen around that corner (see
/// `BackgroundImageDragGeometry::rotated`).
class BackgroundImageItemController::RotationSelectionHelper : public DragSelectionHelper {
public:
    explicit RotationSelectionHelper(SelectionHelper& other);
    ~RotationSelectionHelper() override;

protected:
    gdalimg::GdalImageSetting settingAt(const QPoint& current,
                                        const mvc::core::View* view) const override;
};

} // namespace varnel
