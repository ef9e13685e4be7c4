#pragma once

#include "movarin/shell/ShapePainter.h"

#include <guimisc/restorer/QPainterPenBrushChanger.h>

#include <QBrush>
#include <QPen>
#include <QString>

namespace varnel {

/// A painter helper that draws a borrowed text at a borrowed world anchor with the
/// helper's pen and brush and the painter's font: rotation 0 and alignment 65
/// (`Qt::AlignLeft | Qt::AlignBottom`: the anchor is the left end of the base line) until
/// set otherwise (see `ShapePainter::paintText`). `Base` is the helper base of the view
/// type `View`; `Anchor` is `tin::core::Point2DI` or `QPointF`. Anchor and text are read
/// anew at every paint and must outlive the helper; a null one draws nothing. Built with
/// (position, text, view, pen) and the default brush; a subclass may give a brush too.
template <class Base, class View, class Anchor> class TextViewHelperT : public Base {
public:
    TextViewHelperT(const Anchor* position, const QString* text, View* view, const QPen& pen)
        : TextViewHelperT(position, text, view, pen, QBrush())
    {
    }

    void setAlignment(int alignment) { m_alignment = alignment; }

    void paintView(QPainter* painter, const QTransform& transform, const QRectF& rect) override
    {
        if (m_position && m_text) {
            paintText(painter, *m_position, *m_text, m_rotation, m_alignment, this->view(),
                      this->pen(), this->brush());
        }
    }

    /// Draws `text` at the world point `anchor` of `view` with `pen` and `brush`; the
    /// painter's pen and brush are restored afterwards.
    static void paintText(QPainter* painter, const Anchor& anchor, const QString& text,
                          double rotation, int alignment, const View* view, const QPen& pen,
                          const QBrush& brush)
    {
        guimisc::restorer::QPainterPenBrushChanger changer(painter, pen, brush);
        ShapePainter::paintText(painter, view->conv(ShapePainter::world(anchor)), text, rotation,
                                alignment);
    }

protected:
    TextViewHelperT(const Anchor* position, const QString* text, View* view, const QPen& pen,
                    const QBrush& brush)
        : Base(view, pen, brush), m_position(position), m_text(text)
    {
    }

    void setRotationDegrees(double degrees) { m_rotation = degrees; }

private:
    const Anchor* m_position;
    const QString* m_text;
    double m_rotation = 0.0;
    int m_alignment = Qt::AlignLeft | Qt::AlignBottom;
};

} // namespace varnel
