#include "movarin/surfaces/MoldsContainerWidget.h"

#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/MoldGroupItem.h"
#include "movarin/surfaces/MoldGroupItemWidget.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldsContainer.h"

#include "common/exception/RuntimeException.h"

#include <guimisc/UserDialogs.h>

#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include <exception>

namespace varnel {

using mold::core::Mold;

MoldsContainerWidget::MoldsContainerWidget(QWidget* parent)
    : QWidget(parent), m_tabs(new QTabWidget(this)),
      m_groupWidgets{new MoldGroupItemWidget, new MoldGroupItemWidget},
      m_detailView(new DetailView(this)), m_typeLabel(new QLabel(this)),
      m_nameLineEdit(new QLineEdit(this)), m_addButton(new QPushButton(tr("Add"), this)),
      m_copyButton(new QPushButton(tr("Copy"), this)),
      m_editButton(new QPushButton(tr("Edit"), this)),
      m_deleteButton(new QPushButton(tr("Delete"), this))
{
    setObjectName(QStringLiteral("Form"));
    resize(400, 600);
    m_tabs->setObjectName(QStringLiteral("tabWidget"));
    const QString tabNames[] = {tr("Add"), tr("Sub")};
    for (int i = 0; i < 2; ++i) {
        // Many molds scroll rather than stretch the dock.
        auto scroll = new QScrollArea;
        scroll->setWidget(m_groupWidgets[i]);
        scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_tabs->addTab(scroll, tabNames[i]);
    }
    m_detailView->setObjectName(QStringLiteral("detailView"));
    m_detailView->setContextMenuEnabled(false);
    m_detailView->setMinimumHeight(150);
    m_typeLabel->setObjectName(QStringLiteral("typeLabel"));
    m_nameLineEdit->setObjectName(QStringLiteral("nameLineEdit"));
    m_nameLineEdit->setReadOnly(true);
    m_addButton->setObjectName(QStringLiteral("addButton"));
    m_copyButton->setObjectName(QStringLiteral("copyButton"));
    m_editButton->setObjectName(QStringLiteral("editButton"));
    m_deleteButton->setObjectName(QStringLiteral("deleteButton"));

    auto form = new QFormLayout;
    form->addRow(tr("Type"), m_typeLabel);
    form->addRow(tr("Name"), m_nameLineEdit);
    // Two rows of two: the dock stays narrow beside the main view.
    auto buttons = new QGridLayout;
    buttons->addWidget(m_addButton, 0, 0);
    buttons->addWidget(m_copyButton, 0, 1);
    buttons->addWidget(m_editButton, 1, 0);
    buttons->addWidget(m_deleteButton, 1, 1);
    auto layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_detailView, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(m_addButton, &QPushButton::clicked, this, &MoldsContainerWidget::addMoldItem);
    connect(m_copyButton, &QPushButton::clicked, this, &MoldsContainerWidget::copyMoldItem);
    connect(m_editButton, &QPushButton::clicked, this, &MoldsContainerWidget::editMoldItem);
    connect(m_deleteButton, &QPushButton::clicked, this, &MoldsContainerWidget::deleteMoldItem);
    connect(m_tabs, &QTabWidget::currentChanged, this, &MoldsContainerWidget::handleTabChange);
    for (MoldGroupItemWidget* tab : m_groupWidgets) {
        connect(tab, &MoldGroupItemWidget::itemSelected, this, [this, tab](MoldItem* mold) {
            if (tab == currentTab()) {
                handleItemSelection(mold);
            }
        });
    }
    handleItemSelection(nullptr);
}

MoldsContainerWidget::~MoldsContainerWidget() = default;

void MoldsContainerWidget::setMoldsContainer(MoldsContainer* container)
{
    m_container = container;
    for (const Mold::EditType type : {Mold::Add, Mold::Subtract}) {
        MoldGroupItemWidget* tab = m_groupWidgets[type];
        MoldGroupItem* group = container ? container->group(type) : nullptr;
        tab->setGroup(group);
        if (group) {
            group->setWidget(tab);
        }
    }
    handleTabChange(m_tabs->currentIndex());
}

MoldsContainer* MoldsContainerWidget::moldsContainer() const
{
    return m_container;
}

MoldItem* MoldsContainerWidget::selectedMoldItem() const
{
    const MoldGroupItemWidget* tab = currentTab();
    return tab ? tab->selectedMoldItem() : nullptr;
}

MoldGroupItemWidget* MoldsContainerWidget::groupWidget(Mold::EditType editType) const
{
    if (editType != Mold::Add && editType != Mold::Subtract) {
        throw common::exception::RuntimeException(Mold::editTypeString(editType)
                                                  + " not handled.");
    }
    return m_groupWidgets[editType];
}

MoldGroupItemWidget* MoldsContainerWidget::currentGroupWidget() const
{
    MoldGroupItemWidget* tab = currentTab();
    if (!tab) {
        guimisc::UserDialogs::warning(const_cast<MoldsContainerWidget*>(this), tr("Warning"),
                                      tr("Mold type is not selected."));
    }
    return tab;
}

DetailView* MoldsContainerWidget::detailView() const
{
    return m_detailView;
}

void MoldsContainerWidget::handleItemSelection(MoldItem* selectedMoldItem)
{
    m_detailView->setMoldItem(selectedMoldItem);
    m_detailView->update();
    m_typeLabel->setText(selectedMoldItem ? selectedMoldItem->editTypeText() : QString());
    m_nameLineEdit->setText(selectedMoldItem ? selectedMoldItem->name() : QString());
    const bool shown = selectedMoldItem != nullptr;
    m_copyButton->setEnabled(shown);
    m_editButton->setEnabled(shown);
    m_deleteButton->setEnabled(shown);
}

void MoldsContainerWidget::handleTabChange(int index)
{
    handleItemSelection(index == 0 || index == 1 ? m_groupWidgets[index]->selectedMoldItem()
                                                 : nullptr);
}

void MoldsContainerWidget::addMoldItem()
{
    run([this] {
        if (MoldGroupItemWidget* tab = currentGroupWidget()) {
            tab->addNewMold();
        }
    });
}

void MoldsContainerWidget::copyMoldItem()
{
    run([this] {
        if (MoldGroupItemWidget* tab = currentGroupWidget()) {
            tab->copySelected();
        }
    });
}

void MoldsContainerWidget::editMoldItem()
{
    run([this] {
        if (MoldGroupItemWidget* tab = currentGroupWidget()) {
            tab->editSelected();
        }
    });
}

void MoldsContainerWidget::deleteMoldItem()
{
    // A mold the user keeps stays selected and shown; a deleted one leaves nothing
    // selected (the group widget announces it).
    run([this] {
        MoldGroupItemWidget* tab = currentTab();
        if (MoldItem* mold = tab ? tab->selectedMoldItem() : nullptr) {
            tab->deleteChild(mold);
        }
    });
}

MoldGroupItemWidget* MoldsContainerWidget::currentTab() const
{
    const int index = m_tabs->currentIndex();
    return index == 0 || index == 1 ? m_groupWidgets[index] : nullptr;
}

template <typename Work> void MoldsContainerWidget::run(Work work)
{
    try {
        work();
    } catch (const std::exception& e) {
        guimisc::UserDialogs::critical(this, tr("Error"), QString::fromLocal8Bit(e.what()));
    }
}

} // namespace varnel
