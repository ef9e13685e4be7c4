#pragma once

#include <guimisc/helper/ViewHelperT.h>

namespace mvc::core {
class View;
}

extern template class guimisc::helper::ViewHelperT<mvc::core::View>;

namespace mvc::util {

/// Base of the painter helpers of the main view (rubber bands, markers, labels, drawings):
/// a view, a pen and a brush, and `paintView` to draw in widget coordinates. The creator of
/// a helper owns it; selection helpers own the helpers that show their state.
class MainViewHelperI : public guimisc::helper::ViewHelperT<core::View> {
public:
    explicit MainViewHelperI(core::View* view);
    MainViewHelperI(core::View* view, const QBrush& brush);
    MainViewHelperI(core::View* view, const QPen& pen);
    MainViewHelperI(core::View* view, const QPen& pen, const QBrush& brush);
    MainViewHelperI(const MainViewHelperI& other);
    ~MainViewHelperI() override;
};

} // namespace mvc::util
