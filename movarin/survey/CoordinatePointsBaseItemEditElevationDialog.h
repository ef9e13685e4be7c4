#pragma once

#include <QDialog>

class QDialogButtonBox;
class QDoubleSpinBox;

namespace varnel {

/// Asks for the new elevation of the selected points ("Edit Elevation"): a spin box of 5
/// decimals from -100000 to 100000. OK takes the spin box's value; Cancel gives back the
/// value the dialog was opened with.
class CoordinatePointsBaseItemEditElevationDialog : public QDialog {
    Q_OBJECT
public:
    explicit CoordinatePointsBaseItemEditElevationDialog(QWidget* parent);
    ~CoordinatePointsBaseItemEditElevationDialog() override;

    /// Sets the value, the opening value and the spin box.
    void setElevation(double elevation);
    double elevation() const;

    void accept() override;
    void reject() override;

private:
    double m_elevation = 0.0;
    double m_originalElevation = 0.0;
    QDoubleSpinBox* m_doubleSpinBox;
    QDialogButtonBox* m_buttonBox;
};

} // namespace varnel
