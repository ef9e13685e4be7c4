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

using Self = MoldItemController;

Self::MoldItemController(MoldItem* item)
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

Self::~MoldItemController() = default;

bool Self::isStrictlyMonotonic(const std::vector<double>& l, std::size_t count)
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

void Self::loadMold(const MoldItem& item)
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

void Self::startDefinition(mold::core::Mold::EditType type)
{
    mold::core::Mold& copy = m_selectionHelper->workingCopy()->mold();
    copy.clear();
    copy.setEditType(type);
    m_selectionHelper->clearSelection();
    m_addPointAction->setEnabled(false);
    m_deletePointsAction->setEnabled(false);
    setSelectionHelper(new LhSelectionHelper(*m_selectionHelper));
}

void Self::setGridWidth(double x, double y)
{
    m_selectionHelper->setGridWidth(x, y);
}

void Self::bindTableModel(MoldItemLhTableModel* model)
{
    model->setMoldItem(m_selectionHelper->workingCopy());
}

void Self::keyPressEvent(QKeyEvent* event, DetailView* view)
{
    setSelectionHelper(m_selectionHelper->keyPressEvent(event, view));
}

void Self::mouseDoubleClickEvent(QMouseEvent* event, DetailView* view)
{
    setSelectionHelper(m_selectionHelper->mouseDoubleClickEvent(event, view));
}

void Self::mouseMoveEvent(QMouseEvent* event, DetailView* view)
{
    setSelectionHelper(m_selectionHelper->mouseMoveEvent(event, view));
}

void Self::mousePressEvent(QMouseEvent* event, DetailView* view)
{
    setSelectionHelper(m_selectionHelper->mousePressEvent(event, view));
}

void Self::mouseReleaseEvent(QMouseEvent* event, DetailView* view)
{
    setSelectionHelper(m_selectionHelper->mouseReleaseEvent(event, view));
}

void Self::wheelEvent(QWheelEvent* event, DetailView* view)
{
    setSelectionHelper(m_selectionHelper->wheelEvent(event, view));
}

void Self::setSelectionHelper(guimisc::helper::SelectionHelper* tool)
{
    SelectionHelperSwitchT<SelectionHelper, MoldDetailViewHelperI>::install(
        m_selectionHelper, tool, this, m_item->view()->viewHelpers(),
        "Not a tool of the mold editor.");
}

void Self::handleMoldDefinition()
{
    m_addPointAction->setEnabled(true);
    m_deletePointsAction->setEnabled(true);
    if (DetailView* view = detailView()) {
        emit view->moldDefined();
    }
}

void Self::update()
{
    m_selectionHelper->writeBack();
    m_selectionHelper->rebuildSelectedPoints();
    if (DetailView* view = detailView()) {
        view->update();
    }
}

void Self::addPoint()
{
    if (DetailView* view = detailView()) {
        view->setFocus();
    }
    setSelectionHelper(new AddPointSelectionHelper(*m_selectionHelper));
}

void Self::deletePoints()
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

DetailView* Self::detailView() const
{
    return m_item->detailView();
}

void Self::finishGesture()
{
    if (DetailView* view = detailView()) {
        m_selectionHelper->finishSelection(view);
    } else {
        handleMoldDefinition();
        m_selectionHelper->writeBack();
    }
}

} // namespace varnel
