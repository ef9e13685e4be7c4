#pragma once

#include <QDialog>

class QDialogButtonBox;
class QSpinBox;

namespace varnel {

/// Asks how to thin a JPGIS GML import ("Import Coordinate Point") while the main view shows
/// the file's extent: a step from 1 (every cell) to the spin box's own maximum of 99, with
/// a note that each file of an archive is thinned on its own grid. The user draws the
/// region on the main view after OK.
class CoordinatePointsGroupItemImportSettingDialog : public QDialog {
    Q_OBJECT
public:
    explicit CoordinatePointsGroupItemImportSettingDialog(QWidget* parent);
    ~CoordinatePointsGroupItemImportSettingDialog() override;

    /// The spin box's value; 1 until the user changes it.
    int step() const;

private:
    QSpinBox* m_stepSpinBox;
    QDialogButtonBox* m_buttonBox;
};

} // namespace varnel
