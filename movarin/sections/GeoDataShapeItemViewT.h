#pragma once

#include "brask/core/ModelItemViewT.h"

namespace varnel {

/// The item view that polygons and polylines share: it paints the same way whether the item
/// is selected or not, except that a selected item also shows its vertices; `paint` is the
/// shape kind's drawing. No state of its own.
template <class Item>
class GeoDataShapeItemViewT : public mvc::core::ModelItemViewT<Item> {
public:
    explicit GeoDataShapeItemViewT(const Item* item) : mvc::core::ModelItemViewT<Item>(item) {}

protected:
    /// Draws the item with its vertices when `selected`; `rect` is the visible world area.
    virtual void paint(QPainter* painter, const QRectF& rect, bool selected) const = 0;

    void doPaintMainView(QPainter* painter, const QTransform&, const QRectF& rect) const override
    {
        paint(painter, rect, false);
    }
    void doPaintMainViewOnSelected(QPainter* painter, const QTransform&,
                                   const QRectF& rect) const override
    {
        paint(painter, rect, true);
    }
};

} // namespace varnel
