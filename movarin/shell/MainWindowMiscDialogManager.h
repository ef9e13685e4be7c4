#pragma once

#include <QObject>
#include <QPointer>

class QDomElement;

namespace varnel {

class DrawAuxiliaryDialog;
class MainWindow;
class MainWindowAboutDialog;
class MouseHelpDialog;

/// The small dialogs of the Help and Tool menus: the About box, the "Draw lines and
/// points" tool and the Mouse Hint window.
///
/// - The About box is made with the manager (parent: the main window), filled once by
///   `setApplicationInfo` and run modally by `showAboutDialog`.
/// - The draw dialog is made on first use with the open project's window as parent and
///   reused while that window lives, so what the user entered stays between uses; after the
///   window went (another project was opened) the next use makes a new one.
/// - The Mouse Hint window is one for the whole program, made on first use with the main
///   window as parent and shown without blocking.
///
/// A Qt child of the main window; the dialogs belong to their Qt parents.
class MainWindowMiscDialogManager : public QObject {
    Q_OBJECT
public:
    explicit MainWindowMiscDialogManager(MainWindow* mainWindow);
    ~MainWindowMiscDialogManager() override;

    void setApplicationInfo(const QDomElement& root);

    MainWindowAboutDialog* aboutDialog() const;
    /// The draw dialog, or null while none was made or its window went.
    DrawAuxiliaryDialog* drawAuxiliaryDialog() const;
    /// The Mouse Hint window, or null before its first use.
    MouseHelpDialog* mouseHelpDialog() const;

public slots:
    void showAboutDialog();
    /// Does nothing while no project window exists.
    void showDrawAuxiliaryDialog();
    void showMouseHelpDialog();

private:
    MainWindow* m_mainWindow;
    MainWindowAboutDialog* m_aboutDialog;
    QPointer<DrawAuxiliaryDialog> m_drawAuxiliaryDialog;
    QPointer<MouseHelpDialog> m_mouseHelpDialog;
};

} // namespace varnel
