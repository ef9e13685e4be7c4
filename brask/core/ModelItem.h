#pragma once

#include "brask/proj/ProjectItem.h"

#include <QRectF>
#include <QString>

#include <set>
#include <vector>

class QIcon;
class QMainWindow;
class QStandardItem;

namespace mvc::core {

class Model;
class ModelItemController;
class ModelItemView;
class ObjectBrowserView;

/// A data item of a project window: a node of the persisted tree (`ProjectItem`) with a
/// row in the object browser (a checkable `QStandardItem`), an ordered list of child items,
/// an item view that paints it (built on first use by `buildView`) and a controller that
/// drives it (built on first use by `buildController`). The item owns its children, its
/// view and its controller; while it hangs in the tree its row belongs to its parent's row.
///
/// Rows and children are kept in step: `childItems()` is in the order of the child rows.
/// The root item maps the rows of the items that hang from it to those items: attaching,
/// detaching and deleting tell it of the subtree that enters or leaves (`subtreeAttached`,
/// `subtreeDetached`), so that each costs the size of that subtree, not of the tree, and
/// loading or importing n items is linear in n. `updateItemMap()` has the root item rebuild
/// the map from scratch, for rows changed by other means.
///
/// Adding a child. The constructor with a parent sets the Qt parent and appends the new row
/// to the parent's row, but does not enter the item in the parent's `childItems()`. The
/// attach operations need a row without a parent row and do not set the Qt parent. So a
/// child is added either by constructing it without parent, `setParent`, then
/// `attachChildAtBack` (as loading does), or by constructing it with the parent, taking the
/// row back out (`QStandardItem::takeRow`) and attaching it later, usually through an
/// attach-at-front undo command. A child without a row (or under a parent without a row,
/// such as a root item) enters only the list; the root item places its children's rows
/// in the item model itself.
///
/// A detached item keeps its Qt parent and its row; whoever detached it (an undo command)
/// holds it. The item counts as checked when it has no row.
class ModelItem : public proj::ProjectItem {
    Q_OBJECT
public:
    /// Option bits of the constructors.
    enum Option { CaptionEditable = 1, Deletable = 2, Reorderable = 4 };
    enum StandardIcon { FolderIcon = 0, PaperIcon = 1 };

    ModelItem(const QIcon& icon, const QString& caption, ModelItem* parent, int options);
    /// Any other icon value leaves the row without an icon.
    ModelItem(StandardIcon icon, const QString& caption, ModelItem* parent, int options);
    /// An item without a browser row (not deletable, not reorderable).
    explicit ModelItem(ModelItem* parent);
    ~ModelItem() override;

    /// Reads "checkState" (default 0) and "isExpanded" (default false), then the node load.
    void loadFromProjectMainFile(const QDomElement& element) override;
    /// Writes "checkState" (checkable rows only) and "isExpanded", then the node save.
    void saveToProjectMainFile(QXmlStreamWriter* writer) override;
    /// The own file, then each child's files, depth first in child order.
    std::vector<std::string> containedFiles() const override;

    virtual void updateItemMap();
    /// The type word used in undo texts and the delete question ("Item" by default).
    virtual QString itemTypeName() const;
    virtual Model* model() const;

protected:
    /// False when some ancestor's row is checkable and unchecked.
    virtual bool isAncientChecked() const;
    /// Forgets a child that goes (its destructor calls this); rows are left alone.
    virtual void unregisterChild(ModelItem* child);
    /// Told by the attach operations when `child` with its subtree came to hang from this
    /// item (the top of the chain of items that list one another as children), and by the
    /// detach and delete operations when it is about to leave. Nothing by default; the root
    /// item keeps its map of rows with these.
    virtual void subtreeAttached(ModelItem* child);
    virtual void subtreeDetached(ModelItem* child);

public:
    /// The item's own extent in world coordinates; null by default.
    virtual QRectF myBoundingBox() const;

protected:
    virtual ModelItemView* buildView() const;
    virtual ModelItemController* buildController() const;

public:
    /// Throws std::invalid_argument for no child, this item, a child attached here already
    /// or one whose row hangs under another row; nothing is attached then.
    void attachChildAt(ModelItem* child, int index);
    void attachChildAtBack(ModelItem* child);
    void attachChildAtFront(ModelItem* child);
    /// The children as one block from `index` on, in their order, as `attachChildAt` would
    /// put them one by one, with one insertion of their rows: O(children + rows after the
    /// block). Throws as `attachChildAt` does (also for a child listed twice) before anything
    /// is attached.
    void attachChildrenAt(const std::vector<ModelItem*>& children, int index);
    /// Takes the child and its row out without deleting it; nothing for a stranger.
    void detachChild(ModelItem* child);
    /// `detachChild` of every listed child, strangers skipped, in one pass over the children:
    /// O(children + listed children x rows after them).
    void detachChildren(const std::vector<ModelItem*>& children);
    void deleteChild(ModelItem* child);
    /// Nothing for a stranger or the first child.
    void moveUpChild(ModelItem* child);
    /// Nothing for a stranger or the last child.
    void moveDownChild(ModelItem* child);
    const std::vector<ModelItem*>& childItems() const;
    std::set<QString> childItemCaptions() const;
    ModelItem* parentItem() const;

    QStandardItem* browserItem() const;
    QString caption() const;
    bool isChecked() const;
    void setChecked();
    void setUnchecked();
    bool isDeletable() const;
    bool isReorderable() const;
    bool isAttachedToModel() const;
    void setAttachedToModel(bool attached);
    void selectBrowserItem();
    void expandBrowserItem();
    void collapseBrowserItem();
    void applyExpandState(ObjectBrowserView* view);
    void saveExpandState(ObjectBrowserView* view);

    ModelItemView* view() const;
    ModelItemController* controller() const;
    /// The controller when it has been built, else null: asks nothing of an item whose
    /// controller was never needed.
    ModelItemController* builtController() const;

    /// Null when the row is not checked; else the own box united with the non-empty
    /// boxes of the children.
    QRectF boundingBox() const;
    QMainWindow* mainWindow() const;

protected:
    /// Deletes every child: they leave the list, the rows and the root's map first, then go in
    /// the order of the Qt children. O(children + subtree rows).
    void clearChildItems();
    void loadState(const QDomElement& element);
    void saveState(QXmlStreamWriter* writer);

private:
    /// `icon` may be null: no icon.
    ModelItem(const QString& caption, ModelItem* parent, int options, const QIcon* icon);
    int indexOf(const ModelItem* child) const;
    void removeOwnRow();
    /// The row of this item's row before which rows of children attached at `index` go.
    int rowIndexForChildAt(int index) const;
    /// The item at the top of the chain of items that list one another as children.
    ModelItem* chainTop();
    void takeOutOfList(ModelItem* child);

    std::vector<ModelItem*> m_childItems;
    // The item whose `m_childItems` lists this one, null while none does.
    ModelItem* m_listedBy = nullptr;
    QStandardItem* m_standardItem = nullptr;
    mutable ModelItemView* m_view = nullptr;
    mutable ModelItemController* m_controller = nullptr;
    bool m_isAttachedToModel = false;
    bool m_isDeletable = false;
    bool m_isReorderable = false;
    bool m_isExpanded = false;
};

} // namespace mvc::core
