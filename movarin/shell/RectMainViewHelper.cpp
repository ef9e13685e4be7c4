#include "movarin/shell/RectMainViewHelper.h"

namespace varnel {

RectMainViewHelper::RectMainViewHelper(const tin::core::Rect* rect, mvc::core::View* view,
                                       const QPen& pen, const QBrush& brush)
    : RectViewHelperT(rect, view, pen, brush)
{
}

} // namespace varnel
