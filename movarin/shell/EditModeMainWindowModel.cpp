#include "movarin/shell/EditModeMainWindowModel.h"

#include "movarin/sections/LandXmlExportItem.h"
#include "movarin/sections/ZindralExportItem.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"

namespace varnel {

EditModeMainWindowModel::EditModeMainWindowModel(mvc::core::ObjectBrowserView* objectBrowserView,
                                                 mvc::core::View* view, QMainWindow* window,
                                                 mvc::proj::ProjectItem* parent)
    : mvc::core::Model(objectBrowserView, view, window, parent)
{
    setRootItem(new EditModeMainWindowModelRootItem(this));
}

EditModeMainWindowModel::~EditModeMainWindowModel() = default;

EditModeMainWindowModelRootItem* EditModeMainWindowModel::rootItem() const
{
    return static_cast<EditModeMainWindowModelRootItem*>(mvc::core::Model::rootItem());
}

void EditModeMainWindowModel::exportZindralGrid()
{
    if (EditModeMainWindowModelRootItem* root = rootItem()) {
        root->zindralExportItem()->exportGrid();
    }
}

void EditModeMainWindowModel::exportLandXml()
{
    if (EditModeMainWindowModelRootItem* root = rootItem()) {
        root->landXmlExportItem()->exportLandXml();
    }
}

} // namespace varnel
