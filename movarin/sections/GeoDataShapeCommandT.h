#pragma once

#include "movarin/sections/GeoDataShapeItemController.h"

#include <guimisc/QUndoCommandSupport.h>

#include <QCoreApplication>
#include <QPointer>
#include <QString>
#include <QUndoCommand>

namespace varnel {

/// Base of the undo commands that edit one polygon or polyline (`Traits` names the item,
/// shape and controller kinds, their texts and merge keys; see
/// `GeoDataPolygonItemControllerTraits`). Redo and undo run the command's own step and then
/// let the item announce the change (`shapeChanged`: the polyline's
/// `geoDataPolylineChanged`, nothing for a polygon).
///
/// The item is watched, not owned; a command whose item is gone does nothing.
template <class Traits>
class GeoDataShapeCommandT : public QUndoCommand {
public:
    using Item = typename Traits::Item;
    using Shape = typename Traits::Shape;
    using Mode = GeoDataShapeItemController::Mode;

    void redo() final
    {
        if (m_item) {
            doRedo();
            m_item->shapeChanged();
        }
    }
    void undo() final
    {
        if (m_item) {
            doUndo();
            m_item->shapeChanged();
        }
    }

protected:
    GeoDataShapeCommandT(const char* text, Item* item)
        : QUndoCommand(QCoreApplication::translate(Traits::context, text)), m_item(item)
    {
    }

    virtual void doRedo() = 0;
    virtual void doUndo() = 0;

    Item* item() const { return m_item; }
    Shape& shape() const { return *m_item->shape(); }
    GeoDataShapeItemController* controller() const
    {
        return static_cast<GeoDataShapeItemController*>(m_item->controller());
    }
    void setMode(Mode mode, bool rubberBand) const
    {
        controller()->setMode(mode);
        controller()->setRubberBand(rubberBand);
    }
    /// The id of the merge key "<controller class>::<name>".
    static int commandId(const char* name)
    {
        return guimisc::QUndoCommandSupport::generateCommandId(
            QLatin1String(Traits::className) + QLatin1String("::") + QLatin1String(name));
    }
    /// `other` as a command of the class `Command` on the same item, else null.
    template <class Command>
    const Command* sameKind(const QUndoCommand* other) const
    {
        auto command = dynamic_cast<const Command*>(other);
        return command && command->m_item == m_item ? command : nullptr;
    }

private:
    QPointer<Item> m_item;
};

} // namespace varnel
