#include "movarin/sections/CrossSectionLhViewLhTableItemControllerPointsInRectangleSelectionHelper.h"

#include "movarin/sections/CrossSectionLhViewLhTableItemControllerWaitingSelectionHelper.h"
#include "movarin/shell/PolygonCrossSectionLhViewHelper.h"
#include "movarin/survey/RectangleToPolygon.h"

#include <guimisc/KeyboardSupport.h>

#include <QKeyEvent>
#include <QMouseEvent>

#include <cstdlib>

namespace varnel {

namespace {

constexpr int CLICK_PIXELS = 3;

} // namespace

using Self = CrossSectionLhView::LhTableItemController::PointsInRectangleSelectionHelper;

Self::PointsInRectangleSelectionHelper(const SelectionHelper& other) : SelectionHelper(other)
{
    addSlopeHelper();
    addSelectedPointsHelper();
    viewHelpers().push_back(std::make_unique<PolygonCrossSectionLhViewHelper>(&m_band, plot()));
}

Self::~PointsInRectangleSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::keyPressEvent(QKeyEvent* event, CrossSectionLhView*)
{
    if (!guimisc::KeyboardSupport::isEnterKey(event->key())) {
        return this;
    }
    addInside(m_band);
    repaint();
    return new WaitingSelectionHelper(*this);
}

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent* event, CrossSectionLhView* view)
{
    rectangleToPolygon(m_band, QPointF(pressPosition()), QPointF(event->pos()), viewMapping(view));
    repaint();
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseReleaseEvent(QMouseEvent* event,
                                                          CrossSectionLhView* view)
{
    if (!(event->modifiers() & Qt::ShiftModifier)) {
        clearSelection();
    }
    // A click, even one that wobbled by a pixel on the way, picks what lies under it.
    const QPoint moved = event->pos() - pressPosition();
    if (std::abs(moved.x()) < CLICK_PIXELS && std::abs(moved.y()) < CLICK_PIXELS) {
        const QPointF press(pressPosition());
        const QPointF corner(CLICK_PIXELS, CLICK_PIXELS);
        rectangleToPolygon(m_band, press - corner, press + corner, viewMapping(view));
    }
    addInside(m_band);
    repaint();
    return new WaitingSelectionHelper(*this);
}

} // namespace varnel
