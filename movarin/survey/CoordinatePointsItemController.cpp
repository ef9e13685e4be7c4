#include "movarin/survey/CoordinatePointsItemController.h"

#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsItem.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"

#include <guimisc/restorer/WaitCursor.h>

#include <QAction>
#include <QIcon>
#include <QMenu>

#include <utility>

namespace varnel {

namespace {

/// The points for the TIN of the create-mode root above the group that holds `item`; null
/// anywhere else.
CoordinatePointsForTinItem* pointsForTinOf(const mvc::core::ModelItem* item)
{
    const mvc::core::ModelItem* group = item->parentItem();
    auto root =
        qobject_cast<const CreateModeMainWindowModelRootItem*>(group ? group->parentItem() : nullptr);
    return root ? root->coordinatePointsForTinItem() : nullptr;
}

} // namespace

CoordinatePointsItemController::CoordinatePointsItemController(const CoordinatePointsItem* item)
    : CoordinatePointsBaseItemController(item),
      m_copyToPointsForTinAction(new QAction(QIcon(QStringLiteral(":/images/iconExport.png")),
                                             tr("Copy Selected Points To Points For Tin"), this))
{
    connect(m_copyToPointsForTinAction, &QAction::triggered, this,
            &CoordinatePointsItemController::copySelectedPointsToPointsForTin);
}

CoordinatePointsItemController::~CoordinatePointsItemController() = default;

void CoordinatePointsItemController::addCustomMenuItems(QMenu* menu)
{
    menu->addAction(polygonSelectAction());
    menu->addAction(selectAllAction());
    menu->addSeparator();
    menu->addAction(m_copyToPointsForTinAction);
}

QAction* CoordinatePointsItemController::copyToPointsForTinAction() const
{
    return m_copyToPointsForTinAction;
}

void CoordinatePointsItemController::copySelectedPointsToPointsForTin()
{
    const guimisc::restorer::WaitCursor busy;
    const Selection points = std::move(selection());
    clearSelection();
    if (CoordinatePointsForTinItem* target = pointsForTinOf(item())) {
        addPoints(points, target);
        // The copied points are drawn before the cursor goes.
        if (mvc::core::View* view = item()->model() ? item()->model()->view() : nullptr) {
            view->repaint();
        }
    }
}

} // namespace varnel
