#include "movarin/survey/TinItem.h"

namespace varnel {

const char TinItem::FILENAME[] = "tin.tin";

TinItem::TinItem(mvc::core::ModelItem* parent) : ReadOnlyTinItem(FILENAME, parent)
{
}

TinItem::~TinItem() = default;

} // namespace varnel
