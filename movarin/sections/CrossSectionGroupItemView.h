#pragma once

#include "brask/core/ModelItemViewT.h"

namespace varnel {

class CrossSectionGroupItem;

/// Paints the group's cross sections on the main view as the items' own views paint them,
/// the children from the last to the first so that the first lies on top.
///
/// A long run of sections that are not selected and have no rows of their own (a project
/// of 100,000 sections is one such run) is drawn by several threads at once, each in its own
/// band of the view's picture, with the drawing calls of `CrossSectionItemView::paintLine`:
/// the pixels are those of drawing them one by one. The selected section, and any child of
/// another kind, is drawn by its own view in its place, between the runs. On a device other
/// than a picture of one device pixel per pixel, with an opacity or a composition mode of
/// the painter's own, and for a short run, the run is drawn line by line on the painter.
/// Built by the group and owned by it.
class CrossSectionGroupItemView : public mvc::core::ModelItemViewT<CrossSectionGroupItem> {
public:
    explicit CrossSectionGroupItemView(const CrossSectionGroupItem* item);
    ~CrossSectionGroupItemView() override;

protected:
    void paintChildrenMainView(QPainter* painter, const QTransform& transform,
                               const QRectF& rect) const override;
};

} // namespace varnel
