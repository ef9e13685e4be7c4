#include "movarin/sections/CrossSectionLhViewLhTableItemControllerSelectionHelper.h"

#include "movarin/sections/CrossSectionLhViewLhTableItem.h"
#include "movarin/sections/PointPicking.h"
#include "movarin/shell/MultipleSlopeCrossSectionLhViewHelper.h"
#include "movarin/shell/PointsCrossSectionLhViewHelper.h"

#include "orlin/core/Point.h"

namespace varnel {

using Self = CrossSectionLhView::LhTableItemController::SelectionHelper;

Self::SelectionHelper(LhTableItemController* controller)
    : CrossSectionLhViewSelectionHelperT(controller)
{
}

Self::SelectionHelper(const SelectionHelper& other) = default;

Self::~SelectionHelper() = default;

guimisc::helper::SelectionHelper* Self::selectPoints(const CrossSectionLhRowIndices& indices)
{
    setSelection(indices);
    repaint();
    return this;
}

void Self::setSelection(const CrossSectionLhRowIndices& indices)
{
    const std::size_t count = controller()->tableItem()->rows().size();
    m_selection.clear();
    for (const auto i : indices) {
        if (i < count) {
            m_selection.insert(i);
        }
    }
    rebuildSelectedPoints();
}

void Self::clearSelection()
{
    m_selection.clear();
    rebuildSelectedPoints();
}

void Self::addInside(const tin::core::Polygon& band)
{
    const LhTableItem* item = controller()->tableItem();
    const auto point = [item](std::size_t i) {
        const QPointF p = item->point(i);
        return tin::core::Point(p.x(), p.y());
    };
    for (const std::size_t i : pointIndicesInPolygon(point, item->rows().size(), band)) {
        m_selection.insert(i);
    }
    rebuildSelectedPoints();
}

void Self::addSlopeHelper()
{
    if (m_showSlope) {
        viewHelpers().push_back(std::make_unique<MultipleSlopeCrossSectionLhViewHelper>(
            &controller()->tableItem()->rows(), plot(), QPen(Qt::magenta)));
    }
}

void Self::addSelectedPointsHelper()
{
    viewHelpers().push_back(std::make_unique<PointsCrossSectionLhViewHelper>(
        &m_selectedPoints, plot(), QBrush(Qt::black, Qt::SolidPattern)));
}

CrossSectionLhView* Self::plot() const
{
    return controller()->tableItem()->lhView();
}

void Self::repaint() const
{
    plot()->update();
}

void Self::rebuildSelectedPoints()
{
    const LhTableItem* item = controller()->tableItem();
    const std::size_t count = item->rows().size();
    m_selectedPoints.clear();
    for (auto i = m_selection.begin(); i != m_selection.end();) {
        if (*i < count) {
            m_selectedPoints.push_back(item->point(*i));
            ++i;
        } else {
            i = m_selection.erase(i);
        }
    }
    selectionChanged();
}

} // namespace varnel
