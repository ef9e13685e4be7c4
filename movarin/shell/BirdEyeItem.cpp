#include "movarin/shell/BirdEyeItem.h"

#include "movarin/shell/BirdEyeItemView.h"

#include "tinvtk/TinToVtk.h"

#include <vtkPolyData.h>

namespace varnel {

BirdEyeItem::BirdEyeItem(const tin::core::Tin& tin) : m_polyData(tinvtk::TinToVtk::toVtkPolyData(tin))
{
}

BirdEyeItem::~BirdEyeItem() = default;

vtkPolyData* BirdEyeItem::polyData() const
{
    return m_polyData;
}

BirdEyeItemView* BirdEyeItem::itemView()
{
    if (!m_itemView) {
        m_itemView = std::make_unique<BirdEyeItemView>(m_polyData);
    }
    return m_itemView.get();
}

} // namespace varnel
