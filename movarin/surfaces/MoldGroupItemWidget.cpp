#include "movarin/surfaces/MoldGroupItemWidget.h"

#include "movarin/surfaces/IconView.h"
#include "movarin/surfaces/MoldGroupItem.h"
#include "movarin/surfaces/MoldGroupItemWidgetAttachChildAtFrontCommand.h"
#include "movarin/surfaces/MoldGroupItemWidgetDeleteChildCommand.h"
#include "movarin/surfaces/MoldGroupItemWidgetUpdateViewCommand.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldItemPropertyDialog.h"

#include "brask/proj/Project.h"
#include "brask/proj/ProjectFile.h"

#include <guimisc/UserDialogs.h>

#include <QGridLayout>
#include <QMainWindow>
#include <QUndoStack>

#include <algorithm>
#include <memory>

namespace varnel {

namespace {
constexpr int ICONS_PER_ROW = 6;
} // namespace

MoldGroupItemWidget::MoldGroupItemWidget(QWidget* parent)
    : QWidget(parent), m_layout(new QGridLayout(this))
{
    setObjectName(QStringLiteral("Form"));
    resize(400, 600);
    m_layout->setSizeConstraint(QLayout::SetFixedSize);
}

MoldGroupItemWidget::~MoldGroupItemWidget() = default;

void MoldGroupItemWidget::setGroup(MoldGroupItem* group)
{
    m_group = group;
    rebuildIcons();
}

MoldGroupItem* MoldGroupItemWidget::group() const
{
    return m_group;
}

MoldItem* MoldGroupItemWidget::selectedMoldItem() const
{
    return m_selected;
}

const std::vector<IconView*>& MoldGroupItemWidget::icons() const
{
    return m_icons;
}

void MoldGroupItemWidget::rebuildIcons()
{
    for (IconView* icon : m_icons) {
        m_layout->removeWidget(icon);
        delete icon;
    }
    m_icons.clear();
    const std::vector<MoldItem*> molds = m_group ? m_group->molds() : std::vector<MoldItem*>();
    for (std::size_t i = 0; i < molds.size(); ++i) {
        auto icon = new IconView(molds[i], this);
        icon->setSelected(molds[i] == m_selected);
        connect(icon, &IconView::itemSelected, this, &MoldGroupItemWidget::handleItemSelection);
        m_layout->addWidget(icon, static_cast<int>(i) / ICONS_PER_ROW,
                            static_cast<int>(i) % ICONS_PER_ROW);
        m_icons.push_back(icon);
    }
    if (m_selected && std::find(molds.begin(), molds.end(), m_selected) == molds.end()) {
        handleItemSelection(nullptr);
    }
}

void MoldGroupItemWidget::rebuildIconsOf(const MoldGroupItem* group)
{
    if (MoldGroupItemWidget* widget = group ? group->widget() : nullptr) {
        widget->rebuildIcons();
    }
}

void MoldGroupItemWidget::handleItemSelection(MoldItem* mold)
{
    m_selected = mold;
    for (IconView* icon : m_icons) {
        const bool selected = mold && icon->moldItem() == mold;
        icon->setSelected(selected);
        if (selected) {
            icon->fitToMold();
        }
    }
    emit itemSelected(mold);
}

void MoldGroupItemWidget::addNewMold()
{
    if (!m_group) {
        return;
    }
    const auto editType = m_group->editType();
    MoldItemPropertyDialog dialog(editType, m_group->mainWindow());
    dialog.startDefinition();
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const MoldSetting result = dialog.result();
    attachNewMold(new MoldItem(result.name, editType, result.l, result.h, result.baseL,
                               result.baseH, m_group));
}

void MoldGroupItemWidget::copySelected()
{
    if (!m_group || !m_selected) {
        return;
    }
    const MoldItem& source = *m_selected;
    attachNewMold(new MoldItem(tr("%1 (Copy)").arg(source.name()), m_group->editType(),
                               source.l(), source.h(), source.baseL(), source.baseH(),
                               m_group));
}

void MoldGroupItemWidget::editSelected()
{
    if (!m_group || !m_selected) {
        return;
    }
    MoldItem* mold = m_selected;
    MoldItemPropertyDialog dialog(mold->name(), mold->mold(), m_group->mainWindow());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const MoldSetting result = dialog.result();
    mold->setName(result.name);
    mold->setLH(result.l, result.h);
    mold->setBase(result.baseL, result.baseH);
    // Not undoable, but the project has changed: closing must offer to save it.
    m_group->setModified(true);
    handleItemSelection(mold);
}

void MoldGroupItemWidget::pushCommand(QUndoCommand* command)
{
    mvc::proj::Project* project = m_group ? m_group->project() : nullptr;
    QUndoStack* stack = project ? project->undoStack() : nullptr;
    auto wrapper = std::make_unique<ModifyCommand>(new UpdateViewCommand(command, this));
    if (stack) {
        stack->push(wrapper.release());
        return;
    }
    wrapper->redo();
    if (project && project->mainfile()) {
        project->mainfile()->setModified(true);
    }
}

void MoldGroupItemWidget::deleteChild(MoldItem* mold)
{
    if (!mold) {
        return;
    }
    QWidget* parent = m_group ? static_cast<QWidget*>(m_group->mainWindow()) : this;
    if (guimisc::UserDialogs::warning(parent, tr("Warning"),
                                      tr("Are you sure you want to delete %1?").arg(mold->name()),
                                      QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::No) {
        deleteChildSilently(mold);
    }
}

void MoldGroupItemWidget::deleteChildSilently(MoldItem* mold)
{
    if (!mold || !m_group) {
        return;
    }
    pushCommand(new DeleteChildCommand(tr("Delete mold %1").arg(mold->name()), mold, m_group));
    handleItemSelection(nullptr);
}

void MoldGroupItemWidget::attachNewMold(MoldItem* mold)
{
    pushCommand(new AttachChildAtFrontCommand(tr("Add new mold"), mold, m_group));
    handleItemSelection(mold);
}

} // namespace varnel
