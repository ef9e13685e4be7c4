#include "movarin/sections/CrossSectionDialog.h"

#include "movarin/sections/CrossSectionDialogStyledItemDelegate.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionItemController.h"
#include "movarin/sections/CrossSectionLhTableModel.h"
#include "movarin/sections/CrossSectionLhView.h"
#include "movarin/sections/GeoDataPolylineItem.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItem.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemController.h"
#include "movarin/survey/TinItem.h"

#include "orlin/core/Tin.h"

#include <guimisc/MultiCellOperableTableView.h>

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelection>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <exception>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = CrossSectionDialog;

namespace {

constexpr int GRID_POSITIONS = 4;
constexpr int DEFAULT_GRID_POSITION = 2;
constexpr int VALUE_LABEL_WIDTH = 30;
constexpr int ENABLED_COLUMN_WIDTH = 20;

int clampedPosition(int position)
{
    return std::clamp(position, 0, GRID_POSITIONS - 1);
}

EditModeMainWindowModelRootItem* rootOf(const CrossSectionItem* section)
{
    mvc::core::ModelItem* group = section ? section->parentItem() : nullptr;
    return group ? qobject_cast<EditModeMainWindowModelRootItem*>(group->parentItem()) : nullptr;
}

QSlider* gridSlider(const QString& name, QWidget* parent)
{
    auto slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(name);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    slider->setPageStep(1);
    slider->setRange(0, GRID_POSITIONS - 1);
    slider->setValue(DEFAULT_GRID_POSITION);
    return slider;
}

QLabel* valueLabel(const QString& name, QWidget* parent)
{
    auto label = new QLabel(Self::gridWidthText(DEFAULT_GRID_POSITION), parent);
    label->setObjectName(name);
    // Narrow, but never so narrow that "10 cm" is cut; of one width, so the row keeps still.
    const QFontMetrics metrics = label->fontMetrics();
    int width = VALUE_LABEL_WIDTH;
    for (int position = 0; position < GRID_POSITIONS; ++position) {
        width = std::max(width, metrics.horizontalAdvance(Self::gridWidthText(position)) + 4);
    }
    label->setFixedWidth(width);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QCheckBox* checkBox(const QString& text, const QString& name, QWidget* parent)
{
    auto box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

template <class Compute>
auto CrossSectionDialog::computed(const char* what, Compute compute) -> decltype(compute())
{
    try {
        return compute();
    } catch (const std::exception& e) {
        qWarning("The cross-section window could not compute %s: %s", what, e.what());
        return {};
    }
}

CrossSectionDialog::CrossSectionDialog(CrossSectionItem* section, QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_section(section),
      m_model(new CrossSectionLhTableModel(&m_currentRows, this))
{
    m_currentRows = computed("the current profile", [&] {
        return section ? section->currentLhTable(false) : Rows();
    });
    m_baseRows = computed("the base profile",
                          [&] { return section ? section->baseLhTable(true) : Rows(); });
    m_crossings = computed("the polyline crossings", [&] { return crossingsNow(); });
    connectSignals();
    setupForm();
}

CrossSectionDialog::~CrossSectionDialog()
{
    // The plot and the table go before the rows and the model they show.
    delete m_lhView;
    delete m_tableView;
}

CrossSectionItem* CrossSectionDialog::section() const
{
    return m_section;
}

QTableView* CrossSectionDialog::tableView() const
{
    return m_tableView;
}

void CrossSectionDialog::clearTableSelection()
{
    const QSignalBlocker blocker(m_tableView->selectionModel());
    m_tableView->selectionModel()->clearSelection();
    m_tableView->viewport()->update();
}

void CrossSectionDialog::selectTableRows(const CrossSectionLhRowIndices& indices)
{
    const int count = m_model->rowCount();
    QItemSelection selection;
    int first = count;
    for (const auto i : indices) {
        if (i < static_cast<std::size_t>(count)) {
            const int row = static_cast<int>(i);
            selection.select(m_model->index(row, 0),
                             m_model->index(row, CrossSectionLhTableModel::ColumnCount - 1));
            first = std::min(first, row);
        }
    }
    {
        const QSignalBlocker blocker(m_tableView->selectionModel());
        m_tableView->selectionModel()->select(selection, QItemSelectionModel::Select);
    }
    if (first < count) {
        m_tableView->scrollTo(m_model->index(first, CrossSectionLhTableModel::LColumn));
    }
    m_tableView->viewport()->update();
}

double CrossSectionDialog::gridWidth(int position)
{
    static constexpr std::array<double, GRID_POSITIONS> widths{0.01, 0.1, 1.0, 10.0};
    return widths[static_cast<std::size_t>(clampedPosition(position))];
}

QString CrossSectionDialog::gridWidthText(int position)
{
    switch (clampedPosition(position)) {
    case 0:
        return tr("1 cm");
    case 1:
        return tr("10 cm");
    case 2:
        return tr("1 m");
    default:
        return tr("10 m");
    }
}

int CrossSectionDialog::gridPosition(double drawn)
{
    return drawn > 90.0 ? 3 : drawn > 9.0 ? 2 : drawn > 0.9 ? 1 : 0;
}

void CrossSectionDialog::reject()
{
    close();
}

void CrossSectionDialog::updateGridWidthX(int position)
{
    m_lhView->setGridWidthX(gridWidth(position));
    m_gridWidthXLabel->setText(gridWidthText(position));
    m_autoCheckBox->setChecked(false);
}

void CrossSectionDialog::updateGridWidthY(int position)
{
    m_lhView->setGridWidthY(gridWidth(position));
    m_gridWidthYLabel->setText(gridWidthText(position));
    m_autoCheckBox->setChecked(false);
}

void CrossSectionDialog::updateGridWidth()
{
    const QRectF area = m_lhView->drawnArea();
    const QTransform margins = m_lhView->modifyTransform();
    m_gridWidthXSlider->setValue(gridPosition(area.width() * margins.m11()));
    m_gridWidthYSlider->setValue(gridPosition(area.height() * margins.m22()));
    m_autoCheckBox->setChecked(true);
}

void CrossSectionDialog::turnOnAutoUpdate(int state)
{
    if (state != Qt::Unchecked) {
        connect(m_lhView, &CrossSectionLhView::drawnAreaChanged, this,
                qOverload<>(&Self::updateGridWidth), Qt::UniqueConnection);
        updateGridWidth();
    } else {
        disconnect(m_lhView, &CrossSectionLhView::drawnAreaChanged, this,
                   qOverload<>(&Self::updateGridWidth));
    }
}

void CrossSectionDialog::setShowGridX(int state)
{
    m_lhView->setShowGridX(state == Qt::Checked);
}

void CrossSectionDialog::setShowGridY(int state)
{
    m_lhView->setShowGridY(state == Qt::Checked);
}

void CrossSectionDialog::setShowBaseTin(int state)
{
    m_lhView->setShowBaseTin(state == Qt::Checked);
}

void CrossSectionDialog::setShowDetail(int state)
{
    m_lhView->setShowDetail(state == Qt::Checked);
}

void CrossSectionDialog::handleSelectionChanged(const QItemSelection&, const QItemSelection&)
{
    CrossSectionLhRowIndices rows;
    for (const QModelIndex& index : m_tableView->selectionModel()->selectedRows()) {
        rows.insert(static_cast<std::size_t>(index.row()));
    }
    emit selectionChanged(rows);
}

void CrossSectionDialog::updateLhTable(const tin::core::Tin& partialTin)
{
    if (computed("the reach of a changed TIN",
                 [&] { return m_section && m_section->intersectsTin(&partialTin); })) {
        updateLhTable();
    }
}

void CrossSectionDialog::updateLhTable()
{
    m_currentRows = computed("the current profile", [&] {
        return m_section ? m_section->currentLhTable(false) : Rows();
    });
    m_lhView->update();
    m_model->reset();
}

void CrossSectionDialog::updateOriginalLhTable()
{
    m_baseRows = computed("the base profile",
                          [&] { return m_section ? m_section->baseLhTable(true) : Rows(); });
    m_lhView->update();
    m_model->reset();
}

void CrossSectionDialog::updatePolylineIntersectionLs()
{
    m_crossings = computed("the polyline crossings", [&] { return crossingsNow(); });
    m_lhView->update();
}

void CrossSectionDialog::updateAuxiliaryLhTable(const tin::core::Tin* addedTin,
                                                const tin::core::Tin*)
{
    m_auxiliaryRows = computed("the brush preview", [&] {
        return m_section && addedTin && !addedTin->empty()
                   ? m_section->buildLhTable(addedTin, false)
                   : Rows();
    });
    m_lhView->update();
}

void CrossSectionDialog::closeEvent(QCloseEvent* event)
{
    if (m_section) {
        m_section->controller()->closeCrossSectionDialog();
    }
    event->accept();
}

CrossSectionPolylineCrossings CrossSectionDialog::crossingsNow() const
{
    CrossSectionPolylineCrossings crossings;
    EditModeMainWindowModelRootItem* root = rootOf(m_section);
    if (!root) {
        return crossings;
    }
    CrossSectionItem::PolylineLs ls;
    m_section->polylineIntersectionLs(&ls);
    // In the order of the geographic data, so that the labels stack the same way on every
    // paint.
    for (const mvc::core::ModelItem* group : root->geoDataTopItem()->childItems()) {
        for (mvc::core::ModelItem* child : group->childItems()) {
            auto polyline = qobject_cast<GeoDataPolylineItem*>(child);
            const auto found = polyline ? ls.find(polyline) : ls.end();
            if (found != ls.end()) {
                crossings.push_back({polyline, std::move(found->second)});
            }
        }
    }
    return crossings;
}

void CrossSectionDialog::connectSignals()
{
    CrossSectionItem* section = m_section;
    EditModeMainWindowModelRootItem* root = rootOf(section);
    if (!root) {
        return;
    }
    connect(root->tinItem(), &ReadOnlyTinItem::tinChanged, this,
            qOverload<const tin::core::Tin&>(&Self::updateLhTable));
    CrossSectionItemController* controller = section->controller();
    connect(controller, &CrossSectionItemController::changed, this,
            qOverload<>(&Self::updateLhTable));
    connect(controller, &CrossSectionItemController::changed, this, &Self::updateOriginalLhTable);
    connect(root->geoDataTopItem(), &GeoDataTopItem::geoDataPolylineChanged, this,
            &Self::updatePolylineIntersectionLs);
    connect(controller, &CrossSectionItemController::changed, this,
            &Self::updatePolylineIntersectionLs);
    connect(root->geoEditSurfaceGroupItem()->groupController(),
            &GeoEditSurfaceGroupItemController::brushEditAddedTinChanged, this,
            &Self::updateAuxiliaryLhTable);
}

void CrossSectionDialog::setupForm()
{
    setWindowTitle(tr("Cross Section"));
    resize(900, 500);
    auto layout = new QVBoxLayout(this);

    auto controls = new QHBoxLayout();
    m_gridWidthXLabel = valueLabel(QStringLiteral("gridWidthXLabel"), this);
    m_gridWidthXSlider = gridSlider(QStringLiteral("gridWidthXSlider"), this);
    m_showGridXCheckBox = checkBox(tr("Show"), QStringLiteral("showGridXCheckBox"), this);
    m_gridWidthYLabel = valueLabel(QStringLiteral("gridWidthYLabel"), this);
    m_gridWidthYSlider = gridSlider(QStringLiteral("gridWidthYSlider"), this);
    m_showGridYCheckBox = checkBox(tr("Show"), QStringLiteral("showGridYCheckBox"), this);
    m_autoCheckBox = checkBox(tr("Auto"), QStringLiteral("autoCheckBox"), this);
    m_showBaseCheckBox = checkBox(tr("Show base"), QStringLiteral("showBaseCheckBox"), this);
    m_showSlopeCheckBox = checkBox(tr("Show slope"), QStringLiteral("showSlopeCheckBox"), this);
    controls->addWidget(new QLabel(tr("Grid width (L)"), this));
    controls->addWidget(m_gridWidthXLabel);
    controls->addWidget(m_gridWidthXSlider);
    controls->addWidget(m_showGridXCheckBox);
    controls->addWidget(new QLabel(QString(QChar(0x3000)), this));
    controls->addWidget(new QLabel(tr("Grid width (H)"), this));
    controls->addWidget(m_gridWidthYLabel);
    controls->addWidget(m_gridWidthYSlider);
    controls->addWidget(m_showGridYCheckBox);
    controls->addWidget(m_autoCheckBox);
    controls->addWidget(m_showBaseCheckBox);
    controls->addWidget(m_showSlopeCheckBox);
    layout->addLayout(controls);
    m_showGridXCheckBox->setChecked(true);
    m_showGridYCheckBox->setChecked(true);

    auto splitter = new QSplitter(Qt::Horizontal, this);
    m_lhView = new CrossSectionLhView(splitter);
    m_lhView->setObjectName(QStringLiteral("lhView"));
    auto table = new guimisc::MultiCellOperableTableView(splitter);
    m_tableView = table;
    m_tableView->setObjectName(QStringLiteral("lhTableView"));
    // A click anywhere in a row selects the row: the plot marks whole rows.
    m_tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tableView->setModel(m_model);
    m_tableView->setItemDelegate(new StyledItemDelegate(m_tableView));
    QHeaderView* header = m_tableView->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    header->setSectionResizeMode(CrossSectionLhTableModel::EnabledColumn, QHeaderView::Fixed);
    header->resizeSection(CrossSectionLhTableModel::EnabledColumn, ENABLED_COLUMN_WIDTH);
    splitter->addWidget(m_lhView);
    splitter->addWidget(m_tableView);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({660, 240});
    layout->addWidget(splitter, 1);
    layout->addWidget(new QDialogButtonBox(this));

    m_lhView->setUpItem(m_section, m_model);
    m_lhView->setBaseRows(&m_baseRows);
    m_lhView->setAuxiliaryRows(&m_auxiliaryRows);
    m_lhView->setPolylineCrossings(&m_crossings);
    m_lhView->connectToDialog(this);

    connect(m_tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Self::handleSelectionChanged);
    connect(m_model, &QAbstractItemModel::dataChanged, m_lhView, qOverload<>(&QWidget::update));

    connect(m_gridWidthXSlider, &QSlider::valueChanged, this, &Self::updateGridWidthX);
    connect(m_gridWidthYSlider, &QSlider::valueChanged, this, &Self::updateGridWidthY);
    connect(m_autoCheckBox, &QCheckBox::stateChanged, this, &Self::turnOnAutoUpdate);
    connect(m_showGridXCheckBox, &QCheckBox::stateChanged, this, &Self::setShowGridX);
    connect(m_showGridYCheckBox, &QCheckBox::stateChanged, this, &Self::setShowGridY);
    connect(m_showBaseCheckBox, &QCheckBox::stateChanged, this, &Self::setShowBaseTin);
    connect(m_showSlopeCheckBox, &QCheckBox::stateChanged, this, &Self::setShowDetail);

    m_showSlopeCheckBox->setChecked(false);
    m_showBaseCheckBox->setChecked(true);
    m_autoCheckBox->setChecked(true);
}

} // namespace varnel
