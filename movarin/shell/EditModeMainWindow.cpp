#include "movarin/shell/EditModeMainWindow.h"

#include "movarin/shell/EditModeMainWindowItem.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/EditModeMainWindowObjectBrowser.h"
#include "movarin/shell/EditModeMainWindowView.h"
#include "movarin/shell/EditModeProject.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/survey/BackgroundImageGroupItem.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "orlin/core/Tin.h"
#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageSetting.h"

#include <common/exception/RuntimeException.h>

#include <QMdiArea>
#include <QStandardItem>

namespace varnel {

EditModeMainWindow::EditModeMainWindow(QWidget* parent, ProjectFile* projectFile)
    : ProjectModelWindow(new EditModeMainWindowItem(this, projectFile), parent)
{
    auto view = new EditModeMainWindowView(this);
    auto objectBrowser = new EditModeMainWindowObjectBrowser(this);
    auto model = new EditModeMainWindowModel(objectBrowser->view(), view, this, windowItem());
    setParts(view, objectBrowser, model);

    WindowWithMoldsContainerBrowserI::setDockWidgetFunction([this]() -> MoldsContainerBrowser* {
        EditModeMainWindowModel* current = this->model();
        EditModeMainWindowModelRootItem* root = current ? current->rootItem() : nullptr;
        return root ? root->geoEditSurfaceGroupItem()->groupController()->moldsContainerBrowser()
                    : nullptr;
    });
    // The group's controller makes and docks the Mold Browser.
    model->rootItem()->geoEditSurfaceGroupItem()->groupController();
}

EditModeMainWindow::~EditModeMainWindow() = default;

void EditModeMainWindow::showEvent(QShowEvent* event)
{
    // Before the window's own first show, which fits the view into what the docks leave.
    if (!m_moldBrowserSized) {
        m_moldBrowserSized = true;
        MoldsContainerBrowser* dock = WindowWithMoldsContainerBrowserI::dockWidget();
        if (dock && dock->width() < MOLD_BROWSER_WIDTH) {
            resizeDocks({dock}, {MOLD_BROWSER_WIDTH}, Qt::Horizontal);
        }
    }
    ProjectModelWindow::showEvent(event);
}

std::string EditModeMainWindow::windowIdPrefix() const
{
    return EditModeProject::WINDOW_ID_PREFIX;
}

EditModeMainWindowModel* EditModeMainWindow::model() const
{
    return static_cast<EditModeMainWindowModel*>(ProjectModelWindow::model());
}

TinItem* EditModeMainWindow::tinItem() const
{
    return model() && model()->rootItem() ? model()->rootItem()->tinItem() : nullptr;
}

BackgroundImageGroupItem* EditModeMainWindow::backgroundImageGroupItem() const
{
    return model() && model()->rootItem() ? model()->rootItem()->backgroundImageGroupItem()
                                          : nullptr;
}

MoldsContainer* EditModeMainWindow::moldsContainer() const
{
    return model() && model()->rootItem()
               ? model()->rootItem()->geoEditSurfaceGroupItem()->moldsContainer()
               : nullptr;
}

QMdiArea* EditModeMainWindow::mdiArea() const
{
    for (QWidget* up = parentWidget(); up; up = up->parentWidget()) {
        if (auto area = qobject_cast<QMdiArea*>(up)) {
            return area;
        }
    }
    return nullptr;
}

void EditModeMainWindow::setTin(const tin::core::Tin& tin)
{
    EditModeMainWindowModelRootItem* root = model() ? model()->rootItem() : nullptr;
    if (!root) {
        return;
    }
    root->baseTinItem()->setTin(new tin::core::Tin(tin));
    root->tinItem()->setTin(new tin::core::Tin(tin));
}

void EditModeMainWindow::setBackgroundImages(
    const std::vector<QString>& filenames, const std::vector<QImage>& images,
    const std::vector<gdalimg::GdalImageSetting>& settings)
{
    if (filenames.size() != images.size() || filenames.size() != settings.size()) {
        throw common::exception::RuntimeException(
            "The sizes of filenames and images are not equal.");
    }
    EditModeMainWindowModelRootItem* root = model() ? model()->rootItem() : nullptr;
    if (!root) {
        return;
    }
    BackgroundImageGroupItem* group = root->backgroundImageGroupItem();
    for (std::size_t i = 0; i < filenames.size(); ++i) {
        auto item = new BackgroundImageItem(
            filenames[i], new gdalimg::GdalImage(images[i], settings[i]), group);
        // The constructor hung the row under the group's row; the attach puts it in place.
        group->browserItem()->takeRow(item->browserItem()->row());
        group->attachChildAtBack(item);
        item->setFilenameByIndex(static_cast<int>(i) + 1);
    }
}

void EditModeMainWindow::exportZindralGrid()
{
    if (EditModeMainWindowModel* current = model()) {
        current->exportZindralGrid();
    }
}

void EditModeMainWindow::exportLandXml()
{
    if (EditModeMainWindowModel* current = model()) {
        current->exportLandXml();
    }
}

} // namespace varnel
