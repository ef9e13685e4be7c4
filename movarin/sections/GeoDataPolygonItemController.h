#pragma once

#include "movarin/sections/GeoDataPolygonItem.h"
#include "movarin/sections/GeoDataPolygonItemControllerEditValueCommand.h"
#include "movarin/sections/GeoDataPolygonItemControllerTraits.h"
#include "movarin/sections/GeoDataPolygonSettingDialog.h"
#include "movarin/sections/GeoDataShapeItemControllerT.h"

namespace varnel {

/// Defines and edits a polygon of the geographic data (see `GeoDataShapeItemController`
/// for the modes) and its value.
///
/// Value. In a group with values, finishing a definition asks for the value in the value
/// dialog that cannot be cancelled, and "Edit &value" (first in the menu, then a
/// separator) asks again with Cancel; a group without values asks nothing and stores the
/// integer 0. Each answer is one undo entry ("Finish defining polygon", "Edit polygon
/// value"). "&Remove Vertex" needs at least 4 vertices.
class GeoDataPolygonItemController
    : public GeoDataShapeItemControllerT<GeoDataPolygonItemControllerTraits> {
    Q_OBJECT
public:
    using EditValueCommand = GeoDataPolygonItemControllerEditValueCommand;

    explicit GeoDataPolygonItemController(const GeoDataPolygonItem* item);
    ~GeoDataPolygonItemController() override;

    void addCustomMenuItems(QMenu* menu) override;
    void updateActionStatus() override;

    /// Asks for a value (see the class comment); true with `*value` set on OK or when the
    /// group has no values, false when the user cancelled.
    bool requestValue(bool withCancel, QVariant* value);

    QAction* editValueAction() const { return m_editValueAction; }

public slots:
    void editValue();

protected:
    bool prepareDefineEnd() override;

private:
    bool isValued() const;

    QAction* m_editValueAction;
};

} // namespace varnel
