#include "movarin/survey/GeoreferenceViewTranslationSelectionHelper.h"

#include "movarin/shell/PointsGeoreferenceViewHelper.h"
#include "movarin/shell/RectGeoreferenceViewHelper.h"
#include "movarin/survey/GcpSelectionGeometry.h"
#include "movarin/survey/GcpTableModel.h"
#include "movarin/survey/GeoreferenceViewWaitingSelectionHelper.h"

#include <QMouseEvent>

namespace varnel {

using Self = GeoreferenceView::ImageItemController::TranslationSelectionHelper;

Self::TranslationSelectionHelper(SelectionHelper& other)
    : SelectionHelper(other), m_moved(positions())
{
    addGcpTableHelper();
    addPositionsHelper();
    auto moved = std::make_unique<PointsGeoreferenceViewHelper>(&m_moved, controller()->view(),
                                                                QPen(Qt::black));
    moved->setRadius(4);
    viewHelpers().push_back(std::move(moved));
    viewHelpers().push_back(std::make_unique<RectGeoreferenceViewHelper>(
        &m_bounds, controller()->view(), QPen(Qt::black, 1.0, Qt::DotLine)));
}

Self::~TranslationSelectionHelper() = default;

void Self::moveCopies()
{
    m_moved.clear();
    for (const QPointF& p : positions()) {
        m_moved.push_back(p + m_displacement);
    }
}

void Self::tableChanged()
{
    refreshPositions();
    moveCopies();
    if (m_bounds.isValid()) {
        m_bounds = GcpSelectionGeometry::bounds(positions());
    }
}

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent* event, GeoreferenceView* view)
{
    m_displacement = view->rconv(QPointF(event->pos())) - view->rconv(QPointF(anchor()));
    moveCopies();
    m_bounds = GcpSelectionGeometry::bounds(positions());
    view->update();
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseReleaseEvent(QMouseEvent*, GeoreferenceView* view)
{
    finishSelection(view);
    return new WaitingSelectionHelper(*this);
}

void Self::doFinishSelection(GeoreferenceView*)
{
    const std::vector<GcpTable::size_type> rows = positionRows();
    const std::vector<QPointF> moved = m_moved;
    // Written, the moved positions are the positions: the drag is over.
    m_displacement = QPointF();
    controller()->gcpTableModel()->setSources(rows, moved);
    refreshPositions();
}

} // namespace varnel
