#include "movarin/shell/MainWindowMiscDialogManager.h"

#include "brask/window/ProjectWindow.h"
#include "movarin/sections/DrawAuxiliaryDialog.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/MainWindowAboutDialog.h"
#include "movarin/shell/MouseHelpDialog.h"
#include "movarin/shell/Project.h"

namespace varnel {

MainWindowMiscDialogManager::MainWindowMiscDialogManager(MainWindow* mainWindow)
    : QObject(mainWindow), m_mainWindow(mainWindow),
      m_aboutDialog(new MainWindowAboutDialog(mainWindow))
{
}

MainWindowMiscDialogManager::~MainWindowMiscDialogManager() = default;

void MainWindowMiscDialogManager::setApplicationInfo(const QDomElement& root)
{
    m_aboutDialog->setApplicationInfo(root);
}

MainWindowAboutDialog* MainWindowMiscDialogManager::aboutDialog() const
{
    return m_aboutDialog;
}

DrawAuxiliaryDialog* MainWindowMiscDialogManager::drawAuxiliaryDialog() const
{
    return m_drawAuxiliaryDialog;
}

MouseHelpDialog* MainWindowMiscDialogManager::mouseHelpDialog() const
{
    return m_mouseHelpDialog;
}

void MainWindowMiscDialogManager::showAboutDialog()
{
    m_aboutDialog->exec();
}

void MainWindowMiscDialogManager::showDrawAuxiliaryDialog()
{
    // The dialog is a child of the window it was made for: it goes with that window.
    if (!m_drawAuxiliaryDialog) {
        Project* project = m_mainWindow->project();
        mvc::window::ProjectWindow* window = project ? project->projectWindow() : nullptr;
        if (!window) {
            return;
        }
        m_drawAuxiliaryDialog = new DrawAuxiliaryDialog(window);
    }
    m_drawAuxiliaryDialog->exec();
}

void MainWindowMiscDialogManager::showMouseHelpDialog()
{
    if (!m_mouseHelpDialog) {
        m_mouseHelpDialog = new MouseHelpDialog(m_mainWindow);
    }
    m_mouseHelpDialog->show();
    m_mouseHelpDialog->raise();
    m_mouseHelpDialog->activateWindow();
}

} // namespace varnel
