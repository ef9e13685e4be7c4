#pragma once

#include "movarin/surfaces/BrushSettings.h"

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;

namespace varnel {

/// "Brush Setting": the five brush settings in a group box "Brush", with OK, Cancel and Reset.
///
/// The controller calls the setters before it runs the dialog; each keeps the value both as
/// given at opening and as current, and shows it. OK takes the current values from the
/// fields; the controller reads them through the getters (after Cancel it reads nothing).
/// Reset shows the values given at opening again, not the factory defaults.
///
/// Fields: size (m) from 0.10 to 99.99, which `setSizeEnabled(false)` locks while a brush edit
/// is pending; edit unit (m) from -99.99 to 99.99 (a negative unit lowers); the limit (m),
/// enabled exactly while its check box "Limit (m)" is checked; "Level off". Two decimals.
class GeoEditSurfaceGroupItemControllerBrushEditSettingDialog : public QDialog {
    Q_OBJECT
public:
    explicit GeoEditSurfaceGroupItemControllerBrushEditSettingDialog(QWidget* parent = nullptr);
    ~GeoEditSurfaceGroupItemControllerBrushEditSettingDialog() override;

    void setBrushSize(double size);
    void setBrushEditUnit(double unit);
    void setBrushLimit(double limit);
    void setBrushLimitEnabled(bool enabled);
    void setBrushLevelOff(bool levelOff);
    /// All five at once.
    void setSettings(const BrushSettings& settings);
    void setSizeEnabled(bool enabled);

    double brushSize() const;
    double brushEditUnit() const;
    double brushLimit() const;
    bool brushLimitEnabled() const;
    bool brushLevelOff() const;
    /// All five at once.
    BrushSettings settings() const;

    void accept() override;

public slots:
    /// The fields show the values given at opening again.
    void reset();

private:
    /// The fields show the current values.
    void refresh();
    /// One setting as given at opening and as current, shown.
    template <class T>
    void setGiven(T BrushSettings::*setting, T value)
    {
        m_given.*setting = m_current.*setting = value;
        refresh();
    }

    BrushSettings m_given;
    BrushSettings m_current;
    QLabel* m_brushSizeLabel;
    QDoubleSpinBox* m_brushSizeSpinBox;
    QLabel* m_brushEditUnitLabel;
    QDoubleSpinBox* m_brushEditUnitSpinBox;
    QCheckBox* m_brushUseLimitCheckBox;
    QDoubleSpinBox* m_brushLimitSpinBox;
    QCheckBox* m_brushLevelOffCheckBox;
    QDialogButtonBox* m_buttonBox;
};

} // namespace varnel
