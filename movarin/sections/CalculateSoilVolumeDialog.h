#pragma once

#include <QDialog>
#include <QPointer>

class QAbstractButton;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace mvc::core {
class View;
}

namespace varnel {

/// The soil-volume tool, "Soil Volume Calculation": compares the edited TIN of an edit-mode
/// project with its base TIN and shows the volume by which the edited surface lies below
/// the base ("Cut") and above it ("Fill"), in cubic metres, over the whole surface or over a
/// region the user draws as a polygon on the main view.
///
/// The main window makes one per use with the project window as parent (through which the
/// dialog reaches the main view and its model), shows it modal without blocking and has it
/// delete itself when it finishes (`deleteMe`). While a region is drawn the dialog is hidden,
/// not finished; the region lives in the view's selection helper
/// (`CalculateSoilVolumeDialog::PolygonSelectionHelper`), which stays installed after the
/// drawing so that the region can be calculated again, and leaves the view with the dialog.
///
/// `execute` calls `tin::util::TinModifier::calculateDifferences(base, edited)`; a region
/// first clips the edited TIN to the region's triangulation (`overwrite_deleteLonelyRegions`).
/// A missing TIN counts as empty. Cost: the comparison is in proportion to the triangles
/// the two TINs do not share (see `TinDifferences`).
class CalculateSoilVolumeDialog : public QDialog {
    Q_OBJECT
public:
    class SelectionHelper;
    class PolygonSelectionHelper;

    explicit CalculateSoilVolumeDialog(QWidget* parent = nullptr);
    /// Takes the dialog's region helper off the main view, if it is still there.
    ~CalculateSoilVolumeDialog() override;

public slots:
    /// "Select region" is enabled exactly when `button` is the "Selected region" radio button.
    void applyRadioButtonState(QAbstractButton* button);
    /// Hides the dialog and starts drawing a new region on the main view (nothing without a
    /// main view).
    void selectRegion();
    /// Computes the volumes and shows them ("Fill" the volume above the base, "Cut" the
    /// volume below it, both non-negative, three decimals). On failure a message box says
    /// why ("No region is selected." for "Selected region" without a drawn region, else
    /// "Calculation failed."), the table keeps its values and the result is false.
    bool execute();
    /// Takes the dialog's region helper off the main view and deletes the dialog once
    /// control is back in the event loop.
    void deleteMe();

private:
    mvc::core::View* mainView() const;
    /// The region drawn for this dialog and still installed on the main view, or null.
    SelectionHelper* regionHelper() const;
    void removeRegionHelper();
    void showVolumes(double cut, double fill);

    QRadioButton* m_wholeButton;
    QRadioButton* m_selectedRegionButton;
    QPushButton* m_selectRegionButton;
    QTableWidget* m_table;
    QPushButton* m_executeButton;
    // The view can go before the dialog when the project window closes.
    QPointer<mvc::core::View> m_view;
};

} // namespace varnel
