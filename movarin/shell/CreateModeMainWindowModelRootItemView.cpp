#include "movarin/shell/CreateModeMainWindowModelRootItemView.h"

#include "movarin/shell/CreateModeMainWindowModelRootItem.h"

namespace varnel {

CreateModeMainWindowModelRootItemView::CreateModeMainWindowModelRootItemView(
    const CreateModeMainWindowModelRootItem* item)
    : ProjectModelRootItemView(item)
{
}

CreateModeMainWindowModelRootItemView::~CreateModeMainWindowModelRootItemView() = default;

} // namespace varnel
