#include "movarin/surfaces/GeoEditSurfaceItemPathPropertyDialog.h"

#include "movarin/surfaces/GeoEditSurfaceItemController.h"
#include "movarin/surfaces/GeoEditSurfaceItemPathPropertyDialogStyledItemDelegate.h"
#include "movarin/surfaces/GeoEditSurfaceItemPropertyPathTableModel.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"

#include <guimisc/UserDialogs.h>

#include <QCheckBox>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = GeoEditSurfaceItemPathPropertyDialog;
using Model = GeoEditSurfaceItemPropertyPathTableModel;

GeoEditSurfaceItemPathPropertyDialog::GeoEditSurfaceItemPathPropertyDialog(QWidget* parent)
    : GeoEditSurfaceItemPathPropertyDialog(new Model, parent)
{
}

GeoEditSurfaceItemPathPropertyDialog::GeoEditSurfaceItemPathPropertyDialog(Model* model,
                                                                           QWidget* parent)
    : PathTableDialog(model, new StyledItemDelegate, parent),
      m_model(model)
{
    setWindowTitle(tr("GeoEdit Surface Path Property"));
}

GeoEditSurfaceItemPathPropertyDialog::~GeoEditSurfaceItemPathPropertyDialog() = default;

void GeoEditSurfaceItemPathPropertyDialog::setController(GeoEditSurfaceItemController* controller)
{
    const mvc::core::Model* itemModel = controller->item()->model();
    mvc::core::View* mainView = itemModel ? itemModel->view() : nullptr;
    // The outline and the main view follow every change of the path, rows added and
    // removed included.
    const auto follow = [controller, mainView] {
        controller->updateAuxiliaries();
        if (mainView) {
            mainView->update();
        }
    };
    connect(m_model, &QAbstractItemModel::dataChanged, controller, follow);
    connect(m_model, &QAbstractItemModel::rowsInserted, controller, follow);
    connect(m_model, &QAbstractItemModel::rowsRemoved, controller, follow);
    connect(editAllColumnsCheckBox(), &QCheckBox::stateChanged, m_model, &Model::turnOnEditAllRows);
    m_model->setController(controller);
}

void GeoEditSurfaceItemPathPropertyDialog::accept()
{
    std::vector<tin::core::Point> path;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        path.emplace_back(m_model->index(row, Model::X).data(Qt::EditRole).toDouble(),
                          m_model->index(row, Model::Y).data(Qt::EditRole).toDouble());
    }
    if (GeoEditSurfaceItemController::hasRepeatedNeighbours(path)) {
        guimisc::UserDialogs::critical(this, tr("Error"),
                                       tr("Cannot add the same position more than once."));
        return;
    }
    QDialog::accept();
}

} // namespace varnel
