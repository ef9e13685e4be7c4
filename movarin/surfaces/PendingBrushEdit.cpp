#include "movarin/surfaces/PendingBrushEdit.h"

#include "movarin/shell/Project.h"
#include "movarin/shell/RectMainViewHelper.h"
#include "movarin/shell/TinMainViewHelper.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/survey/TinItem.h"

#include "orlin/core/Polygon.h"
#include "orlin/core/Rect.h"

#include <guimisc/UserDialogs.h>

#include <QMainWindow>
#include <QPen>
#include <QUndoStack>

namespace varnel {

PendingBrushEdit::PendingBrushEdit(GeoEditSurfaceGroupItemController* controller)
    : m_controller(controller)
{
    mvc::proj::Project* project = controller ? controller->item()->project() : nullptr;
    if (QUndoStack* stack = project ? project->undoStack() : nullptr) {
        // Every undo, redo and push ends here, after the command has done its work.
        connect(stack, &QUndoStack::indexChanged, this, [this] { discardIfEditedTinChanged(); });
    }
}

PendingBrushEdit::~PendingBrushEdit()
{
    if (!m_abandoned && isPending()) {
        clearAndEmit();
    }
}

BrushSettings PendingBrushEdit::settings() const
{
    BrushSettings settings;
    if (m_controller) {
        settings.brushSize = m_controller->brushSize();
        settings.brushEditUnit = m_controller->brushEditUnit();
        settings.brushLimit = m_controller->brushLimit();
        settings.brushLimitEnabled = m_controller->brushLimitEnabled();
        settings.brushLevelOff = m_controller->brushLevelOff();
    }
    return settings;
}

bool PendingBrushEdit::apply(const tin::core::Polygon& footprint, bool raise)
{
    if (discardIfEditedTinChanged()) {
        return false;
    }
    const tin::core::Tin* edited = editedTin();
    if (!edited) {
        return true;
    }
    BrushEdit::Outcome outcome = BrushEdit::Outcome::NoPreview;
    try {
        outcome = m_edit.apply(*edited, footprint, raise, settings());
        if (outcome == BrushEdit::Outcome::Preview) {
            emitPreview();
        }
    } catch (...) {
        clearAndEmit();
        throw;
    }
    if (outcome == BrushEdit::Outcome::TooManyTriangles) {
        warn(tr("The brush is too small for the triangles under it."));
        return false;
    }
    return true;
}

void PendingBrushEdit::commit()
{
    if (discardIfEditedTinChanged()) {
        return;
    }
    const tin::core::Tin* edited = editedTin();
    if (!edited || !m_controller || m_edit.removedTin().empty()) {
        return;
    }
    if (!m_edit.isPartOf(*edited)) {
        clearAndEmit();
        warn(tr("The brush edit was discarded because the edited TIN changed."));
        return;
    }
    // Nothing is pending from here on, so the push of the surface's command (which changes
    // the edited TIN) is not taken for a change under the edit.
    BrushEdit committed = std::move(m_edit);
    m_edit = BrushEdit();
    try {
        committed.subdividePeriphery(*edited, settings());
        emit m_controller->brushEditAddedTinChanged(&committed.addedTin(), &committed.removedTin());
        m_controller->createGeoEditSurfaceByBrush(committed.addedTin(), committed.removedTin());
    } catch (...) {
        emitPreview();
        throw;
    }
    emitPreview();
}

void PendingBrushEdit::discard()
{
    clearAndEmit();
}

void PendingBrushEdit::abandon()
{
    m_abandoned = true;
    m_edit.clear();
    disconnect();
}

bool PendingBrushEdit::discardIfEditedTinChanged()
{
    if (!isPending()) {
        return false;
    }
    const tin::core::Tin* edited = editedTin();
    if (edited && m_edit.isBasedOn(*edited)) {
        return false;
    }
    clearAndEmit();
    warn(tr("The brush edit was discarded because the edited TIN changed."));
    return true;
}

void PendingBrushEdit::addPainters(std::vector<std::unique_ptr<mvc::util::MainViewHelperI>>& painters,
                                   const tin::core::Rect* brushRect, mvc::core::View* view) const
{
    const auto* project = m_controller ? qobject_cast<const Project*>(m_controller->item()->project()) : nullptr;
    painters.push_back(std::make_unique<TinMainViewHelper>(&m_edit.addedTin(), view,
                                                           project ? project->elevationColorMapper() : nullptr));
    painters.push_back(std::make_unique<RectMainViewHelper>(brushRect, view, QPen(Qt::black)));
}

const tin::core::Tin* PendingBrushEdit::editedTin() const
{
    TinItem* item = m_controller ? m_controller->rootTinItem() : nullptr;
    return item ? item->tin() : nullptr;
}

void PendingBrushEdit::emitPreview()
{
    if (m_controller) {
        emit m_controller->brushEditAddedTinChanged(&m_edit.addedTin(), &m_edit.removedTin());
    }
}

void PendingBrushEdit::clearAndEmit()
{
    m_edit.clear();
    emitPreview();
}

void PendingBrushEdit::warn(const QString& text) const
{
    guimisc::UserDialogs::warning(m_controller ? m_controller->mainWindow() : nullptr, tr("Warning"), text);
}

} // namespace varnel
