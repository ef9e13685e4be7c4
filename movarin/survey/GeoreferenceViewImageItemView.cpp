#include "movarin/survey/GeoreferenceViewImageItemView.h"

#include "movarin/survey/GeoreferenceViewHelper.h"
#include "movarin/survey/GeoreferenceViewImageItem.h"

#include "pelkas/GdalImage.h"

#include <QPainter>

namespace varnel {

// Shorthand inside the bodies; each definition names the class in full, since the
// translation tools do not see through an alias to find a text's class.
using Self = GeoreferenceView::ImageItemView;

GeoreferenceView::ImageItemView::ImageItemView(ImageItem* item) : m_item(item) {}

GeoreferenceView::ImageItemView::~ImageItemView() = default;

void GeoreferenceView::ImageItemView::paint(QPainter* painter, const QTransform& transform,
                                            const QRectF& rect) const
{
    const gdalimg::GdalImage* image = m_item->image();
    if (image && !image->image().isNull()) {
        const GeoreferenceView* pane = m_item->view();
        painter->save();
        painter->translate(pane->conv(QPointF(0.0, 0.0)));
        painter->scale(pane->scale(), pane->scale());
        painter->drawImage(QPointF(0.0, 0.0), image->image());
        painter->restore();
    }
    for (GeoreferenceViewHelper* helper : m_viewHelpers) {
        helper->paintView(painter, transform, rect);
    }
}

} // namespace varnel
