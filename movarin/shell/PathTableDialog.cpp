#include "movarin/shell/PathTableDialog.h"

#include "movarin/shell/PathTableItemDelegate.h"

#include <guimisc/MultiCellOperableTableView.h>

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace varnel {

PathTableDialog::PathTableDialog(QAbstractItemModel* model, PathTableItemDelegate* delegate,
                                 QWidget* parent)
    : QDialog(parent),
      m_tableModel(model),
      m_delegate(delegate),
      m_tableView(new guimisc::MultiCellOperableTableView(this)),
      m_editAllColumns(new QCheckBox(tr("Edit all columns"), this))
{
    model->setParent(this);
    delegate->setParent(this);
    resize(400, 300);

    m_tableView->setModel(model);
    m_tableView->setItemDelegate(delegate);
    m_tableView->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_tableView->setMouseTracking(true);
    connect(m_tableView, &QAbstractItemView::entered, this, &PathTableDialog::setActiveColumn);

    auto buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PathTableDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PathTableDialog::reject);

    auto bottom = new QHBoxLayout;
    bottom->addWidget(m_editAllColumns);
    bottom->addWidget(buttons);
    auto layout = new QVBoxLayout(this);
    layout->addWidget(m_tableView);
    layout->addLayout(bottom);
}

PathTableDialog::~PathTableDialog() = default;

int PathTableDialog::activeColumn() const
{
    return m_delegate->activeColumn();
}

void PathTableDialog::reject()
{
    const int rows = m_tableModel->rowCount();
    const int columns = m_tableModel->columnCount();
    if (rows > 0 && columns > 0) {
        emit m_tableModel->dataChanged(m_tableModel->index(0, 0),
                                       m_tableModel->index(rows - 1, columns - 1), {});
    }
    QDialog::reject();
}

void PathTableDialog::setActiveColumn(const QModelIndex& index)
{
    m_delegate->setActiveColumn(m_editAllColumns->isChecked() && index.isValid() ? index.column()
                                                                                 : -1);
    // Every cell, the ones that lose the highlight as well.
    m_tableView->viewport()->update();
}

} // namespace varnel
