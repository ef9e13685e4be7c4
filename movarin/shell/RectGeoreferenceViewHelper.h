#pragma once

#include "movarin/shell/RectViewHelperT.h"
#include "movarin/survey/GeoreferenceView.h"
#include "movarin/survey/GeoreferenceViewHelper.h"

namespace varnel {

/// A rubber band on the georeference image pane: a borrowed `tin::core::Rect` record drawn as a polygon with
/// the given pen (no fill) while its valid flag is set. The record is read at every paint
/// and must outlive the helper.
class RectGeoreferenceViewHelper : public RectViewHelperT<GeoreferenceViewHelper, GeoreferenceView> {
public:
    RectGeoreferenceViewHelper(const tin::core::Rect* rect, GeoreferenceView* view, const QPen& pen)
        : RectViewHelperT(rect, view, pen, QBrush())
    {
    }
};

} // namespace varnel
