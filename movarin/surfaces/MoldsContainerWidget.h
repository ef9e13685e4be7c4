#pragma once

#include <mold/core/Mold.h>

#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace varnel {

class DetailView;
class MoldGroupItemWidget;
class MoldItem;
class MoldsContainer;

/// The content of the Mold Browser dock: the molds library in two tabs, "Add" (edit type
/// 0) and "Sub" (edit type 1), each a `MoldGroupItemWidget`; below them a read-only preview
/// of the selected mold (a `DetailView` without context menu), its edit type ("typeLabel")
/// and name ("nameLineEdit", read-only), and the buttons "Add", "Copy", "Edit" and "Delete".
///
/// The preview always shows the current tab's selected mold: a tab change shows that tab's
/// selection, and a selection announced by the other tab's widget (an undo there letting
/// go of its mold) leaves it alone. "Copy", "Edit" and "Delete" are enabled exactly while
/// a mold is shown.
///
/// The buttons run the current tab's edits (see `MoldGroupItemWidget`); "Delete" asks
/// first, and after a deletion nothing is selected. A failure of a button ends in an
/// "Error" box. The container is watched, not owned.
class MoldsContainerWidget : public QWidget {
    Q_OBJECT
public:
    explicit MoldsContainerWidget(QWidget* parent = nullptr);
    ~MoldsContainerWidget() override;

    /// Binds each tab to the container's group of its edit type and tells the group its
    /// widget.
    void setMoldsContainer(MoldsContainer* container);
    MoldsContainer* moldsContainer() const;

    /// The current tab's selected mold; null when none (or no tab is current).
    MoldItem* selectedMoldItem() const;
    /// The tab's widget of that edit type; another type throws
    /// common::exception::RuntimeException "<type> not handled.".
    MoldGroupItemWidget* groupWidget(mold::core::Mold::EditType editType) const;
    /// The current tab's widget; without a current tab a "Warning" box says "Mold type is
    /// not selected." and null is returned.
    MoldGroupItemWidget* currentGroupWidget() const;
    DetailView* detailView() const;

public slots:
    void handleItemSelection(MoldItem* selectedMoldItem);
    void handleTabChange(int index);
    void addMoldItem();
    void copyMoldItem();
    void editMoldItem();
    void deleteMoldItem();

private:
    /// The tab widget's current group widget, null without a current tab; no box.
    MoldGroupItemWidget* currentTab() const;
    /// Runs a button's work; what it throws is shown in the "Error" box.
    template <class Work> void run(Work work);

    QPointer<MoldsContainer> m_container;
    QTabWidget* m_tabs;
    MoldGroupItemWidget* m_groupWidgets[2];
    DetailView* m_detailView;
    QLabel* m_typeLabel;
    QLineEdit* m_nameLineEdit;
    QPushButton* m_addButton;
    QPushButton* m_copyButton;
    QPushButton* m_editButton;
    QPushButton* m_deleteButton;
};

} // namespace varnel
