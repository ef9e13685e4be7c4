#pragma once

#include "movarin/shell/TextViewHelperT.h"
#include "movarin/sections/CrossSectionLhView.h"
#include "movarin/sections/CrossSectionLhViewHelper.h"

namespace varnel {

/// A label on the L-H profile plot: a borrowed text at a borrowed position, built with (position,
/// text, view, pen), in the painter's font; rotation 0 and alignment 65
/// (`Qt::AlignLeft | Qt::AlignBottom`) until `setAlignment` (see
/// `ShapePainter::paintText`). Position and text are read at every paint and must outlive
/// the helper.
class TextCrossSectionLhViewHelper
    : public TextViewHelperT<CrossSectionLhViewHelper, CrossSectionLhView, QPointF> {
public:
    using TextViewHelperT::TextViewHelperT;
};

} // namespace varnel
