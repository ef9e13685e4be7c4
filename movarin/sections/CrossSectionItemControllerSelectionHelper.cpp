#include "movarin/sections/CrossSectionItemControllerSelectionHelper.h"

#include "movarin/sections/PointPicking.h"
#include "movarin/shell/PointsMainViewHelper.h"
#include "movarin/shell/PolylineMainViewHelper.h"
#include "movarin/shell/RectMainViewHelper.h"

#include "brask/core/View.h"
#include "orlin/core/Polygon.h"

#include <algorithm>
#include <cmath>

namespace varnel {

using Self = CrossSectionItemController::SelectionHelper;

Self::SelectionHelper(CrossSectionItemController* controller)
    : MainViewSelectionHelperT(controller)
{
}

Self::SelectionHelper(SelectionHelper& other)
    : MainViewSelectionHelperT(other),
      m_pressPosition(other.m_pressPosition),
      m_selectedIndices(std::move(other.m_selectedIndices)),
      m_selectedPoints(std::move(other.m_selectedPoints)),
      m_workingPath(std::move(other.m_workingPath))
{
    // The other mode is about to go; until then it paints nothing of what it handed on.
    other.m_selectedIndices.clear();
    other.m_selectedPoints.clear();
    other.m_workingPath.clear();
}

Self::~SelectionHelper() = default;

std::vector<tin::core::Point2D> Self::editedPath() const
{
    std::vector<tin::core::Point2D> path;
    path.reserve(m_workingPath.size());
    for (const tin::core::Point& p : m_workingPath) {
        path.push_back(p.point2d());
    }
    return path;
}

void Self::resetPath()
{
    const CrossSectionItem* section = controller()->item();
    m_workingPath = {tin::core::Point(section->startX(), section->startY()),
                     tin::core::Point(section->endX(), section->endY())};
    for (auto it = m_selectedIndices.begin(); it != m_selectedIndices.end();) {
        it = *it < m_workingPath.size() ? std::next(it) : m_selectedIndices.erase(it);
    }
    refreshSelection();
}

void Self::cancel(mvc::core::View* view)
{
    m_selectionRect = tin::core::Rect();
    m_selectedIndices.clear();
    m_selectedPoints.clear();
    if (view) {
        view->update();
    }
}

void Self::doFinishSelection(mvc::core::View*)
{
    controller()->pushEditCommand(editedPath());
}

void Self::select(std::size_t index)
{
    m_selectedIndices.insert(index);
}

void Self::toggleInside(const tin::core::Polygon& polygon)
{
    toggleIndicesInside(m_selectedIndices, m_workingPath, polygon);
}

void Self::refreshSelection()
{
    m_selectedPoints.clear();
    for (std::size_t index : m_selectedIndices) {
        m_selectedPoints.push_back(m_workingPath[index]);
    }
    if (m_selectedPoints.empty()) {
        return;
    }
    std::vector<tin::core::Point2D> positions;
    for (const tin::core::Point& p : m_selectedPoints) {
        positions.push_back(p.point2d());
    }
    m_selectionRect = tin::core::Rect(positions);
}

void Self::addPathHelper()
{
    viewHelpers().push_back(std::make_unique<PolylineMainViewHelper>(
        &m_workingPath, view(), QPen(Qt::black), nullptr));
}

void Self::addSelectedPointsHelper()
{
    viewHelpers().push_back(std::make_unique<PointsMainViewHelper>(
        &m_selectedPoints, view(), QPen(Qt::black), QBrush(Qt::black, Qt::SolidPattern)));
}

void Self::addSelectionRectHelper()
{
    viewHelpers().push_back(
        std::make_unique<RectMainViewHelper>(&m_selectionRect, view(), QPen(Qt::DotLine)));
}

void Self::repaint() const
{
    if (mvc::core::View* mainView = view()) {
        mainView->update();
    }
}

bool Self::isNear(const QPointF& a, const QPointF& b)
{
    return isWithinPickSquare(a, b);
}

} // namespace varnel
