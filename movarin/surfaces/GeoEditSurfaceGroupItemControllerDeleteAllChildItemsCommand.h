#pragma once

#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"

#include "orlin/core/Tin.h"

namespace varnel {

class ReadOnlyTinItem;

/// "Delete all": takes every surface off the stack and gives the edited TIN the base TIN
/// again, as one undo entry.
///
/// Redo detaches the surfaces (the framework's `DeleteAllChildItemsCommand`), then hands the
/// edited TIN item a copy of the base TIN (the edited TIN is an object of its own; the copy
/// shares the base's triangle objects) and keeps the TIN it held, by move. Undo moves that
/// TIN back and attaches the surfaces again in their old order. Both announce the whole new
/// edited TIN through the item's `tinChanged`. One copy of the base TIN per redo; nothing
/// else is copied.
///
/// Ownership as the framework's command: while redone the command owns the surfaces; the
/// TIN items are watched.
class GeoEditSurfaceGroupItemController::DeleteAllChildItemsCommand
    : public mvc::core::ModelItemController::DeleteAllChildItemsCommand {
public:
    DeleteAllChildItemsCommand(const QString& text, GeoEditSurfaceGroupItem* group);
    ~DeleteAllChildItemsCommand() override;

    void undo() override;
    void redo() override;

private:
    QPointer<ReadOnlyTinItem> m_baseTinItem;
    QPointer<TinItem> m_tinItem;
    /// The edited TIN as it was before the redo, held while redone.
    tin::core::Tin m_previous;
    bool m_replaced = false;
};

} // namespace varnel
