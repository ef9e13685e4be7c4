#include "movarin/shell/MainWindow.h"

#include "brask/window/ProjectMdiArea.h"
#include "movarin/shell/Project.h"

#include <QMenuBar>

namespace varnel {

MainWindow::MainWindow(QWidget* parent)
    : mvc::proj::ProjectMainWindowI(parent), m_workspace(new ProjectWorkspace(this)),
      m_locale(QLocale::system()), m_mdiArea(new mvc::window::ProjectMdiArea(this))
{
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setActivationOrder(QMdiArea::CreationOrder);
    setCentralWidget(m_mdiArea);
}

MainWindow::~MainWindow()
{
    // The commands on the stack and the windows refer to the project's items: they go
    // first, then the project, while the catalogue its property borrows from still exists.
    m_undoStack.clear();
    m_mdiArea->closeAllSubWindows();
    delete m_project;
    m_project = nullptr;
}

ProjectWorkspace* MainWindow::workspace()
{
    return m_workspace;
}

mvc::proj::VersionNumber MainWindow::versionNumber() const
{
    return m_versionNumber;
}

QLocale MainWindow::locale() const
{
    return m_locale;
}

QUndoStack* MainWindow::undoStack()
{
    return &m_undoStack;
}

mvc::window::ProjectMdiArea* MainWindow::mdiArea() const
{
    return m_mdiArea;
}

const guiproj::EllipseToPlaneProjectionPairBuilder* MainWindow::projectionPairBuilder() const
{
    return &m_projectionPairBuilder;
}

Project* MainWindow::project() const
{
    return m_project;
}

void MainWindow::enterModelessDialogMode()
{
    if (QWidget* menu = menuWidget()) {
        menu->setEnabled(false);
    }
}

void MainWindow::exitModelessDialogMode()
{
    if (QWidget* menu = menuWidget()) {
        menu->setEnabled(true);
    }
}

} // namespace varnel
