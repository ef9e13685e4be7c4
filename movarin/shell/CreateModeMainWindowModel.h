#pragma once

#include "brask/core/Model.h"

namespace varnel {

class CreateModeMainWindowModelRootItem;

/// The item tree of a create-mode project window. Its root item, made by the constructor,
/// holds the window's five fixed items. The model is a node of the window item (its parent
/// item) and borrows the browser's tree view, the main view and the window.
class CreateModeMainWindowModel : public mvc::core::Model {
    Q_OBJECT
public:
    CreateModeMainWindowModel(mvc::core::ObjectBrowserView* objectBrowserView,
                              mvc::core::View* view, QMainWindow* window,
                              mvc::proj::ProjectItem* parent);
    ~CreateModeMainWindowModel() override;

    /// Null once the tree was deleted (`deleteRootItem`).
    CreateModeMainWindowModelRootItem* rootItem() const;
};

} // namespace varnel
