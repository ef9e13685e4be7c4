#pragma once

#include <guimisc/helper/ViewHelperT.h>

namespace varnel {

class DetailView;

/// Base of the painter helpers of the mold detail view: the view (not owned), a pen and a
/// brush (`QPen()` and `QBrush()` unless given), and `paintView`, which draws in widget
/// pixels through the view's `conv`. The creator of a helper owns it.
class MoldDetailViewHelperI : public guimisc::helper::ViewHelperT<DetailView> {
public:
    explicit MoldDetailViewHelperI(DetailView* view) : ViewHelperT(view) {}
    MoldDetailViewHelperI(DetailView* view, const QPen& pen) : ViewHelperT(view, pen) {}
    MoldDetailViewHelperI(DetailView* view, const QPen& pen, const QBrush& brush)
        : ViewHelperT(view, pen, brush)
    {
    }
};

} // namespace varnel
