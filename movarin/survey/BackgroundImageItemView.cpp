#include "movarin/survey/BackgroundImageItemView.h"

#include "movarin/survey/BackgroundImageItem.h"

#include "brask/core/View.h"
#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageSetting.h"

#include <QPainter>

namespace varnel {

BackgroundImageItemView::BackgroundImageItemView(const BackgroundImageItem* item)
    : mvc::core::ModelItemViewT<BackgroundImageItem>(item)
{
}

BackgroundImageItemView::~BackgroundImageItemView() = default;

bool BackgroundImageItemView::isVisible() const
{
    return !m_hidden;
}

void BackgroundImageItemView::show()
{
    m_hidden = false;
    repaint();
}

void BackgroundImageItemView::toggleVisibility()
{
    m_hidden = !m_hidden;
    repaint();
}

void BackgroundImageItemView::repaint() const
{
    if (mvc::core::View* mainView = view()) {
        mainView->update();
    }
}

void BackgroundImageItemView::doPaintMainView(QPainter* painter, const QTransform&,
                                              const QRectF& rect) const
{
    const gdalimg::GdalImage* image = item()->image();
    const mvc::core::View* mainView = view();
    if (m_hidden || !image || image->image().isNull() || !mainView
        || !item()->boundingBox().intersects(rect)) {
        return;
    }
    const gdalimg::GdalImageSetting& setting = image->setting();
    const double scale = setting.scale() * mainView->scale();
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->translate(mainView->conv(setting.topLeft()));
    painter->scale(scale, scale);
    painter->rotate(-(setting.angle() + mainView->angleDegree()));
    painter->drawImage(QPointF(0.0, 0.0), image->image());
    painter->restore();
}

} // namespace varnel
