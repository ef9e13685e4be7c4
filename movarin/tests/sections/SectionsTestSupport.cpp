#include "SectionsTestSupport.h"

#include "movarin/sections/CrossSectionDialog.h"
#include "movarin/sections/CrossSectionGroupItem.h"
#include "movarin/sections/CrossSectionGroupItemController.h"
#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/CrossSectionItemController.h"
#include "movarin/sections/CrossSectionLhView.h"
#include "movarin/sections/CrossSectionLhViewLhTableItem.h"
#include "movarin/sections/CrossSectionLhViewLhTableItemController.h"
#include "movarin/sections/CrossSectionLhViewLhTableItemControllerSelectionHelper.h"
#include "movarin/shell/EditModeMainWindow.h"
#include "movarin/shell/EditModeMainWindowModel.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include "brask/core/View.h"
#include "orlin/core/Point.h"

#include <QAction>
#include <QApplication>
#include <QLayout>
#include <QItemSelectionModel>
#include <QMdiSubWindow>
#include <QTableView>
#include <QUndoStack>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace varnel::test {

namespace {

constexpr int CELLS = 10;
constexpr double SPACING = 10.0;

} // namespace

tin::core::Tin gridTin(const Surface& z)
{
    std::vector<std::shared_ptr<tin::core::Point>> nodes;
    for (int j = 0; j <= CELLS; ++j) {
        for (int i = 0; i <= CELLS; ++i) {
            const double x = SPACING * i;
            const double y = SPACING * j;
            nodes.push_back(std::make_shared<tin::core::Point>(x, y, z(x, y)));
        }
    }
    const auto at = [&](int i, int j) {
        return nodes[static_cast<std::size_t>(j * (CELLS + 1) + i)];
    };
    tin::core::Tin tin;
    for (int j = 0; j < CELLS; ++j) {
        for (int i = 0; i < CELLS; ++i) {
            tin.addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            tin.addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
    return tin;
}

std::optional<double> gridElevation(const Surface& z, double x, double y)
{
    // Points a rounding error off the border (a crossing computed on a border edge) count.
    const double extent = SPACING * CELLS;
    const double slack = 1e-9;
    if (x < -slack || y < -slack || x > extent + slack || y > extent + slack) {
        return std::nullopt;
    }
    x = std::clamp(x, 0.0, extent);
    y = std::clamp(y, 0.0, extent);
    const double i = std::min(std::floor(x / SPACING), CELLS - 1.0);
    const double j = std::min(std::floor(y / SPACING), CELLS - 1.0);
    const double x0 = i * SPACING;
    const double y0 = j * SPACING;
    const double u = (x - x0) / SPACING;
    const double v = (y - y0) / SPACING;
    const double z00 = z(x0, y0);
    const double z11 = z(x0 + SPACING, y0 + SPACING);
    if (u >= v) {
        // Below the diagonal: corners (0, 0), (1, 0), (1, 1) with weights 1 - u, u - v, v.
        return (1.0 - u) * z00 + (u - v) * z(x0 + SPACING, y0) + v * z11;
    }
    return (1.0 - v) * z00 + (v - u) * z(x0, y0 + SPACING) + u * z11;
}

SectionsTest::SectionsTest()
{
    ScratchSettings::writeStartupDefaults();
    m_session = std::make_unique<ProjectSession>();
    m_session->newEditProject();
    m_window = m_session->createEditWindow();
    if (!m_window) {
        throw std::runtime_error("No edit-mode window");
    }
    // Fixed: the window's layout (its docks) must not resize the view under the test.
    view()->setFixedSize(400, 300);
    view()->fit(QRectF(-100.0, -75.0, 200.0, 150.0));
}

SectionsTest::~SectionsTest() = default;

EditModeMainWindowModelRootItem* SectionsTest::root() const
{
    return m_window->model()->rootItem();
}

CrossSectionGroupItem* SectionsTest::group() const
{
    return root()->crossSectionGroupItem();
}

CrossSectionGroupItemController* SectionsTest::groupController() const
{
    return static_cast<CrossSectionGroupItemController*>(group()->controller());
}

mvc::core::View* SectionsTest::view() const
{
    return m_window->view();
}

QUndoStack* SectionsTest::undoStack() const
{
    return m_session->mainWindow().undoStack();
}

MouseOn SectionsTest::mouse() const
{
    return MouseOn(view());
}

QPoint SectionsTest::pixel(const QPointF& world) const
{
    return view()->conv(world).toPoint();
}

CrossSectionItem* SectionsTest::addSection(const QString& name, const QPointF& start,
                                           const QPointF& end)
{
    CrossSectionItem* section = group()->buildCrossSection(
        name, tin::core::Point(start.x(), start.y()), tin::core::Point(end.x(), end.y()));
    group()->attachChildAtBack(section);
    return section;
}

CrossSectionDialog* SectionsTest::openWindow(CrossSectionItem* section)
{
    section->controller()->showAction()->trigger();
    CrossSectionDialog* dialog = section->controller()->crossSectionDialog();
    if (!dialog) {
        throw std::runtime_error("No cross-section window");
    }
    QMdiSubWindow* sub = section->controller()->crossSectionSubWindow();
    QWidget* frame = sub ? static_cast<QWidget*>(sub) : dialog;
    frame->resize(900, 500);
    dialog->layout()->activate();
    QApplication::processEvents();
    return dialog;
}

void SectionsTest::select(mvc::core::ModelItem* item) const
{
    m_window->model()->select(item);
}

QImage SectionsTest::grab() const
{
    return view()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void SectionsTest::settle()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

SectionWindowTest::SectionWindowTest()
{
    root()->baseTinItem()->setTin(new tin::core::Tin(gridTin([](double, double) { return 0.0; })));
    root()->tinItem()->setTin(new tin::core::Tin(gridTin(editedSurface)));
    m_section = addSection(QStringLiteral("K1"), {12.0, 45.0}, {88.0, 45.0});
    m_dialog = openWindow(m_section);
}

SectionWindowTest::~SectionWindowTest() = default;

double SectionWindowTest::editedSurface(double x, double)
{
    return 0.1 * x - 2.0;
}

CrossSectionLhView* SectionWindowTest::plot() const
{
    return m_dialog->lhView();
}

QPoint SectionWindowTest::plotPixel(double l, double h) const
{
    return plot()->conv(QPointF(l, h)).toPoint();
}

QPoint SectionWindowTest::rowPixel(std::size_t i) const
{
    const CrossSectionLhTableRow& row = m_dialog->currentRows().at(i);
    return plotPixel(row.L, row.H);
}

MouseOn SectionWindowTest::plotMouse() const
{
    return MouseOn(plot());
}

CrossSectionLhRowIndices SectionWindowTest::plotSelection() const
{
    return plot()->item()->controller()->selectionHelper()->selection();
}

CrossSectionLhRowIndices SectionWindowTest::tableSelection() const
{
    CrossSectionLhRowIndices rows;
    for (const QModelIndex& index : m_dialog->tableView()->selectionModel()->selectedRows()) {
        rows.insert(static_cast<std::size_t>(index.row()));
    }
    return rows;
}

QImage SectionWindowTest::grabPlot() const
{
    return plot()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace varnel::test
