#include "movarin/shell/TextMainViewHelper.h"

namespace varnel {

TextMainViewHelper::TextMainViewHelper(const tin::core::Point2DI* position, const QString* text,
                                       mvc::core::View* view, const QPen& pen, const QBrush& brush)
    : TextViewHelperT(position, text, view, pen, brush)
{
}

void TextMainViewHelper::setRotation(double degrees)
{
    setRotationDegrees(degrees);
}

} // namespace varnel
