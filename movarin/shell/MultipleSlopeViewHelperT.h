#pragma once

#include <QBrush>
#include <QPen>
#include <QPointF>

#include <vector>

namespace varnel {

/// Slope figures along a line of vertices on a profile-like view: for each consecutive
/// pair, a `SlopeHelper` over the pair is built with the helper's view, pen and brush,
/// painted at once and destroyed (so the slope helpers read "font/global_fontsize" at
/// every paint). Fewer than 2 vertices draw nothing. `Base` is the helper base of the view
/// type `View`; a subclass gathers the vertices from its borrowed data and calls
/// `paintSlopes`.
template <class Base, class View, class SlopeHelper> class MultipleSlopeViewHelperT : public Base {
protected:
    MultipleSlopeViewHelperT(View* view, const QPen& pen, const QBrush& brush)
        : Base(view, pen, brush)
    {
    }

    void paintSlopes(QPainter* painter, const QTransform& transform, const QRectF& rect,
                     const std::vector<QPointF>& vertices)
    {
        for (std::size_t i = 1; i < vertices.size(); ++i) {
            const QPointF segment[] = {vertices[i - 1], vertices[i]};
            SlopeHelper slope(segment, this->view(), this->pen(), this->brush());
            slope.paintView(painter, transform, rect);
        }
    }
};

} // namespace varnel
