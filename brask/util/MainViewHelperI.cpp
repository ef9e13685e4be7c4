#include "brask/util/MainViewHelperI.h"

#include "brask/core/View.h"

template class guimisc::helper::ViewHelperT<mvc::core::View>;

namespace mvc::util {

MainViewHelperI::MainViewHelperI(core::View* view) : ViewHelperT(view) {}

MainViewHelperI::MainViewHelperI(core::View* view, const QBrush& brush) : ViewHelperT(view, brush)
{
}

MainViewHelperI::MainViewHelperI(core::View* view, const QPen& pen) : ViewHelperT(view, pen) {}

MainViewHelperI::MainViewHelperI(core::View* view, const QPen& pen, const QBrush& brush)
    : ViewHelperT(view, pen, brush)
{
}

MainViewHelperI::MainViewHelperI(const MainViewHelperI& other) = default;

MainViewHelperI::~MainViewHelperI() = default;

} // namespace mvc::util
