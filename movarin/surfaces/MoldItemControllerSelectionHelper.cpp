#include "movarin/surfaces/MoldItemControllerSelectionHelper.h"

#include "movarin/sections/PointPicking.h"
#include "movarin/shell/MoldMoldDetailViewHelper.h"
#include "movarin/shell/MultipleSlopeMoldDetailViewHelper.h"
#include "movarin/shell/PointsMoldDetailViewHelper.h"
#include "movarin/shell/RectMoldDetailViewHelper.h"
#include "movarin/survey/GcpSelectionGeometry.h"
#include "movarin/surfaces/DetailView.h"
#include "movarin/surfaces/MoldItem.h"

#include "orlin/core/Polygon.h"

#include <guimisc/MouseSupport.h>

#include <QMouseEvent>

#include <cmath>

namespace varnel {

using Self = MoldItemController::SelectionHelper;

Self::SelectionHelper(MoldItemController* controller)
    : m_controller(controller),
      m_workingCopy(std::make_unique<MoldItem>(mold::core::Mold::Add, nullptr))
{
}

Self::SelectionHelper(SelectionHelper& other)
    : varnel::SelectionHelper(other),
      m_controller(other.m_controller),
      m_workingCopy(std::move(other.m_workingCopy)),
      m_pressPosition(other.m_pressPosition),
      m_selection(other.m_selection),
      m_selectedPoints(other.m_selectedPoints),
      m_selectionRect(other.m_selectionRect),
      m_gridWidthX(other.m_gridWidthX),
      m_gridWidthY(other.m_gridWidthY)
{
}

Self::~SelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::mousePressEvent(QMouseEvent* event, DetailView*)
{
    if (event->button() == Qt::LeftButton) {
        m_pressPosition = event->pos();
    }
    return this;
}

void Self::setGridWidth(double x, double y)
{
    m_gridWidthX = x;
    m_gridWidthY = y;
}

void Self::setSelection(std::set<std::size_t> selection)
{
    m_selection = std::move(selection);
    rebuildSelectedPoints();
}

void Self::clearSelection()
{
    setSelection({});
}

void Self::rebuildSelectedPoints()
{
    m_selection.erase(m_selection.lower_bound(m_workingCopy->size()), m_selection.end());
    m_selectedPoints.clear();
    for (std::size_t i : m_selection) {
        m_selectedPoints.push_back(m_workingCopy->point(i));
    }
    m_selectionRect = GcpSelectionGeometry::bounds(m_selectedPoints);
}

void Self::writeBack()
{
    MoldItem* target = m_controller->moldItem();
    target->setLH(m_workingCopy->l(), m_workingCopy->h());
    target->setBase(m_workingCopy->baseL(), m_workingCopy->baseH());
}

void Self::doFinishSelection(DetailView*)
{
    m_controller->handleMoldDefinition();
    writeBack();
}

QPointF Self::snapped(const QPointF& pos, Qt::KeyboardModifiers modifiers,
                      const DetailView* view) const
{
    const QPointF world = view->rconv(pos);
    return (modifiers & Qt::AltModifier) ? world : snappedToGrid(world);
}

QPointF Self::snappedToGrid(const QPointF& world) const
{
    const auto round = [](double value, double step) {
        // A step the grid cannot show (zero, negative, not finite) leaves the value as it is.
        return step > 0.0 && std::isfinite(step) ? std::round(value / step) * step : value;
    };
    return QPointF(round(world.x(), m_gridWidthX), round(world.y(), m_gridWidthY));
}

void Self::toggleInside(const tin::core::Polygon& band)
{
    for (std::size_t i : m_workingCopy->pointIndicesInPolygon(band)) {
        if (m_selection.erase(i) == 0) {
            m_selection.insert(i);
        }
    }
    rebuildSelectedPoints();
}

std::size_t Self::nearestPoint(const QPoint& pos, const DetailView* view) const
{
    const MoldItem* copy = m_workingCopy.get();
    std::vector<QPointF> points;
    for (std::size_t i = 0; i < copy->size(); ++i) {
        points.push_back(copy->point(i));
    }
    return findNearestPointIndex(
        [copy](const tin::core::Polygon& square) { return copy->pointIndicesInPolygon(square); },
        [copy](std::size_t i) { return std::vector<QPointF>{copy->point(i)}; }, "Empty MoldItem.",
        points, pos, view);
}

bool Self::isNear(const QPointF& a, const QPointF& b)
{
    const double r = guimisc::MouseSupport::nearRadius();
    return std::abs(a.x() - b.x()) < r && std::abs(a.y() - b.y()) < r;
}

void Self::addSlopesHelper()
{
    if (DetailView* view = m_controller->moldItem()->detailView()) {
        viewHelpers().push_back(std::make_unique<MultipleSlopeMoldDetailViewHelper>(
            m_workingCopy.get(), view, QPen(Qt::darkBlue)));
    }
}

void Self::addWorkingCopyHelper()
{
    if (DetailView* view = m_controller->moldItem()->detailView()) {
        viewHelpers().push_back(
            std::make_unique<MoldMoldDetailViewHelper>(m_workingCopy.get(), view));
    }
}

void Self::addSelectedPointsHelper()
{
    if (DetailView* view = m_controller->moldItem()->detailView()) {
        viewHelpers().push_back(
            std::make_unique<PointsMoldDetailViewHelper>(&m_selectedPoints, view, QBrush(Qt::red)));
    }
}

void Self::addSelectionRectHelper()
{
    if (DetailView* view = m_controller->moldItem()->detailView()) {
        viewHelpers().push_back(std::make_unique<RectMoldDetailViewHelper>(
            &m_selectionRect, view, QPen(Qt::black, 1.0, Qt::DotLine)));
    }
}

} // namespace varnel
