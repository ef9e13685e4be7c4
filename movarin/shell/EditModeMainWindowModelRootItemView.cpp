#include "movarin/shell/EditModeMainWindowModelRootItemView.h"

#include "movarin/shell/EditModeMainWindowModelRootItem.h"

namespace varnel {

EditModeMainWindowModelRootItemView::EditModeMainWindowModelRootItemView(
    const EditModeMainWindowModelRootItem* item)
    : ProjectModelRootItemView(item)
{
}

EditModeMainWindowModelRootItemView::~EditModeMainWindowModelRootItemView() = default;

} // namespace varnel
