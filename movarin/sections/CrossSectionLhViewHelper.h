#pragma once

#include <guimisc/helper/ViewHelperT.h>

namespace varnel {

class CrossSectionLhView;

/// Base of the painter helpers of the L-H profile plot: the plot (not owned), a pen and a
/// brush (`QPen()` and `QBrush()` unless given), and `paintView`, which draws in widget
/// pixels through the plot's `conv`. The creator of a helper owns it.
class CrossSectionLhViewHelper : public guimisc::helper::ViewHelperT<CrossSectionLhView> {
public:
    explicit CrossSectionLhViewHelper(CrossSectionLhView* view) : ViewHelperT(view) {}
    CrossSectionLhViewHelper(CrossSectionLhView* view, const QPen& pen) : ViewHelperT(view, pen) {}
    CrossSectionLhViewHelper(CrossSectionLhView* view, const QPen& pen, const QBrush& brush)
        : ViewHelperT(view, pen, brush)
    {
    }
};

} // namespace varnel
