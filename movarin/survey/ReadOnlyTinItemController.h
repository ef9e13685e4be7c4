#pragma once

#include "brask/core/ModelItemControllerT.h"
#include "orlin/core/Tin.h"

#include <QPointer>
#include <QUndoCommand>

class QAction;

namespace varnel {

class ReadOnlyTinItem;

/// The controller of a TIN item: the action "Export" (binary STL, in the context menu and
/// on the tool bar, each followed by a separator) and the undoable replacement of the
/// item's TIN that TIN creation and the editing subsystems push.
class ReadOnlyTinItemController : public mvc::core::ModelItemControllerT<ReadOnlyTinItem> {
    Q_OBJECT
public:
    /// Replaces the TIN of an item, undoably.
    ///
    /// Holds a copy of the new TIN (made at construction) and the TIN it replaced (empty
    /// until the first redo). Redo: while the held TIN is empty, `replaceTin` with a copy of
    /// the new TIN, which moves the item's TIN into the held one; otherwise `setTin` with a
    /// copy of the new TIN. Undo: `setTin` with a copy of the held TIN, so an item that had
    /// no TIN holds an empty one after undo. Copies of a TIN share its points, triangles and
    /// tables (see `tin::core::Tin`), so each costs a reference count per table page. The
    /// item is watched: once it is gone, redo and undo do nothing.
    class SetTinCommand : public QUndoCommand {
    public:
        SetTinCommand(const QString& text, const tin::core::Tin& tin, ReadOnlyTinItem* item);
        ~SetTinCommand() override;

        void undo() override;
        void redo() override;

    private:
        tin::core::Tin m_newTin;
        tin::core::Tin m_heldTin;
        QPointer<ReadOnlyTinItem> m_item;
    };

    explicit ReadOnlyTinItemController(const ReadOnlyTinItem* item);
    ~ReadOnlyTinItemController() override;

    void addCustomMenuItems(QMenu* menu) override;
    void addToolBarButtons(QToolBar* toolBar) override;

    /// Pushes a `SetTinCommand` with `text` that gives the item a copy of `tin`, as a command
    /// that repaints the main view; its first redo runs at once.
    void pushSetTinCommand(const tin::core::Tin& tin, const QString& text);

    QAction* exportAction() const;

public slots:
    /// Asks for a file name and writes the item's TIN there as binary STL; nothing without
    /// a TIN or when the dialog is cancelled. A failure is shown in the "Error" box naming
    /// the file; the file is then as it was.
    void exportTin();

private:
    QAction* m_exportAction;
};

} // namespace varnel
