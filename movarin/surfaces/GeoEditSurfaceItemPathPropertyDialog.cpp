#include "movarin/surfaces/GeoEditSurfaceItemPathPropertyDialog.h"

#include "movarin/surfaces/GeoEditSurfaceItemController.h"
#include "movarin/surfaces/GeoEditSurfaceItemPathPropertyDialogStyledItemDelegate.h"
#include "movarin/surfaces/GeoEditSurfaceItemPropertyPathTableModel.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"

#include <guimisc/MultiCellOperableTableView.h>
#include <guimisc/UserDialogs.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace varnel {

using Self = GeoEditSurfaceItemPathPropertyDialog;
using Model = GeoEditSurfaceItemPropertyPathTableModel;

Self::GeoEditSurfaceItemPathPropertyDialog(QWidget* parent)
    : QDialog(parent),
      m_model(new Model(this)),
      m_delegate(new StyledItemDelegate(this)),
      m_tableView(new guimisc::MultiCellOperableTableView(this)),
      m_editAllColumns(new QCheckBox(tr("Edit all columns"), this))
{
    setWindowTitle(tr("GeoEdit Surface Path Property"));
    resize(400, 300);

    m_tableView->setModel(m_model);
    m_tableView->setItemDelegate(m_delegate);
    m_tableView->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_tableView->setMouseTracking(true);

    auto buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &Self::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &Self::reject);

    auto bottom = new QHBoxLayout;
    bottom->addWidget(m_editAllColumns);
    bottom->addWidget(buttons);
    auto layout = new QVBoxLayout(this);
    layout->addWidget(m_tableView);
    layout->addLayout(bottom);
}

Self::~GeoEditSurfaceItemPathPropertyDialog() = default;

void Self::setController(GeoEditSurfaceItemController* controller)
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
    connect(m_editAllColumns, &QCheckBox::stateChanged, m_model, &Model::turnOnEditAllRows);
    connect(m_tableView, &QAbstractItemView::entered, this, &Self::setActiveColumn);
    m_model->setController(controller);
}

int Self::activeColumn() const
{
    return m_delegate->activeColumn();
}

void Self::accept()
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

void Self::reject()
{
    const int rows = m_model->rowCount();
    if (rows > 0) {
        emit m_model->dataChanged(m_model->index(0, 0),
                                  m_model->index(rows - 1, Model::ColumnCount - 1), {});
    }
    QDialog::reject();
}

void Self::setActiveColumn(const QModelIndex& index)
{
    m_delegate->setColumn(m_editAllColumns->isChecked() ? index : QModelIndex());
    // Every cell, the ones that lose the highlight as well.
    m_tableView->viewport()->update();
}

} // namespace varnel
