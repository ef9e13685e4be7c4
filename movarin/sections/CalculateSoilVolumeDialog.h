#pragma once

#include <QDialog>

namespace varnel {

/// The soil-volume tool, "Soil Volume Calculation": for now an empty dialog with its title.
///
/// The main window makes one per use with the project window as parent, shows it without
/// blocking and has it delete itself when it finishes (`deleteMe`).
class CalculateSoilVolumeDialog : public QDialog {
    Q_OBJECT
public:
    explicit CalculateSoilVolumeDialog(QWidget* parent = nullptr);
    ~CalculateSoilVolumeDialog() override;

public slots:
    /// Deletes the dialog once control is back in the event loop.
    void deleteMe();
};

} // namespace varnel
