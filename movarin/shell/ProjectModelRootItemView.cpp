#include "movarin/shell/ProjectModelRootItemView.h"

#include "movarin/shell/ProjectModelRootItem.h"

namespace varnel {

ProjectModelRootItemView::ProjectModelRootItemView(const ProjectModelRootItem* item)
    : mvc::core::ModelItemView(item)
{
}

ProjectModelRootItemView::~ProjectModelRootItemView() = default;

void ProjectModelRootItemView::paintMainView(QPainter* painter, const QTransform& transform,
                                             const QRectF& rect) const
{
    doPaintMainView(painter, transform, rect);
    const auto root = static_cast<const ProjectModelRootItem*>(item());
    for (const mvc::core::ModelItem* child : root->paintingOrder()) {
        child->view()->paintMainView(painter, transform, rect);
    }
}

} // namespace varnel
