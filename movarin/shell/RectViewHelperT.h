#pragma once

#include "movarin/shell/ShapePainter.h"

#include <guimisc/restorer/QPainterPenBrushChanger.h>

#include <QBrush>
#include <QPen>

namespace varnel {

/// A painter helper that draws a borrowed `tin::core::Rect` record (a rubber band) as a
/// polygon with the helper's pen and brush while the record's valid flag is set. The
/// owner fills the record from the press point and the mouse position (the record orders
/// each pair, so the corner pressed first does not matter). `Base` is the helper base of
/// the view type `View`. The record is read anew at every paint and must outlive the helper.
/// Built with (rect, view, pen) and no fill; a subclass may give a brush too.
template <class Base, class View> class RectViewHelperT : public Base {
public:
    RectViewHelperT(const tin::core::Rect* rect, View* view, const QPen& pen)
        : RectViewHelperT(rect, view, pen, QBrush())
    {
    }

    void paintView(QPainter* painter, const QTransform& transform, const QRectF& rect) override
    {
        if (!m_rect || !m_rect->isValid()) {
            return;
        }
        guimisc::restorer::QPainterPenBrushChanger changer(painter, this->pen(), this->brush());
        ShapePainter::paintRect(painter, this->view(), *m_rect);
    }

protected:
    RectViewHelperT(const tin::core::Rect* rect, View* view, const QPen& pen, const QBrush& brush)
        : Base(view, pen, brush), m_rect(rect)
    {
    }

private:
    const tin::core::Rect* m_rect;
};

} // namespace varnel
