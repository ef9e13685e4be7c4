#include "movarin/survey/BackgroundImageItemControllerGcpTranslationSelectionHelper.h"

#include "movarin/shell/PointsMainViewHelper.h"
#include "movarin/shell/RectMainViewHelper.h"
#include "movarin/survey/BackgroundImageItemControllerSourceOperationWaitingSelectionHelper.h"
#include "movarin/survey/GcpTableModel.h"

#include "brask/core/View.h"

#include <QMouseEvent>

namespace varnel {

using Self = BackgroundImageItemController::GcpTranslationSelectionHelper;

Self::GcpTranslationSelectionHelper(SelectionHelper& other)
    : SelectionHelper(other), m_movedPoints(previewPoints())
{
    addGcpTableHelper();
    addPreviewHelper();
    auto moved = std::make_unique<PointsMainViewHelper>(&m_movedPoints, view(), QPen(Qt::black));
    moved->setRadius(4);
    viewHelpers().push_back(std::move(moved));
    viewHelpers().push_back(std::make_unique<RectMainViewHelper>(
        &m_selectionRect, view(), QPen(Qt::black, 1.0, Qt::DotLine)));
}

Self::~GcpTranslationSelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::mouseMoveEvent(QMouseEvent* event, mvc::core::View* view)
{
    const QPointF shift = view->rconv(event->pos()) - view->rconv(pressPosition());
    const std::vector<tin::core::Point>& before = previewPoints();
    m_movedPoints.clear();
    std::vector<tin::core::Point2D> corners;
    for (const tin::core::Point& p : before) {
        m_movedPoints.emplace_back(p.x() + shift.x(), p.y() + shift.y());
        corners.emplace_back(p.x(), p.y(), -1);
    }
    m_selectionRect = tin::core::Rect(corners);
    repaint();
    return this;
}

guimisc::helper::SelectionHelper* Self::mouseReleaseEvent(QMouseEvent*, mvc::core::View* view)
{
    finishSelection(view);
    return new SourceOperationWaitingSelectionHelper(*this);
}

void Self::doFinishSelection(mvc::core::View*)
{
    if (GcpTableModel* model = gcpTableModel()) {
        model->setDestinations(previewRows(), m_movedPoints);
    }
    refreshPreview();
}

} // namespace varnel
