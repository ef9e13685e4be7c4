#include "movarin/surfaces/MoldItem.h"

namespace varnel {

MoldItem::MoldItem(mvc::proj::ProjectItem* parent) : ProjectItem(parent)
{
}

MoldItem::~MoldItem() = default;

mold::core::Mold& MoldItem::mold()
{
    return m_mold;
}

const mold::core::Mold& MoldItem::mold() const
{
    return m_mold;
}

} // namespace varnel
