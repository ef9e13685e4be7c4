#pragma once

#include "movarin/sections/GeoDataShapeDefineAddPointCommandT.h"
#include "movarin/sections/GeoDataShapeDefineEndCommandT.h"
#include "movarin/sections/GeoDataShapeDefineStartCommandT.h"
#include "movarin/sections/GeoDataShapeDeletePointCommandT.h"
#include "movarin/sections/GeoDataShapeInsertPointCommandT.h"
#include "movarin/sections/GeoDataShapeItemController.h"
#include "movarin/sections/GeoDataShapeItemControllerUpdateMouseCursorCommand.h"
#include "movarin/sections/GeoDataShapeMovePointCommandT.h"
#include "movarin/sections/GeoDataShapeSetSettingCommandT.h"

#include <QCoreApplication>
#include <QVariant>

namespace varnel {

/// The editing controller of one shape kind (`Traits`, see
/// `GeoDataPolygonItemControllerTraits`): the mode machine of `GeoDataShapeItemController`
/// with the kind's commands, its minimum and its property dialog. Every geometry command
/// is wrapped in an `UpdateMouseCursorCommand` and pushed with a repaint.
template <class Traits>
class GeoDataShapeItemControllerT : public GeoDataShapeItemController {
public:
    using Item = typename Traits::Item;
    using SettingDialog = typename Traits::SettingDialog;
    using DefineStartCommand = GeoDataShapeDefineStartCommandT<Traits>;
    using DefineAddPointCommand = GeoDataShapeDefineAddPointCommandT<Traits>;
    using DefineEndCommand = GeoDataShapeDefineEndCommandT<Traits>;
    using InsertPointCommand = GeoDataShapeInsertPointCommandT<Traits>;
    using DeletePointCommand = GeoDataShapeDeletePointCommandT<Traits>;
    using MovePointCommand = GeoDataShapeMovePointCommandT<Traits>;
    using SetSettingCommand = GeoDataShapeSetSettingCommandT<Traits>;
    using UpdateMouseCursorCommand = GeoDataShapeItemControllerUpdateMouseCursorCommand;

    Item* item() const { return static_cast<Item*>(ModelItemController::item()); }

    /// The setting dialog filled with the item's setting; owned by the caller.
    QDialog* propertyDialog(QWidget* parent) override
    {
        auto dialog = new SettingDialog(parent);
        dialog->setSetting(item()->setting());
        return dialog;
    }

protected:
    explicit GeoDataShapeItemControllerT(const Item* item) : GeoDataShapeItemController(item) {}

    void handlePropertyDialogAccepted(QDialog* dialog) override
    {
        pushUpdateViewCommand(
            new SetSettingCommand(item(), static_cast<SettingDialog*>(dialog)->setting()));
    }

    const std::vector<tin::core::Point2D>& vertices() const override
    {
        return item()->shape()->points();
    }
    bool isClosed() const override { return Traits::closed; }
    int minimumVertexCount() const override { return Traits::minimumVertexCount; }
    QString tooFewPointsMessage() const override
    {
        return QCoreApplication::translate(Traits::context, Traits::tooFewPointsText);
    }
    bool prepareDefineEnd() override { return true; }

    void pushDefineStart(const tin::core::Point2D& p, bool pressed) override
    {
        pushGeometryCommand(new DefineStartCommand(item(), p, pressed));
    }
    void pushDefineAddPoint(const tin::core::Point2D& p, bool pressed) override
    {
        pushGeometryCommand(new DefineAddPointCommand(item(), p, pressed));
    }
    void pushDefineEnd() override
    {
        pushGeometryCommand(new DefineEndCommand(item(), m_definedValue));
    }
    void pushInsertPoint(int index, const tin::core::Point2D& p, bool pressed) override
    {
        pushGeometryCommand(new InsertPointCommand(item(), index, p, pressed));
    }
    void pushMovePoint(int index, const tin::core::Point2D& p, bool pressed) override
    {
        pushGeometryCommand(new MovePointCommand(item(), index, p, pressed));
    }
    void pushDeletePoint(int index) override
    {
        pushGeometryCommand(new DeletePointCommand(item(), index));
    }

    /// The value that the next "Finish defining" gives the item.
    void setDefinedValue(const QVariant& value) { m_definedValue = value; }

private:
    void pushGeometryCommand(QUndoCommand* command)
    {
        pushUpdateViewCommand(new UpdateMouseCursorCommand(command, this));
    }

    QVariant m_definedValue;
};

} // namespace varnel
