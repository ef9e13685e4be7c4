#pragma once

#include "brask/core/ModelItemView.h"

namespace varnel {

class ProjectModelRootItem;

/// Paints a project window's tree in its root's fixed painting order (first lowest) rather
/// than in reverse child order. Each child skips itself and its subtree while its row is
/// unchecked.
class ProjectModelRootItemView : public mvc::core::ModelItemView {
public:
    explicit ProjectModelRootItemView(const ProjectModelRootItem* item);
    ~ProjectModelRootItemView() override;

    void paintMainView(QPainter* painter, const QTransform& transform,
                       const QRectF& rect) const override;
};

} // namespace varnel
