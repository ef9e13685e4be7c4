#include "brask/core/ModelRootItem.h"

#include "brask/core/Model.h"

#include <QStandardItem>

namespace mvc::core {

ModelRootItem::ModelRootItem(Model* model) : ModelItem(static_cast<ModelItem*>(nullptr)),
      m_model(model)
{
    setParent(model);
}

ModelRootItem::~ModelRootItem()
{
    clearChildItems();
}

bool ModelRootItem::isModified() const
{
    return m_model ? m_model->isModified() : false;
}

void ModelRootItem::setModified(bool modified)
{
    if (m_model) {
        m_model->setModified(modified);
    }
}

void ModelRootItem::updateItemMap()
{
    m_itemMap.clear();
    for (const ModelItem* child : childItems()) {
        addToMap(child);
    }
}

void ModelRootItem::addToMap(const ModelItem* item)
{
    if (QStandardItem* row = item->browserItem()) {
        m_itemMap[row] = const_cast<ModelItem*>(item);
    }
    for (const ModelItem* child : item->childItems()) {
        addToMap(child);
    }
}

void ModelRootItem::subtreeAttached(ModelItem* child)
{
    addToMap(child);
}

void ModelRootItem::subtreeDetached(ModelItem* child)
{
    removeFromMap(child);
}

void ModelRootItem::removeFromMap(const ModelItem* item)
{
    if (QStandardItem* row = item->browserItem()) {
        if (const auto it = m_itemMap.find(row); it != m_itemMap.end() && it->second == item) {
            m_itemMap.erase(it);
        }
    }
    for (const ModelItem* child : item->childItems()) {
        removeFromMap(child);
    }
}

Model* ModelRootItem::model() const
{
    return m_model;
}

ModelItem* ModelRootItem::fromBrowserItem(QStandardItem* row) const
{
    const auto it = m_itemMap.find(row);
    return it == m_itemMap.end() ? nullptr : it->second;
}

bool ModelRootItem::isAncientChecked() const
{
    return false;
}

QStandardItemModel* ModelRootItem::qStandardItemModel() const
{
    return m_model ? m_model->standardItemModel() : nullptr;
}

} // namespace mvc::core
