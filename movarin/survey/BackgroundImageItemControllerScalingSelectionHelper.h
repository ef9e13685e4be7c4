#pragma once

#include "movarin/survey/BackgroundImageItemControllerDragSelectionHelper.h"

#include <QRectF>

namespace varnel {

/// The middle drag of a background image: the image scales about its top-left corner;
/// dragging upwards by the on-screen height of its box (taken at the press) doubles the
/// scale (see `BackgroundImageDragGeometry::scaled`).
class BackgroundImageItemController::ScalingSelectionHelper : public DragSelectionHelper {
public:
    explicit ScalingSelectionHelper(SelectionHelper& other);
    ~ScalingSelectionHelper() override;

protected:
    gdalimg::GdalImageSetting settingAt(const QPoint& current,
                                        const mvc::core::View* view) const override;

private:
    QRectF m_startBox;
};

} // namespace varnel
