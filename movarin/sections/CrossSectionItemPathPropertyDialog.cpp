#include "movarin/sections/CrossSectionItemPathPropertyDialog.h"

#include "movarin/sections/CrossSectionItemController.h"
#include "movarin/sections/CrossSectionItemPathPropertyDialogStyledItemDelegate.h"
#include "movarin/sections/CrossSectionItemPropertyPathTableModel.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"

#include <guimisc/UserDialogs.h>

#include <QCheckBox>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = CrossSectionItemPathPropertyDialog;

CrossSectionItemPathPropertyDialog::CrossSectionItemPathPropertyDialog(QWidget* parent)
    : CrossSectionItemPathPropertyDialog(new CrossSectionItemPropertyPathTableModel, parent)
{
}

CrossSectionItemPathPropertyDialog::CrossSectionItemPathPropertyDialog(
    CrossSectionItemPropertyPathTableModel* model, QWidget* parent)
    : PathTableDialog(model, new StyledItemDelegate, parent),
      m_model(model)
{
    setWindowTitle(tr("Cross Section Path Property"));
}

CrossSectionItemPathPropertyDialog::~CrossSectionItemPathPropertyDialog() = default;

void CrossSectionItemPathPropertyDialog::setController(CrossSectionItemController* controller)
{
    const mvc::core::Model* itemModel = controller->item()->model();
    if (mvc::core::View* mainView = itemModel ? itemModel->view() : nullptr) {
        connect(m_model, &QAbstractItemModel::dataChanged, mainView,
                [mainView] { mainView->update(); });
    }
    connect(editAllColumnsCheckBox(), &QCheckBox::stateChanged, m_model,
            &CrossSectionItemPropertyPathTableModel::turnOnEditAllRows);
    m_model->setController(controller);
}

void CrossSectionItemPathPropertyDialog::accept()
{
    const int rows = m_model->rowCount();
    std::vector<tin::core::Point2D> path;
    for (int row = 0; row < rows; ++row) {
        path.emplace_back(m_model->index(row, 0).data(Qt::EditRole).toDouble(),
                          m_model->index(row, 1).data(Qt::EditRole).toDouble());
    }
    if (path.size() < 2) {
        guimisc::UserDialogs::critical(this, tr("Error"),
                                       tr("A cross section needs a start and an end point."));
        return;
    }
    if (CrossSectionItemController::hasRepeatedPosition(path)) {
        guimisc::UserDialogs::critical(this, tr("Error"),
                                       tr("Cannot add the same position more than once."));
        return;
    }
    QDialog::accept();
}

} // namespace varnel
