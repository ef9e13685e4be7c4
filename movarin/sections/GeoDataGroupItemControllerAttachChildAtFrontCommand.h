#pragma once

#include "brask/core/AttachChildAtFrontCommand.h"

#include <QPointer>

namespace varnel {

class GeoDataGroupItem;

/// The framework's attach-at-front of a new child of a geographic-data group; when the
/// child is a polyline the group announces the change after the redo and after the undo,
/// so that listeners see the polyline come and go.
class GeoDataGroupItemControllerAttachChildAtFrontCommand
    : public mvc::core::AttachChildAtFrontCommand {
public:
    GeoDataGroupItemControllerAttachChildAtFrontCommand(const QString& text,
                                                        mvc::core::ModelItem* child,
                                                        GeoDataGroupItem* group);
    ~GeoDataGroupItemControllerAttachChildAtFrontCommand() override;

    void redo() override;
    void undo() override;

private:
    void announce() const;

    QPointer<GeoDataGroupItem> m_group;
};

} // namespace varnel
