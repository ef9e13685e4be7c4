#include "movarin/shell/MoldMoldDetailViewHelper.h"

#include <guimisc/restorer/QPainterPenBrushChanger.h>

namespace varnel {

MoldMoldDetailViewHelper::MoldMoldDetailViewHelper(const MoldItem* moldItem, DetailView* view)
    : MoldDetailViewHelperI(view), m_moldItem(moldItem)
{
    m_gridPainter.setGridVisible(false);
}

void MoldMoldDetailViewHelper::paintView(QPainter* painter, const QTransform& transform,
                                         const QRectF& rect)
{
    guimisc::restorer::QPainterPenBrushChanger changer(painter, pen(), brush());
    m_gridPainter.paint(painter, transform, rect, m_moldItem);
}

} // namespace varnel
