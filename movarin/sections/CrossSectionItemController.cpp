#include "movarin/sections/CrossSectionItemController.h"

#include "movarin/sections/CrossSectionDialog.h"
#include "movarin/sections/CrossSectionItemControllerDeleteMeCommand.h"
#include "movarin/sections/CrossSectionItemControllerEditCommand.h"
#include "movarin/sections/CrossSectionItemControllerEntranceSelectionHelper.h"
#include "movarin/sections/CrossSectionItemControllerVoidSelectionHelper.h"
#include "movarin/sections/CrossSectionItemPathPropertyDialog.h"
#include "movarin/shell/EditModeMainWindow.h"

#include "brask/core/Model.h"
#include "brask/core/ObjectBrowserView.h"
#include "brask/core/View.h"


#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStandardItem>

#include <memory>
#include <stdexcept>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = CrossSectionItemController;

namespace {

mvc::core::View* mainViewOf(const mvc::core::ModelItem* item)
{
    const mvc::core::Model* model = item->model();
    return model ? model->view() : nullptr;
}

/// Throws unless 0 <= index < count.
void checkIndex(int index, std::size_t count)
{
    if (index < 0 || static_cast<std::size_t>(index) >= count) {
        throw std::out_of_range("Path point index out of range.");
    }
}

} // namespace

CrossSectionItemController::CrossSectionItemController(const CrossSectionItem* item)
    : GuardedItemControllerT(item, new VoidSelectionHelper(this)),
      m_showAction(new QAction(tr("Show cross section"), this)),
      m_editNameAction(new QAction(tr("Edit name"), this)),
      m_editPathAction(new QAction(tr("Edit Path"), this))
{
    connect(m_showAction, &QAction::triggered, this, &Self::showCrossSectionDialog);
    connect(m_editNameAction, &QAction::triggered, this, &Self::editName);
    connect(m_editPathAction, &QAction::triggered, this, &Self::showPathPropertyDialog);
    updateSelectionHelper(new EntranceSelectionHelper(*activeHelper()));
}

CrossSectionItemController::~CrossSectionItemController()
{
    // Only when the section goes with its window open (a project closed): the window must
    // not outlive the section it shows.
    if (m_subWindow) {
        delete m_subWindow.data();
    } else {
        delete m_dialog.data();
    }
}

CrossSectionItemController::SelectionHelper* CrossSectionItemController::activeHelper() const
{
    return dynamic_cast<SelectionHelper*>(selectionHelper());
}

void CrossSectionItemController::handleStandardItemChange()
{
    if (QStandardItem* row = item()->browserItem()) {
        item()->setName(row->text());
    }
}

void CrossSectionItemController::addCustomMenuItems(QMenu* menu)
{
    menu->addAction(m_showAction);
    menu->addAction(m_editNameAction);
    menu->addAction(m_editPathAction);
}

void CrossSectionItemController::closeCrossSectionWindow()
{
    // Forgotten first: closing runs the dialog's close handler, which comes back here.
    const QPointer<QMdiSubWindow> subWindow = m_subWindow;
    const QPointer<CrossSectionDialog> dialog = m_dialog;
    m_subWindow = nullptr;
    m_dialog = nullptr;
    QWidget* window = subWindow ? static_cast<QWidget*>(subWindow.data()) : dialog.data();
    if (!window) {
        return;
    }
    window->close();
    // A close handler may be on the stack (the user closed the window): the objects go
    // only when control is back in the event loop. The dialog goes with its sub-window.
    window->deleteLater();
}

void CrossSectionItemController::pushEditCommand(const std::vector<tin::core::Point2D>& path)
{
    if (path.empty()) {
        return;
    }
    const CrossSectionItem* section = item();
    if (path.front().x() == section->startX() && path.front().y() == section->startY()
        && path.back().x() == section->endX() && path.back().y() == section->endY()) {
        return;
    }
    pushUpdateViewCommand(new EditCommand(path, item()));
}

std::vector<tin::core::Point2D> CrossSectionItemController::editedPath() const
{
    return activeHelper()->editedPath();
}

void CrossSectionItemController::insertPathPoint(int index, const tin::core::Point2D& point)
{
    std::vector<tin::core::Point>& path = activeHelper()->workingPath();
    checkIndex(index, path.size() + 1);
    path.insert(path.begin() + index, tin::core::Point(point.x(), point.y()));
}

void CrossSectionItemController::removePathPoint(int index)
{
    std::vector<tin::core::Point>& path = activeHelper()->workingPath();
    checkIndex(index, path.size());
    path.erase(path.begin() + index);
}

void CrossSectionItemController::setPathPoint(int index, const tin::core::Point2D& point)
{
    std::vector<tin::core::Point>& path = activeHelper()->workingPath();
    checkIndex(index, path.size());
    path[index].setPosition(point.x(), point.y());
}

CrossSectionDialog* CrossSectionItemController::crossSectionDialog() const
{
    return m_dialog;
}

QMdiSubWindow* CrossSectionItemController::crossSectionSubWindow() const
{
    return m_subWindow;
}

bool CrossSectionItemController::hasRepeatedPosition(const std::vector<tin::core::Point2D>& path)
{
    for (std::size_t i = 0; i < path.size(); ++i) {
        for (std::size_t j = i + 1; j < path.size(); ++j) {
            if (path[i].x() == path[j].x() && path[i].y() == path[j].y()) {
                return true;
            }
        }
    }
    return false;
}

void CrossSectionItemController::editName()
{
    guarded([&] {
        const mvc::core::Model* model = item()->model();
        mvc::core::ObjectBrowserView* browser = model ? model->objectBrowserView() : nullptr;
        QStandardItem* row = item()->browserItem();
        if (browser && row) {
            browser->setCurrentIndex(row->index());
            browser->edit(row->index());
        }
    });
}

void CrossSectionItemController::showCrossSectionDialog()
{
    guarded([&] {
        if (!m_dialog) {
            QMainWindow* window = mainWindow();
            auto projectWindow = qobject_cast<EditModeMainWindow*>(window);
            QMdiArea* area = projectWindow ? projectWindow->mdiArea() : nullptr;
            QWidget* parent = window ? window->centralWidget() : nullptr;
            auto dialog = new CrossSectionDialog(item(), parent);
            m_dialog = dialog;
            const QString title = tr("Cross Section Window: %1").arg(item()->name());
            if (area) {
                m_subWindow = area->addSubWindow(dialog);
                m_subWindow->setWindowTitle(title);
            } else {
                dialog->setWindowTitle(title);
            }
        }
        QWidget* window = m_subWindow ? static_cast<QWidget*>(m_subWindow.data()) : m_dialog.data();
        window->show();
        window->raise();
        window->activateWindow();
        if (m_subWindow && m_subWindow->mdiArea()) {
            m_subWindow->mdiArea()->setActiveSubWindow(m_subWindow);
        }
    });
}

void CrossSectionItemController::closeCrossSectionDialog()
{
    closeCrossSectionWindow();
}

void CrossSectionItemController::clearSelection()
{
    SelectionHelper* helper = activeHelper();
    helper->cancel(mainViewOf(item()));
    helper->resetPath();
}

void CrossSectionItemController::deleteMeSilently()
{
    GuardedItemControllerT::deleteMeSilently();
}

void CrossSectionItemController::showPathPropertyDialog()
{
    guarded([&] {
        auto dialog = std::make_unique<CrossSectionItemPathPropertyDialog>(mainWindow());
        dialog->setController(this);
        if (dialog->exec() == QDialog::Accepted) {
            pushEditCommand(editedPath());
            // The table may have held more than two points: the path shown from now on is
            // the section's.
            clearSelection();
        } else {
            activeHelper()->resetPath();
        }
    });
}

QUndoCommand* CrossSectionItemController::deleteMeCommand(const QString& text)
{
    return new DeleteMeCommand(text, item());
}

void CrossSectionItemController::doInformSelection(mvc::core::View*)
{
    // A section just selected is edited from what it now is.
    clearSelection();
}

} // namespace varnel
