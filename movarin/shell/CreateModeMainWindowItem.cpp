#include "movarin/shell/CreateModeMainWindowItem.h"

#include "movarin/shell/CreateModeMainWindow.h"

namespace varnel {

CreateModeMainWindowItem::CreateModeMainWindowItem(CreateModeMainWindow* window,
                                                   ProjectFile* projectFile)
    : ProjectModelWindowItem(window, projectFile)
{
}

CreateModeMainWindowItem::~CreateModeMainWindowItem() = default;

} // namespace varnel
