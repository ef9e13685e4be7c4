#include "brask/core/ObjectBrowserView.h"

#include "brask/core/ModelItem.h"
#include "brask/core/ModelItemController.h"

#include <QAction>
#include <QMouseEvent>
#include <QStandardItem>

namespace mvc::core {

ObjectBrowserView::ObjectBrowserView(QWidget* parent) : QTreeView(parent)
{
    m_moveUpAction = new QAction(QIcon(QStringLiteral(":/libs/mvc/images/iconItemMoveUp.png")),
                                 tr("Move up"), this);
    m_moveDownAction = new QAction(
        QIcon(QStringLiteral(":/libs/mvc/images/iconItemMoveDown.png")), tr("Move down"), this);
    m_deleteAction = new QAction(QIcon(QStringLiteral(":/libs/mvc/images/iconDeleteItem.png")),
                                 tr("Delete"), this);
    m_propertyAction = new QAction(QIcon(QStringLiteral(":/libs/mvc/images/iconProperty.png")),
                                   tr("Property"), this);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    connect(this, QOverload<const QModelIndex&>::of(&QAbstractItemView::pressed), this,
            &ObjectBrowserView::handlePress);
}

ObjectBrowserView::~ObjectBrowserView() = default;

QAction* ObjectBrowserView::moveUpAction() const
{
    return m_moveUpAction;
}

QAction* ObjectBrowserView::moveDownAction() const
{
    return m_moveDownAction;
}

QAction* ObjectBrowserView::deleteAction() const
{
    return m_deleteAction;
}

QAction* ObjectBrowserView::propertyAction() const
{
    return m_propertyAction;
}

void ObjectBrowserView::connectActions(ModelItem* item)
{
    ModelItemController* controller = item->controller();
    if (QStandardItem* row = item->browserItem(); row && row->parent()) {
        if (row->row() != 0) {
            connect(m_moveUpAction, &QAction::triggered, controller, &ModelItemController::moveUp);
        } else {
            m_moveUpAction->setEnabled(false);
        }
        if (row->row() == row->parent()->rowCount() - 1) {
            m_moveDownAction->setEnabled(false);
        } else {
            connect(m_moveDownAction, &QAction::triggered, controller,
                    &ModelItemController::moveDown);
        }
    }
    if (item->isDeletable()) {
        connect(m_deleteAction, &QAction::triggered, controller, &ModelItemController::deleteMe);
    }
    connect(m_propertyAction, &QAction::triggered, controller,
            &ModelItemController::showPropertyDialog);
}

bool ObjectBrowserView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool editing = QTreeView::edit(index, trigger, event);
    if (editing) {
        // One editor at a time: a new one commits or drops the one before.
        m_editedIndex = index;
        m_captionBeforeEdit = index.data(Qt::EditRole).toString();
    }
    return editing;
}

void ObjectBrowserView::commitData(QWidget* editor)
{
    const QPersistentModelIndex index = m_editedIndex;
    const QString before = m_captionBeforeEdit;
    QTreeView::commitData(editor);
    if (index.isValid() && index.data(Qt::EditRole).toString() != before) {
        m_captionBeforeEdit = index.data(Qt::EditRole).toString();
        emit captionEdited(index);
    }
}

void ObjectBrowserView::disconnectActions()
{
    for (QAction* action : {m_moveUpAction, m_moveDownAction, m_deleteAction, m_propertyAction}) {
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        action->setEnabled(true);
    }
}

void ObjectBrowserView::select(const QModelIndex& index)
{
    if (!selectionModel()) {
        return;
    }
    selectionModel()->clearSelection();
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::SelectCurrent);
}

void ObjectBrowserView::handlePress(const QModelIndex& index)
{
    emit pressed(index, m_pressGlobalPos);
}

void ObjectBrowserView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // The tree view's own handling is left out on purpose: the model reacts to these.
    if (previous.isValid()) {
        emit itemDeselected(previous);
    }
    if (current.isValid()) {
        emit itemSelected(current);
    }
    emit selectionChanged();
}

void ObjectBrowserView::mousePressEvent(QMouseEvent* event)
{
    m_pressGlobalPos = event->globalPos();
    QTreeView::mousePressEvent(event);
}

} // namespace mvc::core
