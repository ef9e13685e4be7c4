#include "movarin/shell/ShapePainter.h"

#include <QFontMetrics>

namespace varnel {

void ShapePainter::paintText(QPainter* painter, const QPointF& anchor, const QString& text,
                             double rotation, int alignment)
{
    const QFontMetrics metrics = painter->fontMetrics();
    const int w = metrics.horizontalAdvance(text);
    const int h = metrics.height();
    int dx = 0;
    if (alignment & Qt::AlignLeft) {
        dx = 0;
    } else if (alignment & Qt::AlignRight) {
        dx = w;
    } else if (alignment & Qt::AlignHCenter) {
        dx = w / 2;
    }
    int dy = 0;
    if (alignment & Qt::AlignTop) {
        dy = h;
    } else if (alignment & Qt::AlignBottom) {
        dy = 0;
    } else if (alignment & Qt::AlignVCenter) {
        dy = h / 2;
    }
    painter->save();
    painter->translate(anchor);
    painter->rotate(rotation);
    painter->translate(-dx, dy);
    painter->drawText(QPointF(0.0, 0.0), text);
    painter->restore();
}

} // namespace varnel
