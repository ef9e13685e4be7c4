#include "movarin/sections/CrossSectionLhViewLhTableItemController.h"

#include "movarin/sections/CrossSectionDialog.h"
#include "movarin/sections/CrossSectionLhTableModel.h"
#include "movarin/sections/CrossSectionLhViewLhTableItem.h"
#include "movarin/sections/CrossSectionLhViewLhTableItemControllerInitSelectionHelper.h"
#include "movarin/sections/CrossSectionLhViewLhTableItemControllerWaitingSelectionHelper.h"
#include "movarin/sections/CrossSectionLhViewLhTableItemView.h"
#include "movarin/shell/SelectionHelperSwitchT.h"

#include <guimisc/UserDialogs.h>

#include <QAction>


namespace varnel {

using Self = CrossSectionLhView::LhTableItemController;

Self::LhTableItemController(LhTableItem* item)
    : mvc::proj::ProjectItemController(item),
      m_item(item),
      m_enablePointsAction(new QAction(QIcon(), tr("Enable Points"), this)),
      m_disablePointsAction(new QAction(QIcon(), tr("Disable Points"), this)),
      m_selectionHelper(std::make_unique<InitSelectionHelper>(this))
{
    m_contextMenu.addAction(m_enablePointsAction);
    m_contextMenu.addAction(m_disablePointsAction);
    connect(m_enablePointsAction, &QAction::triggered, this, &Self::enablePoints);
    connect(m_disablePointsAction, &QAction::triggered, this, &Self::disablePoints);
    connect(item->model(), &QAbstractItemModel::modelReset, this, &Self::resetSelection);
}

Self::~LhTableItemController() = default;

CrossSectionDialog* Self::dialog() const
{
    return m_dialog;
}

void Self::setDialog(CrossSectionDialog* dialog)
{
    if (m_dialog) {
        disconnect(m_dialog, nullptr, this, nullptr);
    }
    m_dialog = dialog;
    if (dialog) {
        connect(dialog, &CrossSectionDialog::selectionChanged, this, &Self::selectPoints);
    }
}

void Self::setSelectionHelper(guimisc::helper::SelectionHelper* helper)
{
    if (SelectionHelperSwitchT<SelectionHelper, CrossSectionLhViewHelper>::install(
            m_selectionHelper, helper, this, m_item->view()->viewHelpers(),
            "Not a mode of the L-H plot.")) {
        m_item->lhView()->update();
    }
}

void Self::setShowDetail(bool show)
{
    m_selectionHelper->setShowSlope(show);
    setSelectionHelper(new WaitingSelectionHelper(*m_selectionHelper));
}

void Self::keyPressEvent(QKeyEvent* event, CrossSectionLhView* view)
{
    setSelectionHelper(m_selectionHelper->keyPressEvent(event, view));
}

void Self::mouseDoubleClickEvent(QMouseEvent* event, CrossSectionLhView* view)
{
    setSelectionHelper(m_selectionHelper->mouseDoubleClickEvent(event, view));
}

void Self::mouseMoveEvent(QMouseEvent* event, CrossSectionLhView* view)
{
    setSelectionHelper(m_selectionHelper->mouseMoveEvent(event, view));
}

void Self::mousePressEvent(QMouseEvent* event, CrossSectionLhView* view)
{
    setSelectionHelper(m_selectionHelper->mousePressEvent(event, view));
}

void Self::mouseReleaseEvent(QMouseEvent* event, CrossSectionLhView* view)
{
    setSelectionHelper(m_selectionHelper->mouseReleaseEvent(event, view));
}

void Self::wheelEvent(QWheelEvent* event, CrossSectionLhView* view)
{
    setSelectionHelper(m_selectionHelper->wheelEvent(event, view));
}

void Self::selectPoints(const CrossSectionLhRowIndices& indices)
{
    setSelectionHelper(m_selectionHelper->selectPoints(indices));
}

void Self::updateTableSelection(const CrossSectionLhRowIndices& indices)
{
    if (m_dialog) {
        m_dialog->clearTableSelection();
        m_dialog->selectTableRows(indices);
    }
}

void Self::enablePoints()
{
    setSelectedEnabled(true);
}

void Self::disablePoints()
{
    setSelectedEnabled(false);
}

void Self::resetSelection()
{
    m_selectionHelper->clearSelection();
    setSelectionHelper(new WaitingSelectionHelper(*m_selectionHelper));
}

void Self::setSelectedEnabled(bool enabled)
{
    const CrossSectionLhRowIndices selection = m_selectionHelper->selection();
    if (selection.empty()) {
        guimisc::UserDialogs::warning(m_item->lhView(), tr("Warning"), tr("No point is selected."));
        return;
    }
    m_item->setEnabled(selection, enabled);
}

} // namespace varnel
