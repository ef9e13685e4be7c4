#pragma once

#include "brask/proj/ProjectItem.h"

#include <QModelIndex>
#include <QPointer>
#include <QRectF>

class QMainWindow;
class QMenu;
class QPainter;
class QStandardItem;
class QStandardItemModel;
class QToolBar;
class QTransform;

namespace mvc::core {

class ModelItem;
class ModelRootItem;
class ObjectBrowserView;
class View;

/// The item tree of one project window and what shows it: the object-browser tree view,
/// the main view, the window, the operation tool bar and the browser's right-click menu.
/// It turns the browser's signals into calls of the items' controllers.
///
/// The model owns its root item (set by the application's model constructor through
/// `setRootItem`) and the `QStandardItemModel` behind the browser; it borrows the views and
/// the window. The tool bar and the menu have the window as Qt parent and are deleted with
/// the model unless the window went first. A model without browser view or main view does
/// nothing where it would reach them.
///
/// Exactly one item is bound to the selection at a time: its controller knows it is
/// selected, the browser's item actions reach it, and the main view hands it its input. The
/// binding ends when another row is selected, the selection is cleared, or the item's row
/// leaves the browser (deleted with an ancestor, say).
///
/// On save the browser's expansion is copied into the items first; on load it is applied
/// back after the tree was read. The root item's tree is written into the element that
/// the caller opened.
///
/// A row edited in the browser (its text, its check state) reaches the item's controller
/// (`handleStandardItemChange`), except while the tree is being read: the rows that loading
/// fills in are no edits, and no controller is built for them: an item's controller is made
/// on its first use, from the item as read (its external files included).
class Model : public proj::ProjectItem {
    Q_OBJECT
public:
    Model(ObjectBrowserView* objectBrowserView, View* view, QMainWindow* mainWindow,
          proj::ProjectItem* parent);
    ~Model() override;

    void loadFromProjectMainFile(const QDomElement& element) override;
    void saveToProjectMainFile(QXmlStreamWriter* writer) override;
    std::vector<std::string> containedFiles() const override;

    /// Shows the selected item's controller menu at the global position `pos`.
    virtual void showRightClickMenu(const QPoint& pos);

    ModelRootItem* rootItem() const;
    /// Deletes the item tree (the selection is forgotten first).
    void deleteRootItem();
    ObjectBrowserView* objectBrowserView() const;
    View* view() const;
    QMainWindow* mainWindow() const;
    QToolBar* operationToolBar() const;
    /// The browser's right-click menu, as last built for a right press on a row.
    QMenu* rightClickMenu() const;
    QStandardItemModel* standardItemModel() const;
    ModelItem* selectedItem() const;
    /// Selects the item's row in the browser; nothing without row or browser view.
    void select(ModelItem* item);
    QRectF boundingBox() const;
    void paintMainView(QPainter* painter, const QTransform& transform, const QRectF& rect);
    bool preparePaintMainView(const QTransform& transform, const QRectF& rect);

protected:
    void setRootItem(ModelRootItem* rootItem);
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;

private slots:
    /// Repaints the main view.
    virtual void handleObjectBrowserSelectionChange();
    void handleObjectBrowserPress(const QModelIndex& index, const QPoint& globalPos);
    void handleObjectBrowserClick(const QModelIndex& index);
    void handleObjectBrowserDoubleClick(const QModelIndex& index);
    void handleObjectBrowserChange(QStandardItem* row);
    /// A caption renamed in the browser is a change of the project outside the undo stack.
    void handleCaptionEdit(const QModelIndex& index);
    void handleObjectBrowserSelection(const QModelIndex& index);
    void handleObjectBrowserDeselection(const QModelIndex& index);
    /// Unbinds the selected item when its row or an ancestor's leaves the browser.
    void handleRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last);
    void updateOperationToolBar(const QModelIndex& index);

private:
    ModelItem* itemOf(const QModelIndex& index) const;
    /// Tells the selected item's controller that it is deselected and releases the browser's
    /// item actions from it; nothing without a selected item.
    void unbindSelection();
    void repaintMainView();

    QPointer<QMainWindow> m_mainWindow;
    QPointer<View> m_view;
    QPointer<ObjectBrowserView> m_objectBrowserView;
    QStandardItemModel* m_standardItemModel;
    ModelRootItem* m_rootItem = nullptr;
    QPointer<QToolBar> m_operationToolBar;
    QPointer<QMenu> m_rightClickMenu;
    QPointer<ModelItem> m_selectedItem;
    bool m_isLoading = false;
};

} // namespace mvc::core
