#pragma once

#include <QDialog>

class QRadioButton;

namespace varnel {

/// Asks which kind of data an export writes when a group holds both ("Select Export Data
/// Type"): "Polygon" (chosen at first) or "Polyline", with OK and Cancel.
class GeoDataGroupItemControllerExportTypeSelectDialog : public QDialog {
    Q_OBJECT
public:
    explicit GeoDataGroupItemControllerExportTypeSelectDialog(QWidget* parent = nullptr);
    ~GeoDataGroupItemControllerExportTypeSelectDialog() override;

    /// True when "Polygon" is not chosen.
    bool exportsPolylines() const;

private:
    QRadioButton* m_polygonButton;
    QRadioButton* m_polylineButton;
};

} // namespace varnel
