#include "movarin/shell/CreateModeMainWindowModelRootItemView.h"

#include "movarin/shell/CreateModeMainWindowModelRootItem.h"

namespace varnel {

CreateModeMainWindowModelRootItemView::CreateModeMainWindowModelRootItemView(
    const CreateModeMainWindowModelRootItem* item)
    : mvc::core::ModelItemView(item)
{
}

CreateModeMainWindowModelRootItemView::~CreateModeMainWindowModelRootItemView() = default;

void CreateModeMainWindowModelRootItemView::paintMainView(QPainter* painter,
                                                          const QTransform& transform,
                                                          const QRectF& rect) const
{
    doPaintMainView(painter, transform, rect);
    const auto root = static_cast<const CreateModeMainWindowModelRootItem*>(item());
    for (const mvc::core::ModelItem* child : root->paintingOrder()) {
        child->view()->paintMainView(painter, transform, rect);
    }
}

} // namespace varnel
