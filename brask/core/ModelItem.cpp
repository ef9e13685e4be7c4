#include "brask/core/ModelItem.h"

#include "brask/core/Model.h"
#include "brask/core/ModelItemController.h"
#include "brask/core/ModelItemView.h"
#include "brask/core/ObjectBrowserView.h"

#include <guimisc/xml/XmlSupport.h>

#include <QCoreApplication>
#include <QDomElement>
#include <QIcon>
#include <QPointer>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QXmlStreamWriter>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <unordered_set>

namespace mvc::core {

using guimisc::xml::XmlSupport;

namespace {

// The pictures of the standard icons, made once and shared by every row (a QIcon is shared
// implicitly): looking the picture up anew for each of 100,000 rows cost more than the rest
// of making them. Never destroyed, since the picture may not outlive the application object.
const QIcon* standardIcon(ModelItem::StandardIcon icon)
{
    static const QIcon* const folder = new QIcon(QStringLiteral(":/libs/mvc/images/iconFolder.png"));
    static const QIcon* const paper = new QIcon(QStringLiteral(":/libs/mvc/images/iconPaper.png"));
    if (icon == ModelItem::FolderIcon) {
        return folder;
    }
    return icon == ModelItem::PaperIcon ? paper : nullptr;
}

} // namespace

ModelItem::ModelItem(const QString& caption, ModelItem* parent, int options, const QIcon* icon)
    : proj::ProjectItem(parent)
{
    // The row is complete before it joins the parent's: set afterwards, each property would
    // tell the item model and its views of a change (a project of 100,000 rows).
    m_standardItem = new QStandardItem(caption);
    m_standardItem->setCheckable(true);
    m_standardItem->setCheckState(Qt::Checked);
    m_standardItem->setEditable((options & CaptionEditable) != 0);
    if (icon) {
        m_standardItem->setIcon(*icon);
    }
    m_isDeletable = (options & Deletable) != 0;
    m_isReorderable = (options & Reorderable) != 0;
    m_isAttachedToModel = true;
    if (parent && parent->m_standardItem) {
        parent->m_standardItem->appendRow(m_standardItem);
    }
}

ModelItem::ModelItem(const QIcon& icon, const QString& caption, ModelItem* parent, int options)
    : ModelItem(caption, parent, options, &icon)
{
}

ModelItem::ModelItem(StandardIcon icon, const QString& caption, ModelItem* parent, int options)
    : ModelItem(caption, parent, options, standardIcon(icon))
{
}

ModelItem::ModelItem(ModelItem* parent) : proj::ProjectItem(parent) {}

ModelItem::~ModelItem()
{
    clearChildItems();
    // Detached items (held by undo commands) still hang here by their Qt parent; they go
    // now, while this is still an item they can unregister from.
    // Guarded: one of them may take another along (a child listed under it).
    std::vector<QPointer<ModelItem>> held;
    for (QObject* child : QObject::children()) {
        if (auto item = qobject_cast<ModelItem*>(child)) {
            held.emplace_back(item);
        }
    }
    for (const QPointer<ModelItem>& item : held) {
        delete item.data();
    }
    if (m_listedBy) {
        m_listedBy->unregisterChild(this);
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
    if (!child || child->m_listedBy != this) {
        return;
    }
    chainTop()->subtreeDetached(child);
    takeOutOfList(child);
}

void ModelItem::subtreeAttached(ModelItem*) {}

void ModelItem::subtreeDetached(ModelItem*) {}

ModelItem* ModelItem::chainTop()
{
    ModelItem* top = this;
    while (top->m_listedBy) {
        top = top->m_listedBy;
    }
    return top;
}

void ModelItem::takeOutOfList(ModelItem* child)
{
    const int index = indexOf(child);
    if (index >= 0) {
        m_childItems.erase(m_childItems.begin() + index);
    }
    child->m_listedBy = nullptr;
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
    if (!child || child->m_listedBy != this) {
        return -1;
    }
    // A child's row number is its place in the list unless row-less children come first.
    const int count = static_cast<int>(m_childItems.size());
    if (const QStandardItem* row = child->m_standardItem;
        row && m_standardItem && row->parent() == m_standardItem) {
        const int r = row->row();
        if (r >= 0 && r < count && m_childItems[r] == child) {
            return r;
        }
    }
    // Children usually go last first (a parent deletes them so).
    const auto it = std::find(m_childItems.rbegin(), m_childItems.rend(), child);
    return it == m_childItems.rend() ? -1 : static_cast<int>(m_childItems.rend() - it) - 1;
}

int ModelItem::rowIndexForChildAt(int index) const
{
    // Rows of row-less children are not counted: the row of the next child with one.
    for (int i = index; i < static_cast<int>(m_childItems.size()); ++i) {
        if (QStandardItem* next = m_childItems[i]->m_standardItem;
            next && next->parent() == m_standardItem) {
            return next->row();
        }
    }
    return m_standardItem->rowCount();
}

void ModelItem::attachChildAt(ModelItem* child, int index)
{
    attachChildrenAt({child}, index);
}

void ModelItem::attachChildAtBack(ModelItem* child)
{
    attachChildrenAt({child}, static_cast<int>(m_childItems.size()));
}

void ModelItem::attachChildAtFront(ModelItem* child)
{
    attachChildrenAt({child}, 0);
}

void ModelItem::attachChildrenAt(const std::vector<ModelItem*>& children, int index)
{
    std::unordered_set<const ModelItem*> listed;
    for (ModelItem* child : children) {
        if (!child || child == this) {
            throw std::invalid_argument("ModelItem::attachChildAt: no child to attach");
        }
        if (child->m_listedBy || (children.size() > 1 && !listed.insert(child).second)) {
            throw std::invalid_argument("ModelItem::attachChildAt: the item is attached already");
        }
        const QStandardItem* row = child->m_standardItem;
        if (row && (row->parent() || row->model())) {
            throw std::invalid_argument(
                "ModelItem::attachChildAt: the child's row still hangs under another row");
        }
    }
    if (children.empty()) {
        return;
    }
    index = std::clamp(index, 0, static_cast<int>(m_childItems.size()));
    if (m_standardItem) {
        // Rows without rows of their own go in together, with one notice to the views; a row
        // that has rows goes alone, since only that insertion hands its rows the item model.
        int rowIndex = rowIndexForChildAt(index);
        QList<QStandardItem*> run;
        const auto insertRun = [&] {
            if (!run.isEmpty()) {
                m_standardItem->insertRows(rowIndex, run);
                rowIndex += run.size();
                run.clear();
            }
        };
        for (ModelItem* child : children) {
            QStandardItem* row = child->m_standardItem;
            if (!row) {
                continue;
            }
            if (row->hasChildren()) {
                insertRun();
                m_standardItem->insertRow(rowIndex++, row);
            } else {
                run.append(row);
            }
        }
        insertRun();
    }
    m_childItems.insert(m_childItems.begin() + index, children.begin(), children.end());
    ModelItem* top = chainTop();
    for (ModelItem* child : children) {
        child->m_listedBy = this;
        child->m_isAttachedToModel = true;
        top->subtreeAttached(child);
    }
}

void ModelItem::detachChild(ModelItem* child)
{
    detachChildren({child});
}

void ModelItem::detachChildren(const std::vector<ModelItem*>& children)
{
    std::vector<ModelItem*> leaving;
    std::unordered_set<const ModelItem*> seen;
    for (ModelItem* child : children) {
        if (child && child->m_listedBy == this
            && (children.size() == 1 || seen.insert(child).second)) {
            leaving.push_back(child);
        }
    }
    if (leaving.empty()) {
        return;
    }
    ModelItem* top = chainTop();
    for (ModelItem* child : leaving) {
        top->subtreeDetached(child);
    }
    // Found while its row still tells the place.
    const int single = leaving.size() == 1 ? indexOf(leaving.front()) : -1;
    if (m_standardItem) {
        // From the last row up, so that every row taken leaves the others' numbers alone and
        // only the rows after it move; takeRow hands back the row object without deleting it.
        std::vector<int> rows;
        for (ModelItem* child : leaving) {
            if (QStandardItem* row = child->m_standardItem; row && row->parent() == m_standardItem) {
                rows.push_back(row->row());
            }
        }
        std::sort(rows.begin(), rows.end(), std::greater<>());
        for (int row : rows) {
            m_standardItem->takeRow(row);
        }
    }
    if (single >= 0) {
        m_childItems.erase(m_childItems.begin() + single);
        leaving.front()->m_listedBy = nullptr;
    } else {
        for (ModelItem* child : leaving) {
            child->m_listedBy = nullptr;
        }
        m_childItems.erase(std::remove_if(m_childItems.begin(), m_childItems.end(),
                                          [this](const ModelItem* c) { return c->m_listedBy != this; }),
                           m_childItems.end());
    }
    for (ModelItem* child : leaving) {
        child->m_isAttachedToModel = false;
    }
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
    if (m_childItems.empty()) {
        return;
    }
    // The children leave the map, the rows and the list each in one pass before any is
    // deleted, and go in the order of this object's Qt children: Qt looks a child up in its
    // parent's list from the front, and a row is taken cheaply only from the back, so that
    // deleting them one by one, last first, cost the square of their number.
    ModelItem* top = chainTop();
    for (ModelItem* child : m_childItems) {
        top->subtreeDetached(child);
    }
    if (m_standardItem) {
        for (auto it = m_childItems.rbegin(); it != m_childItems.rend(); ++it) {
            if (QStandardItem* row = (*it)->m_standardItem; row && row->parent() == m_standardItem) {
                m_standardItem->takeRow(row->row());
            }
        }
    }
    std::vector<ModelItem*> children;
    children.swap(m_childItems);
    std::unordered_set<ModelItem*> listed;
    listed.reserve(children.size());
    for (ModelItem* child : children) {
        child->m_listedBy = nullptr;
        child->m_isAttachedToModel = false;
        listed.insert(child);
    }
    // Guarded: one child's destructor may take another along.
    std::vector<QPointer<ModelItem>> inQtOrder;
    inQtOrder.reserve(children.size());
    for (QObject* object : QObject::children()) {
        if (auto item = qobject_cast<ModelItem*>(object); item && listed.erase(item) > 0) {
            inQtOrder.emplace_back(item);
        }
    }
    // Listed children whose Qt parent is another object go last.
    for (ModelItem* child : children) {
        if (listed.count(child) > 0) {
            inQtOrder.emplace_back(child);
        }
    }
    for (const QPointer<ModelItem>& child : inQtOrder) {
        delete child.data();
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
