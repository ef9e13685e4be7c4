#pragma once

#include "movarin/survey/CoordinatePointsBaseItemViewSetting.h"

#include <QDialog>

class QDialogButtonBox;
class QRadioButton;

namespace guimisc::widget {
class ColorEditWidget;
}

namespace varnel {

/// The colour dialog of a point-set item ("Polygon Color Setting"): colour by value or a
/// custom colour (hobrin's colour editor, which stays enabled in both states). OK takes
/// the editor's colour and the radio buttons' state into the edited setting; Cancel gives
/// back the setting the dialog was opened with. The radius is shown nowhere and kept.
class CoordinatePointsBaseItemPropertyDialog : public QDialog {
    Q_OBJECT
public:
    explicit CoordinatePointsBaseItemPropertyDialog(QWidget* parent);
    ~CoordinatePointsBaseItemPropertyDialog() override;

    /// Stores the setting as the edited and the opening one and shows it.
    void setViewSetting(const CoordinatePointsBaseItemViewSetting& setting);
    CoordinatePointsBaseItemViewSetting viewSetting() const;

    void accept() override;
    void reject() override;

private:
    CoordinatePointsBaseItemViewSetting m_setting;
    CoordinatePointsBaseItemViewSetting m_originalSetting;
    QRadioButton* m_byValueRadioButton;
    QRadioButton* m_arbitraryRadioButton;
    guimisc::widget::ColorEditWidget* m_colorEditWidget;
    QDialogButtonBox* m_buttonBox;
};

} // namespace varnel
