#include "movarin/sections/CalculateSoilVolumeDialog.h"

#include "movarin/sections/CalculateSoilVolumeDialogPolygonSelectionHelper.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include "brask/core/View.h"
#include "brask/window/WindowWithViewI.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Tin.h"
#include "orlin/util/PolygonToTin.h"
#include "orlin/util/TinModifier.h"

#include <guimisc/UserDialogs.h>
#include <guimisc/restorer/CursorChanger.h>

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>
#include <unordered_set>

namespace varnel {

namespace {

enum Row { CutRow = 0, FillRow = 1 };

QTableWidgetItem* readOnlyItem(const QString& text, Qt::Alignment alignment)
{
    auto item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(static_cast<int>(alignment));
    return item;
}

// Vertices at distinct positions; a region needs three to enclose anything.
std::size_t distinctVertices(const tin::core::Polygon& polygon)
{
    auto hash = [](const tin::core::Point2D& p) { return tin::core::hashPoint2DI(p); };
    std::unordered_set<tin::core::Point2D, decltype(hash)> positions(
        polygon.points().begin(), polygon.points().end(), 0, hash);
    return positions.size();
}

} // namespace

CalculateSoilVolumeDialog::CalculateSoilVolumeDialog(QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("CalculateSoilVolumeDialog"));
    setWindowTitle(tr("Soil Volume Calculation"));
    if (auto withView = qobject_cast<mvc::window::WindowWithViewI*>(parent)) {
        m_view = withView->view();
    }

    auto layout = new QVBoxLayout(this);

    auto regionBox = new QGroupBox(tr("Region"), this);
    auto regionLayout = new QGridLayout(regionBox);
    m_wholeButton = new QRadioButton(tr("Whole"), regionBox);
    m_wholeButton->setChecked(true);
    m_selectedRegionButton = new QRadioButton(tr("Selected region"), regionBox);
    m_selectRegionButton = new QPushButton(tr("Select region"), regionBox);
    m_selectRegionButton->setEnabled(false);
    regionLayout->addWidget(m_wholeButton, 0, 0);
    regionLayout->addWidget(m_selectedRegionButton, 1, 0);
    regionLayout->addWidget(m_selectRegionButton, 1, 1);
    auto group = new QButtonGroup(this);
    group->addButton(m_wholeButton);
    group->addButton(m_selectedRegionButton);
    layout->addWidget(regionBox);

    auto resultBox = new QGroupBox(tr("Calculation result"), this);
    auto resultLayout = new QVBoxLayout(resultBox);
    m_table = new QTableWidget(2, 2, resultBox);
    m_table->horizontalHeader()->hide();
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setCascadingSectionResizes(true);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->setCascadingSectionResizes(true);
    m_table->verticalHeader()->setStretchLastSection(true);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setItem(CutRow, 0, readOnlyItem(tr("Cut"), Qt::AlignLeft | Qt::AlignVCenter));
    m_table->setItem(FillRow, 0, readOnlyItem(tr("Fill"), Qt::AlignLeft | Qt::AlignVCenter));
    showVolumes(0.0, 0.0);
    m_table->resizeColumnsToContents();
    m_table->resizeRowsToContents();
    // Two rows and nothing to scroll: the table takes the height of its rows.
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_table->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    resultLayout->addWidget(m_table);
    layout->addWidget(resultBox);

    auto executeRow = new QHBoxLayout;
    executeRow->addStretch();
    m_executeButton = new QPushButton(tr("Execute"), this);
    executeRow->addWidget(m_executeButton);
    layout->addLayout(executeRow);

    auto buttons = new QDialogButtonBox(QDialogButtonBox::Close, Qt::Horizontal, this);
    layout->addWidget(buttons);

    connect(group, QOverload<QAbstractButton*>::of(&QButtonGroup::buttonClicked), this,
            &CalculateSoilVolumeDialog::applyRadioButtonState);
    connect(m_selectRegionButton, &QPushButton::clicked, this,
            &CalculateSoilVolumeDialog::selectRegion);
    connect(m_executeButton, &QPushButton::clicked, this, &CalculateSoilVolumeDialog::execute);
    connect(buttons, &QDialogButtonBox::accepted, this, &CalculateSoilVolumeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CalculateSoilVolumeDialog::reject);
}

CalculateSoilVolumeDialog::~CalculateSoilVolumeDialog()
{
    removeRegionHelper();
}

void CalculateSoilVolumeDialog::applyRadioButtonState(QAbstractButton* button)
{
    m_selectRegionButton->setEnabled(button == m_selectedRegionButton);
}

void CalculateSoilVolumeDialog::selectRegion()
{
    mvc::core::View* view = mainView();
    if (!view) {
        return;
    }
    hide();
    SelectionHelper start(this);
    view->updateSelectionHelper(new PolygonSelectionHelper(std::move(start), view));
    view->setFocus();
    view->update();
}

bool CalculateSoilVolumeDialog::execute()
{
    const SelectionHelper* region = nullptr;
    if (m_selectedRegionButton->isChecked()) {
        region = regionHelper();
        if (!region || region->polygon().empty()) {
            guimisc::UserDialogs::warning(this, tr("Warning"), tr("No region is selected."));
            return false;
        }
    }

    const tin::core::Tin empty;
    const tin::core::Tin* base = &empty;
    const tin::core::Tin* edited = &empty;
    mvc::core::View* view = mainView();
    if (auto model = view ? dynamic_cast<EditModeMainWindowModel*>(view->model()) : nullptr) {
        if (const tin::core::Tin* tin = model->rootItem()->baseTinItem()->tin()) {
            base = tin;
        }
        if (const tin::core::Tin* tin = model->rootItem()->tinItem()->tin()) {
            edited = tin;
        }
    }

    bool ok = false;
    double plus = 0.0;
    double minus = 0.0;
    try {
        guimisc::restorer::CursorChanger busy(this, QCursor(Qt::WaitCursor));
        using tin::util::TinModifier;
        if (!region) {
            TinModifier::calculateDifferences(*base, *edited, &ok, &plus, &minus);
        } else if (distinctVertices(region->polygon()) >= 3) {
            const tin::core::Tin regionTin = tin::util::PolygonToTin::convert(region->polygon());
            if (!regionTin.empty()) {
                const tin::core::Tin clipped = TinModifier::overwrite_deleteLonelyRegions(
                    regionTin, *edited, &ok, nullptr, nullptr, nullptr);
                if (ok) {
                    TinModifier::calculateDifferences(*base, clipped, &ok, &plus, &minus);
                }
            }
        }
    } catch (...) {
        // Whatever the triangulation, the overlay or GEOS threw, the user learns only that
        // this calculation did not work; the values shown stay.
        ok = false;
    }
    if (!ok) {
        guimisc::UserDialogs::critical(view ? static_cast<QWidget*>(view) : this, tr("Error"),
                                       tr("Calculation failed."));
        return false;
    }
    showVolumes(std::fabs(minus), plus);
    return true;
}

void CalculateSoilVolumeDialog::deleteMe()
{
    removeRegionHelper();
    deleteLater();
}

mvc::core::View* CalculateSoilVolumeDialog::mainView() const
{
    return m_view;
}

CalculateSoilVolumeDialog::SelectionHelper* CalculateSoilVolumeDialog::regionHelper() const
{
    if (!m_view) {
        return nullptr;
    }
    auto helper = dynamic_cast<SelectionHelper*>(m_view->selectionHelper());
    return helper && helper->dialog() == this ? helper : nullptr;
}

void CalculateSoilVolumeDialog::removeRegionHelper()
{
    if (regionHelper()) {
        m_view->updateSelectionHelper(nullptr);
        m_view->update();
    }
}

void CalculateSoilVolumeDialog::showVolumes(double cut, double fill)
{
    const Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter;
    m_table->setItem(CutRow, 1, readOnlyItem(QString::number(cut, 'f', 3), alignment));
    m_table->setItem(FillRow, 1, readOnlyItem(QString::number(fill, 'f', 3), alignment));
}

} // namespace varnel
