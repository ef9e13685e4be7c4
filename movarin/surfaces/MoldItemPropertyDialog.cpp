#include "movarin/surfaces/MoldItemPropertyDialog.h"

#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/MoldItemController.h"
#include "movarin/surfaces/MoldItemLhTableModel.h"
#include "movarin/surfaces/MoldItemPropertyDialogStyledItemDelegate.h"
#include "movarin/surfaces/MoldItemView.h"

#include <guimisc/MultiCellOperableTableView.h>
#include <guimisc/UserDialogs.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = MoldItemPropertyDialog;

MoldItemPropertyDialog::MoldItemPropertyDialog(const QString& name, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint),
      m_tableModel(new MoldItemLhTableModel(this))
{
    setupForm(name);
}

MoldItemPropertyDialog::MoldItemPropertyDialog(const QString& name, const mold::core::Mold& mold,
                                               QWidget* parent)
    : MoldItemPropertyDialog(name, parent)
{
    m_mold.mold() = mold;
    m_mold.setName(name);
    bindEditor();
    reloadMold();
}

MoldItemPropertyDialog::MoldItemPropertyDialog(mold::core::Mold::EditType editType, QWidget* parent)
    : MoldItemPropertyDialog(QString(), parent)
{
    m_mold.setEditType(editType);
    bindEditor();
}

MoldItemPropertyDialog::~MoldItemPropertyDialog()
{
    // The table and the view go with the widgets, after the mold they show.
    m_tableModel->setMoldItem(nullptr);
    m_detailView->disconnect(this);
    m_detailView->setMoldItem(nullptr);
}

void MoldItemPropertyDialog::setupForm(const QString& name)
{
    setObjectName(QStringLiteral("MoldItemPropertyDialog"));
    setWindowTitle(tr("Mold Setting"));
    resize(900, 600);

    auto* mainLayout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout();
    auto* left = new QVBoxLayout();
    auto* form = new QFormLayout();

    m_typeLabel = new QLabel(this);
    m_typeLabel->setObjectName(QStringLiteral("typeLabel"));
    form->addRow(tr("Type"), m_typeLabel);

    m_nameLineEdit = new QLineEdit(name, this);
    m_nameLineEdit->setObjectName(QStringLiteral("nameLineEdit"));
    form->addRow(tr("Name"), m_nameLineEdit);

    auto* gridRow = new QHBoxLayout();
    m_gridWidthSlider = new QSlider(Qt::Horizontal, this);
    m_gridWidthSlider->setObjectName(QStringLiteral("gridWidthSlider"));
    m_gridWidthSlider->setTickPosition(QSlider::TicksBelow);
    m_gridWidthLabel = new QLabel(tr("value"), this);
    m_gridWidthLabel->setObjectName(QStringLiteral("gridWidthLabel"));
    // Wide enough for the longest text, so that the row does not jump.
    m_gridWidthLabel->setMinimumWidth(
        m_gridWidthLabel->fontMetrics().horizontalAdvance(tr("10 cm")) + 8);
    m_autoCheckBox = new QCheckBox(tr("Auto"), this);
    m_autoCheckBox->setObjectName(QStringLiteral("autoCheckBox"));
    gridRow->addWidget(m_gridWidthSlider, 1);
    gridRow->addWidget(m_gridWidthLabel);
    gridRow->addWidget(m_autoCheckBox);
    form->addRow(tr("Grid width"), gridRow);
    left->addLayout(form);

    m_detailView = new DetailView(this);
    m_detailView->setObjectName(QStringLiteral("detailView"));
    m_detailView->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    left->addWidget(m_detailView, 1);
    columns->addLayout(left, 3);

    m_tableView = new guimisc::MultiCellOperableTableView(this);
    m_tableView->setObjectName(QStringLiteral("lhTableView"));
    m_tableView->setModel(m_tableModel);
    m_tableView->setItemDelegate(new StyledItemDelegate(m_tableView));
    m_tableView->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    columns->addWidget(m_tableView, 1);
    mainLayout->addLayout(columns, 1);

    m_buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    mainLayout->addWidget(m_buttonBox);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &Self::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &Self::reject);

    m_gridWidthSlider->setRange(0, 2);
    m_gridWidthSlider->setTickInterval(1);
    m_gridWidthSlider->setPageStep(1);
    m_gridWidthSlider->setValue(2);
}

void MoldItemPropertyDialog::bindEditor()
{
    MoldItemController* editor = m_mold.controller();
    m_detailView->setMoldItem(&m_mold);
    updateGridWidth(m_gridWidthSlider->value());
    m_typeLabel->setText(MoldItem::editTypeDisplayText(m_mold.editType()));
    editor->bindTableModel(m_tableModel);
    m_buttonBox->button(QDialogButtonBox::Ok)->setEnabled(false);

    connect(m_detailView, &DetailView::moldDefined, this, &Self::finishInitialSetting);
    // Every change of the table reaches the mold and the view at once.
    connect(m_tableModel, &QAbstractItemModel::dataChanged, editor, &MoldItemController::update);
    connect(m_tableModel, &QAbstractItemModel::rowsInserted, editor, &MoldItemController::update);
    connect(m_tableModel, &QAbstractItemModel::rowsRemoved, editor, &MoldItemController::update);
    connect(m_tableModel, &QAbstractItemModel::dataChanged, m_detailView,
            qOverload<>(&QWidget::update));
    connect(m_gridWidthSlider, &QSlider::valueChanged, this, qOverload<int>(&Self::updateGridWidth));
    connect(m_autoCheckBox, &QCheckBox::stateChanged, this, &Self::turnOnAutoUpdate);
}

void MoldItemPropertyDialog::startDefinition()
{
    m_mold.controller()->startDefinition(m_mold.mold().editType());
    // The table shows the mold once it is defined; until then it takes no edits.
    m_tableView->setEnabled(false);
    m_detailView->setFocus();
    m_detailView->update();
}

void MoldItemPropertyDialog::reloadMold()
{
    m_mold.controller()->loadMold(m_mold);
    finishInitialSetting();
    m_detailView->update();
}

void MoldItemPropertyDialog::finishInitialSetting()
{
    m_tableModel->reset();
    m_tableView->setEnabled(true);
    m_buttonBox->button(QDialogButtonBox::Ok)->setEnabled(true);
}

void MoldItemPropertyDialog::updateGridWidth(int value)
{
    const double width = value == 0 ? 0.01 : value == 1 ? 0.1 : 1.0;
    m_mold.view()->setGridWidth(width, width);
    m_mold.controller()->setGridWidth(width, width);
    m_detailView->update();
    m_gridWidthLabel->setText(value == 0 ? tr("1 cm") : value == 1 ? tr("10 cm") : tr("1 m"));
    m_autoCheckBox->setChecked(false);
}

void MoldItemPropertyDialog::updateGridWidth()
{
    const double width = m_detailView->drawnArea().width();
    m_gridWidthSlider->setValue(width > 5.0 ? 2 : width > 0.5 ? 1 : 0);
    m_autoCheckBox->setChecked(true);
}

void MoldItemPropertyDialog::turnOnAutoUpdate(int state)
{
    if (state == Qt::Checked) {
        connect(m_detailView, &DetailView::drawnAreaChanged, this,
                qOverload<>(&Self::updateGridWidth), Qt::UniqueConnection);
        updateGridWidth();
    } else {
        disconnect(m_detailView, &DetailView::drawnAreaChanged, this,
                   qOverload<>(&Self::updateGridWidth));
    }
}

bool MoldItemPropertyDialog::isValidShape() const
{
    const std::vector<double>& l = m_mold.mold().l();
    const std::vector<double>& h = m_mold.mold().h();
    for (std::size_t i = 0; i < l.size(); ++i) {
        if (!std::isfinite(l[i]) || !std::isfinite(h[i])) {
            return false;
        }
    }
    return MoldItemController::isStrictlyMonotonic(l, l.size());
}

void MoldItemPropertyDialog::accept()
{
    if (!isValidShape()) {
        guimisc::UserDialogs::critical(this, tr("Error"), tr("The shape of the mold is invalid."));
        return;
    }
    const mold::core::Mold& mold = m_mold.mold();
    m_result = MoldSetting{m_nameLineEdit->text(), mold.editType(), mold.l(), mold.h(),
                           mold.baseL(),           mold.baseH()};
    QDialog::accept();
}

void MoldItemPropertyDialog::reject()
{
    m_result = m_backup;
    QDialog::reject();
}

} // namespace varnel
