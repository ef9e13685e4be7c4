#pragma once

#include <QDialog>

class QSpinBox;

namespace guimisc::widget {
class ColorEditWidget;
class TransparencyWidget;
} // namespace guimisc::widget

namespace varnel {

class GeoDataShapeSetting;

/// The form that the polygon and polyline setting dialogs share: "Color:" with a colour
/// button, "Width:" with a spin box from 1 to 15 pixels, the opacity editor, and OK /
/// Cancel. The subclasses give the title and the setting kind.
class GeoDataShapeSettingDialog : public QDialog {
    Q_OBJECT
public:
    ~GeoDataShapeSettingDialog() override;

protected:
    GeoDataShapeSettingDialog(const QString& title, QWidget* parent);

    void fillEditors(const GeoDataShapeSetting& setting);
    /// Copies the editors' values into `setting`.
    void readEditors(GeoDataShapeSetting* setting) const;

private:
    guimisc::widget::ColorEditWidget* m_colorEdit;
    QSpinBox* m_widthSpinBox;
    guimisc::widget::TransparencyWidget* m_transparencyWidget;
};

} // namespace varnel
