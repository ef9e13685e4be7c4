#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerPathSelectionHelper.h"

#include "movarin/shell/PolygonMainViewHelper.h"
#include "movarin/shell/PolylineMainViewHelper.h"
#include "movarin/surfaces/GeoEditSurfaceGroupItemControllerVoidSelectionHelper.h"
#include "movarin/surfaces/MoldItem.h"
#include "movarin/survey/PickNearest.h"
#include "movarin/survey/TinItem.h"

#include "brask/core/View.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "sedrun/TinFromMoldPathCreator.h"

#include "common/exception/RuntimeException.h"
#include <guimisc/KeyboardSupport.h>
#include <guimisc/UserDialogs.h>
#include <guimisc/restorer/WaitCursor.h>

#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>

#include <algorithm>
#include <exception>
#include <limits>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = GeoEditSurfaceGroupItemController::PathSelectionHelper;

namespace {

const char* const EMPTY_TIN = "Empty Tin.";

bool samePlace(const tin::core::Point& a, const tin::core::Point& b)
{
    return a.x() == b.x() && a.y() == b.y();
}

} // namespace

GeoEditSurfaceGroupItemController::PathSelectionHelper::PathSelectionHelper(SelectionHelper& other)
    : SelectionHelper(other)
{
    if (auto path = dynamic_cast<const PathSelectionHelper*>(&other)) {
        m_rubberBand = path->m_rubberBand;
    }
    setStaysActive(true);
    mvc::core::View* mainView = view();
    viewHelpers().push_back(std::make_unique<PolylineMainViewHelper>(&points(), mainView, nullptr));
    viewHelpers().push_back(std::make_unique<PolygonMainViewHelper>(&outline(), mainView));
    updateOutline();
}

GeoEditSurfaceGroupItemController::PathSelectionHelper::~PathSelectionHelper() = default;

guimisc::helper::SelectionHelper*
GeoEditSurfaceGroupItemController::PathSelectionHelper::keyPressEvent(QKeyEvent* event,
                                                                      mvc::core::View* view)
{
    if (guimisc::KeyboardSupport::isEnterKey(event->key())) {
        return points().size() >= 2 ? finish(view) : this;
    }
    if (event->key() != Qt::Key_Escape) {
        return this;
    }
    if (points().empty()) {
        return new VoidSelectionHelper(*this);
    }
    points().pop_back();
    m_rubberBand = false;
    updateOutline();
    view->update();
    return this;
}

guimisc::helper::SelectionHelper*
GeoEditSurfaceGroupItemController::PathSelectionHelper::mouseDoubleClickEvent(QMouseEvent* event,
                                                                              mvc::core::View* view)
{
    setLastMousePosition(event->pos());
    return points().size() >= 2 ? finish(view) : this;
}

guimisc::helper::SelectionHelper*
GeoEditSurfaceGroupItemController::PathSelectionHelper::mouseMoveEvent(QMouseEvent* event,
                                                                       mvc::core::View* view)
{
    if (points().empty()) {
        return this;
    }
    const tin::core::Point cursor = cursorPoint(event->pos(), view);
    dropRubberBandPoint();
    if (!samePlace(cursor, points().back())) {
        points().push_back(cursor);
        m_rubberBand = true;
    }
    setLastMousePosition(event->pos());
    updateOutline();
    view->update();
    return this;
}

guimisc::helper::SelectionHelper*
GeoEditSurfaceGroupItemController::PathSelectionHelper::mousePressEvent(QMouseEvent* event,
                                                                        mvc::core::View* view)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    const tin::core::Point clicked = cursorPoint(event->pos(), view);
    const auto fixedEnd = points().end() - (m_rubberBand ? 1 : 0);
    if (fixedEnd != points().begin() && samePlace(clicked, *(fixedEnd - 1))) {
        return this;
    }
    if (std::any_of(points().begin(), fixedEnd,
                    [&](const tin::core::Point& p) { return samePlace(p, clicked); })) {
        guimisc::UserDialogs::warning(controller()->mainWindow(), GeoEditSurfaceGroupItemController::tr("Warning"),
                                      GeoEditSurfaceGroupItemController::tr(
                                          "Cannot add the same position more than once."));
        return this;
    }
    dropRubberBandPoint();
    points().push_back(clicked);
    setLastMousePosition(event->pos());
    updateOutline();
    view->update();
    return this;
}

tin::core::Point GeoEditSurfaceGroupItemController::PathSelectionHelper::pointAt(
    const QPoint& pixel, const tin::core::Tin* tin, const mvc::core::View* view)
{
    const QPointF world = view->rconv(pixel);
    tin::core::Point point(world.x(), world.y(), 0.0);
    if (!tin || tin->empty()) {
        throw common::exception::RuntimeException(EMPTY_TIN);
    }
    if (!tin->interpolateElevation(&point)) {
        point.setElevation(nearestVertex(*tin, pixel, view)->elevation());
    }
    return point;
}

std::shared_ptr<tin::core::Point>
GeoEditSurfaceGroupItemController::PathSelectionHelper::nearestVertex(const tin::core::Tin& tin,
                                                                      const QPoint& pixel,
                                                                      const mvc::core::View* view)
{
    if (tin.empty()) {
        throw common::exception::RuntimeException(EMPTY_TIN);
    }
    const tin::core::Rect r = tin.boundingRect();
    const QRectF extent(QPointF(r.xMin(), r.yMin()), QPointF(r.xMax(), r.yMax()));
    std::vector<std::shared_ptr<tin::core::Triangle>> candidates;
    const auto corners = [&](std::size_t i) {
        std::vector<QPointF> positions;
        for (int v = 0; v < 3; ++v) {
            positions.emplace_back(candidates[i]->point(v)->x(), candidates[i]->point(v)->y());
        }
        return positions;
    };
    const std::size_t best = pickNearestIndex(
        [&](const tin::core::Polygon& square) {
            candidates = tin.findTrianglesInsidePolygon(square);
            return candidates.size();
        },
        corners, extent, EMPTY_TIN, pixel, view);

    // The winner was scored by its nearest corner: that corner is the vertex.
    std::shared_ptr<tin::core::Point> vertex;
    double nearest = std::numeric_limits<double>::infinity();
    for (int v = 0; v < 3; ++v) {
        const std::shared_ptr<tin::core::Point>& corner = candidates[best]->point(v);
        const QPointF d = view->conv(QPointF(corner->x(), corner->y())) - QPointF(pixel);
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (!vertex || distance < nearest) {
            vertex = corner;
            nearest = distance;
        }
    }
    return vertex;
}

void GeoEditSurfaceGroupItemController::PathSelectionHelper::doFinishSelection(mvc::core::View*)
{
    if (controller()->createGeoEditSurface(points())) {
        points().clear();
        m_rubberBand = false;
    }
    updateOutline();
}

tin::core::Point GeoEditSurfaceGroupItemController::PathSelectionHelper::cursorPoint(
    const QPoint& pixel, const mvc::core::View* view) const
{
    const TinItem* edited = controller()->rootTinItem();
    return pointAt(pixel, edited ? edited->tin() : nullptr, view);
}

void GeoEditSurfaceGroupItemController::PathSelectionHelper::dropRubberBandPoint()
{
    if (m_rubberBand && !points().empty()) {
        points().pop_back();
    }
    m_rubberBand = false;
}

void GeoEditSurfaceGroupItemController::PathSelectionHelper::updateOutline()
{
    outline().clear();
    const MoldItem* mold = controller()->selectedMoldItem();
    if (!mold || points().empty()) {
        return;
    }
    try {
        const tincreator::util::TinFromMoldPathCreator creator(mold->mold(), points());
        outline() = creator.createOutlinePolygon(false);
    } catch (const std::exception&) {
        // A path the sweep refuses has no preview; finishing it reports why.
        outline().clear();
    }
}

guimisc::helper::SelectionHelper*
GeoEditSurfaceGroupItemController::PathSelectionHelper::finish(mvc::core::View* view)
{
    // The surface is swept and merged, and the view drawn with it, under the wait cursor.
    const guimisc::restorer::WaitCursor busy;
    finishSelection(view);
    view->repaint();
    return this;
}

} // namespace varnel
