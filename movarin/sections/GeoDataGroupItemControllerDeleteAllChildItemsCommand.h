#pragma once

#include "brask/core/ModelItemController.h"

#include <QPointer>

namespace varnel {

class GeoDataGroupItem;

/// The framework's "Delete all" of a geographic-data group's children; when polylines are
/// among them the group announces the change after the redo and after the undo.
class GeoDataGroupItemControllerDeleteAllChildItemsCommand
    : public mvc::core::ModelItemController::DeleteAllChildItemsCommand {
public:
    GeoDataGroupItemControllerDeleteAllChildItemsCommand(const QString& text,
                                                         GeoDataGroupItem* group);
    ~GeoDataGroupItemControllerDeleteAllChildItemsCommand() override;

    void redo() override;
    void undo() override;

private:
    void announce() const;

    QPointer<GeoDataGroupItem> m_group;
    bool m_hasPolylines;
};

} // namespace varnel
