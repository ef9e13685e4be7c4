#include "movarin/surfaces/GeoEditSurfaceByBrushItemView.h"

#include "movarin/shell/Project.h"
#include "movarin/shell/TinMainViewHelper.h"
#include "movarin/surfaces/EdgesMainViewHelper.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItem.h"

#include "orlin/core/Tin.h"

#include <QPen>

#include <exception>

namespace varnel {

GeoEditSurfaceByBrushItemView::GeoEditSurfaceByBrushItemView(const GeoEditSurfaceByBrushItem* item)
    : mvc::core::ModelItemViewT<GeoEditSurfaceByBrushItem>(item)
{
}

GeoEditSurfaceByBrushItemView::~GeoEditSurfaceByBrushItemView() = default;

void GeoEditSurfaceByBrushItemView::doPaintMainView(QPainter* painter, const QTransform& transform,
                                                    const QRectF& rect) const
{
    const auto* project = qobject_cast<const Project*>(item()->project());
    if (!project) {
        return;
    }
    const tin::core::Tin* added = nullptr;
    try {
        // Rebinding is the item's cache of live triangles, not a change of the surface.
        added = &const_cast<GeoEditSurfaceByBrushItem*>(item())->addedTin();
    } catch (const std::exception&) {
        return;
    }
    if (added->empty()) {
        return;
    }
    TinMainViewHelper::paintTin(painter, transform, rect, added, project->elevationColorMapper(),
                                view(), false, TinMainViewHelper::Layer::Overlay);
    if (m_outlineRevision != added->revision()) {
        m_outline = added->outerEdges();
        m_outlineRevision = added->revision();
    }
    EdgesMainViewHelper outline(&m_outline, view(), QPen(Qt::black, 2));
    outline.paintView(painter, transform, rect);
}

void GeoEditSurfaceByBrushItemView::doDiscardPaintCache()
{
    TinMainViewHelper::discardPaintCache(view());
}

} // namespace varnel
