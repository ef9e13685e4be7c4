#include "movarin/sections/CrossSectionItemPathPropertyDialog.h"

#include "movarin/sections/CrossSectionItemController.h"
#include "movarin/sections/CrossSectionItemPathPropertyDialogStyledItemDelegate.h"
#include "movarin/sections/CrossSectionItemPropertyPathTableModel.h"

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

using Self = CrossSectionItemPathPropertyDialog;

Self::CrossSectionItemPathPropertyDialog(QWidget* parent)
    : QDialog(parent),
      m_model(new CrossSectionItemPropertyPathTableModel(this)),
      m_delegate(new StyledItemDelegate(this)),
      m_tableView(new guimisc::MultiCellOperableTableView(this)),
      m_editAllColumns(new QCheckBox(tr("Edit all columns"), this))
{
    setWindowTitle(tr("Cross Section Path Property"));
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

Self::~CrossSectionItemPathPropertyDialog() = default;

void Self::setController(CrossSectionItemController* controller)
{
    const mvc::core::Model* itemModel = controller->item()->model();
    if (mvc::core::View* mainView = itemModel ? itemModel->view() : nullptr) {
        connect(m_model, &QAbstractItemModel::dataChanged, mainView,
                [mainView] { mainView->update(); });
    }
    connect(m_editAllColumns, &QCheckBox::stateChanged, m_model,
            &CrossSectionItemPropertyPathTableModel::turnOnEditAllRows);
    connect(m_tableView, &QAbstractItemView::entered, this, &Self::setActiveColumn);
    m_model->setController(controller);
}

int Self::activeColumn() const
{
    return m_delegate->activeColumn();
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

void Self::reject()
{
    const int rows = m_model->rowCount();
    if (rows > 0) {
        emit m_model->dataChanged(m_model->index(0, 0),
                                  m_model->index(rows - 1, m_model->columnCount() - 1), {});
    }
    QDialog::reject();
}

void Self::setActiveColumn(const QModelIndex& index)
{
    m_delegate->setActiveColumn(m_editAllColumns->isChecked() && index.isValid() ? index.column()
                                                                                 : -1);
    // Every cell, the ones that lose the highlight as well.
    m_tableView->viewport()->update();
}

} // namespace varnel
