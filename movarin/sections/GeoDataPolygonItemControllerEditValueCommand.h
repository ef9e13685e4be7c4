#pragma once

#include <QPointer>
#include <QUndoCommand>
#include <QVariant>

namespace varnel {

class GeoDataPolygonItem;

/// Gives a polygon a new value ("Edit polygon value"); undo gives back the value it had
/// when the command was made. Never merges. The item is watched, not owned.
class GeoDataPolygonItemControllerEditValueCommand : public QUndoCommand {
public:
    GeoDataPolygonItemControllerEditValueCommand(GeoDataPolygonItem* item, const QVariant& value);
    ~GeoDataPolygonItemControllerEditValueCommand() override;

    void redo() override;
    void undo() override;

private:
    QPointer<GeoDataPolygonItem> m_item;
    QVariant m_value;
    QVariant m_previous;
};

} // namespace varnel
