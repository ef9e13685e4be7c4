#include "movarin/surfaces/GeoEditSurfaceItemControllerReferenceLineEditSelectionHelper.h"

#include "movarin/surfaces/GeoEditSurfaceItemControllerReferenceLineSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerWaitingSelectionHelper.h"
#include "movarin/surfaces/GridMainViewHelperT.h"
#include "movarin/surfaces/LineMainViewHelperT.h"

#include "brask/core/View.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>
#include <memory>
#include <stdexcept>

namespace varnel {

using Self = GeoEditSurfaceItemController::ReferenceLineEditSelectionHelper;

namespace {

constexpr double GRID_SPACING = 25.0;

} // namespace

Self::ReferenceLineEditSelectionHelper(SelectionHelper& other, std::size_t index)
    : SelectionHelper(other), m_index(index), m_vertex(0.0, 0.0), m_direction(0.0, 0.0)
{
    if (index >= referenceLines().size()) {
        giveBackTo(other);
        throw std::out_of_range("No reference line at this path point.");
    }
    m_vertex = pendingPath()[index];
    m_direction = referenceLines()[index].direction;
    setWaitingEntered(false);
    // The grid and the line beneath the path and its labels, which stay readable over them.
    const QPen magenta(QBrush(Qt::magenta), 2.0);
    const QBrush fill(Qt::magenta, Qt::SolidPattern);
    auto grid = std::make_unique<GridMainViewHelperT<tin::core::Point, tin::core::Point2D>>(
        &m_vertex, &m_direction, view(), magenta, fill);
    grid->setSpacings(GRID_SPACING, GRID_SPACING);
    viewHelpers().push_back(std::move(grid));
    viewHelpers().push_back(std::make_unique<LineMainViewHelperT<tin::core::Point, tin::core::Point2D>>(
        &m_vertex, &m_direction, view(), magenta, fill));
    addPathHelpers();
}

Self::~ReferenceLineEditSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::keyPressEvent(QKeyEvent* event, mvc::core::View*)
{
    if (event->key() != Qt::Key_Escape) {
        return this;
    }
    repaint();
    return new ReferenceLineSelectionHelper(*this);
}

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent* event, mvc::core::View* view)
{
    const QPointF world = view->rconv(event->pos());
    m_direction = tin::core::Point2D(world.x() - m_vertex.x(), world.y() - m_vertex.y());
    repaint();
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseReleaseEvent(QMouseEvent* event, mvc::core::View* view)
{
    mouseMoveEvent(event, view);
    const double length = std::hypot(m_direction.x(), m_direction.y());
    // A release on the vertex itself points nowhere.
    if (length > 0.0 && std::isfinite(length)) {
        setReferenceLine(m_index, m_direction);
    }
    repaint();
    return new WaitingSelectionHelper(*this);
}

} // namespace varnel
