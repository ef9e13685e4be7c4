#pragma once

#include "movarin/survey/GcpTableRow.h"

#include "pelkas/GdalImageSetting.h"

#include <QDialog>
#include <QStyledItemDelegate>

class QItemSelection;
class QPushButton;

namespace guimisc {
class MultiCellOperableTableView;
}

namespace varnel {

class AddibleGcpTableModel;
class BackgroundImageItem;
class GcpTableModel;
class GeoreferenceView;

/// The dialog that places a background image by ground control points: the image in its
/// own pane ("imageWidget", a `GeoreferenceView`) above the table of pairs
/// ("gcpTableView"), with OK, Cancel, Apply and a button that hides or shows the image on
/// the main view ("hideButton": "Hide" while visible, "Show" while hidden). Modeless; the
/// background image's controller creates it, connects it and deletes it.
///
/// Placement. The fit (`setting()`, `GcpSimilarityFit`) of the enabled pairs is refused
/// with fewer than two of them, with one image position for all, with a result that is
/// not finite or with a scale below the minimum; Apply and OK then show the "Warning"
/// box "At least two enabled control points with different positions are needed." and
/// change nothing (OK keeps the dialog open).
/// - Apply sets the fit on the image directly (no undo entry) and repaints the main view
///   and the pane.
/// - OK puts the setting the image had when the dialog opened (the opening setting) back
///   on the image, then `accepted()` is emitted, on which the image's controller pushes
///   one undoable command with `setting()` (so undo returns to the opening placement),
///   and the georeference mode ends.
/// - Cancel puts the opening setting back and ends the mode; Escape only puts it back
///   (the dialog stays open).
/// - The window's close button keeps an applied placement, but as an undoable one: the
///   opening setting goes back on the image and `appliedSettingKept` announces the applied
///   setting, which the controller pushes as one command. Without an Apply nothing is
///   announced.
/// Ending the mode (OK, Cancel, the close button; all through `closeEvent`) makes the
/// image visible again and emits `georeferenceModeEnded()` once; the controller connects
/// it queued and deletes the dialog later, never inside these handlers.
///
/// Selection. A selection in the table is sent as `selectionChanged` (the rows of every
/// selected cell); `clearTableSelection` and `selectTableRows` mirror a selection made in
/// a view into the table.
///
/// The dialog owns its table model and widgets; the image item is borrowed and must
/// outlive it.
class BackgroundImageItemGeoreferenceDialog : public QDialog {
    Q_OBJECT
public:
    /// Shows every number with 5 decimals in the locale of the view, and edits numbers in
    /// a spin box of 5 decimals.
    class StyledItemDelegate : public QStyledItemDelegate {
    public:
        explicit StyledItemDelegate(QObject* parent = nullptr);
        QString displayText(const QVariant& value, const QLocale& locale) const override;
        QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    private:
        int m_decimals = 5;
    };

    BackgroundImageItemGeoreferenceDialog(BackgroundImageItem* item, QWidget* parent = nullptr);
    ~BackgroundImageItemGeoreferenceDialog() override;

    /// The placement fitted to the enabled pairs. Throws common::exception::RuntimeException
    /// when the pairs give none (see the class comment).
    gdalimg::GdalImageSetting setting() const;
    const GcpTable* gcpTable() const;
    GcpTableModel* gcpTableModel() const;
    void clearTableSelection();
    /// Selects every cell of each listed row that the table shows.
    void selectTableRows(const GcpRowIndices& indices);

signals:
    void selectionChanged(const GcpRowIndices& rowIndices);
    /// The dialog was closed (OK, Cancel or the window's close button).
    void georeferenceModeEnded();
    /// The dialog was closed by its window's button after an Apply: `setting` is the
    /// applied placement, taken back from the image so that it can be pushed undoably.
    void appliedSettingKept(const gdalimg::GdalImageSetting& setting);

public slots:
    /// OK: refused (the dialog stays) unless the pairs give a placement; otherwise the
    /// opening setting goes back on the image before `accepted()` is emitted.
    void accept() override;
    /// Puts the opening setting back on the image; the dialog stays open.
    void reject() override;
    void apply();
    void handleSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void handleAccepted();
    void handleRejected();
    void handleHideButtonClicked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    /// The fit, or the warning box and false.
    bool fitOrWarn(gdalimg::GdalImageSetting* setting);
    /// Places the image and repaints the main view and the pane.
    void placeImage(const gdalimg::GdalImageSetting& setting);
    void updateHideButtonText();

    BackgroundImageItem* m_item;
    gdalimg::GdalImageSetting m_openingSetting;
    AddibleGcpTableModel* m_model;
    GeoreferenceView* m_imageWidget;
    guimisc::MultiCellOperableTableView* m_tableView;
    QPushButton* m_hideButton;
    bool m_applied = false;
    bool m_acceptedByOk = false;
    bool m_modeEnded = false;
};

} // namespace varnel
