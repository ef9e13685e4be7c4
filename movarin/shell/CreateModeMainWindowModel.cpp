#include "movarin/shell/CreateModeMainWindowModel.h"

#include "movarin/shell/CreateModeMainWindowModelRootItem.h"

namespace varnel {

CreateModeMainWindowModel::CreateModeMainWindowModel(
    mvc::core::ObjectBrowserView* objectBrowserView, mvc::core::View* view, QMainWindow* window,
    mvc::proj::ProjectItem* parent)
    : mvc::core::Model(objectBrowserView, view, window, parent)
{
    setRootItem(new CreateModeMainWindowModelRootItem(this));
}

CreateModeMainWindowModel::~CreateModeMainWindowModel() = default;

CreateModeMainWindowModelRootItem* CreateModeMainWindowModel::rootItem() const
{
    return static_cast<CreateModeMainWindowModelRootItem*>(mvc::core::Model::rootItem());
}

} // namespace varnel
