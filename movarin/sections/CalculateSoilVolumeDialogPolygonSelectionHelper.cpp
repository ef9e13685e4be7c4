#include "movarin/sections/CalculateSoilVolumeDialogPolygonSelectionHelper.h"

#include "movarin/shell/PolygonMainViewHelper.h"

#include "brask/core/View.h"
#include "orlin/core/GeometryFunctions.h"

#include <guimisc/KeyboardSupport.h>

#include <QKeyEvent>
#include <QMouseEvent>

#include <utility>

namespace varnel {

namespace {

tin::core::Point2D worldPoint(const QMouseEvent* event, const mvc::core::View* view)
{
    const QPointF p = view->rconv(event->pos());
    return tin::core::Point2D(p.x(), p.y());
}

} // namespace

CalculateSoilVolumeDialog::PolygonSelectionHelper::PolygonSelectionHelper(SelectionHelper&& other,
                                                                          mvc::core::View* view)
    : SelectionHelper(std::move(other))
{
    viewHelpers().push_back(std::make_unique<PolygonMainViewHelper>(&polygon(), view));
}

CalculateSoilVolumeDialog::PolygonSelectionHelper::~PolygonSelectionHelper() = default;

guimisc::helper::SelectionHelper*
CalculateSoilVolumeDialog::PolygonSelectionHelper::mousePressEvent(QMouseEvent* event,
                                                                   mvc::core::View* view)
{
    if (event->button() != Qt::LeftButton) {
        return this;
    }
    // Without a move since the last press the last point is that press's vertex, which
    // this press replaces.
    if (!polygon().empty()) {
        polygon().removeLastPoint();
    }
    m_lastFixed = worldPoint(event, view);
    polygon().addPoint(m_lastFixed);
    m_rubberBand = false;
    view->update();
    return this;
}

guimisc::helper::SelectionHelper*
CalculateSoilVolumeDialog::PolygonSelectionHelper::mouseMoveEvent(QMouseEvent* event,
                                                                  mvc::core::View* view)
{
    if (!polygon().empty()) {
        dropRubberBand();
        const tin::core::Point2D cursor = worldPoint(event, view);
        if (cursor != m_lastFixed) {
            polygon().addPoint(cursor);
            m_rubberBand = true;
        }
    }
    view->update();
    return this;
}

guimisc::helper::SelectionHelper*
CalculateSoilVolumeDialog::PolygonSelectionHelper::mouseDoubleClickEvent(QMouseEvent*,
                                                                         mvc::core::View* view)
{
    finish(view);
    return this;
}

guimisc::helper::SelectionHelper*
CalculateSoilVolumeDialog::PolygonSelectionHelper::keyPressEvent(QKeyEvent* event,
                                                                 mvc::core::View* view)
{
    if (guimisc::KeyboardSupport::isEnterKey(event->key())) {
        finish(view);
    } else if (event->key() == Qt::Key_Escape) {
        // The vertex fixed last goes, and the rubber band with it; the next move draws the
        // band from the vertex before.
        dropRubberBand();
        if (!polygon().empty()) {
            polygon().removeLastPoint();
        }
        if (!polygon().empty()) {
            m_lastFixed = polygon().points().back();
        }
        view->update();
    }
    return this;
}

void CalculateSoilVolumeDialog::PolygonSelectionHelper::dropRubberBand()
{
    if (m_rubberBand) {
        polygon().removeLastPoint();
        m_rubberBand = false;
    }
}

void CalculateSoilVolumeDialog::PolygonSelectionHelper::finish(mvc::core::View* view)
{
    dropRubberBand();
    finishSelection(view);
}

} // namespace varnel
