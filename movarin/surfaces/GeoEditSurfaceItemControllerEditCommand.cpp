#include "movarin/surfaces/GeoEditSurfaceItemControllerEditCommand.h"

#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/survey/TinItem.h"

#include <guimisc/UserDialogs.h>
#include <guimisc/restorer/WaitCursor.h>

#include <QMainWindow>

#include <exception>
#include <utility>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = GeoEditSurfaceItemController::EditCommand;

GeoEditSurfaceItemController::EditCommand::EditCommand(const QString& text,
                                                       const std::vector<tin::core::Point>& path,
                                                       bool closed, const QString& moldName,
                                                       const mold::core::Mold& mold,
                                                       GeoEditSurfaceItem* surface)
    : QUndoCommand(text),
      m_surface(surface)
{
    GeoEditSurfaceItemController* owner = controller();
    m_oldAdded = surface->addedTin();
    m_oldRemoved = surface->removedTin();
    m_new = {path, owner->pendingReferenceLines(), closed, moldName, mold};
    m_old = {surface->path(), owner->committedReferenceLines(), surface->closed(),
             surface->moldName(), surface->mold()};
}

GeoEditSurfaceItemController::EditCommand::~EditCommand() = default;

GeoEditSurfaceItemController* GeoEditSurfaceItemController::EditCommand::controller() const
{
    return m_surface ? dynamic_cast<GeoEditSurfaceItemController*>(m_surface->controller())
                     : nullptr;
}

void GeoEditSurfaceItemController::EditCommand::redo()
{
    if (m_skipNextRedo) {
        m_skipNextRedo = false;
        return;
    }
    if (!m_surface) {
        return;
    }
    // The surface swept again and merged, or the edited TIN's triangles swapped back.
    const guimisc::restorer::WaitCursor busy;
    if (!m_done) {
        m_done = apply();
        return;
    }
    restoreState(m_oldAdded, m_newAdded, m_oldRemoved, m_newRemoved, m_new);
    controller()->revertBatchEdit();
}

void GeoEditSurfaceItemController::EditCommand::undo()
{
    if (!m_surface || !m_done) {
        return;
    }
    const guimisc::restorer::WaitCursor busy;
    restoreState(m_newAdded, m_oldAdded, m_newRemoved, m_oldRemoved, m_old);
    controller()->revertBatchEdit();
}

void GeoEditSurfaceItemController::EditCommand::applyState(const State& state)
{
    GeoEditSurfaceItem& surface = *m_surface;
    surface.setPath(state.path);
    controller()->setCommittedReferenceLines(state.lines);
    surface.setMold(state.moldName, state.mold);
    surface.setClosed(state.closed);
    surface.buildTins();
}

bool GeoEditSurfaceItemController::EditCommand::apply()
{
    GeoEditSurfaceItem& surface = *m_surface;
    QMainWindow* window = surface.mainWindow();
    bool swappedOut = false;
    try {
        applyState(m_new);
        if (!surface.isValid()) {
            guimisc::UserDialogs::warning(window, GeoEditSurfaceItemController::tr("Warning"),
                                          GeoEditSurfaceItemController::tr("Invalid Tin shape."));
            rollBack(false);
            return false;
        }
        // A shape the sweep builds no TIN for (a closed ring too small for the extended mold,
        // say) cannot be applied; recorded, it would take the surface's effect away.
        if (!surface.tin() || !surface.extendedTin()) {
            guimisc::UserDialogs::critical(window, GeoEditSurfaceItemController::tr("Error"),
                                           GeoEditSurfaceItemController::tr("Tin creation failed."));
            rollBack(false);
            return false;
        }
        TinItem* edited = surface.rootTinItem();
        GeoEditSurfaceGroupItemController* group = controller()->groupController();
        surface.swapTriangles(m_oldAdded, m_oldRemoved);
        swappedOut = true;
        bool ok = false;
        tin::core::Tin merged;
        if (edited && edited->tin() && group) {
            merged = group->merge(surface, *edited->tin(), &ok);
        }
        if (!ok) {
            guimisc::UserDialogs::critical(window, GeoEditSurfaceItemController::tr("Error"),
                                           GeoEditSurfaceItemController::tr("Tin creation failed."));
            rollBack(true);
            return false;
        }
        if (!controller()->verifyEditedOverlap()) {
            rollBack(true);
            return false;
        }
        surface.replaceRootTin(std::move(merged));
        m_newAdded = surface.addedTin();
        m_newRemoved = surface.removedTin();
        emit surface.rootTinChanged(m_newAdded);
        return true;
    } catch (const std::exception&) {
        guimisc::UserDialogs::critical(window, GeoEditSurfaceItemController::tr("Error"),
                                       GeoEditSurfaceItemController::tr("Tin creation failed."));
        rollBack(swappedOut);
        return false;
    }
}

void GeoEditSurfaceItemController::EditCommand::rollBack(bool swappedOut)
{
    GeoEditSurfaceItem& surface = *m_surface;
    // The merged TIN never reached the edited TIN item: putting the old change back is all
    // that its triangles need.
    if (swappedOut) {
        surface.swapTriangles(m_oldRemoved, m_oldAdded);
    }
    surface.setAddedTin(m_oldAdded);
    surface.setRemovedTin(m_oldRemoved);
    try {
        applyState(m_old);
    } catch (const std::exception&) {
        // The old state was built before; nothing more can be put back.
    }
}

void GeoEditSurfaceItemController::EditCommand::restoreState(const tin::core::Tin& removeAdded,
                                                             const tin::core::Tin& setAdded,
                                                             const tin::core::Tin& addRemoved,
                                                             const tin::core::Tin& setRemoved,
                                                             const State& state)
{
    GeoEditSurfaceItem& surface = *m_surface;
    surface.swapTriangles(removeAdded, addRemoved);
    surface.swapTriangles(setRemoved, setAdded);
    try {
        applyState(state);
    } catch (const std::exception&) {
        // Both states were built before; the triangles are what the edited TIN needs.
    }
    surface.setAddedTin(setAdded);
    surface.setRemovedTin(setRemoved);
}

} // namespace varnel
