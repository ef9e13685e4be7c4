#include "brask/core/ModelItem.h"

#include "brask/core/Model.h"
#include "brask/core/ModelItemController.h"
#include "brask/core/ModelItemView.h"
#include "brask/core/ObjectBrowserView.h"

#include <guimisc/xml/XmlSupport.h>

#include <QCoreApplication>
#include <QDomElement>
#include <QIcon>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QXmlStreamWriter>

#include <algorithm>
#include <stdexcept>

namespace mvc::core {

using guimisc::xml::XmlSupport;

ModelItem::ModelItem(const QString& caption, ModelItem* parent, int options)
    : proj::ProjectItem(parent)
{
    m_standardItem = new QStandardItem(caption);
    m_standardItem->setCheckable(true);
    m_standardItem->setCheckState(Qt::Checked);
    m_standardItem->setEditable((options & CaptionEditable) != 0);
    m_isDeletable = (options & Deletable) != 0;
    m_isReorderable = (options & Reorderable) != 0;
    m_isAttachedToModel = true;
    if (parent && parent->m_standardItem) {
        parent->m_standardItem->appendRow(m_standardItem);
    }
}

ModelItem::ModelItem(const QIcon& icon, const QString& caption, ModelItem* parent, int options)
    : ModelItem(caption, parent, options)
{
    m_standardItem->setIcon(icon);
}

ModelItem::ModelItem(StandardIcon icon, const QString& caption, ModelItem* parent, int options)
    : ModelItem(caption, parent, options)
{
    if (icon == FolderIcon) {
        m_standardItem->setIcon(QIcon(QStringLiteral(":/libs/mvc/images/iconFolder.png")));
    } else if (icon == PaperIcon) {
        m_standardItem->setIcon(QIcon(QStringLiteral(":/libs/mvc/images/iconPaper.png")));
    }
}

ModelItem::ModelItem(ModelItem* parent) : proj::ProjectItem(parent) {}

ModelItem::~ModelItem()
{
    clearChildItems();
    // Detached items (held by undo commands) still hang here by their Qt parent; they go
    // now, while this is still an item they can unregister from.
    const QObjectList children = QObject::children();
    for (QObject* child : children) {
        if (auto item = qobject_cast<ModelItem*>(child)) {
            delete item;
        }
    }
    if (ModelItem* up = parentItem()) {
        up->unregisterChild(this);
    }
    removeOwnRow();
    delete m_controller;
    m_controller = nullptr;
    delete m_view;
    m_view = nullptr;
}

void ModelItem::removeOwnRow()
{
    if (!m_standardItem) {
        return;
    }
    QStandardItem* row = m_standardItem;
    m_standardItem = nullptr;
    if (QStandardItem* parentRow = row->parent()) {
        if (parentRow->child(row->row()) == row) {
            parentRow->removeRow(row->row());
            return;
        }
    } else if (QStandardItemModel* itemModel = row->model()) {
        if (itemModel->item(row->row()) == row) {
            itemModel->removeRow(row->row());
            return;
        }
    }
    delete row;
}

void ModelItem::loadFromProjectMainFile(const QDomElement& element)
{
    loadState(element);
    proj::ProjectItem::loadFromProjectMainFile(element);
}

void ModelItem::saveToProjectMainFile(QXmlStreamWriter* writer)
{
    saveState(writer);
    proj::ProjectItem::saveToProjectMainFile(writer);
}

std::vector<std::string> ModelItem::containedFiles() const
{
    std::vector<std::string> files = proj::ProjectItem::containedFiles();
    for (const ModelItem* child : m_childItems) {
        const std::vector<std::string> childFiles = child->containedFiles();
        files.insert(files.end(), childFiles.begin(), childFiles.end());
    }
    return files;
}

void ModelItem::updateItemMap()
{
    if (ModelItem* up = parentItem()) {
        up->updateItemMap();
    }
}

QString ModelItem::itemTypeName() const
{
    return QCoreApplication::translate("mvc::core::ModelItem", "Item");
}

Model* ModelItem::model() const
{
    const ModelItem* up = parentItem();
    return up ? up->model() : nullptr;
}

bool ModelItem::isAncientChecked() const
{
    const ModelItem* up = parentItem();
    if (!up || !up->m_standardItem) {
        return true;
    }
    if (up->m_standardItem->isCheckable() && up->m_standardItem->checkState() == Qt::Unchecked) {
        return false;
    }
    return up->isAncientChecked();
}

void ModelItem::unregisterChild(ModelItem* child)
{
    const auto it = std::find(m_childItems.begin(), m_childItems.end(), child);
    if (it != m_childItems.end()) {
        m_childItems.erase(it);
    }
    updateItemMap();
}

QRectF ModelItem::myBoundingBox() const
{
    return QRectF();
}

ModelItemView* ModelItem::buildView() const
{
    return new ModelItemView(this);
}

ModelItemController* ModelItem::buildController() const
{
    return new ModelItemController(this);
}

int ModelItem::indexOf(const ModelItem* child) const
{
    const auto it = std::find(m_childItems.begin(), m_childItems.end(), child);
    return it == m_childItems.end() ? -1 : static_cast<int>(it - m_childItems.begin());
}

void ModelItem::attachChildAt(ModelItem* child, int index)
{
    if (!child || child == this) {
        throw std::invalid_argument("ModelItem::attachChildAt: no child to attach");
    }
    if (indexOf(child) >= 0) {
        throw std::invalid_argument("ModelItem::attachChildAt: the item is attached already");
    }
    QStandardItem* row = child->m_standardItem;
    if (row && (row->parent() || row->model())) {
        throw std::invalid_argument(
            "ModelItem::attachChildAt: the child's row still hangs under another row");
    }
    index = std::clamp(index, 0, static_cast<int>(m_childItems.size()));
    if (m_standardItem && row) {
        // Rows of row-less children are not counted: find the row before which to insert.
        int rowIndex = m_standardItem->rowCount();
        for (int i = index; i < static_cast<int>(m_childItems.size()); ++i) {
            if (QStandardItem* next = m_childItems[i]->m_standardItem;
                next && next->parent() == m_standardItem) {
                rowIndex = next->row();
                break;
            }
        }
        m_standardItem->insertRow(rowIndex, row);
    }
    m_childItems.insert(m_childItems.begin() + index, child);
    child->m_isAttachedToModel = true;
    updateItemMap();
}

void ModelItem::attachChildAtBack(ModelItem* child)
{
    attachChildAt(child, static_cast<int>(m_childItems.size()));
}

void ModelItem::attachChildAtFront(ModelItem* child)
{
    attachChildAt(child, 0);
}

void ModelItem::detachChild(ModelItem* child)
{
    const int index = indexOf(child);
    if (index < 0) {
        return;
    }
    QStandardItem* row = child->m_standardItem;
    if (m_standardItem && row && row->parent() == m_standardItem) {
        // takeRow hands back the row object without deleting it; it stays with the child.
        m_standardItem->takeRow(row->row());
    }
    m_childItems.erase(m_childItems.begin() + index);
    child->m_isAttachedToModel = false;
    updateItemMap();
}

void ModelItem::deleteChild(ModelItem* child)
{
    if (indexOf(child) < 0) {
        return;
    }
    detachChild(child);
    delete child;
}

void ModelItem::moveUpChild(ModelItem* child)
{
    const int index = indexOf(child);
    if (index <= 0) {
        return;
    }
    detachChild(child);
    attachChildAt(child, index - 1);
}

void ModelItem::moveDownChild(ModelItem* child)
{
    const int index = indexOf(child);
    if (index < 0 || index + 1 >= static_cast<int>(m_childItems.size())) {
        return;
    }
    detachChild(child);
    attachChildAt(child, index + 1);
}

const std::vector<ModelItem*>& ModelItem::childItems() const
{
    return m_childItems;
}

std::set<QString> ModelItem::childItemCaptions() const
{
    std::set<QString> captions;
    for (const ModelItem* child : m_childItems) {
        captions.insert(child->caption());
    }
    return captions;
}

ModelItem* ModelItem::parentItem() const
{
    return qobject_cast<ModelItem*>(QObject::parent());
}

QStandardItem* ModelItem::browserItem() const
{
    return m_standardItem;
}

QString ModelItem::caption() const
{
    return m_standardItem ? m_standardItem->text() : QString();
}

bool ModelItem::isChecked() const
{
    return !m_standardItem || m_standardItem->checkState() == Qt::Checked;
}

void ModelItem::setChecked()
{
    if (m_standardItem) {
        m_standardItem->setCheckState(Qt::Checked);
    }
}

void ModelItem::setUnchecked()
{
    if (m_standardItem) {
        m_standardItem->setCheckState(Qt::Unchecked);
    }
}

bool ModelItem::isDeletable() const
{
    return m_isDeletable;
}

bool ModelItem::isReorderable() const
{
    return m_isReorderable;
}

bool ModelItem::isAttachedToModel() const
{
    return m_isAttachedToModel;
}

void ModelItem::setAttachedToModel(bool attached)
{
    m_isAttachedToModel = attached;
}

void ModelItem::selectBrowserItem()
{
    if (Model* m = model()) {
        m->select(this);
    }
}

void ModelItem::expandBrowserItem()
{
    const Model* m = model();
    if (m && m->objectBrowserView() && m_standardItem && m_standardItem->model()) {
        m->objectBrowserView()->expand(m_standardItem->index());
    }
}

void ModelItem::collapseBrowserItem()
{
    const Model* m = model();
    if (m && m->objectBrowserView() && m_standardItem && m_standardItem->model()) {
        m->objectBrowserView()->collapse(m_standardItem->index());
    }
}

void ModelItem::applyExpandState(ObjectBrowserView* view)
{
    if (view && m_standardItem && m_standardItem->model()) {
        view->setExpanded(m_standardItem->index(), m_isExpanded);
    }
    for (ModelItem* child : m_childItems) {
        child->applyExpandState(view);
    }
}

void ModelItem::saveExpandState(ObjectBrowserView* view)
{
    if (view && m_standardItem && m_standardItem->model()) {
        m_isExpanded = view->isExpanded(m_standardItem->index());
    }
    for (ModelItem* child : m_childItems) {
        child->saveExpandState(view);
    }
}

ModelItemView* ModelItem::view() const
{
    if (!m_view) {
        m_view = buildView();
    }
    return m_view;
}

ModelItemController* ModelItem::controller() const
{
    if (!m_controller) {
        m_controller = buildController();
        m_controller->setup();
    }
    return m_controller;
}

ModelItemController* ModelItem::builtController() const
{
    return m_controller;
}

QRectF ModelItem::boundingBox() const
{
    if (m_standardItem && m_standardItem->checkState() != Qt::Checked) {
        return QRectF();
    }
    QRectF box = myBoundingBox();
    for (const ModelItem* child : m_childItems) {
        const QRectF childBox = child->boundingBox();
        if (childBox.width() != 0 || childBox.height() != 0) {
            box = box.united(childBox);
        }
    }
    return box;
}

QMainWindow* ModelItem::mainWindow() const
{
    const Model* m = model();
    return m ? m->mainWindow() : nullptr;
}

void ModelItem::clearChildItems()
{
    while (!m_childItems.empty()) {
        // The child's destructor unregisters it from the list.
        ModelItem* child = m_childItems.back();
        delete child;
        if (!m_childItems.empty() && m_childItems.back() == child) {
            m_childItems.pop_back();
        }
    }
}

void ModelItem::loadState(const QDomElement& element)
{
    if (m_standardItem && m_standardItem->isCheckable()) {
        m_standardItem->setCheckState(static_cast<Qt::CheckState>(
            std::clamp(XmlSupport::getIntAttribute(element, QStringLiteral("checkState"), 0), 0,
                       2)));
    }
    m_isExpanded = XmlSupport::getBooleanAttribute(element, QStringLiteral("isExpanded"), false);
}

void ModelItem::saveState(QXmlStreamWriter* writer)
{
    if (m_standardItem && m_standardItem->isCheckable()) {
        XmlSupport::setIntAttribute(writer, QStringLiteral("checkState"),
                                    static_cast<int>(m_standardItem->checkState()));
    }
    XmlSupport::setBooleanAttribute(writer, QStringLiteral("isExpanded"), m_isExpanded);
}

} // namespace mvc::core
