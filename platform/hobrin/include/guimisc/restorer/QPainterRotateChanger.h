#pragma once

#include <QTransform>

class QPainter;

namespace guimisc::restorer {

/// Rotates a painter's coordinate system by `degrees` (clockwise on the screen, as
/// `QPainter::rotate`) for the lifetime of this object and puts the previous world
/// transform back when it goes. Changers nest with each other and with
/// `QPainterTranslateChanger`: each restores what it found. The painter must outlive the
/// changer. Not copyable.
class QPainterRotateChanger {
public:
    QPainterRotateChanger(QPainter* painter, double degrees);
    ~QPainterRotateChanger();

    QPainterRotateChanger(const QPainterRotateChanger&) = delete;
    QPainterRotateChanger& operator=(const QPainterRotateChanger&) = delete;

private:
    QPainter* m_painter;
    QTransform m_oldTransform;
};

} // namespace guimisc::restorer
