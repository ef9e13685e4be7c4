#include "movarin/surfaces/GeoEditSurfaceItemControllerReferenceLineSelectionHelper.h"

#include "movarin/sections/PointPicking.h"
#include "movarin/shell/AngleMainViewHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerReferenceLineEditSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerWaitingSelectionHelper.h"
#include "movarin/surfaces/LineMainViewHelperT.h"

#include "brask/core/View.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>
#include <memory>

namespace varnel {

using Self = GeoEditSurfaceItemController::ReferenceLineSelectionHelper;

Self::ReferenceLineSelectionHelper(SelectionHelper& other) : SelectionHelper(other)
{
    // The line beneath the path, the angle over it.
    const QPen magenta(QBrush(Qt::magenta), 2.0);
    const QBrush fill(Qt::magenta, Qt::SolidPattern);
    viewHelpers().push_back(std::make_unique<LineMainViewHelperT<tin::core::Point, tin::core::Point2D>>(
        &m_vertex, &m_direction, view(), magenta, fill));
    addPathAndOutlineHelpers();
    viewHelpers().push_back(
        std::make_unique<AngleMainViewHelper>(&m_vertex, &m_handleEnd, &m_next, view(), magenta, fill));
}

Self::~ReferenceLineSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::keyPressEvent(QKeyEvent* event, mvc::core::View*)
{
    if (event->key() != Qt::Key_Escape) {
        return this;
    }
    repaint();
    return new WaitingSelectionHelper(*this);
}

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent* event, mvc::core::View* view)
{
    highlight(event->pos(), view);
    repaint();
    return this;
}

guimisc::helper::SelectionHelper* Self::mousePressEvent(QMouseEvent* event, mvc::core::View* view)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    setPressPosition(event->pos());
    highlight(event->pos(), view);
    if (!m_index) {
        return this;
    }
    auto edit = std::make_unique<ReferenceLineEditSelectionHelper>(*this, *m_index);
    try {
        edit->mouseMoveEvent(event, view);
    } catch (...) {
        edit->giveBackTo(*this);
        throw;
    }
    return edit.release();
}

void Self::highlight(const QPoint& pixel, const mvc::core::View* view)
{
    const std::vector<tin::core::Point>& path = pendingPath();
    const ReferenceLines& lines = referenceLines();
    m_index.reset();
    m_direction = tin::core::Point2D(0.0, 0.0);
    m_handleEnd = m_vertex = m_next = tin::core::Point(0.0, 0.0);
    if (path.size() < 2 || lines.size() != path.size() - 1) {
        return;
    }
    // Every vertex but the last: those that have a line.
    const std::size_t k = nearestPathPointIndex({path.begin(), path.end() - 1}, pixel, view);
    m_index = k;
    m_vertex = path[k];
    m_next = path[k + 1];
    m_direction = lines[k].direction;
    const QPointF s(m_next.x() - m_vertex.x(), m_next.y() - m_vertex.y());
    const double length = std::hypot(m_direction.x(), m_direction.y());
    m_handleEnd = m_vertex;
    if (length > 0.0 && std::isfinite(length)) {
        QPointF handle = QPointF(m_direction.x(), m_direction.y()) * (0.3 * std::hypot(s.x(), s.y()) / length);
        if (handle.x() * s.x() + handle.y() * s.y() < 0.0) {
            handle = -handle;
        }
        m_handleEnd.setPosition(m_vertex.x() + handle.x(), m_vertex.y() + handle.y());
    }
}

} // namespace varnel
