#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;

namespace varnel {

/// The "Mouse Hint" window: a picture of the mouse operations in the user's language.
///
/// The picture is chosen once, when the dialog is made, from the locale name stored under
/// "general/locale" (the system locale's name when none is stored): ":/images/<name>/
/// imgMouseHelp.png" when such a picture is compiled in, else ":/images/imgMouseHelp.png".
/// Closing the window only hides it, so that the one instance the main window keeps can be
/// shown again where it was. Modeless.
class MouseHelpDialog : public QDialog {
    Q_OBJECT
public:
    explicit MouseHelpDialog(QWidget* parent = nullptr);
    ~MouseHelpDialog() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setupUi();
    void loadImage();

    QLabel* m_imageLabel;
    QPixmap m_pixmap;
};

} // namespace varnel
