#include "movarin/surfaces/DetailView.h"

namespace varnel {

DetailView::DetailView(QWidget* parent) : PrimitiveView(parent)
{
}

DetailView::~DetailView() = default;

MoldItem* DetailView::moldItem() const
{
    return m_moldItem;
}

void DetailView::setMoldItem(MoldItem* item)
{
    m_moldItem = item;
}

} // namespace varnel
