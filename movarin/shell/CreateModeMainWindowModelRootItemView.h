#pragma once

#include "brask/core/ModelItemView.h"

namespace varnel {

class CreateModeMainWindowModelRootItem;

/// Paints a create-mode project's tree in the root's fixed painting order (background
/// images, TIN, imported points, points for the TIN, geographic data on top) rather than
/// in reverse child order. Each child skips itself and its subtree while its row is
/// unchecked.
class CreateModeMainWindowModelRootItemView : public mvc::core::ModelItemView {
public:
    explicit CreateModeMainWindowModelRootItemView(const CreateModeMainWindowModelRootItem* item);
    ~CreateModeMainWindowModelRootItemView() override;

    void paintMainView(QPainter* painter, const QTransform& transform,
                       const QRectF& rect) const override;
};

} // namespace varnel
