#pragma once

#include <guimisc/helper/ViewHelperT.h>

namespace varnel {

class GeoreferenceView;

/// Base of the painter helpers of the georeference image pane: the pane (not owned), a pen
/// and a brush (`QPen()` and `QBrush()` unless given), and `paintView`, which draws in
/// widget pixels through the pane's `conv`. The creator of a helper owns it.
class GeoreferenceViewHelper : public guimisc::helper::ViewHelperT<GeoreferenceView> {
public:
    explicit GeoreferenceViewHelper(GeoreferenceView* view) : ViewHelperT(view) {}
    GeoreferenceViewHelper(GeoreferenceView* view, const QPen& pen) : ViewHelperT(view, pen) {}
    GeoreferenceViewHelper(GeoreferenceView* view, const QPen& pen, const QBrush& brush)
        : ViewHelperT(view, pen, brush)
    {
    }
};

} // namespace varnel
