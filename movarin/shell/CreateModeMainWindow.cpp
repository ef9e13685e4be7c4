#include "movarin/shell/CreateModeMainWindow.h"

#include "movarin/shell/CreateModeMainWindowItem.h"
#include "movarin/shell/CreateModeMainWindowModel.h"
#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/shell/CreateModeMainWindowObjectBrowser.h"
#include "movarin/shell/CreateModeMainWindowView.h"
#include "movarin/shell/CreateModeProject.h"

namespace varnel {

CreateModeMainWindow::CreateModeMainWindow(QWidget* parent, ProjectFile* projectFile)
    : ProjectModelWindow(new CreateModeMainWindowItem(this, projectFile), parent)
{
    auto view = new CreateModeMainWindowView(this);
    auto objectBrowser = new CreateModeMainWindowObjectBrowser(this);
    setParts(view, objectBrowser,
             new CreateModeMainWindowModel(objectBrowser->view(), view, this, windowItem()));
}

CreateModeMainWindow::~CreateModeMainWindow() = default;

std::string CreateModeMainWindow::windowIdPrefix() const
{
    return CreateModeProject::WINDOW_ID_PREFIX;
}

CreateModeMainWindowModel* CreateModeMainWindow::model() const
{
    return static_cast<CreateModeMainWindowModel*>(ProjectModelWindow::model());
}

ReadOnlyTinItem* CreateModeMainWindow::tinItem() const
{
    return model() && model()->rootItem() ? model()->rootItem()->tinItem() : nullptr;
}

BackgroundImageGroupItem* CreateModeMainWindow::backgroundImageGroupItem() const
{
    return model() && model()->rootItem() ? model()->rootItem()->backgroundImageGroupItem()
                                          : nullptr;
}

} // namespace varnel
