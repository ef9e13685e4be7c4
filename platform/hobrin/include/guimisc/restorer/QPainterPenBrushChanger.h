#pragma once

#include <QBrush>
#include <QPen>

class QPainter;

namespace guimisc::restorer {

/// Sets a painter's pen and brush for the lifetime of this object and puts the previous
/// ones back when it goes. Changers nest: each restores what it found. The painter must
/// outlive the changer. Not copyable.
class QPainterPenBrushChanger {
public:
    QPainterPenBrushChanger(QPainter* painter, const QPen& pen, const QBrush& brush);
    ~QPainterPenBrushChanger();

    QPainterPenBrushChanger(const QPainterPenBrushChanger&) = delete;
    QPainterPenBrushChanger& operator=(const QPainterPenBrushChanger&) = delete;

private:
    QPainter* m_painter;
    QPen m_oldPen;
    QBrush m_oldBrush;
};

} // namespace guimisc::restorer
