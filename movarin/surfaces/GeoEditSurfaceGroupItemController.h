#pragma once

#include "brask/core/ModelItemControllerT.h"

#include <QPointer>

namespace varnel {

class GeoEditSurfaceGroupItem;
class MoldItem;
class MoldsContainerBrowser;

/// The controller of the "GeoEdit Surfaces" folder. It makes the Mold Browser dock with the
/// project window (the item's main window) as parent and docks it in the window's right
/// dock area; the project window's View menu entry shows and hides it.
///
/// Owns the dock: destroying the controller deletes it unless the window went first. An item
/// outside a project window gets a dock without parent, docked nowhere.
class GeoEditSurfaceGroupItemController
    : public mvc::core::ModelItemControllerT<GeoEditSurfaceGroupItem> {
    Q_OBJECT
public:
    explicit GeoEditSurfaceGroupItemController(const GeoEditSurfaceGroupItem* item);
    ~GeoEditSurfaceGroupItemController() override;

    MoldsContainerBrowser* moldsContainerBrowser() const;
    /// The mold selected in the browser's current tab; null when none.
    MoldItem* selectedMoldItem() const;

private:
    QPointer<MoldsContainerBrowser> m_moldsContainerBrowser;
};

} // namespace varnel
