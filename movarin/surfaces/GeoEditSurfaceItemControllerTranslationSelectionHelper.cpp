#include "movarin/surfaces/GeoEditSurfaceItemControllerTranslationSelectionHelper.h"

#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerPathSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerWaitingSelectionHelper.h"
#include "movarin/survey/TinItem.h"

#include "brask/core/View.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Tin.h"

#include <common/exception/RuntimeException.h>
#include <guimisc/UserDialogs.h>

#include <QMainWindow>
#include <QMouseEvent>

#include <algorithm>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = GeoEditSurfaceItemController::TranslationSelectionHelper;

namespace {

/// Whether a triangle of `tin` meets the position (touching counts).
bool meets(const tin::core::Tin& tin, double x, double y)
{
    if (tin.empty()) {
        return false;
    }
    // A square far below any survey precision about the position: the exact test of the
    // triangles found by the index decides.
    constexpr double e = 1e-9;
    const tin::core::Polygon square{tin::core::Point2D(x - e, y - e), tin::core::Point2D(x + e, y - e),
                                    tin::core::Point2D(x + e, y + e), tin::core::Point2D(x - e, y + e)};
    return !tin.findTrianglesIntersectPolygon(square).empty();
}

} // namespace

GeoEditSurfaceItemController::TranslationSelectionHelper::TranslationSelectionHelper(
    SelectionHelper& other)
    : SelectionHelper(other),
      m_start(pendingPath())
{
    setWaitingEntered(false);
    rebuildSelectedPoints();
    updateSelectionBox();
    addPathHelpers();
    addSelectedPointsHelper();
    addSelectionBoxHelper();
}

GeoEditSurfaceItemController::TranslationSelectionHelper::~TranslationSelectionHelper() = default;

GeoEditSurfaceItemController::TranslationSelectionHelper::Ground
GeoEditSurfaceItemController::TranslationSelectionHelper::terrainAt(GeoEditSurfaceItem& surface,
                                                                    const tin::core::Tin* edited,
                                                                    double x, double y)
{
    Ground ground;
    const tin::core::Point2D position(x, y);
    double z = 0.0;
    const tin::core::Tin& removed = surface.removedTin();
    if (removed.interpolatedElevation(position, &z)) {
        ground.found = true;
        ground.elevation = z;
        return ground;
    }
    if (meets(removed, x, y)) {
        ground.failed = true;
    }
    if (!edited || !edited->interpolatedElevation(position, &z)) {
        if (edited && meets(*edited, x, y)) {
            ground.failed = true;
        }
        return ground;
    }
    // The edited TIN shows the surface itself here, over ground that the surface never
    // replaced: what lies beneath is unknown.
    const tin::core::Tin& added = surface.addedTin();
    double onAdded = 0.0;
    if (added.interpolatedElevation(position, &onAdded) || meets(added, x, y)) {
        ground.failed = true;
    }
    ground.found = true;
    ground.elevation = z;
    return ground;
}

void GeoEditSurfaceItemController::TranslationSelectionHelper::start(const mvc::core::View* view)
{
    const TinItem* edited = controller()->item()->rootTinItem();
    const tin::core::Tin* tin = edited ? edited->tin() : nullptr;
    std::vector<double> offsets(m_start.size(), 0.0);
    std::vector<bool> noGround(m_start.size(), false);
    for (std::size_t i : selectedIndices()) {
        const tin::core::Point& p = m_start[i];
        const Ground ground = terrainAt(*controller()->item(), tin, p.x(), p.y());
        if (ground.found) {
            offsets[i] = p.elevation() - ground.elevation;
        } else {
            offsets[i] = p.elevation() - nearestVertexElevation(QPointF(p.x(), p.y()), view);
            noGround[i] = true;
        }
    }
    m_offsets = std::move(offsets);
    m_noGroundAtStart = std::move(noGround);
    m_started = true;
}

double GeoEditSurfaceItemController::TranslationSelectionHelper::nearestVertexElevation(
    const QPointF& world, const mvc::core::View* view) const
{
    const TinItem* edited = controller()->item()->rootTinItem();
    const tin::core::Tin* tin = edited ? edited->tin() : nullptr;
    if (!tin || tin->empty()) {
        throw common::exception::RuntimeException("Empty Tin.");
    }
    return GeoEditSurfaceGroupItemController::PathSelectionHelper::nearestVertex(
               *tin, view->conv(world).toPoint(), view)
        ->elevation();
}

guimisc::helper::SelectionHelper*
GeoEditSurfaceItemController::TranslationSelectionHelper::mouseMoveEvent(QMouseEvent* event,
                                                                         mvc::core::View* view)
{
    if (!m_started) {
        start(view);
    }
    const TinItem* edited = controller()->item()->rootTinItem();
    const tin::core::Tin* tin = edited ? edited->tin() : nullptr;
    const QPointF delta = event->pos() - pressPosition();
    // Computed whole before any vertex moves: a lookup that throws leaves the path as it was.
    std::vector<std::pair<std::size_t, tin::core::Point>> moved;
    bool failed = false;
    for (std::size_t i : selectedIndices()) {
        const tin::core::Point& origin = m_start[i];
        const QPointF to = view->rconv(view->conv(QPointF(origin.x(), origin.y())) + delta);
        const Ground ground = terrainAt(*controller()->item(), tin, to.x(), to.y());
        failed = failed || ground.failed;
        double elevation = origin.elevation();
        if (ground.found) {
            elevation = ground.elevation + m_offsets[i];
        } else if (!m_noGroundAtStart[i]) {
            elevation = nearestVertexElevation(to, view) + m_offsets[i];
        }
        moved.emplace_back(i, tin::core::Point(to.x(), to.y(), elevation));
    }
    for (const auto& [i, point] : moved) {
        movePoint(i, point);
    }
    m_failed = failed;
    rebuildSelectedPoints();
    updateAuxiliaries();
    updateSelectionBox();
    repaint();
    return this;
}

guimisc::helper::SelectionHelper*
GeoEditSurfaceItemController::TranslationSelectionHelper::mouseReleaseEvent(QMouseEvent*,
                                                                            mvc::core::View* view)
{
    if (!hasMoved()) {
        return new WaitingSelectionHelper(*this);
    }
    controller()->markEdited();
    const std::vector<tin::core::Point>& path = pendingPath();
    for (std::size_t i = 0; i < path.size(); ++i) {
        for (std::size_t j = i + 1; j < path.size(); ++j) {
            if (path[i].x() == path[j].x() && path[i].y() == path[j].y()) {
                guimisc::UserDialogs::critical(controller()->mainWindow(),
                                               GeoEditSurfaceItemController::tr("Error"),
                                               GeoEditSurfaceItemController::tr(
                                                   "Cannot add the same position more than once."));
                return this;
            }
        }
    }
    if (m_failed) {
        guimisc::UserDialogs::warning(controller()->mainWindow(),
                                      GeoEditSurfaceItemController::tr("Warning"),
                                      GeoEditSurfaceItemController::tr("Translation failed."));
        if (!controller()->isBatchApply()) {
            controller()->revertBatchEdit();
        }
        return new WaitingSelectionHelper(*this);
    }
    if (!controller()->isBatchApply()) {
        finishSelection(view);
    }
    return new WaitingSelectionHelper(*this);
}

bool GeoEditSurfaceItemController::TranslationSelectionHelper::hasMoved() const
{
    const std::vector<tin::core::Point>& path = pendingPath();
    if (path.size() != m_start.size()) {
        return true;
    }
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i].x() != m_start[i].x() || path[i].y() != m_start[i].y()) {
            return true;
        }
    }
    return false;
}

} // namespace varnel
