#include "brask/core/ModelItemController.h"

#include "brask/core/Model.h"
#include "brask/core/ModelItem.h"
#include "brask/core/ModelItemView.h"
#include "brask/core/ModelRootItem.h"
#include "brask/core/View.h"
#include "brask/util/SelectionHelper.h"

#include <guimisc/UserDialogs.h>

#include <QDialog>
#include <QMainWindow>
#include <QMenu>

#include <algorithm>
#include <memory>

namespace mvc::core {

// --- commands -------------------------------------------------------------------------

ModelItemController::DeleteAllChildItemsCommand::DeleteAllChildItemsCommand(const QString& text,
                                                                            ModelItem* parent)
    : QUndoCommand(text), m_parent(parent)
{
    for (ModelItem* child : parent->childItems()) {
        m_children.emplace_back(child);
    }
}

ModelItemController::DeleteAllChildItemsCommand::~DeleteAllChildItemsCommand()
{
    if (!m_isInTree) {
        for (const QPointer<ModelItem>& child : m_children) {
            delete child.data();
        }
    }
}

std::vector<ModelItem*> ModelItemController::DeleteAllChildItemsCommand::liveChildren() const
{
    std::vector<ModelItem*> children;
    for (const QPointer<ModelItem>& child : m_children) {
        if (child) {
            children.push_back(child);
        }
    }
    return children;
}

void ModelItemController::DeleteAllChildItemsCommand::undo()
{
    if (!m_parent || m_isInTree) {
        return;
    }
    m_parent->attachChildrenAt(liveChildren(), 0);
    m_isInTree = true;
}

void ModelItemController::DeleteAllChildItemsCommand::redo()
{
    if (!m_parent || !m_isInTree) {
        return;
    }
    m_parent->detachChildren(liveChildren());
    m_isInTree = false;
}

namespace {

int indexInParent(const ModelItem* item)
{
    const ModelItem* parent = item->parentItem();
    if (!parent) {
        return -1;
    }
    const auto& children = parent->childItems();
    const auto it = std::find(children.begin(), children.end(), item);
    return it == children.end() ? -1 : static_cast<int>(it - children.begin());
}

// Moves the item by one place (-1 up, +1 down) and selects it; true when it moved.
bool moveBy(ModelItem* item, int step)
{
    ModelItem* parent = item ? item->parentItem() : nullptr;
    if (!parent) {
        return false;
    }
    const int before = indexInParent(item);
    if (step < 0) {
        parent->moveUpChild(item);
    } else {
        parent->moveDownChild(item);
    }
    const bool moved = indexInParent(item) != before;
    item->selectBrowserItem();
    return moved;
}

// Asks the Yes/No delete question (No by default); true unless the answer is No.
bool confirmDelete(QWidget* parent, const QString& question)
{
    return guimisc::UserDialogs::warning(parent, ModelItemController::tr("Warning"), question,
                                         QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::No;
}

} // namespace

ModelItemController::MoveCommand::MoveCommand(const QString& text, ModelItem* item, int step)
    : QUndoCommand(text), m_item(item), m_step(step)
{
}

void ModelItemController::MoveCommand::redo()
{
    m_hasMoved = moveBy(m_item, m_step);
}

void ModelItemController::MoveCommand::undo()
{
    if (m_hasMoved) {
        moveBy(m_item, -m_step);
        m_hasMoved = false;
    }
}

ModelItemController::UpdateViewCommand::UpdateViewCommand(QUndoCommand* command, Model* model)
    : WrapperCommandT(command), m_model(model)
{
}

void ModelItemController::UpdateViewCommand::undo()
{
    command()->undo();
    repaint();
}

void ModelItemController::UpdateViewCommand::redo()
{
    command()->redo();
    repaint();
}

void ModelItemController::UpdateViewCommand::repaint()
{
    if (!m_model) {
        return;
    }
    // The edit may change what any item paints (shared points): paint from the data.
    if (ModelRootItem* root = m_model->rootItem()) {
        root->view()->discardPaintCache();
    }
    if (View* view = m_model->view()) {
        view->update();
    }
}

// --- controller -----------------------------------------------------------------------

ModelItemController::ModelItemController(const ModelItem* item)
    : ModelItemController(item, nullptr)
{
}

ModelItemController::ModelItemController(const ModelItem* item,
                                         util::SelectionHelper* selectionHelper)
    : proj::ProjectItemController(item), m_selectionHelper(selectionHelper)
{
    m_rightClickMenu = new QMenu(item ? item->mainWindow() : nullptr);
}

ModelItemController::~ModelItemController()
{
    delete m_selectionHelper;
    delete m_rightClickMenu.data();
}

void ModelItemController::handleStandardItemChange() {}
void ModelItemController::handleStandardItemClicked() {}
void ModelItemController::handleStandardItemDoubleClicked() {}

void ModelItemController::informSelection(View* view)
{
    m_isSelected = true;
    doInformSelection(view);
}

void ModelItemController::informDeselection(View* view)
{
    m_isSelected = false;
    doInformDeselection(view);
}

void ModelItemController::addCustomMenuItems(QMenu*) {}
void ModelItemController::addToolBarButtons(QToolBar*) {}
void ModelItemController::appendAddActionToMenu(QMenu*) const {}

template <class Hook, class Event>
void ModelItemController::forwardToHelper(Hook hook, Event* event, View* view)
{
    if (m_selectionHelper) {
        updateSelectionHelper((m_selectionHelper->*hook)(event, view));
    }
}

void ModelItemController::keyPressEvent(QKeyEvent* event, View* view)
{
    forwardToHelper(&util::SelectionHelper::keyPressEvent, event, view);
}

void ModelItemController::keyReleaseEvent(QKeyEvent* event, View* view)
{
    forwardToHelper(&util::SelectionHelper::keyReleaseEvent, event, view);
}

void ModelItemController::mouseDoubleClickEvent(QMouseEvent* event, View* view)
{
    forwardToHelper(&util::SelectionHelper::mouseDoubleClickEvent, event, view);
}

void ModelItemController::mouseMoveEvent(QMouseEvent* event, View* view)
{
    forwardToHelper(&util::SelectionHelper::mouseMoveEvent, event, view);
}

void ModelItemController::mousePressEvent(QMouseEvent* event, View* view)
{
    forwardToHelper(&util::SelectionHelper::mousePressEvent, event, view);
}

void ModelItemController::mouseReleaseEvent(QMouseEvent* event, View* view)
{
    forwardToHelper(&util::SelectionHelper::mouseReleaseEvent, event, view);
}

void ModelItemController::wheelEvent(QWheelEvent* event, View* view)
{
    forwardToHelper(&util::SelectionHelper::wheelEvent, event, view);
}

void ModelItemController::restoreMouseCursorOnMainView(View*) {}

QDialog* ModelItemController::propertyDialog(QWidget*)
{
    return nullptr;
}

QMainWindow* ModelItemController::mainWindow() const
{
    return item() ? item()->mainWindow() : nullptr;
}

void ModelItemController::setup()
{
    if (m_rightClickMenu) {
        addCustomMenuItems(m_rightClickMenu);
    }
    setupCustom();
}

ModelItem* ModelItemController::item() const
{
    return const_cast<ModelItem*>(static_cast<const ModelItem*>(ProjectItemController::item()));
}

bool ModelItemController::isSelected() const
{
    return m_isSelected;
}

QMenu* ModelItemController::rightClickMenu() const
{
    return m_rightClickMenu;
}

util::SelectionHelper* ModelItemController::selectionHelper() const
{
    return m_selectionHelper;
}

void ModelItemController::updateView()
{
    if (View* view = mainView()) {
        view->updateView();
    }
}

void ModelItemController::moveUp()
{
    pushUpdateViewCommand(new MoveUpCommand(tr("Move up %1").arg(item()->itemTypeName()), item()));
}

void ModelItemController::moveDown()
{
    pushUpdateViewCommand(
        new MoveDownCommand(tr("Move down %1").arg(item()->itemTypeName()), item()));
}

void ModelItemController::deleteMe()
{
    if (confirmDelete(mainWindow(), tr("Are you sure you want to delete %1 %2?")
                                        .arg(item()->itemTypeName(), item()->caption()))) {
        deleteMeSilently();
    }
}

void ModelItemController::deleteMeSilently()
{
    pushUpdateViewCommand(
        deleteMeCommand(tr("Delete %1 %2").arg(item()->itemTypeName(), item()->caption())));
}

void ModelItemController::deleteAllChildItems()
{
    if (item()->childItems().empty()) {
        return;
    }
    if (confirmDelete(mainWindow(),
                      tr("Are you sure you want to delete all %1s?").arg(item()->itemTypeName()))) {
        deleteAllChildItemsSilently();
    }
}

void ModelItemController::deleteAllChildItemsSilently()
{
    pushUpdateViewCommand(new DeleteAllChildItemsCommand(
        tr("Delete all %1s").arg(item()->itemTypeName()), item()));
}

void ModelItemController::showPropertyDialog()
{
    std::unique_ptr<QDialog> dialog(propertyDialog(mainWindow()));
    if (dialog && dialog->exec() == QDialog::Accepted) {
        handlePropertyDialogAccepted(dialog.get());
    }
}

QUndoCommand* ModelItemController::deleteMeCommand(const QString& text)
{
    return new DeleteMeCommand(text, item());
}

QUndoCommand* ModelItemController::attachChildAtFrontCommand(const QString& text,
                                                             ModelItem* child)
{
    return new AttachChildAtFrontCommand(text, child, item());
}

void ModelItemController::doInformSelection(View*) {}
void ModelItemController::doInformDeselection(View*) {}
void ModelItemController::handlePropertyDialogAccepted(QDialog*) {}
void ModelItemController::setupCustom() {}

void ModelItemController::pushUpdateViewCommand(QUndoCommand* command)
{
    pushModifyCommand(new UpdateViewCommand(command, item()->model()));
}

void ModelItemController::pushAttachChildAtFrontCommand(const QString& text, ModelItem* child)
{
    pushUpdateViewCommand(attachChildAtFrontCommand(text, child));
}

void ModelItemController::updateSelectionHelper(guimisc::helper::SelectionHelper* next)
{
    auto helper = dynamic_cast<util::SelectionHelper*>(next);
    if (next && !helper) {
        // Only a mode of the main view can be installed; the one handed over is ours to drop.
        qDebug("ModelItemController: dropped a helper that is no selection helper of the main "
               "view");
        delete next;
        return;
    }
    if (!helper || helper == m_selectionHelper) {
        return;
    }
    std::vector<util::MainViewHelperI*>& painted = item()->view()->viewHelpers();
    if (m_selectionHelper) {
        for (const auto& old : m_selectionHelper->viewHelpers()) {
            painted.erase(std::remove(painted.begin(), painted.end(), old.get()), painted.end());
        }
    }
    delete m_selectionHelper;
    m_selectionHelper = helper;
    for (const auto& fresh : m_selectionHelper->viewHelpers()) {
        painted.push_back(fresh.get());
    }
    if (View* view = mainView()) {
        view->update();
    }
}

View* ModelItemController::mainView() const
{
    const Model* model = item() ? item()->model() : nullptr;
    return model ? model->view() : nullptr;
}

} // namespace mvc::core
