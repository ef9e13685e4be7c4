#pragma once

#include "brask/core/Model.h"

namespace varnel {

class EditModeMainWindowModelRootItem;

/// The item tree of an edit-mode project window. Its root item, made by the constructor,
/// holds the window's eight fixed items. The model is a node of the window item (its parent
/// item) and borrows the browser's tree view, the main view and the window. The two exports
/// of the main window's File menu arrive here and go to the root's export items.
class EditModeMainWindowModel : public mvc::core::Model {
    Q_OBJECT
public:
    EditModeMainWindowModel(mvc::core::ObjectBrowserView* objectBrowserView,
                            mvc::core::View* view, QMainWindow* window,
                            mvc::proj::ProjectItem* parent);
    ~EditModeMainWindowModel() override;

    /// Null once the tree was deleted (`deleteRootItem`).
    EditModeMainWindowModelRootItem* rootItem() const;

    /// The grid-model export of the root's export item; nothing once the tree went.
    void exportZindralGrid();
    /// The LandXML export of the root's export item; nothing once the tree went.
    void exportLandXml();
};

} // namespace varnel
