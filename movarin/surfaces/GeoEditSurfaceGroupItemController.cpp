#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"

#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/surfaces/GeoEditSurfaceByBrushItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerAttachChildAtFrontAndSetTinCommand.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerBrushEditSettingDialog.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerBrushWaitingSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerDeleteAllChildItemsCommand.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerPathSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerVoidSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItem.h"
#include "movarin/surfaces/GeoEditSurfaceItemController.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldsContainerBrowser.h"
#include "movarin/survey/TinItem.h"

#include "brask/core/Model.h"

#include <geos/geom/Polygon.h>

#include <guimisc/UserDialogs.h>
#include <guimisc/exception/QStringRuntimeError.h>

#include <QAction>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>

#include <algorithm>
#include <exception>
#include <utility>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Controller = GeoEditSurfaceGroupItemController;

GeoEditSurfaceGroupItemController::GeoEditSurfaceGroupItemController(
    const GeoEditSurfaceGroupItem* item)
    : mvc::core::ModelItemControllerT<GeoEditSurfaceGroupItem>(item, new VoidSelectionHelper(this)),
      m_addAction(new QAction(tr("Add"), this)),
      m_geoEditSurfaceAction(new QAction(tr("GeoEdit Surface"), this)),
      m_deleteAllAction(new QAction(QIcon(QStringLiteral(":/images/iconDeleteItem.png")),
                                    tr("Delete all"), this)),
      m_addByBrushingAction(new QAction(tr("Add by brushing"), this)),
      m_setBrushAction(new QAction(tr("Set brush"), this))
{
    connect(m_addAction, &QAction::triggered, this, &Controller::polylineSelect);
    connect(m_geoEditSurfaceAction, &QAction::triggered, this, &Controller::polylineSelect);
    connect(m_deleteAllAction, &QAction::triggered, this, &Controller::deleteAllChildItems);
    connect(m_addByBrushingAction, &QAction::triggered, this, &Controller::regionBrush);
    connect(m_setBrushAction, &QAction::triggered, this, &Controller::showBrushEditSettingDialog);

    QMainWindow* window = mainWindow();
    m_moldsContainerBrowser = new MoldsContainerBrowser(window);
    if (window) {
        window->addDockWidget(Qt::RightDockWidgetArea, m_moldsContainerBrowser);
    }
    m_moldsContainerBrowser->setMoldsContainer(item->moldsContainer());
}

GeoEditSurfaceGroupItemController::~GeoEditSurfaceGroupItemController()
{
    // A pending brush edit goes with the tool, later, in the base's destructor: by then
    // this controller's signals are gone, so it must not send its last preview.
    if (auto tool = static_cast<SelectionHelper*>(selectionHelper())) {
        tool->abandonPendingBrushEdit();
    }
    delete m_moldsContainerBrowser.data();
}

void GeoEditSurfaceGroupItemController::addCustomMenuItems(QMenu* menu)
{
    menu->addAction(m_addAction);
    menu->addAction(m_addByBrushingAction);
    menu->addSeparator();
    menu->addAction(m_setBrushAction);
    menu->addSeparator();
    menu->addAction(m_deleteAllAction);
}

void GeoEditSurfaceGroupItemController::appendAddActionToMenu(QMenu* menu) const
{
    menu->addAction(m_geoEditSurfaceAction);
}

template <typename Hook> void GeoEditSurfaceGroupItemController::guarded(Hook hook)
{
    try {
        hook();
    } catch (const guimisc::exception::QStringRuntimeError& e) {
        guimisc::UserDialogs::critical(mainWindow(), tr("Error"), e.message());
    } catch (const std::exception& e) {
        guimisc::UserDialogs::critical(mainWindow(), tr("Error"), QString::fromLocal8Bit(e.what()));
    }
}

void GeoEditSurfaceGroupItemController::keyPressEvent(QKeyEvent* event, mvc::core::View* view)
{
    guarded([&] { ModelItemController::keyPressEvent(event, view); });
}

void GeoEditSurfaceGroupItemController::keyReleaseEvent(QKeyEvent* event, mvc::core::View* view)
{
    guarded([&] { ModelItemController::keyReleaseEvent(event, view); });
}

void GeoEditSurfaceGroupItemController::mouseDoubleClickEvent(QMouseEvent* event,
                                                              mvc::core::View* view)
{
    guarded([&] { ModelItemController::mouseDoubleClickEvent(event, view); });
}

void GeoEditSurfaceGroupItemController::mouseMoveEvent(QMouseEvent* event, mvc::core::View* view)
{
    guarded([&] { ModelItemController::mouseMoveEvent(event, view); });
}

void GeoEditSurfaceGroupItemController::mousePressEvent(QMouseEvent* event, mvc::core::View* view)
{
    guarded([&] { ModelItemController::mousePressEvent(event, view); });
}

void GeoEditSurfaceGroupItemController::mouseReleaseEvent(QMouseEvent* event, mvc::core::View* view)
{
    guarded([&] { ModelItemController::mouseReleaseEvent(event, view); });
}

void GeoEditSurfaceGroupItemController::wheelEvent(QWheelEvent* event, mvc::core::View* view)
{
    guarded([&] { ModelItemController::wheelEvent(event, view); });
}

MoldsContainerBrowser* GeoEditSurfaceGroupItemController::moldsContainerBrowser() const
{
    return m_moldsContainerBrowser;
}

MoldItem* GeoEditSurfaceGroupItemController::selectedMoldItem() const
{
    return m_moldsContainerBrowser ? m_moldsContainerBrowser->selectedMoldItem() : nullptr;
}

TinItem* GeoEditSurfaceGroupItemController::rootTinItem() const
{
    auto root = qobject_cast<EditModeMainWindowModelRootItem*>(item()->parentItem());
    return root ? root->tinItem() : nullptr;
}

bool GeoEditSurfaceGroupItemController::isBatchApplyEnabled() const
{
    return m_batchApplyEnabled;
}

void GeoEditSurfaceGroupItemController::setBatchApplyEnabled(bool enabled)
{
    m_batchApplyEnabled = enabled;
    emit batchApplyEnabled(enabled);
}

bool GeoEditSurfaceGroupItemController::hasPendingBatchEdit() const
{
    for (const mvc::core::ModelItem* child : item()->childItems()) {
        if (auto surface = dynamic_cast<const GeoEditSurfaceItemController*>(child->builtController());
            surface && surface->isEdited()) {
            return true;
        }
    }
    return false;
}

bool GeoEditSurfaceGroupItemController::createGeoEditSurface(
    const std::vector<tin::core::Point>& path)
{
    const MoldItem* mold = selectedMoldItem();
    if (!mold) {
        guimisc::UserDialogs::warning(mainWindow(), tr("Warning"), tr("No Mold is selected."));
        return false;
    }
    const QString name = tr("GeoEdit %1 (%2)").arg(nextSurfaceNumber()).arg(mold->editTypeText());
    GeoEditSurfaceItem* surface = item()->createGeoEditSurfaceItem(name, path, *mold);
    if (surface && !meetsEditedTin(*surface)) {
        delete surface;
        surface = nullptr;
    }
    if (!surface) {
        guimisc::UserDialogs::warning(
            mainWindow(), tr("Warning"),
            tr("No valid GeoEdit Surface was created from specified Mold and Path."));
        return true;
    }
    attach(new AttachChildAtFrontAndSetTinCommand(tr("Add new GeoEdit surface"), surface, item(),
                                                  false, m_merge));
    return true;
}

bool GeoEditSurfaceGroupItemController::meetsEditedTin(const GeoEditSurfaceItem& surface) const
{
    const TinItem* edited = rootTinItem();
    if (!edited || !edited->tin() || !surface.tin()) {
        return false;
    }
    for (const geos::geom::Polygon* outline : surface.tin()->geosPolygons()) {
        if (!edited->tin()->findTrianglesIntersectPolygon(*outline).empty()) {
            return true;
        }
    }
    return false;
}

void GeoEditSurfaceGroupItemController::createGeoEditSurfaceByBrush(const tin::core::Tin& addedTin,
                                             const tin::core::Tin& removedTin)
{
    const QString name = tr("BrushEdit %1").arg(nextSurfaceNumber());
    GeoEditSurfaceByBrushItem* surface =
        item()->createGeoEditSurfaceByBrushItem(name, addedTin, removedTin);
    attach(new AttachChildAtFrontAndSetTinCommand(tr("Add new GeoEdit surface by brushing"),
                                                  surface, item(), true));
}

void GeoEditSurfaceGroupItemController::setMerge(Merge merge)
{
    m_merge = std::move(merge);
}

tin::core::Tin GeoEditSurfaceGroupItemController::merge(GeoEditSurfaceItemI& surface,
                                                        const tin::core::Tin& rootTin,
                                                        bool* ok) const
{
    return m_merge ? m_merge(surface, rootTin, ok) : surface.modifiedRootTin(rootTin, ok);
}

void GeoEditSurfaceGroupItemController::deleteAllChildItemsSilently()
{
    pushUpdateViewCommand(new DeleteAllChildItemsCommand(
        tr("Delete all %1s").arg(item()->itemTypeName()), item()));
}

void GeoEditSurfaceGroupItemController::polylineSelect()
{
    if (mvc::core::Model* model = item()->model()) {
        model->select(item());
    }
    updateSelectionHelper(
        new PathSelectionHelper(*static_cast<SelectionHelper*>(selectionHelper())));
}

void GeoEditSurfaceGroupItemController::regionBrush()
{
    if (mvc::core::Model* model = item()->model()) {
        model->select(item());
    }
    updateSelectionHelper(new BrushWaitingSelectionHelper(this));
}

void GeoEditSurfaceGroupItemController::showBrushEditSettingDialog()
{
    GeoEditSurfaceGroupItemControllerBrushEditSettingDialog dialog(mainWindow());
    dialog.setBrushSize(m_brushSize);
    dialog.setBrushEditUnit(m_brushEditUnit);
    dialog.setBrushLimit(m_brushLimit);
    dialog.setBrushLimitEnabled(m_brushLimitEnabled);
    dialog.setBrushLevelOff(m_brushLevelOff);
    const auto tool = static_cast<const SelectionHelper*>(selectionHelper());
    dialog.setSizeEnabled(!tool || !tool->hasPendingBrushEdit());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    m_brushSize = std::max(dialog.brushSize(), BrushSettings::MIN_BRUSH_SIZE);
    m_brushEditUnit = dialog.brushEditUnit();
    m_brushLimit = dialog.brushLimit();
    m_brushLimitEnabled = dialog.brushLimitEnabled();
    m_brushLevelOff = dialog.brushLevelOff();
}

int GeoEditSurfaceGroupItemController::nextSurfaceNumber() const
{
    return static_cast<int>(item()->childItems().size()) + 1;
}

void GeoEditSurfaceGroupItemController::attach(AttachChildAtFrontAndSetTinCommand* command)
{
    // Run here, not by the push: a surface that cannot be applied leaves no undo entry.
    command->redo();
    if (!command->isAttached()) {
        delete command;
        return;
    }
    command->skipNextRedo();
    pushUpdateViewCommand(command);
    item()->expandBrowserItem();
}

} // namespace varnel
