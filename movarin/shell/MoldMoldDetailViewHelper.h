#pragma once

#include "movarin/shell/MoldDetailViewHelperI.h"
#include "movarin/surfaces/MoldGridPainter.h"

namespace varnel {

class MoldItem;

/// The whole mold of a borrowed mold item on the mold detail view, without the grid: the
/// dashed base-line cross through the mold's base point and the mold's outline (see
/// `MoldGridPainter`, whose grid this helper switches off); nothing for no item or an
/// empty mold. The item is read at every paint and must outlive the helper.
class MoldMoldDetailViewHelper : public MoldDetailViewHelperI {
public:
    MoldMoldDetailViewHelper(const MoldItem* moldItem, DetailView* view);

    void paintView(QPainter* painter, const QTransform& transform, const QRectF& rect) override;

private:
    const MoldItem* m_moldItem;
    MoldGridPainter m_gridPainter;
};

} // namespace varnel
