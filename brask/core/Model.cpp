#include "brask/core/Model.h"

#include "brask/core/ModelItem.h"

#include "brask/core/ModelItemController.h"
#include "brask/core/ModelItemView.h"
#include "brask/core/ModelRootItem.h"
#include "brask/core/ObjectBrowserView.h"
#include "brask/core/View.h"
#include "brask/proj/ProjectMainWindowI.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QMenu>
#include <QScopedValueRollback>
#include <QStandardItemModel>
#include <QToolBar>

#include <memory>

namespace mvc::core {

Model::Model(ObjectBrowserView* objectBrowserView, View* view, QMainWindow* mainWindow,
             proj::ProjectItem* parent)
    : proj::ProjectItem(parent), m_mainWindow(mainWindow), m_view(view),
      m_objectBrowserView(objectBrowserView), m_standardItemModel(new QStandardItemModel())
{
    QWidget* toolBarParent = projectMainWindow();
    if (!toolBarParent) {
        toolBarParent = mainWindow;
    }
    m_operationToolBar = new QToolBar(tr("Operation ToolBar"), toolBarParent);
    m_operationToolBar->setObjectName(QStringLiteral("mvc::core::Model::m_operationToolBar"));
    m_operationToolBar->setIconSize(QSize(16, 16));
    m_rightClickMenu = new QMenu(mainWindow);

    connect(m_standardItemModel, &QStandardItemModel::itemChanged, this,
            &Model::handleObjectBrowserChange);
    connect(m_standardItemModel, &QStandardItemModel::rowsAboutToBeRemoved, this,
            &Model::handleRowsAboutToBeRemoved);
    if (objectBrowserView) {
        objectBrowserView->setModel(m_standardItemModel);
        connect(objectBrowserView,
                QOverload<const QModelIndex&, const QPoint&>::of(&ObjectBrowserView::pressed),
                this, &Model::handleObjectBrowserPress);
        connect(objectBrowserView, &ObjectBrowserView::clicked, this,
                &Model::handleObjectBrowserClick);
        connect(objectBrowserView, &ObjectBrowserView::doubleClicked, this,
                &Model::handleObjectBrowserDoubleClick);
        connect(objectBrowserView, QOverload<>::of(&ObjectBrowserView::selectionChanged), this,
                &Model::handleObjectBrowserSelectionChange);
        connect(objectBrowserView, &ObjectBrowserView::itemSelected, this,
                &Model::handleObjectBrowserSelection);
        connect(objectBrowserView, &ObjectBrowserView::itemDeselected, this,
                &Model::handleObjectBrowserDeselection);
        connect(objectBrowserView, &ObjectBrowserView::captionEdited, this,
                &Model::handleCaptionEdit);
    }
}

Model::~Model()
{
    deleteRootItem();
    if (m_objectBrowserView) {
        m_objectBrowserView->disconnect(this);
        if (m_objectBrowserView->model() == m_standardItemModel) {
            m_objectBrowserView->setModel(nullptr);
        }
    }
    delete m_rightClickMenu;
    delete m_operationToolBar;
    delete m_standardItemModel;
}

void Model::loadFromProjectMainFile(const QDomElement& element)
{
    {
        const QScopedValueRollback<bool> reading(m_isLoading, true);
        proj::ProjectItem::loadFromProjectMainFile(element);
    }
    if (m_objectBrowserView) {
        m_objectBrowserView->collapseAll();
        if (m_rootItem) {
            m_rootItem->applyExpandState(m_objectBrowserView);
        }
    }
}

void Model::saveToProjectMainFile(QXmlStreamWriter* writer)
{
    if (m_rootItem && m_objectBrowserView) {
        m_rootItem->saveExpandState(m_objectBrowserView);
    }
    proj::ProjectItem::saveToProjectMainFile(writer);
}

std::vector<std::string> Model::containedFiles() const
{
    return m_rootItem ? m_rootItem->containedFiles() : std::vector<std::string>();
}

void Model::showRightClickMenu(const QPoint& pos)
{
    if (!m_selectedItem) {
        return;
    }
    QMenu* menu = m_selectedItem->controller()->rightClickMenu();
    if (menu && !menu->isEmpty()) {
        menu->move(pos);
        menu->show();
    }
}

ModelRootItem* Model::rootItem() const
{
    return m_rootItem;
}

void Model::deleteRootItem()
{
    if (!m_rootItem) {
        return;
    }
    unbindSelection();
    ModelRootItem* root = m_rootItem;
    m_rootItem = nullptr;
    delete root;
}

ObjectBrowserView* Model::objectBrowserView() const
{
    return m_objectBrowserView;
}

View* Model::view() const
{
    return m_view;
}

QMainWindow* Model::mainWindow() const
{
    return m_mainWindow;
}

QToolBar* Model::operationToolBar() const
{
    return m_operationToolBar;
}

QMenu* Model::rightClickMenu() const
{
    return m_rightClickMenu;
}

QStandardItemModel* Model::standardItemModel() const
{
    return m_standardItemModel;
}

ModelItem* Model::selectedItem() const
{
    return m_selectedItem;
}

void Model::select(ModelItem* item)
{
    if (!item || !item->browserItem() || !m_objectBrowserView
        || item->browserItem()->model() != m_standardItemModel) {
        return;
    }
    m_objectBrowserView->select(item->browserItem()->index());
}

QRectF Model::boundingBox() const
{
    return m_rootItem ? m_rootItem->boundingBox() : QRectF();
}

void Model::paintMainView(QPainter* painter, const QTransform& transform, const QRectF& rect)
{
    if (m_rootItem) {
        m_rootItem->view()->paintMainView(painter, transform, rect);
    }
}

bool Model::preparePaintMainView(const QTransform& transform, const QRectF& rect)
{
    return m_rootItem ? m_rootItem->view()->preparePaintMainView(transform, rect) : true;
}

void Model::setRootItem(ModelRootItem* rootItem)
{
    m_rootItem = rootItem;
}

void Model::doLoadFromProjectMainFile(const QDomElement& element)
{
    if (m_rootItem) {
        m_rootItem->loadFromProjectMainFile(element);
    }
}

void Model::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    if (m_rootItem) {
        m_rootItem->saveToProjectMainFile(writer);
    }
}

void Model::handleObjectBrowserSelectionChange()
{
    repaintMainView();
}

ModelItem* Model::itemOf(const QModelIndex& index) const
{
    if (!m_rootItem || !index.isValid()) {
        return nullptr;
    }
    return m_rootItem->fromBrowserItem(m_standardItemModel->itemFromIndex(index));
}

void Model::repaintMainView()
{
    if (m_view) {
        m_view->update();
    }
}

namespace {

// Adds a separator unless the menu is empty or already ends with one.
void separate(QMenu* menu)
{
    const QList<QAction*> actions = menu->actions();
    if (!actions.isEmpty() && !actions.last()->isSeparator()) {
        menu->addSeparator();
    }
}

} // namespace

void Model::handleObjectBrowserPress(const QModelIndex& index, const QPoint& globalPos)
{
    if (QApplication::mouseButtons() != Qt::RightButton) {
        return;
    }
    ModelItem* item = itemOf(index);
    if (!item || !m_rightClickMenu) {
        return;
    }
    ModelItemController* controller = item->controller();
    m_rightClickMenu->clear();
    controller->addCustomMenuItems(m_rightClickMenu);
    if (m_objectBrowserView) {
        if (item->isReorderable()) {
            separate(m_rightClickMenu);
            m_rightClickMenu->addAction(m_objectBrowserView->moveUpAction());
            m_rightClickMenu->addAction(m_objectBrowserView->moveDownAction());
        }
        if (item->isDeletable()) {
            separate(m_rightClickMenu);
            m_rightClickMenu->addAction(m_objectBrowserView->deleteAction());
        }
        if (std::unique_ptr<QDialog> probe{controller->propertyDialog(nullptr)}) {
            separate(m_rightClickMenu);
            m_rightClickMenu->addAction(m_objectBrowserView->propertyAction());
        }
    }
    // The controller's entries may bring separators of their own: none is left at either
    // end, and never two in a row.
    const auto drop = [this](QAction* separator) {
        m_rightClickMenu->removeAction(separator);
        if (separator->parent() == m_rightClickMenu) {
            delete separator;
        }
    };
    bool afterSeparator = true;
    for (QAction* action : m_rightClickMenu->actions()) {
        const bool isSeparator = action->isSeparator();
        if (isSeparator && afterSeparator) {
            drop(action);
        }
        afterSeparator = isSeparator;
    }
    while (!m_rightClickMenu->actions().isEmpty()
           && m_rightClickMenu->actions().last()->isSeparator()) {
        drop(m_rightClickMenu->actions().last());
    }
    m_rightClickMenu->move(globalPos);
    m_rightClickMenu->show();
}

void Model::handleObjectBrowserClick(const QModelIndex& index)
{
    if (ModelItem* item = itemOf(index)) {
        item->controller()->handleStandardItemClicked();
    }
}

void Model::handleObjectBrowserDoubleClick(const QModelIndex& index)
{
    if (ModelItem* item = itemOf(index)) {
        item->controller()->handleStandardItemDoubleClicked();
    }
}

void Model::handleObjectBrowserChange(QStandardItem* row)
{
    // Rows take their text and check state while the tree is read: no edit of the user's,
    // and a controller built for it would start from an item not read yet.
    if (!m_rootItem || m_isLoading) {
        return;
    }
    if (ModelItem* item = m_rootItem->fromBrowserItem(row)) {
        item->controller()->handleStandardItemChange();
        if (m_view) {
            m_view->updateView();
        }
    }
}

void Model::handleCaptionEdit(const QModelIndex& index)
{
    if (index.model() != m_standardItemModel) {
        return;
    }
    if (ModelItem* item = itemOf(index)) {
        item->setModified(true);
    }
}

void Model::handleObjectBrowserSelection(const QModelIndex& index)
{
    ModelItem* item = itemOf(index);
    if (!item) {
        return;
    }
    // The view reports no deselection of a row that vanished with an ancestor.
    if (m_selectedItem != item) {
        unbindSelection();
    }
    ModelItemController* controller = item->controller();
    controller->informSelection(m_view);
    m_selectedItem = item;
    if (m_objectBrowserView) {
        m_objectBrowserView->connectActions(item);
    }
    if (proj::ProjectMainWindowI* window = projectMainWindow(); window && m_operationToolBar) {
        window->addToolBar(m_operationToolBar);
        m_operationToolBar->show();
    }
    updateOperationToolBar(index);
}

void Model::handleObjectBrowserDeselection(const QModelIndex&)
{
    unbindSelection();
}

void Model::handleRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last)
{
    if (!m_selectedItem || !m_selectedItem->browserItem()
        || m_selectedItem->browserItem()->model() != m_standardItemModel) {
        return;
    }
    // The selected row goes when it or one of its ancestors does; the view only tells about
    // the first case.
    for (QModelIndex index = m_selectedItem->browserItem()->index(); index.isValid();
         index = index.parent()) {
        if (index.parent() == parent && index.row() >= first && index.row() <= last) {
            unbindSelection();
            return;
        }
    }
}

void Model::unbindSelection()
{
    if (!m_selectedItem) {
        return;
    }
    ModelItem* selected = m_selectedItem;
    m_selectedItem = nullptr;
    selected->controller()->informDeselection(m_view);
    if (m_objectBrowserView) {
        m_objectBrowserView->disconnectActions();
    }
}

void Model::updateOperationToolBar(const QModelIndex& index)
{
    ModelItem* item = itemOf(index);
    if (!item || !m_operationToolBar) {
        return;
    }
    m_operationToolBar->clear();
    item->controller()->addToolBarButtons(m_operationToolBar);
}

} // namespace mvc::core
