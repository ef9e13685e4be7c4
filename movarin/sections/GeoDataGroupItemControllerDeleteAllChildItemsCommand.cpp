#include "movarin/sections/GeoDataGroupItemControllerDeleteAllChildItemsCommand.h"

#include "movarin/sections/GeoDataGroupItem.h"

namespace varnel {

namespace {

bool holdsPolylines(const GeoDataGroupItem* group)
{
    int polygons = 0;
    int polylines = 0;
    group->countPolygonsAndPolylines(&polygons, &polylines);
    return polylines > 0;
}

} // namespace

GeoDataGroupItemControllerDeleteAllChildItemsCommand::
    GeoDataGroupItemControllerDeleteAllChildItemsCommand(const QString& text,
                                                         GeoDataGroupItem* group)
    : DeleteAllChildItemsCommand(text, group), m_group(group), m_hasPolylines(holdsPolylines(group))
{
}

GeoDataGroupItemControllerDeleteAllChildItemsCommand::
    ~GeoDataGroupItemControllerDeleteAllChildItemsCommand() = default;

void GeoDataGroupItemControllerDeleteAllChildItemsCommand::redo()
{
    DeleteAllChildItemsCommand::redo();
    announce();
}

void GeoDataGroupItemControllerDeleteAllChildItemsCommand::undo()
{
    DeleteAllChildItemsCommand::undo();
    announce();
}

void GeoDataGroupItemControllerDeleteAllChildItemsCommand::announce() const
{
    if (m_group && m_hasPolylines) {
        m_group->announcePolylineChange();
    }
}

} // namespace varnel
