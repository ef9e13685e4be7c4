#include "movarin/surfaces/GeoEditSurfaceItemControllerWaitingSelectionHelper.h"

#include "movarin/sections/PointPicking.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerPointsInRectangleSelectionHelper.h"
#include "movarin/surfaces/GeoEditSurfaceItemControllerTranslationSelectionHelper.h"

#include "brask/core/View.h"

#include <guimisc/KeyboardSupport.h>

#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>
#include <optional>

namespace varnel {

using Self = GeoEditSurfaceItemController::WaitingSelectionHelper;

namespace {

/// The hit tolerances around a selection, in world units.
constexpr double HALF_SIZE = 3.0;
constexpr double LEAST_SIDE = 6.0;

/// [low, high] widened to `LEAST_SIDE` about its middle when it is not longer.
std::pair<double, double> widened(double low, double high)
{
    if (high - low > LEAST_SIDE) {
        return {low, high};
    }
    const double middle = (low + high) / 2.0;
    return {middle - LEAST_SIDE / 2.0, middle + LEAST_SIDE / 2.0};
}

} // namespace

Self::WaitingSelectionHelper(SelectionHelper& other) : SelectionHelper(other)
{
    setWaitingEntered(true);
    rebuildSelectedPoints();
    updateSelectionBox();
    addPathHelpers();
    addSelectedPointsHelper();
    addSelectionBoxHelper();
}

Self::~WaitingSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::keyPressEvent(QKeyEvent* event, mvc::core::View* view)
{
    if (guimisc::KeyboardSupport::isEnterKey(event->key())) {
        if (pendingPath().size() >= 2) {
            finishSelection(view);
        }
    } else if (event->key() == Qt::Key_Escape) {
        reset(view);
        controller()->revertBatchEdit();
    }
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseDoubleClickEvent(QMouseEvent* event,
                                                              mvc::core::View* view)
{
    setPressPosition(event->pos());
    if (pendingPath().size() >= 2) {
        finishSelection(view);
    }
    return this;
}

guimisc::helper::SelectionHelper* Self::mousePressEvent(QMouseEvent* event, mvc::core::View* view)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    setPressPosition(event->pos());
    if (event->modifiers() & Qt::ShiftModifier) {
        return new PointsInRectangleSelectionHelper(*this);
    }
    if (selectionBox().isValid()) {
        if (hitsSelection(view->rconv(event->pos()))) {
            return new TranslationSelectionHelper(*this);
        }
        return new PointsInRectangleSelectionHelper(*this);
    }
    std::optional<std::size_t> picked;
    if (selectedIndices().empty() && (picked = pointNearPress(pendingPath(), event->pos(), view))) {
        select(*picked);
        rebuildSelectedPoints();
        updateSelectionBox();
        return new TranslationSelectionHelper(*this);
    }
    return new PointsInRectangleSelectionHelper(*this);
}

bool Self::hitsSelection(const QPointF& p) const
{
    const tin::core::Rect& box = selectionBox();
    if (!box.isValid()) {
        return false;
    }
    if (selectedIndices().size() < 2) {
        return std::abs(p.x() - box.xMin()) <= HALF_SIZE && std::abs(p.y() - box.yMin()) <= HALF_SIZE;
    }
    const auto [x0, x1] = widened(box.xMin(), box.xMax());
    const auto [y0, y1] = widened(box.yMin(), box.yMax());
    return p.x() >= x0 && p.x() <= x1 && p.y() >= y0 && p.y() <= y1;
}

} // namespace varnel
