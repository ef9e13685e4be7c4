#include "movarin/surfaces/GeoEditSurfaceItemControllerAddPointSelectionHelper.h"

#include "movarin/shell/PolylineMainViewHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerWaitingSelectionHelper.h"

#include "brask/core/View.h"

#include <guimisc/KeyboardSupport.h>
#include <guimisc/UserDialogs.h>

#include <QCursor>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>

#include <algorithm>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = GeoEditSurfaceItemController::AddPointSelectionHelper;

GeoEditSurfaceItemController::AddPointSelectionHelper::AddPointSelectionHelper(
    SelectionHelper& other)
    : SelectionHelper(other)
{
    addPathHelpers();
    viewHelpers().push_back(std::make_unique<PolylineMainViewHelper>(
        &m_preview, view(), QPen(Qt::gray, 1.0, Qt::SolidLine), nullptr));
}

GeoEditSurfaceItemController::AddPointSelectionHelper::~AddPointSelectionHelper() = default;

guimisc::helper::SelectionHelper*
GeoEditSurfaceItemController::AddPointSelectionHelper::keyPressEvent(QKeyEvent* event,
                                                                     mvc::core::View* view)
{
    if (guimisc::KeyboardSupport::isEnterKey(event->key())) {
        return add(view->mapFromGlobal(QCursor::pos()), view);
    }
    if (event->key() == Qt::Key_Escape) {
        repaint();
        return new WaitingSelectionHelper(*this);
    }
    m_preview.clear();
    repaint();
    return this;
}

guimisc::helper::SelectionHelper*
GeoEditSurfaceItemController::AddPointSelectionHelper::mouseMoveEvent(QMouseEvent* event,
                                                                      mvc::core::View* view)
{
    aim(event->pos(), view);
    repaint();
    return this;
}

guimisc::helper::SelectionHelper*
GeoEditSurfaceItemController::AddPointSelectionHelper::mousePressEvent(QMouseEvent* event,
                                                                       mvc::core::View* view)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    return add(event->pos(), view);
}

void GeoEditSurfaceItemController::AddPointSelectionHelper::aim(const QPoint& pixel,
                                                                const mvc::core::View* view)
{
    const QPointF world = view->rconv(pixel);
    m_candidate = tin::core::Point(world.x(), world.y(), 0.0);
    const std::vector<tin::core::Point>& path = pendingPath();
    m_index = findInsertIndex(path, pixel, view);
    m_preview.clear();
    if (path.empty()) {
        return;
    }
    if (m_index > 0) {
        m_preview.push_back(path[m_index - 1]);
    }
    m_preview.push_back(m_candidate);
    if (m_index < path.size()) {
        m_preview.push_back(path[m_index]);
    }
}

guimisc::helper::SelectionHelper*
GeoEditSurfaceItemController::AddPointSelectionHelper::add(const QPoint& pixel,
                                                           mvc::core::View* view)
{
    // An aim from before the path last changed counts for nothing.
    if (m_index == NO_INDEX || m_index > pendingPath().size()) {
        aim(pixel, view);
    }
    tin::core::Point vertex = m_candidate;
    vertex.setElevation(newVertexElevation(QPointF(vertex.x(), vertex.y()), view));
    const std::vector<tin::core::Point>& path = pendingPath();
    if (std::any_of(path.begin(), path.end(), [&vertex](const tin::core::Point& p) {
            return p.x() == vertex.x() && p.y() == vertex.y();
        })) {
        guimisc::UserDialogs::critical(
            controller()->mainWindow(), GeoEditSurfaceItemController::tr("Error"),
            GeoEditSurfaceItemController::tr("Cannot add the same position more than once."));
        return this;
    }
    const std::size_t index = m_index;
    m_index = NO_INDEX;
    m_preview.clear();
    insertPoint(index, vertex);
    select(index);
    rebuildSelectedPoints();
    updateAuxiliaries();
    repaint();
    controller()->markEdited();
    if (!controller()->isBatchApply()) {
        finishSelection(view);
    }
    if (waitingEntered()) {
        return this;
    }
    return new WaitingSelectionHelper(*this);
}

} // namespace varnel
