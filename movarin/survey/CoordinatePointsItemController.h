#pragma once

#include "movarin/survey/CoordinatePointsBaseItemController.h"

class QAction;
class QMenu;

namespace varnel {

class CoordinatePointsItem;

/// The controller of an imported point set: the point-set tools and, of its own,
/// "Copy Selected Points To Points For Tin", which hands the selected points to the
/// project's points for the TIN. Context menu: "Select Points With Polygon", "Select All
/// Points", a separator, the copy. Owned by the item; owns its action.
class CoordinatePointsItemController : public CoordinatePointsBaseItemController {
    Q_OBJECT
public:
    explicit CoordinatePointsItemController(const CoordinatePointsItem* item);
    ~CoordinatePointsItemController() override;

    void addCustomMenuItems(QMenu* menu) override;

    QAction* copyToPointsForTinAction() const;

public slots:
    /// Takes the selection (which is cleared) and pushes one command that adds those very
    /// point objects to the points for the TIN of the create-mode root this item hangs
    /// under; points that set already holds are left alone. An empty selection pushes a
    /// command that changes nothing. Nothing outside a create-mode tree. Runs, and repaints
    /// the view, under the wait cursor.
    void copySelectedPointsToPointsForTin();

private:
    QAction* m_copyToPointsForTinAction;
};

} // namespace varnel
