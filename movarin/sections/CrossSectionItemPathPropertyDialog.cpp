#include "movarin/sections/CrossSectionItemPathPropertyDialog.h"

#include "movarin/sections/CrossSectionItemController.h"
#include "movarin/sections/CrossSectionItemPathPropertyDialogStyledItemDelegate.h"
#include "movarin/sections/CrossSectionItemPropertyPathTableModel.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"

#include <guimisc/UserDialogs.h>

#include <QCheckBox>

namespace varnel {

using Self = CrossSectionItemPathPropertyDialog;

Self::CrossSectionItemPathPropertyDialog(QWidget* parent)
    : CrossSectionItemPathPropertyDialog(new CrossSectionItemPropertyPathTableModel, parent)
{
}

Self::CrossSectionItemPathPropertyDialog(CrossSectionItemPropertyPathTableModel* model,
                                         QWidget* parent)
    : PathTableDialog(model, new StyledItemDelegate, parent), m_model(model)
{
    setWindowTitle(tr("Cross Section Path Property"));
}

Self::~CrossSectionItemPathPropertyDialog() = default;

void Self::setController(CrossSectionItemController* controller)
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

void Self::accept()
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
