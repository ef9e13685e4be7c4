#include "movarin/surfaces/MoldItemController.h"

#include "movarin/shell/MoldDetailViewHelperI.h"
#include "movarin/shell/SelectionHelperSwitchT.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/surfaces/MoldItemControllerAddPointSelectionHelper.h"
#include "movarin/surfaces/MoldItemControllerLhSelectionHelper.h"
#include "movarin/surfaces/MoldItemControllerVoidSelectionHelper.h"
#include "movarin/surfaces/MoldItemControllerWaitingSelectionHelper.h"
#include "movarin/surfaces/MoldItemLhTableModel.h"
#include "movarin/surfaces/MoldItemView.h"

#include <guimisc/UserDialogs.h>

#include <QAction>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = MoldItemController;

MoldItemController::MoldItemController(MoldItem* item)
    : mvc::proj::ProjectItemController(item),
      m_item(item),
      m_addPointAction(new QAction(QIcon(), tr("Add Point"), this)),
      m_deletePointsAction(new QAction(QIcon(), tr("Delete Points"), this)),
      m_selectionHelper(std::make_unique<VoidSelectionHelper>(this))
{
    m_addPointAction->setEnabled(false);
    m_deletePointsAction->setEnabled(false);
    connect(m_addPointAction, &QAction::triggered, this, &Self::addPoint);
    connect(m_deletePointsAction, &QAction::triggered, this, &Self::deletePoints);
    m_contextMenu.addAction(m_addPointAction);
    m_contextMenu.addAction(m_deletePointsAction);
}

MoldItemController::~MoldItemController() = default;

bool MoldItemController::isStrictlyMonotonic(const std::vector<double>& l, std::size_t count)
{
    if (count < 2 || count > l.size()) {
        return false;
    }
    // Signs, not products: a product of two tiny steps would round to zero.
    const bool rising = l[1] > l[0];
    for (std::size_t i = 1; i < count; ++i) {
        if (!(rising ? l[i] > l[i - 1] : l[i] < l[i - 1])) {
            return false;
        }
    }
    return true;
}

void MoldItemController::loadMold(const MoldItem& item)
{
    const mold::core::Mold& source = item.mold();
    mold::core::Mold& copy = m_selectionHelper->workingCopy()->mold();
    copy.setLH(source.l(), source.h());
    copy.setBaseL(source.baseL());
    copy.setBaseH(source.baseH());
    copy.setEditType(source.editType());
    m_selectionHelper->clearSelection();
    m_addPointAction->setEnabled(true);
    m_deletePointsAction->setEnabled(true);
    setSelectionHelper(new WaitingSelectionHelper(*m_selectionHelper));
}

void MoldItemController::startDefinition(mold::core::Mold::EditType type)
{
    mold::core::Mold& copy = m_selectionHelper->workingCopy()->mold();
    copy.clear();
    copy.setEditType(type);
    m_selectionHelper->clearSelection();
    m_addPointAction->setEnabled(false);
    m_deletePointsAction->setEnabled(false);
    setSelectionHelper(new LhSelectionHelper(*m_selectionHelper));
}

void MoldItemController::setGridWidth(double x, double y)
{
    m_selectionHelper->setGridWidth(x, y);
}

void MoldItemController::bindTableModel(MoldItemLhTableModel* model)
{
    model->setMoldItem(m_selectionHelper->workingCopy());
}

void MoldItemController::keyPressEvent(QKeyEvent* event, DetailView* view)
{
    setSelectionHelper(m_selectionHelper->keyPressEvent(event, view));
}

void MoldItemController::mouseDoubleClickEvent(QMouseEvent* event, DetailView* view)
{
    setSelectionHelper(m_selectionHelper->mouseDoubleClickEvent(event, view));
}

void MoldItemController::mouseMoveEvent(QMouseEvent* event, DetailView* view)
{
    setSelectionHelper(m_selectionHelper->mouseMoveEvent(event, view));
}

void MoldItemController::mousePressEvent(QMouseEvent* event, DetailView* view)
{
    setSelectionHelper(m_selectionHelper->mousePressEvent(event, view));
}

void MoldItemController::mouseReleaseEvent(QMouseEvent* event, DetailView* view)
{
    setSelectionHelper(m_selectionHelper->mouseReleaseEvent(event, view));
}

void MoldItemController::wheelEvent(QWheelEvent* event, DetailView* view)
{
    setSelectionHelper(m_selectionHelper->wheelEvent(event, view));
}

void MoldItemController::setSelectionHelper(guimisc::helper::SelectionHelper* tool)
{
    SelectionHelperSwitchT<SelectionHelper, MoldDetailViewHelperI>::install(
        m_selectionHelper, tool, this, m_item->view()->viewHelpers(),
        "Not a tool of the mold editor.");
}

void MoldItemController::handleMoldDefinition()
{
    m_addPointAction->setEnabled(true);
    m_deletePointsAction->setEnabled(true);
    if (DetailView* view = detailView()) {
        emit view->moldDefined();
    }
}

void MoldItemController::update()
{
    m_selectionHelper->writeBack();
    m_selectionHelper->rebuildSelectedPoints();
    if (DetailView* view = detailView()) {
        view->update();
    }
}

void MoldItemController::addPoint()
{
    if (DetailView* view = detailView()) {
        view->setFocus();
    }
    setSelectionHelper(new AddPointSelectionHelper(*m_selectionHelper));
}

void MoldItemController::deletePoints()
{
    DetailView* view = detailView();
    const std::set<std::size_t> selection = m_selectionHelper->selection();
    const std::size_t size = m_selectionHelper->workingCopy()->mold().size();
    if (selection.empty()) {
        guimisc::UserDialogs::warning(view, tr("Warning"), tr("No point is selected."));
        return;
    }
    if (size < 3) {
        guimisc::UserDialogs::warning(view, tr("Warning"), tr("No point can be further deleted."));
        return;
    }
    if (size - selection.size() < 2) {
        guimisc::UserDialogs::warning(view, tr("Warning"), tr("Too many points are selected."));
        return;
    }
    mold::core::Mold& copy = m_selectionHelper->workingCopy()->mold();
    for (auto i = selection.rbegin(); i != selection.rend(); ++i) {
        copy.eraseLH(*i);
    }
    m_selectionHelper->clearSelection();
    // Whatever tool was active, the editor is idle again over the shorter mold.
    setSelectionHelper(new WaitingSelectionHelper(*m_selectionHelper));
    finishGesture();
}

DetailView* MoldItemController::detailView() const
{
    return m_item->detailView();
}

void MoldItemController::finishGesture()
{
    if (DetailView* view = detailView()) {
        m_selectionHelper->finishSelection(view);
    } else {
        handleMoldDefinition();
        m_selectionHelper->writeBack();
    }
}

} // namespace varnel
