#include "movarin/shell/TinMainViewHelper.h"

#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/TinPaintCache.h"

#include "brask/core/View.h"
#include "orlin/core/Point.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <guimisc/colormapper/ElevationColorMapper.h>
#include <guimisc/restorer/QPainterPenBrushChanger.h>

#include <QPaintDevice>
#include <QPainter>
#include <QSettings>

#include <memory>
#include <vector>

namespace varnel {

namespace {

using Triangles = std::vector<std::shared_ptr<tin::core::Triangle>>;
using guimisc::colormapper::ElevationColorMapper;

bool s_cacheEnabled = true;

Triangles trianglesInView(const tin::core::Tin& tin, const QRectF& rect)
{
    return tin.findTrianglesIntersectRect(
        tin::core::Rect(rect.left(), rect.top(), rect.right(), rect.bottom()));
}

void drawTriangles(QPainter* painter, const Triangles& triangles,
                   const ElevationColorMapper& colors, const mvc::core::View& view, bool edges)
{
    QPen pen;
    if (edges) {
        pen.setColor(Qt::black);
    } else {
        pen.setStyle(Qt::NoPen);
    }
    guimisc::restorer::QPainterPenBrushChanger changer(painter, pen, painter->brush());
    QPointF corners[3];
    for (const auto& triangle : triangles) {
        int red = 0;
        int green = 0;
        int blue = 0;
        for (int i = 0; i < 3; ++i) {
            const tin::core::Point& p = *triangle->point(i);
            corners[i] = view.conv(QPointF(p.x(), p.y()));
            const QColor c = colors.color(p.elevation());
            red += c.red();
            green += c.green();
            blue += c.blue();
        }
        painter->setBrush(QBrush(QColor(red / 3, green / 3, blue / 3, 255), Qt::SolidPattern));
        painter->drawPolygon(corners, 3, Qt::OddEvenFill);
    }
}

// A picture kept for later paints shows the same as drawing directly only on a raster
// device painted untransformed, opaque and in the normal composition mode.
bool cacheable(const QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    if (!s_cacheEnabled || !device) {
        return false;
    }
    const int type = device->devType();
    return (type == QInternal::Image || type == QInternal::Pixmap) &&
           painter.compositionMode() == QPainter::CompositionMode_SourceOver &&
           painter.opacity() == 1.0 && painter.combinedTransform().isIdentity();
}

TinPaintCache::Key keyOf(const QPainter& painter, const QRectF& rect, const tin::core::Tin& tin,
                         const ElevationColorMapper& colors, const mvc::core::View& view,
                         bool edges)
{
    const QPaintDevice* device = painter.device();
    TinPaintCache::Key key;
    key.revision = tin.revision();
    key.viewTransform = view.transform();
    key.origin = view.localOrigin();
    key.rect = rect;
    key.pixels = QSize(device->width(), device->height());
    key.pixelRatio = device->devicePixelRatioF();
    key.renderHints = static_cast<int>(painter.renderHints());
    key.colorMin = colors.minimum();
    key.colorMax = colors.maximum();
    key.colorWaterSurface = colors.waterSurfaceValue();
    key.edges = edges;
    return key;
}

// The triangles drawn into a transparent picture of the device's size.
QImage pictureOf(const QPainter& painter, const TinPaintCache::Key& key,
                 const Triangles& triangles, const ElevationColorMapper& colors,
                 const mvc::core::View& view)
{
    QImage picture(key.pixels, QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull()) {
        return picture;
    }
    picture.setDevicePixelRatio(key.pixelRatio);
    picture.fill(Qt::transparent);
    QPainter onPicture(&picture);
    onPicture.setRenderHints(painter.renderHints());
    drawTriangles(&onPicture, triangles, colors, view, key.edges);
    return picture;
}

} // namespace

TinMainViewHelper::TinMainViewHelper(const tin::core::Tin* tin, mvc::core::View* view,
                                     const ElevationColorMapper* colorMapper)
    : MainViewHelperI(view), m_tin(tin), m_colorMapper(colorMapper)
{
}

void TinMainViewHelper::paintView(QPainter* painter, const QTransform& transform,
                                  const QRectF& rect)
{
    const bool edges = QSettings().value(settings::graphicsShowTinEdges).toBool();
    paintTin(painter, transform, rect, m_tin, m_colorMapper, view(), edges);
}

void TinMainViewHelper::paintTin(QPainter* painter, const QTransform& transform,
                                 const QRectF& rect, const tin::core::Tin* tin,
                                 const ElevationColorMapper* colorMapper, mvc::core::View* view,
                                 bool showEdges)
{
    if (!painter || !tin || !colorMapper || !view) {
        return;
    }
    if (!cacheable(*painter)) {
        const Triangles triangles = trianglesInView(*tin, rect);
        drawTriangles(painter, triangles, *colorMapper, *view, showEdges);
        return;
    }
    const TinPaintCache::Key key = keyOf(*painter, rect, *tin, *colorMapper, *view, showEdges);
    TinPaintCache* cache = TinPaintCache::of(view);
    const QImage* picture = cache->find(tin, key);
    if (!picture) {
        const Triangles triangles = trianglesInView(*tin, rect);
        QImage drawn;
        if (!triangles.empty()) {
            drawn = pictureOf(*painter, key, triangles, *colorMapper, *view);
            if (drawn.isNull()) {
                // No memory for a picture of this size: draw without one.
                drawTriangles(painter, triangles, *colorMapper, *view, showEdges);
                return;
            }
        }
        // A null picture records that nothing of the TIN is in view.
        picture = &cache->store(tin, key, std::move(drawn));
    }
    if (!picture->isNull()) {
        painter->drawImage(QPointF(0.0, 0.0), *picture);
    }
}

void TinMainViewHelper::paintTin(QPainter* painter, const QTransform& transform,
                                 const QRectF& rect, const tin::core::Tin* tin,
                                 const ElevationColorMapper* colorMapper, mvc::core::View* view)
{
    paintTin(painter, transform, rect, tin, colorMapper, view, false);
}

void TinMainViewHelper::discardPaintCache(mvc::core::View* view)
{
    if (TinPaintCache* cache = TinPaintCache::existing(view)) {
        cache->clear();
    }
}

void TinMainViewHelper::setPaintCacheEnabledForTests(bool enabled)
{
    s_cacheEnabled = enabled;
}

} // namespace varnel
