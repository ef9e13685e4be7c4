#include "movarin/surfaces/GeoEditSurfaceItemController.h"

#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerAddPointSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerEditCommand.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerEntranceSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerPendingEdit.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerSelectionHelperSnapshot.h"
#include "movarin/surfaces/GeoEditSurfaceItemPathPropertyDialog.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerReferenceLineSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerVoidSelectionHelper.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldItemPropertyDialog.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"

#include <guimisc/restorer/WaitCursor.h>
#include <guimisc/UserDialogs.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QSignalBlocker>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = GeoEditSurfaceItemController;

GeoEditSurfaceItemController::GeoEditSurfaceItemController(const GeoEditSurfaceItem* item)
    : GeoEditSurfaceItemControllerT<GeoEditSurfaceItem>(item, new VoidSelectionHelper(this)),
      m_pending(std::make_unique<PendingEdit>())
{
    m_pending->takeFrom(*item);

    const QString texts[ActionCount] = {
        tr("Add Point"),   tr("Delete Points"), tr("Edit Path"),          tr("Close/Unclose Path"),
        tr("Replace Mold"), tr("Edit Mold"),    tr("Edit reference lines"), tr("Batch Apply"),
        tr("Apply Edit"),  tr("Revert Edit")};
    for (int i = 0; i < ActionCount; ++i) {
        m_actions[i] = new QAction(texts[i], this);
    }
    connect(m_actions[AddPointAction], &QAction::triggered, this, &Self::addPoint);
    connect(m_actions[DeletePointsAction], &QAction::triggered, this, &Self::deletePoints);
    connect(m_actions[EditPathAction], &QAction::triggered, this, &Self::showPathPropertyDialog);
    connect(m_actions[CloseUnclosePathAction], &QAction::triggered, this, &Self::toggleClosePath);
    connect(m_actions[ReplaceMoldAction], &QAction::triggered, this, &Self::replaceMold);
    connect(m_actions[EditMoldAction], &QAction::triggered, this, &Self::showMoldPropertyDialog);
    connect(m_actions[EditReferenceLinesAction], &QAction::triggered, this,
            &Self::referenceLineSelect);
    connect(m_actions[ApplyEditAction], &QAction::triggered, this, &Self::applyEdit);
    connect(m_actions[RevertEditAction], &QAction::triggered, this, &Self::revertEdit);

    QAction* batch = m_actions[BatchApplyAction];
    batch->setCheckable(true);
    if (GeoEditSurfaceGroupItemController* group = groupController()) {
        batch->setChecked(group->isBatchApplyEnabled());
        connect(group, &GeoEditSurfaceGroupItemController::batchApplyEnabled, this,
                &Self::setBatchApplyEnabled);
    }
    connect(batch, &QAction::toggled, this, &Self::toggleBatchApply);

    updateSelectionHelper(new EntranceSelectionHelper(*activeHelper()));
    setEdited(false);
}

GeoEditSurfaceItemController::~GeoEditSurfaceItemController() = default;

void GeoEditSurfaceItemController::addCustomMenuItems(QMenu* menu)
{
    GeoEditSurfaceItemControllerT::addCustomMenuItems(menu);
    for (int i = AddPointAction; i <= EditReferenceLinesAction; ++i) {
        menu->addAction(m_actions[i]);
    }
    menu->addSeparator();
    for (int i = BatchApplyAction; i <= RevertEditAction; ++i) {
        menu->addAction(m_actions[i]);
    }
}

GeoEditSurfaceItemController::SelectionHelper* GeoEditSurfaceItemController::activeHelper() const
{
    return static_cast<SelectionHelper*>(selectionHelper());
}

GeoEditSurfaceGroupItemController* GeoEditSurfaceItemController::groupController() const
{
    auto group = qobject_cast<GeoEditSurfaceGroupItem*>(item()->parentItem());
    return group ? group->groupController() : nullptr;
}

bool GeoEditSurfaceItemController::isBatchApply() const
{
    return m_actions[BatchApplyAction]->isChecked();
}

bool GeoEditSurfaceItemController::isEdited() const
{
    return m_pending->edited;
}

bool GeoEditSurfaceItemController::pendingClosed() const
{
    return m_pending->closed;
}

QString GeoEditSurfaceItemController::pendingMoldName() const
{
    return m_pending->moldName;
}

mold::core::Mold GeoEditSurfaceItemController::pendingMold() const
{
    return m_pending->mold;
}

const std::vector<tin::core::Point>& GeoEditSurfaceItemController::pendingPath() const
{
    return activeHelper()->pendingPath();
}

const GeoEditSurfaceItemController::ReferenceLines&
GeoEditSurfaceItemController::pendingReferenceLines() const
{
    return activeHelper()->referenceLines();
}

const GeoEditSurfaceItemController::ReferenceLines&
GeoEditSurfaceItemController::committedReferenceLines() const
{
    return activeHelper()->committedReferenceLines();
}

void GeoEditSurfaceItemController::setCommittedReferenceLines(const ReferenceLines& lines)
{
    activeHelper()->setCommittedReferenceLines(lines);
}

void GeoEditSurfaceItemController::markEdited()
{
    setEdited(true);
}

void GeoEditSurfaceItemController::insertPendingPoint(std::size_t index,
                                                      const tin::core::Point& point)
{
    activeHelper()->insertPoint(index, point);
}

void GeoEditSurfaceItemController::removePendingPoint(std::size_t index)
{
    activeHelper()->removePoint(index);
}

void GeoEditSurfaceItemController::movePendingPoint(std::size_t index,
                                                    const tin::core::Point& point)
{
    activeHelper()->movePoint(index, point);
}

bool GeoEditSurfaceItemController::applyPendingEdit(const std::vector<tin::core::Point>& path)
{
    // The tool's path may be reset below, while the command holds its own copy.
    const std::vector<tin::core::Point> newPath = path;
    if (hasRepeatedNeighbours(newPath)) {
        guimisc::UserDialogs::critical(mainWindow(), tr("Error"),
                                       tr("Cannot add the same position more than once."));
        return false;
    }
    // The surface may have been covered since the first press (a newer surface, an undo).
    if (!verifyEditable()) {
        if (!isBatchApply()) {
            revertBatchEdit();
        }
        return false;
    }
    auto command = std::make_unique<EditCommand>(tr("Edit %1").arg(item()->caption()), newPath,
                                                 m_pending->closed, m_pending->moldName,
                                                 m_pending->mold, item());
    command->redo();
    if (!command->isDone()) {
        command.reset();
        if (!isBatchApply()) {
            revertBatchEdit();
        }
        return false;
    }
    command->skipNextRedo();
    setEdited(false);
    pushUpdateViewCommand(command.release());
    updateAuxiliaries();
    return true;
}

bool GeoEditSurfaceItemController::verifyEditedOverlap()
{
    GeoEditSurfaceItemI* newer = item()->siblingOverlappedByEdit();
    if (!newer) {
        return true;
    }
    guimisc::UserDialogs::warning(mainWindow(), tr("Warning"),
                                  tr("Edited %1 is overlapped with %2.")
                                      .arg(item()->caption(), newer->caption()));
    return false;
}

bool GeoEditSurfaceItemController::hasRepeatedNeighbours(const std::vector<tin::core::Point>& path)
{
    const auto same = [](const tin::core::Point& a, const tin::core::Point& b) {
        return a.x() == b.x() && a.y() == b.y();
    };
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (same(path[i - 1], path[i])) {
            return true;
        }
    }
    return false;
}

void GeoEditSurfaceItemController::referenceLineSelect()
{
    guarded([&] {
        if (mvc::core::View* view = mainView()) {
            view->setFocus();
        }
        updateSelectionHelper(new ReferenceLineSelectionHelper(*activeHelper()));
    });
}

void GeoEditSurfaceItemController::updateAuxiliaries()
{
    activeHelper()->updateAuxiliaries();
}

void GeoEditSurfaceItemController::revertBatchEdit()
{
    activeHelper()->resetFromSurface();
    m_pending->takeFrom(*item());
    setEdited(false);
    updateAuxiliaries();
}

void GeoEditSurfaceItemController::addPoint()
{
    guarded([&] {
        if (!verifyEditable()) {
            return;
        }
        if (mvc::core::View* view = mainView()) {
            view->setFocus();
        }
        updateSelectionHelper(new AddPointSelectionHelper(*activeHelper()));
    });
}

void GeoEditSurfaceItemController::deletePoints()
{
    guarded([&] {
        if (!verifyEditable()) {
            return;
        }
        const std::size_t selected = activeHelper()->selectedIndices().size();
        const std::size_t size = pendingPath().size();
        QString refusal;
        if (selected == 0) {
            refusal = tr("No point is selected.");
        } else if (size < 3) {
            refusal = tr("No point can be further deleted.");
        } else {
            const std::size_t remaining = size - std::min(selected, size);
            if (remaining < (pendingClosed() ? 3u : 2u)) {
                refusal = tr("Too many points are selected.");
            }
        }
        if (!refusal.isEmpty()) {
            guimisc::UserDialogs::warning(mainWindow(), tr("Warning"), refusal);
            return;
        }
        activeHelper()->deleteSelectedPoints();
    });
}

void GeoEditSurfaceItemController::showPathPropertyDialog()
{
    guarded([&] {
        if (!verifyEditable()) {
            return;
        }
        // The table edits the pending path and its reference lines live; a cancel puts
        // them back.
        std::unique_ptr<SelectionHelper::Snapshot> snapshot = activeHelper()->snapshot();
        GeoEditSurfaceItemPathPropertyDialog dialog(mainWindow());
        dialog.setController(this);
        if (dialog.exec() == QDialog::Accepted) {
            markEdited();
            applyIfImmediate();
            activeHelper()->reset(mainView());
            return;
        }
        snapshot->setRestore(true);
        snapshot.reset();
        repaintMainView();
    });
}

void GeoEditSurfaceItemController::showMoldPropertyDialog()
{
    guarded([&] {
        if (!verifyEditable()) {
            return;
        }
        MoldItemPropertyDialog dialog(m_pending->moldName, m_pending->mold, mainWindow());
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        const MoldSetting result = dialog.result();
        const MoldItem shaped(result.name, result.editType, result.l, result.h, result.baseL,
                              result.baseH, nullptr);
        m_pending->moldName = result.name;
        m_pending->mold = shaped.mold();
        markEdited();
        applyIfImmediate();
    });
}

void GeoEditSurfaceItemController::toggleClosePath()
{
    guarded([&] {
        if (pendingPath().size() < 3) {
            guimisc::UserDialogs::warning(mainWindow(), tr("Warning"),
                                          tr("The number of vertex is insufficient."));
            return;
        }
        if (!verifyEditable()) {
            return;
        }
        m_pending->closed = !m_pending->closed;
        markEdited();
        applyIfImmediate();
    });
}

void GeoEditSurfaceItemController::replaceMold()
{
    guarded([&] {
        GeoEditSurfaceGroupItemController* group = groupController();
        const MoldItem* mold = group ? group->selectedMoldItem() : nullptr;
        if (!mold) {
            guimisc::UserDialogs::warning(mainWindow(), tr("Warning"), tr("No Mold is selected."));
            return;
        }
        if (!verifyEditable()) {
            return;
        }
        m_pending->moldName = mold->name();
        m_pending->mold = mold->mold();
        markEdited();
        applyIfImmediate();
    });
}

void GeoEditSurfaceItemController::applyEdit()
{
    // What Return does in the waiting tool, whatever tool is active: the add-point tool
    // takes a Return for a vertex at the cursor, which is where the menu was opened. The
    // apply itself clears the edited state when it succeeds.
    guarded([&] {
        if (isEdited() && pendingPath().size() >= 2) {
            // The surface swept and merged anew, and the view drawn with it, under the wait
            // cursor.
            const guimisc::restorer::WaitCursor busy;
            applyPendingEdit(pendingPath());
            if (mvc::core::View* view = mainView()) {
                view->repaint();
            }
        }
        repaintMainView();
    });
}

void GeoEditSurfaceItemController::toggleBatchApply(bool checked)
{
    QAction* batch = m_actions[BatchApplyAction];
    GeoEditSurfaceGroupItemController* group = groupController();
    if (!checked && (isEdited() || (group && group->hasPendingBatchEdit()))) {
        // The flag stays on for every surface; the action shows it again without coming
        // back here.
        {
            const QSignalBlocker quiet(batch);
            batch->setChecked(true);
        }
        guimisc::UserDialogs::warning(mainWindow(), tr("Warning"),
                                      tr("The selected item has already been edited. Apply or "
                                         "revert before disabling batch apply."));
        return;
    }
    if (group) {
        group->setBatchApplyEnabled(checked);
    }
}

void GeoEditSurfaceItemController::revertEdit()
{
    revertBatchEdit();
    activeHelper()->reset(mainView());
}

void GeoEditSurfaceItemController::setBatchApplyEnabled(bool enabled)
{
    // The group's flag is shown, not set again: a toggle here would announce it once more.
    const QSignalBlocker quiet(m_actions[BatchApplyAction]);
    m_actions[BatchApplyAction]->setChecked(enabled);
}

void GeoEditSurfaceItemController::setEdited(bool edited)
{
    m_pending->edited = edited;
    m_actions[ApplyEditAction]->setEnabled(edited);
    m_actions[RevertEditAction]->setEnabled(edited);
}

void GeoEditSurfaceItemController::applyIfImmediate()
{
    if (!isBatchApply() && isEdited()) {
        applyPendingEdit(pendingPath());
    }
    updateAuxiliaries();
    repaintMainView();
}

void GeoEditSurfaceItemController::repaintMainView() const
{
    if (mvc::core::View* view = mainView()) {
        view->update();
    }
}

mvc::core::View* GeoEditSurfaceItemController::mainView() const
{
    const mvc::core::Model* model = item()->model();
    return model ? model->view() : nullptr;
}

} // namespace varnel
