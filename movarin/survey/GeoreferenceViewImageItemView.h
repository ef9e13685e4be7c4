#pragma once

#include "movarin/survey/GeoreferenceView.h"

#include <vector>

class QPainter;
class QRectF;
class QTransform;

namespace varnel {

class GeoreferenceViewHelper;

/// Paints the georeference pane's image item: the whole picture unturned, its top-left
/// pixel corner at the pane's (0, 0) and one pixel per world unit (scaled by the pane's
/// zoom), then the listed painter helpers in list order. The list holds the helpers of
/// the controller's active tool (borrowed: the tool owns them). Built by the item.
class GeoreferenceView::ImageItemView {
public:
    explicit ImageItemView(ImageItem* item);
    ImageItemView(const ImageItemView&) = delete;
    ImageItemView& operator=(const ImageItemView&) = delete;
    virtual ~ImageItemView();

    void paint(QPainter* painter, const QTransform& transform, const QRectF& rect) const;
    std::vector<GeoreferenceViewHelper*>& viewHelpers() { return m_viewHelpers; }

private:
    std::vector<GeoreferenceViewHelper*> m_viewHelpers;
    ImageItem* m_item;
};

} // namespace varnel
