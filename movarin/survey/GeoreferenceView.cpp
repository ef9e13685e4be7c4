#include "movarin/survey/GeoreferenceView.h"

namespace varnel {

GeoreferenceView::GeoreferenceView(QWidget* parent) : PrimitiveView(parent)
{
}

GeoreferenceView::~GeoreferenceView() = default;

} // namespace varnel
