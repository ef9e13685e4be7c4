#include "movarin/surfaces/GeoEditSurfaceItemView.h"

#include "movarin/shell/PolylineMainViewHelper.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/TinMainViewHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItem.h"

#include "orlin/core/Tin.h"

#include <QPen>

namespace varnel {

GeoEditSurfaceItemView::GeoEditSurfaceItemView(const GeoEditSurfaceItem* item)
    : mvc::core::ModelItemViewT<GeoEditSurfaceItem>(item)
{
}

GeoEditSurfaceItemView::~GeoEditSurfaceItemView() = default;

void GeoEditSurfaceItemView::doPaintMainView(QPainter* painter, const QTransform& transform,
                                             const QRectF& rect) const
{
    const auto* project = qobject_cast<const Project*>(item()->project());
    const tin::core::Tin* tin = item()->tin();
    if (!project || !tin) {
        return;
    }
    TinMainViewHelper::paintTin(painter, transform, rect, tin, project->elevationColorMapper(),
                                view(), false, TinMainViewHelper::Layer::Overlay);
    PolylineMainViewHelper path(&item()->path(), view(), QPen(Qt::black, 2), QBrush(), nullptr);
    path.paintView(painter, transform, rect);
}

void GeoEditSurfaceItemView::doDiscardPaintCache()
{
    TinMainViewHelper::discardPaintCache(view());
}

} // namespace varnel
