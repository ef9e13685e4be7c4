#include "guimisc/WindowConfigurationManager.h"

#include <QMainWindow>
#include <QMdiSubWindow>

namespace guimisc {

WindowConfigurationManager::WindowConfigurationManager(QMainWindow* mainWindow)
    : m_mainWindow(mainWindow)
{
}

WindowConfigurationManager::~WindowConfigurationManager() = default;

void WindowConfigurationManager::init(QMdiSubWindow* subWindow)
{
    if (subWindow == nullptr) {
        return;
    }
    m_entries[subWindow] = Entry{subWindow, subWindow->geometry()};
}

void WindowConfigurationManager::restoreConfiguration(QMdiSubWindow* subWindow)
{
    const auto it = m_entries.find(subWindow);
    if (it == m_entries.end()) {
        return;
    }
    if (it->second.window.isNull()) {
        // The remembered window is gone; this is another one at the same address.
        m_entries.erase(it);
        return;
    }
    if (subWindow->width() <= 0 || subWindow->height() <= 0) {
        subWindow->setGeometry(it->second.geometry);
    }
}

} // namespace guimisc
