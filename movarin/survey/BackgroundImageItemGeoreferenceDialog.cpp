#include "movarin/survey/BackgroundImageItemGeoreferenceDialog.h"

#include "movarin/survey/AddibleGcpTableModel.h"
#include "movarin/survey/BackgroundImageItem.h"
#include "movarin/survey/GcpSimilarityFit.h"
#include "movarin/survey/GeoreferenceView.h"

#include "brask/core/Model.h"
#include "brask/core/View.h"
#include "pelkas/GdalImage.h"

#include <common/exception/RuntimeException.h>
#include <guimisc/MultiCellOperableTableView.h>
#include <guimisc/UserDialogs.h>

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelection>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = BackgroundImageItemGeoreferenceDialog;

BackgroundImageItemGeoreferenceDialog::StyledItemDelegate::StyledItemDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{}

QString
BackgroundImageItemGeoreferenceDialog::StyledItemDelegate::displayText(const QVariant& value,
                                                                       const QLocale& locale) const
{
    if (value.type() == QVariant::Double) {
        return locale.toString(value.toDouble(), 'f', m_decimals);
    }
    return QStyledItemDelegate::displayText(value, locale);
}

QWidget* BackgroundImageItemGeoreferenceDialog::StyledItemDelegate::createEditor(QWidget* parent,
                                                const QStyleOptionViewItem& option,
                                                const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* spinBox = qobject_cast<QDoubleSpinBox*>(editor)) {
        // Before the base class fills the box, or the value is rounded to its 2 decimals.
        spinBox->setDecimals(m_decimals);
    }
    return editor;
}

BackgroundImageItemGeoreferenceDialog::BackgroundImageItemGeoreferenceDialog(
    BackgroundImageItem* item, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint),
      m_item(item),
      m_openingSetting(item->image() ? item->image()->setting() : gdalimg::GdalImageSetting()),
      m_model(new AddibleGcpTableModel(this))
{
    setWindowTitle(tr("Georeference"));

    auto* verticalLayout = new QVBoxLayout(this);
    verticalLayout->setObjectName("verticalLayout");
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName("splitter");
    m_imageWidget = new GeoreferenceView(splitter);
    m_imageWidget->setObjectName("imageWidget");
    QSizePolicy expanding(QSizePolicy::Expanding, QSizePolicy::Expanding);
    expanding.setHorizontalStretch(1);
    expanding.setVerticalStretch(1);
    m_imageWidget->setSizePolicy(expanding);
    m_tableView = new guimisc::MultiCellOperableTableView(splitter);
    m_tableView->setObjectName("gcpTableView");
    splitter->addWidget(m_imageWidget);
    splitter->addWidget(m_tableView);
    verticalLayout->addWidget(splitter);

    auto* horizontalLayout = new QHBoxLayout();
    horizontalLayout->setObjectName("horizontalLayout");
    auto* buttonBox = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply,
        Qt::Horizontal, this);
    buttonBox->setObjectName("buttonBox");
    m_hideButton = new QPushButton(this);
    m_hideButton->setObjectName("hideButton");
    horizontalLayout->addWidget(buttonBox);
    horizontalLayout->addWidget(m_hideButton);
    verticalLayout->addLayout(horizontalLayout);
    setMinimumSize(400, 500);

    m_tableView->setModel(m_model);
    m_tableView->setItemDelegate(new StyledItemDelegate(m_tableView));
    QHeaderView* header = m_tableView->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    header->setSectionResizeMode(0, QHeaderView::Fixed);
    // The style's minimum section is wider than a check box needs.
    header->setMinimumSectionSize(20);
    header->resizeSection(0, 20);
    // A map coordinate has up to seven digits before its five decimals: the dialog opens
    // wide enough to show four of them side by side (at 400 pixels they were cut off).
    const int column =
        m_tableView->fontMetrics().horizontalAdvance(QStringLiteral("-0000000.00000")) + 12;
    const int table = 20 + 4 * column + style()->pixelMetric(QStyle::PM_ScrollBarExtent)
                      + 2 * m_tableView->frameWidth();
    const QMargins margins = verticalLayout->contentsMargins();
    resize(std::max(400, table + margins.left() + margins.right()), 500);

    m_imageWidget->setImageItem(item, m_model);
    m_imageWidget->connectDialog(this);

    connect(m_tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Self::handleSelectionChanged);
    // accept() and reject() first: they decide what the handlers after them find.
    connect(buttonBox, &QDialogButtonBox::accepted, this, &Self::accept);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &Self::handleAccepted);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &Self::reject);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &Self::handleRejected);
    connect(buttonBox->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, &Self::apply);
    connect(m_hideButton, &QPushButton::clicked, this, &Self::handleHideButtonClicked);
    updateHideButtonText();
}

BackgroundImageItemGeoreferenceDialog::~BackgroundImageItemGeoreferenceDialog()
{
    // The children go after this part of the dialog; none of them may reach its slots.
    m_tableView->selectionModel()->disconnect(this);
}

gdalimg::GdalImageSetting BackgroundImageItemGeoreferenceDialog::setting() const
{
    return GcpSimilarityFit::fit(*m_model->gcpTable());
}

const GcpTable* BackgroundImageItemGeoreferenceDialog::gcpTable() const
{
    return m_model->gcpTable();
}

GcpTableModel* BackgroundImageItemGeoreferenceDialog::gcpTableModel() const
{
    return m_model;
}

void BackgroundImageItemGeoreferenceDialog::clearTableSelection()
{
    m_tableView->clearSelection();
}

void BackgroundImageItemGeoreferenceDialog::selectTableRows(const GcpRowIndices& indices)
{
    QItemSelection selection;
    const int lastColumn = m_model->columnCount() - 1;
    for (GcpTable::size_type row : indices) {
        if (row < static_cast<GcpTable::size_type>(m_model->rowCount())) {
            const int r = static_cast<int>(row);
            selection.select(m_model->index(r, 0), m_model->index(r, lastColumn));
        }
    }
    m_tableView->selectionModel()->select(selection, QItemSelectionModel::Select);
}

bool BackgroundImageItemGeoreferenceDialog::fitOrWarn(gdalimg::GdalImageSetting* setting)
{
    try {
        *setting = this->setting();
        return true;
    } catch (const common::exception::RuntimeException&) {
        guimisc::UserDialogs::warning(
            this, tr("Warning"),
            tr("At least two enabled control points with different positions are needed."));
        return false;
    }
}

void BackgroundImageItemGeoreferenceDialog::placeImage(const gdalimg::GdalImageSetting& setting)
{
    if (gdalimg::GdalImage* image = m_item->image()) {
        image->setSetting(setting);
    }
    if (mvc::core::Model* model = m_item->model()) {
        if (mvc::core::View* view = model->view()) {
            view->updateView();
        }
    }
    m_imageWidget->updateView();
}

void BackgroundImageItemGeoreferenceDialog::apply()
{
    gdalimg::GdalImageSetting fitted;
    if (!fitOrWarn(&fitted)) {
        return;
    }
    placeImage(fitted);
    m_applied = true;
}

void BackgroundImageItemGeoreferenceDialog::accept()
{
    gdalimg::GdalImageSetting fitted;
    if (!fitOrWarn(&fitted)) {
        return;
    }
    // The controller's command goes from the opening placement to the fitted one.
    placeImage(m_openingSetting);
    m_applied = false;
    m_acceptedByOk = true;
    QDialog::accept();
}

void BackgroundImageItemGeoreferenceDialog::reject()
{
    placeImage(m_openingSetting);
    m_applied = false;
}

void BackgroundImageItemGeoreferenceDialog::handleSelectionChanged(const QItemSelection&,
                                                                   const QItemSelection&)
{
    GcpRowIndices rows;
    for (const QModelIndex& index : m_tableView->selectionModel()->selectedIndexes()) {
        rows.insert(static_cast<GcpTable::size_type>(index.row()));
    }
    emit selectionChanged(rows);
}

void BackgroundImageItemGeoreferenceDialog::handleAccepted()
{
    if (m_acceptedByOk) {
        close();
    }
}

void BackgroundImageItemGeoreferenceDialog::handleRejected()
{
    close();
}

void BackgroundImageItemGeoreferenceDialog::handleHideButtonClicked()
{
    m_item->toggleVisibility();
    updateHideButtonText();
}

void BackgroundImageItemGeoreferenceDialog::updateHideButtonText()
{
    m_hideButton->setText(m_item->isVisible() ? tr("Hide") : tr("Show"));
}

void BackgroundImageItemGeoreferenceDialog::closeEvent(QCloseEvent* event)
{
    // Not QDialog's: it would reject(), which here keeps the dialog open.
    event->accept();
    if (m_modeEnded) {
        return;
    }
    m_modeEnded = true;
    if (m_applied) {
        const gdalimg::GdalImageSetting applied = m_item->image()->setting();
        placeImage(m_openingSetting);
        m_applied = false;
        emit appliedSettingKept(applied);
    }
    m_item->show();
    updateHideButtonText();
    emit georeferenceModeEnded();
}

} // namespace varnel
