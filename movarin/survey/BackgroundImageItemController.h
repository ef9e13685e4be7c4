#pragma once

#include "movarin/survey/BackgroundImageItem.h"
#include "movarin/survey/GcpTableRow.h"

#include "movarin/shell/GuardedItemControllerT.h"

#include <QPointer>
#include <QPointF>

class QAction;

namespace gdalimg {
class GdalImageSetting;
}

namespace varnel {

class BackgroundImageItemGeoreferenceDialog;

/// What the user does with one background image: place it in the position dialog, move,
/// turn and scale it with the mouse on the main view, and georeference it by control
/// points. Every change of the placement is one undo entry (`SetSettingCommand`, wrapped
/// so that redo and undo repaint the main view and mark the project modified).
///
/// Normal mode (`WaitingSelectionHelper`): a press chooses a drag by its button: left
/// moves (`TranslationSelectionHelper`), right turns about the top-left corner
/// (`RotationSelectionHelper`), middle scales about it (`ScalingSelectionHelper`). A drag
/// previews on the image itself and pushes one command on release, even for a click
/// without a move.
///
/// Georeference mode ("Georeference", `showGeoreferenceDialog`): the dialog opens modeless
/// (one at a time), the action and the object browser are disabled, and the main view
/// shows the map positions of the control points: `SourceOperationWaitingSelectionHelper`
/// selects them by click or rubber band (`GcpPointsInRectangleSelectionHelper`) and drags
/// them (`GcpTranslationSelectionHelper`); after a position was picked in the dialog's
/// pane, `startGcpSelect` asks for its map position (`AddGcpSelectionHelper`), which goes
/// back as `gcpDefined`. Selections travel as `selectedIndexChanged` and come in through
/// `selectPoints`. The dialog's OK pushes the fitted placement, a close after an Apply
/// pushes the applied one, so a georeferencing leaves at most one undo entry whose undo
/// returns to the placement before the dialog. The dialog's end of the mode reaches
/// `endGeoreferenceMode` queued: the normal mode returns, the action and the browser are
/// enabled and the dialog is deleted later, never inside its own handlers.
///
/// Every slot that serves a user command shows a failure in the "Error" box instead of
/// letting it escape. Owned by the image item; owns its action, its mode and the dialog
/// while it exists.
class BackgroundImageItemController : public GuardedItemControllerT<BackgroundImageItem> {
    Q_OBJECT
public:
    class SelectionHelper;
    class WaitingSelectionHelper;
    class DragSelectionHelper;
    class TranslationSelectionHelper;
    class RotationSelectionHelper;
    class ScalingSelectionHelper;
    class SourceOperationWaitingSelectionHelper;
    class AddGcpSelectionHelper;
    class GcpPointsInRectangleSelectionHelper;
    class GcpTranslationSelectionHelper;
    class SetSettingCommand;

    explicit BackgroundImageItemController(const BackgroundImageItem* item);
    ~BackgroundImageItemController() override;

    /// "Georeference", the only entry.
    void addCustomMenuItems(QMenu* menu) override;
    /// The position dialog, filled with the image's placement and size; owned by the caller.
    QDialog* propertyDialog(QWidget* parent) override;

    /// Pushes one undo entry that gives the image `setting`.
    void setSetting(const gdalimg::GdalImageSetting& setting);

    /// The open georeference dialog, null outside the georeference mode.
    BackgroundImageItemGeoreferenceDialog* georeferenceDialog() const;
    /// The control points of the open dialog, null outside the georeference mode.
    const GcpTable* gcpTable() const;
    QAction* georeferenceAction() const { return m_georeferenceAction; }

signals:
    /// The map position of the newest control point, picked on the main view.
    void gcpDefined(const QPointF& point);
    /// The control points selected on the main view.
    void selectedIndexChanged(const GcpRowIndices& indices);

public slots:
    /// Shows the rows selected elsewhere (the pane, the table) on the main view.
    void selectPoints(const GcpRowIndices& indices);
    /// Asks for the map position of the point just picked in the pane.
    void startGcpSelect();
    /// Opens the georeference dialog, or raises the open one.
    void showGeoreferenceDialog();
    /// Leaves the georeference mode (the dialog's end of the mode, queued).
    void endGeoreferenceMode();

protected:
    void handlePropertyDialogAccepted(QDialog* dialog) override;

private:
    /// The active mode as this controller's mode; null when another kind is installed.
    SelectionHelper* activeHelper() const;
    /// Installs a mode built from the active one.
    template <class Helper>
    void switchToHelperBuiltFromActive();
    void pushFittedSetting();
    void setGeoreferenceControlsEnabled(bool enabled);
    void handleTableChanged();

    QAction* m_georeferenceAction;
    QPointer<BackgroundImageItemGeoreferenceDialog> m_dialog;
};

} // namespace varnel
