#pragma once

#include <QTransform>

class QPainter;

namespace guimisc::restorer {

/// Moves a painter's origin by (dx, dy) in its current coordinates (`QPainter::translate`)
/// for the lifetime of this object and puts the previous world transform back when it goes.
/// Changers nest with each other and with `QPainterRotateChanger`: each restores what it
/// found. The painter must outlive the changer. Not copyable.
class QPainterTranslateChanger {
public:
    QPainterTranslateChanger(QPainter* painter, double dx, double dy);
    ~QPainterTranslateChanger();

    QPainterTranslateChanger(const QPainterTranslateChanger&) = delete;
    QPainterTranslateChanger& operator=(const QPainterTranslateChanger&) = delete;

private:
    QPainter* m_painter;
    QTransform m_oldTransform;
};

} // namespace guimisc::restorer
