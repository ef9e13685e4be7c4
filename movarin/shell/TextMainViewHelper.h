#pragma once

#include "movarin/shell/TextViewHelperT.h"

#include "brask/core/View.h"
#include "brask/util/MainViewHelperI.h"

namespace varnel {

/// A label on the main view: a borrowed text at a borrowed world anchor, with the helper's
/// pen and brush (`QBrush()` unless given) and the painter's font; rotation 0 degrees and
/// alignment 65 (`Qt::AlignLeft | Qt::AlignBottom`) until set. The static `paintText`
/// (inherited) draws one text the same way. Anchor and text are read at every paint and
/// must outlive the helper.
class TextMainViewHelper
    : public TextViewHelperT<mvc::util::MainViewHelperI, mvc::core::View, tin::core::Point2DI> {
public:
    using TextViewHelperT::TextViewHelperT;
    TextMainViewHelper(const tin::core::Point2DI* position, const QString* text,
                       mvc::core::View* view, const QPen& pen, const QBrush& brush);

    /// Degrees; the text turns about its anchor (clockwise on the screen for a positive
    /// angle, as `QPainter::rotate`).
    void setRotation(double degrees);
};

} // namespace varnel
