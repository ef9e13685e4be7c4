#pragma once

#include "pelkas/GdalImageSetting.h"

#include <QDialog>

class QAbstractButton;
class QDialogButtonBox;
class QDoubleSpinBox;
class QRadioButton;

namespace gdalimg {

/// The dialog that places a background image by hand, by one of two methods: its bottom-left
/// corner, the world length of a pixel (scale) and the rotation of its bottom edge; or its
/// bottom-left and bottom-right corners, from which scale and angle follow.
///
/// The setting stores the top-left corner P; the dialog shows the bottom-left corner, which lies
/// h pixels down the rotated image: bottom-left = (P.x + s h sin a, P.y - s h cos a), and the
/// bottom-right corner = bottom-left + s w (cos a, sin a), with w, h the image's size in pixels,
/// s the scale and a the angle in degrees. Every number box holds 4 decimals, so a setting passes
/// through the dialog rounded to them.
///
/// Apply and OK write the boxes into the working setting (setting()); Reset fills the boxes from
/// the working setting again; Cancel (reject) restores the setting last given to setSetting().
/// Callers set the image size and the setting, run the dialog and, once it is accepted, apply
/// setting(). The form's widgets are owned by the dialog.
class GdalImageEditSettingDialog : public QDialog {
    Q_OBJECT

public:
    explicit GdalImageEditSettingDialog(QWidget* parent = nullptr);
    ~GdalImageEditSettingDialog() override;

    void setSetting(const GdalImageSetting& setting);
    void setWidth(int width);
    void setHeight(int height);
    const GdalImageSetting& setting() const { return m_setting; }

    /// Writes the boxes into the working setting.
    void apply();
    /// Fills the boxes from the working setting.
    void reset();

public slots:
    void accept() override;
    void reject() override;

private slots:
    /// A box changed: with the two-corner method scale and angle follow the corners, otherwise
    /// the bottom-right corner follows the other boxes.
    void update();
    void handleButtonBoxClick(QAbstractButton* button);

private:
    void buildForm();
    void updateBottomRight();
    void updateScaleAndAngle();

    GdalImageSetting m_setting;
    GdalImageSetting m_initialSetting;
    int m_width = 0;
    int m_height = 0;

    QRadioButton* m_byScaleButton = nullptr;
    QRadioButton* m_byCornersButton = nullptr;
    QDoubleSpinBox* m_bottomLeftX = nullptr;
    QDoubleSpinBox* m_bottomLeftY = nullptr;
    QDoubleSpinBox* m_bottomRightX = nullptr;
    QDoubleSpinBox* m_bottomRightY = nullptr;
    QDoubleSpinBox* m_scale = nullptr;
    QDoubleSpinBox* m_angle = nullptr;
    QDialogButtonBox* m_buttonBox = nullptr;
};

} // namespace gdalimg
