#pragma once

#include <QDialog>

namespace varnel {

/// The tool for auxiliary lines and points, "Draw lines and points": for now an empty
/// dialog with its title, a title bar and a close button.
///
/// The main window's dialog manager makes one per project window (its parent) and runs it
/// modally each time the tool is chosen; it goes with that window.
class DrawAuxiliaryDialog : public QDialog {
    Q_OBJECT
public:
    explicit DrawAuxiliaryDialog(QWidget* parent = nullptr);
    ~DrawAuxiliaryDialog() override;
};

} // namespace varnel
