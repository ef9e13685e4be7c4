#pragma once

#include "movarin/shell/TextViewHelperT.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/shell/MoldDetailViewHelperI.h"

namespace varnel {

/// A label on the mold detail view: a borrowed text at a borrowed position, built with (position,
/// text, view, pen), in the painter's font; rotation 0 and alignment 65
/// (`Qt::AlignLeft | Qt::AlignBottom`) until `setAlignment` (see
/// `ShapePainter::paintText`). Position and text are read at every paint and must outlive
/// the helper.
class TextMoldDetailViewHelper
    : public TextViewHelperT<MoldDetailViewHelperI, DetailView, QPointF> {
public:
    using TextViewHelperT::TextViewHelperT;
};

} // namespace varnel
