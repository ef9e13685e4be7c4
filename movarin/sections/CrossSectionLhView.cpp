#include "movarin/sections/CrossSectionLhView.h"

namespace varnel {

CrossSectionLhView::CrossSectionLhView(QWidget* parent) : PrimitiveView(parent)
{
}

CrossSectionLhView::~CrossSectionLhView() = default;

} // namespace varnel
