#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerAttachChildAtFrontAndSetTinCommand.h"

#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceItemI.h"
#include "movarin/survey/TinItem.h"

#include <guimisc/UserDialogs.h>
#include <guimisc/restorer/WaitCursor.h>

#include <QMainWindow>

#include <utility>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = GeoEditSurfaceGroupItemController::AttachChildAtFrontAndSetTinCommand;

GeoEditSurfaceGroupItemController::AttachChildAtFrontAndSetTinCommand::
    AttachChildAtFrontAndSetTinCommand(const QString& text, GeoEditSurfaceItemI* surface,
                                       GeoEditSurfaceGroupItem* group, bool applied, Merge merge)
    : mvc::core::AttachChildAtFrontCommand(text, surface, group),
      m_merge(std::move(merge)),
      m_applied(applied)
{
}

GeoEditSurfaceGroupItemController::AttachChildAtFrontAndSetTinCommand::
    ~AttachChildAtFrontAndSetTinCommand() = default;

void GeoEditSurfaceGroupItemController::AttachChildAtFrontAndSetTinCommand::redo()
{
    if (m_skipNextRedo) {
        m_skipNextRedo = false;
        return;
    }
    GeoEditSurfaceItemI* s = surface();
    if (!s) {
        return;
    }
    // A merge or a swap of the edited TIN's triangles, on a TIN of millions.
    const guimisc::restorer::WaitCursor busy;
    if (!m_applied) {
        // Merged before it is attached: a failure leaves neither a row nor a changed TIN.
        if (!apply(*s)) {
            return;
        }
        mvc::core::AttachChildAtFrontCommand::redo();
        emit s->rootTinChanged(s->addedTin());
    } else {
        mvc::core::AttachChildAtFrontCommand::redo();
        s->swapTriangles(s->removedTin(), s->addedTin());
    }
    m_attached = true;
}

void GeoEditSurfaceGroupItemController::AttachChildAtFrontAndSetTinCommand::undo()
{
    const guimisc::restorer::WaitCursor busy;
    if (GeoEditSurfaceItemI* s = surface()) {
        s->swapTriangles(s->addedTin(), s->removedTin());
    }
    mvc::core::AttachChildAtFrontCommand::undo();
    m_attached = false;
}

GeoEditSurfaceItemI*
GeoEditSurfaceGroupItemController::AttachChildAtFrontAndSetTinCommand::surface() const
{
    return qobject_cast<GeoEditSurfaceItemI*>(item());
}

bool GeoEditSurfaceGroupItemController::AttachChildAtFrontAndSetTinCommand::apply(
    GeoEditSurfaceItemI& s)
{
    TinItem* edited = s.rootTinItem();
    bool ok = false;
    tin::core::Tin merged;
    if (edited) {
        const tin::core::Tin none;
        const tin::core::Tin& root = edited->tin() ? *edited->tin() : none;
        try {
            merged = m_merge ? m_merge(s, root, &ok) : s.modifiedRootTin(root, &ok);
        } catch (...) {
            ok = false;
        }
    }
    if (!ok) {
        guimisc::UserDialogs::critical(s.mainWindow(), GeoEditSurfaceGroupItemController::tr("Error"),
                                       GeoEditSurfaceGroupItemController::tr("Tin creation failed."));
        return false;
    }
    s.replaceRootTin(std::move(merged));
    m_applied = true;
    return true;
}

} // namespace varnel
