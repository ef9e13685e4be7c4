#include "movarin/sections/CrossSectionItemControllerWaitingSelectionHelper.h"

#include "movarin/sections/CrossSectionItemControllerPointsInRectangleSelectionHelper.h"
#include "movarin/sections/CrossSectionItemControllerTranslationSelectionHelper.h"
#include "movarin/sections/PointPicking.h"

#include "brask/core/View.h"

#include <guimisc/KeyboardSupport.h>

#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>
#include <optional>

namespace varnel {

using Self = CrossSectionItemController::WaitingSelectionHelper;

namespace {

/// The selection tolerances on the main view, in world units.
constexpr double HALF_DIAGONAL = 3.0;
constexpr double BOX_LIMIT = 6.0;

bool insideDiamond(const QPointF& p, const QPointF& centre, double hx, double hy)
{
    return std::abs(p.x() - centre.x()) / hx + std::abs(p.y() - centre.y()) / hy <= 1.0;
}

} // namespace

Self::WaitingSelectionHelper(SelectionHelper& other) : SelectionHelper(other)
{
    refreshSelection();
    addPathHelper();
    addSelectedPointsHelper();
    addSelectionRectHelper();
}

Self::~WaitingSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::keyPressEvent(QKeyEvent* event, mvc::core::View* view)
{
    if (guimisc::KeyboardSupport::isEnterKey(event->key())) {
        if (workingPath().size() >= 2) {
            finishSelection(view);
        }
    } else if (event->key() == Qt::Key_Escape) {
        cancel(view);
    }
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseDoubleClickEvent(QMouseEvent* event,
                                                              mvc::core::View* view)
{
    setPressPosition(event->pos());
    if (workingPath().size() >= 2) {
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
    if (!selectedIndices().empty()) {
        if (hitsSelection(view->rconv(event->pos()))) {
            return new TranslationSelectionHelper(*this);
        }
        return new PointsInRectangleSelectionHelper(*this);
    }
    std::size_t index = 0;
    if (pickNearPoint(event->pos(), view, &index)) {
        select(index);
        return new TranslationSelectionHelper(*this);
    }
    return new PointsInRectangleSelectionHelper(*this);
}

bool Self::hitsSelection(const QPointF& p) const
{
    const tin::core::Rect& box = selectionRect();
    if (selectedIndices().empty() || !box.isValid()) {
        return false;
    }
    const QPointF centre((box.xMin() + box.xMax()) / 2.0, (box.yMin() + box.yMax()) / 2.0);
    if (selectedIndices().size() == 1) {
        return insideDiamond(p, centre, HALF_DIAGONAL, HALF_DIAGONAL);
    }
    const double w = box.width();
    const double h = box.height();
    if (w > BOX_LIMIT && h > BOX_LIMIT) {
        return box.contains(tin::core::Point2D(p.x(), p.y()));
    }
    return insideDiamond(p, centre, w > BOX_LIMIT ? w / 2.0 : HALF_DIAGONAL,
                         h > BOX_LIMIT ? h / 2.0 : HALF_DIAGONAL);
}

bool Self::pickNearPoint(const QPoint& press, const mvc::core::View* view,
                         std::size_t* index) const
{
    const std::optional<std::size_t> picked = pointNearPress(workingPath(), press, view);
    if (picked) {
        *index = *picked;
    }
    return picked.has_value();
}

} // namespace varnel
