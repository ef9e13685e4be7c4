#pragma once

#include <QModelIndex>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QString>
#include <QTreeView>

class QAction;

namespace mvc::core {

class ModelItem;

/// The object browser's tree view: checkable rows of the item tree, header hidden, single
/// selection. It owns the item actions Move up, Move down, Delete and Property, which the
/// model binds to the selected item's controller (`connectActions`) and releases on
/// deselection (`disconnectActions`), and it turns current-row changes into the selection
/// signals that the model handles:
///
/// - from A to B: `itemDeselected(A)`, `itemSelected(B)`, `selectionChanged()`;
/// - cleared: `itemDeselected(A)`, `selectionChanged()`.
///
/// `pressed(index, globalPos)` carries the global position of the press that selected the
/// row, for the right-click menu. `captionEdited(index)` follows an edit of a row's caption
/// that the user committed with a text other than the one the edit began with (the model
/// has its new text by then); an edit left unchanged says nothing.
class ObjectBrowserView : public QTreeView {
    Q_OBJECT
public:
    explicit ObjectBrowserView(QWidget* parent = nullptr);
    ~ObjectBrowserView() override;

    // The public slot that opens a row's editor, beside the protected hook overridden below.
    using QTreeView::edit;

    QAction* moveUpAction() const;
    QAction* moveDownAction() const;
    QAction* deleteAction() const;
    QAction* propertyAction() const;

    void connectActions(ModelItem* item);
    /// Removes every connection of the four actions and enables them all.
    void disconnectActions();
    /// Clears the selection and makes `index` current and selected.
    void select(const QModelIndex& index);

signals:
    void selectionChanged();
    void itemSelected(const QModelIndex& selected);
    void itemDeselected(const QModelIndex& deselected);
    void pressed(const QModelIndex& index, const QPoint& globalPos);
    void captionEdited(const QModelIndex& index);

protected slots:
    void handlePress(const QModelIndex& index);
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void commitData(QWidget* editor) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    QPoint m_pressGlobalPos;
    // The row whose caption editor is open and its text when the editor opened.
    QPersistentModelIndex m_editedIndex;
    QString m_captionBeforeEdit;
    QAction* m_moveUpAction;
    QAction* m_moveDownAction;
    QAction* m_deleteAction;
    QAction* m_propertyAction;
};

} // namespace mvc::core
