#include "movarin/sections/GeoDataPolygonItemController.h"

#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/sections/GeoDataGroupValueEditDialog.h"
#include "movarin/sections/GeoDataGroupValueEditWidget.h"

#include <QAction>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>

namespace varnel {

GeoDataPolygonItemController::GeoDataPolygonItemController(const GeoDataPolygonItem* item)
    : GeoDataShapeItemControllerT(item), m_editValueAction(new QAction(tr("Edit &value"), this))
{
    connect(m_editValueAction, &QAction::triggered, this, &GeoDataPolygonItemController::editValue);
}

GeoDataPolygonItemController::~GeoDataPolygonItemController() = default;

bool GeoDataPolygonItemController::isValued() const
{
    const GeoDataGroupItem* group = item()->groupItem();
    return group && group->valueType() != GeoDataGroupItem::None;
}

void GeoDataPolygonItemController::addCustomMenuItems(QMenu* menu)
{
    if (isValued()) {
        menu->addAction(m_editValueAction);
        menu->addSeparator();
    }
    GeoDataShapeItemControllerT::addCustomMenuItems(menu);
}

void GeoDataPolygonItemController::updateActionStatus()
{
    GeoDataShapeItemControllerT::updateActionStatus();
    m_editValueAction->setEnabled(mode() != WaitingFirstPoint && mode() != Defining);
}

bool GeoDataPolygonItemController::requestValue(bool withCancel, QVariant* value)
{
    const GeoDataGroupItem* group = item()->groupItem();
    GeoDataGroupValueEditWidget* editor = group ? group->buildValueEditWidget() : nullptr;
    if (!editor) {
        *value = QVariant(0);
        return true;
    }
    GeoDataGroupValueEditDialog dialog(mainWindow());
    dialog.setWindowIcon(QIcon(QStringLiteral(":/images/iconPolygon.png")));
    dialog.setWindowTitle(tr("Edit %1 value").arg(item()->caption()));
    dialog.setWidget(editor);
    dialog.setValue(item()->value());
    if (!withCancel) {
        dialog.disableCancel();
    }
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    *value = dialog.value();
    return true;
}

void GeoDataPolygonItemController::editValue()
{
    guarded([this] {
        QVariant value;
        if (requestValue(true, &value)) {
            pushUpdateViewCommand(new EditValueCommand(item(), value));
        }
    });
}

bool GeoDataPolygonItemController::prepareDefineEnd()
{
    QVariant value;
    if (!requestValue(false, &value)) {
        return false;
    }
    setDefinedValue(value);
    return true;
}

} // namespace varnel
