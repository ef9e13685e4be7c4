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

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = CrossSectionLhView::LhTableItemController;

CrossSectionLhView::LhTableItemController::LhTableItemController(LhTableItem* item)
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

CrossSectionLhView::LhTableItemController::~LhTableItemController() = default;

CrossSectionDialog* CrossSectionLhView::LhTableItemController::dialog() const
{
    return m_dialog;
}

void CrossSectionLhView::LhTableItemController::setDialog(CrossSectionDialog* dialog)
{
    if (m_dialog) {
        disconnect(m_dialog, nullptr, this, nullptr);
    }
    m_dialog = dialog;
    if (dialog) {
        connect(dialog, &CrossSectionDialog::selectionChanged, this, &Self::selectPoints);
    }
}

void CrossSectionLhView::LhTableItemController::setSelectionHelper(
    guimisc::helper::SelectionHelper* helper)
{
    if (SelectionHelperSwitchT<SelectionHelper, CrossSectionLhViewHelper>::install(
            m_selectionHelper, helper, this, m_item->view()->viewHelpers(),
            "Not a mode of the L-H plot.")) {
        m_item->lhView()->update();
    }
}

void CrossSectionLhView::LhTableItemController::setShowDetail(bool show)
{
    m_selectionHelper->setShowSlope(show);
    setSelectionHelper(new WaitingSelectionHelper(*m_selectionHelper));
}

void CrossSectionLhView::LhTableItemController::keyPressEvent(QKeyEvent* event,
                                                              CrossSectionLhView* view)
{
    setSelectionHelper(m_selectionHelper->keyPressEvent(event, view));
}

void CrossSectionLhView::LhTableItemController::mouseDoubleClickEvent(QMouseEvent* event,
                                                                      CrossSectionLhView* view)
{
    setSelectionHelper(m_selectionHelper->mouseDoubleClickEvent(event, view));
}

void CrossSectionLhView::LhTableItemController::mouseMoveEvent(QMouseEvent* event,
                                                               CrossSectionLhView* view)
{
    setSelectionHelper(m_selectionHelper->mouseMoveEvent(event, view));
}

void CrossSectionLhView::LhTableItemController::mousePressEvent(QMouseEvent* event,
                                                                CrossSectionLhView* view)
{
    setSelectionHelper(m_selectionHelper->mousePressEvent(event, view));
}

void CrossSectionLhView::LhTableItemController::mouseReleaseEvent(QMouseEvent* event,
                                                                  CrossSectionLhView* view)
{
    setSelectionHelper(m_selectionHelper->mouseReleaseEvent(event, view));
}

void CrossSectionLhView::LhTableItemController::wheelEvent(QWheelEvent* event,
                                                           CrossSectionLhView* view)
{
    setSelectionHelper(m_selectionHelper->wheelEvent(event, view));
}

void CrossSectionLhView::LhTableItemController::selectPoints(
    const CrossSectionLhRowIndices& indices)
{
    setSelectionHelper(m_selectionHelper->selectPoints(indices));
}

void CrossSectionLhView::LhTableItemController::updateTableSelection(
    const CrossSectionLhRowIndices& indices)
{
    if (m_dialog) {
        m_dialog->clearTableSelection();
        m_dialog->selectTableRows(indices);
    }
}

void CrossSectionLhView::LhTableItemController::enablePoints()
{
    setSelectedEnabled(true);
}

void CrossSectionLhView::LhTableItemController::disablePoints()
{
    setSelectedEnabled(false);
}

void CrossSectionLhView::LhTableItemController::resetSelection()
{
    m_selectionHelper->clearSelection();
    setSelectionHelper(new WaitingSelectionHelper(*m_selectionHelper));
}

void CrossSectionLhView::LhTableItemController::setSelectedEnabled(bool enabled)
{
    const CrossSectionLhRowIndices selection = m_selectionHelper->selection();
    if (selection.empty()) {
        guimisc::UserDialogs::warning(m_item->lhView(), tr("Warning"), tr("No point is selected."));
        return;
    }
    m_item->setEnabled(selection, enabled);
}

} // namespace varnel
