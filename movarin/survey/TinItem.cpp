#include "movarin/survey/TinItem.h"

namespace varnel {

TinItem::TinItem(mvc::core::ModelItem* parent) : ReadOnlyTinItem("tin.tin", parent)
{
}

TinItem::~TinItem() = default;

} // namespace varnel
