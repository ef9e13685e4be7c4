#pragma once

#include "brask/core/ModelItem.h"

#include <map>

class QStandardItemModel;

namespace mvc::core {

/// The invisible root of one window's item tree. It has no browser row; its Qt parent is
/// its model, to which it forwards the modified flag. It keeps the map from browser rows
/// to the items that hang from it: an attach adds the rows of the subtree that enters, a
/// detach or a deletion takes out those of the subtree that leaves (O(subtree) each, O(log
/// n) a row); `updateItemMap` rebuilds the whole map.
///
/// The application's root item makes its top-level children, enters them with
/// `attachChildAtBack` and places their rows in the item model (`qStandardItemModel()`)
/// itself, in whatever order it shows them. The destructor deletes the children, last
/// first.
class ModelRootItem : public ModelItem {
    Q_OBJECT
public:
    explicit ModelRootItem(Model* model);
    ~ModelRootItem() override;

    bool isModified() const override;
    void setModified(bool modified) override;
    void updateItemMap() override;
    Model* model() const override;

    /// The item of a row, or null.
    ModelItem* fromBrowserItem(QStandardItem* row) const;

protected:
    bool isAncientChecked() const override;
    void subtreeAttached(ModelItem* child) override;
    void subtreeDetached(ModelItem* child) override;
    QStandardItemModel* qStandardItemModel() const;

private:
    void addToMap(const ModelItem* item);
    void removeFromMap(const ModelItem* item);

    std::map<QStandardItem*, ModelItem*> m_itemMap;
    Model* m_model;
};

} // namespace mvc::core
