#include "movarin/sections/GeoDataPolygonItemControllerEditValueCommand.h"

#include "movarin/sections/GeoDataPolygonItem.h"

#include <QCoreApplication>

namespace varnel {

GeoDataPolygonItemControllerEditValueCommand::GeoDataPolygonItemControllerEditValueCommand(
    GeoDataPolygonItem* item, const QVariant& value)
    : QUndoCommand(QCoreApplication::translate("varnel::GeoDataPolygonItemController",
                                               "Edit polygon value")),
      m_item(item),
      m_value(value),
      m_previous(item->value())
{
}

GeoDataPolygonItemControllerEditValueCommand::~GeoDataPolygonItemControllerEditValueCommand() =
    default;

void GeoDataPolygonItemControllerEditValueCommand::redo()
{
    if (m_item) {
        m_item->setValue(m_value);
    }
}

void GeoDataPolygonItemControllerEditValueCommand::undo()
{
    if (m_item) {
        m_item->setValue(m_previous);
    }
}

} // namespace varnel
