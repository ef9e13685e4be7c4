#include "movarin/survey/CoordinatePointsItemController.h"

#include "movarin/shell/CreateModeMainWindowModelRootItem.h"
#include "movarin/survey/CoordinatePointsForTinItem.h"
#include "movarin/survey/CoordinatePointsItem.h"

#include <QAction>
#include <QIcon>
#include <QMenu>

namespace varnel {

namespace {

/// The points for the TIN of the create-mode root above the group that holds `item`, as
/// the point-set item it is; null anywhere else.
CoordinatePointsBaseItem* pointsForTinOf(const mvc::core::ModelItem* item)
{
    const mvc::core::ModelItem* group = item->parentItem();
    auto root =
        qobject_cast<const CreateModeMainWindowModelRootItem*>(group ? group->parentItem() : nullptr);
    if (!root) {
        return nullptr;
    }
    mvc::core::ModelItem* target = root->coordinatePointsForTinItem();
    return qobject_cast<CoordinatePointsBaseItem*>(target);
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
    const Selection points = selection();
    clearSelection();
    if (CoordinatePointsBaseItem* target = pointsForTinOf(item())) {
        addPoints(points, target);
    }
}

} // namespace varnel
