#include "movarin/shell/TinMainViewHelper.h"

#include "movarin/shell/BandPainter.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/TinPaintCache.h"

#include "brask/core/View.h"
#include "orlin/core/Point.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"
#include "orlin/core/TriangleSet.h"

#include <guimisc/colormapper/ElevationColorMapper.h>
#include <guimisc/restorer/QPainterPenBrushChanger.h>

#include <QPaintDevice>
#include <QPainter>
#include <QPolygonF>
#include <QSettings>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace varnel {

namespace {

// Borrowed from the TIN, which does not change while it is painted.
using Triangles = std::vector<const tin::core::Triangle*>;
using guimisc::colormapper::ElevationColorMapper;

bool s_cacheEnabled = true;

// The triangles to draw: those whose bounding rectangles meet the visible rectangle, from the
// spatial index. A view that shows the whole TIN (give or take a hundredth of the view, the
// rounding of a fit) takes every triangle from the TIN's own list instead, which spares the
// building of the index and the walk through it; what lies outside the view is clipped.
Triangles trianglesInView(const tin::core::Tin& tin, const QRectF& rect)
{
    const QRectF visible = rect.normalized();
    const double mx = 0.01 * visible.width();
    const double my = 0.01 * visible.height();
    const tin::core::Rect widened(visible.left() - mx, visible.top() - my, visible.right() + mx,
                                  visible.bottom() + my);
    Triangles triangles;
    if (tin.boundingRect().isInside(widened)) {
        triangles.reserve(tin.allTriangles().size());
        for (const std::shared_ptr<tin::core::Triangle>& t : tin.allTriangles()) {
            triangles.push_back(t.get());
        }
        return triangles;
    }
    const std::vector<std::shared_ptr<tin::core::Triangle>> found = tin.findTrianglesIntersectRect(
        tin::core::Rect(visible.left(), visible.top(), visible.right(), visible.bottom()));
    triangles.reserve(found.size());
    for (const std::shared_ptr<tin::core::Triangle>& t : found) {
        triangles.push_back(t.get());
    }
    return triangles;
}

// Triangles are converted to widget points and colours a chunk at a time on the caller's
// thread (through the view's own conversion), then drawn; a chunk of this many triangles
// takes about 3.4 MB.
constexpr std::size_t CHUNK = 65536;

// One triangle as drawn: widget corners, fill colour and the bands of the picture it may
// touch (bit b for band b).
struct WidgetTriangle {
    QPointF corners[3];
    QRgb fill;
    unsigned bands;
};

// Where the bands of a picture of `height` rows begin; one band covers everything.
class BandLayout {
public:
    BandLayout(int height, int bands) : m_height(height), m_bands(bands) {}

    int count() const { return m_bands; }

    // The bands that rows from `top` to `bottom` (widget y, a pixel of stroke either side)
    // meet; every band when either is not finite.
    unsigned bandsOf(double top, double bottom) const
    {
        const unsigned all = (1u << m_bands) - 1u;
        if (m_bands == 1 || !std::isfinite(top) || !std::isfinite(bottom)) {
            return all;
        }
        const double first = std::floor(top) - 2.0;
        const double last = std::ceil(bottom) + 2.0;
        unsigned mask = 0;
        for (int b = 0; b < m_bands; ++b) {
            const int from = BandPainter::bandTop(m_height, m_bands, b);
            const int to = BandPainter::bandTop(m_height, m_bands, b + 1);
            if (last >= from && first < to) {
                mask |= 1u << b;
            }
        }
        return mask;
    }

private:
    int m_height;
    int m_bands;
};

WidgetTriangle widgetTriangle(const tin::core::Triangle& triangle,
                              const ElevationColorMapper& colors, const mvc::core::View& view,
                              const BandLayout& layout)
{
    WidgetTriangle t;
    int red = 0;
    int green = 0;
    int blue = 0;
    for (int i = 0; i < 3; ++i) {
        const tin::core::Point& p = *triangle.point(i);
        t.corners[i] = view.conv(QPointF(p.x(), p.y()));
        const QColor c = colors.color(p.elevation());
        red += c.red();
        green += c.green();
        blue += c.blue();
    }
    t.fill = qRgba(red / 3, green / 3, blue / 3, 255);
    const auto [low, high] = std::minmax({t.corners[0].y(), t.corners[1].y(), t.corners[2].y()});
    t.bands = layout.bandsOf(low, high);
    return t;
}

QPen edgePen(bool edges)
{
    QPen pen;
    if (edges) {
        pen.setColor(Qt::black);
    } else {
        pen.setStyle(Qt::NoPen);
    }
    return pen;
}

// Draws the triangles of `chunk` that touch band `band`, in order: each filled with its
// colour and outlined with the painter's pen.
void drawBand(QPainter* painter, const std::vector<WidgetTriangle>& chunk, int band)
{
    const unsigned bit = 1u << band;
    for (const WidgetTriangle& t : chunk) {
        if (t.bands & bit) {
            painter->setBrush(QBrush(QColor::fromRgba(t.fill), Qt::SolidPattern));
            painter->drawPolygon(t.corners, 3, Qt::OddEvenFill);
        }
    }
}

// Converts the triangles a chunk at a time and hands each chunk to `draw`.
template <class Draw>
void forEachChunk(const Triangles& triangles, const ElevationColorMapper& colors,
                  const mvc::core::View& view, const BandLayout& layout, Draw draw)
{
    std::vector<WidgetTriangle> chunk;
    chunk.reserve(std::min(CHUNK, triangles.size()));
    for (std::size_t first = 0; first < triangles.size(); first += CHUNK) {
        chunk.clear();
        const std::size_t last = std::min(triangles.size(), first + CHUNK);
        for (std::size_t k = first; k < last; ++k) {
            chunk.push_back(widgetTriangle(*triangles[k], colors, view, layout));
        }
        draw(chunk);
    }
}

// Draws the triangles with the painter as it is (one band, the caller's thread).
void drawTriangles(QPainter* painter, const Triangles& triangles,
                   const ElevationColorMapper& colors, const mvc::core::View& view, bool edges)
{
    guimisc::restorer::QPainterPenBrushChanger changer(painter, edgePen(edges), painter->brush());
    forEachChunk(
        triangles, colors, view, BandLayout(1, 1),
        [painter](const std::vector<WidgetTriangle>& chunk) { drawBand(painter, chunk, 0); });
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

// The triangles drawn into a transparent picture of the device's size, in bands on several
// threads when there are many.
QImage pictureOf(const QPainter& painter, const TinPaintCache::Key& key, const Triangles& triangles,
                 const ElevationColorMapper& colors, const mvc::core::View& view)
{
    QImage picture(key.pixels, QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull()) {
        return picture;
    }
    picture.setDevicePixelRatio(key.pixelRatio);
    picture.fill(Qt::transparent);
    const BandLayout layout(picture.height(), BandPainter::bandsFor(triangles.size(), picture));
    const QPen pen = edgePen(key.edges);
    forEachChunk(triangles, colors, view, layout, [&](const std::vector<WidgetTriangle>& chunk) {
        BandPainter::paint(&picture, layout.count(), painter.renderHints(),
                           [&](QPainter* onBand, int band) {
                               onBand->setPen(pen);
                               drawBand(onBand, chunk, band);
                           });
    });
    return picture;
}

// Where an overlay TIN lies on the device, in logical pixels, two pixels wider on each side
// for the pen; empty when none of it is on the device.
QRect cropOf(const tin::core::Tin& tin, const TinPaintCache::Key& key, const mvc::core::View& view)
{
    const tin::core::Rect r = tin.boundingRect();
    QPolygonF corners;
    corners << view.conv(QPointF(r.xMin(), r.yMin())) << view.conv(QPointF(r.xMax(), r.yMin()))
            << view.conv(QPointF(r.xMax(), r.yMax())) << view.conv(QPointF(r.xMin(), r.yMax()));
    const QSizeF logical = QSizeF(key.pixels) / key.pixelRatio;
    const QRect device(QPoint(0, 0), logical.toSize());
    return corners.boundingRect().toAlignedRect().adjusted(-2, -2, 2, 2) & device;
}

// The triangles drawn into a transparent picture of the crop's size (on the caller's thread:
// overlays are small), its offset the crop's corner.
QImage croppedPictureOf(const QPainter& painter, const TinPaintCache::Key& key, const QRect& crop,
                        const Triangles& triangles, const ElevationColorMapper& colors,
                        const mvc::core::View& view)
{
    QImage picture((QSizeF(crop.size()) * key.pixelRatio).toSize(),
                   QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull()) {
        return picture;
    }
    picture.setDevicePixelRatio(key.pixelRatio);
    picture.fill(Qt::transparent);
    QPainter onPicture(&picture);
    onPicture.setRenderHints(painter.renderHints());
    onPicture.translate(-crop.topLeft());
    onPicture.setPen(edgePen(key.edges));
    forEachChunk(triangles, colors, view, BandLayout(1, 1),
                 [&](const std::vector<WidgetTriangle>& chunk) { drawBand(&onPicture, chunk, 0); });
    onPicture.end();
    picture.setOffset(crop.topLeft());
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

void TinMainViewHelper::paintTin(QPainter* painter, const QTransform& transform, const QRectF& rect,
                                 const tin::core::Tin* tin, const ElevationColorMapper* colorMapper,
                                 mvc::core::View* view, bool showEdges)
{
    paintTin(painter, transform, rect, tin, colorMapper, view, showEdges, Layer::Terrain);
}

void TinMainViewHelper::paintTin(QPainter* painter, const QTransform& transform, const QRectF& rect,
                                 const tin::core::Tin* tin, const ElevationColorMapper* colorMapper,
                                 mvc::core::View* view, bool showEdges, Layer layer)
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
    TinPaintCache* cache = TinPaintCache::of(
        view, layer == Layer::Terrain ? TinPaintCache::Shelf::Terrain : TinPaintCache::Shelf::Overlay);
    const QImage* picture = cache->find(tin, key);
    if (!picture) {
        const Triangles triangles = trianglesInView(*tin, rect);
        const QRect crop = layer == Layer::Overlay && !triangles.empty()
                               ? cropOf(*tin, key, *view)
                               : QRect();
        QImage drawn;
        if (layer == Layer::Terrain && !triangles.empty()) {
            drawn = pictureOf(*painter, key, triangles, *colorMapper, *view);
        } else if (!crop.isEmpty()) {
            drawn = croppedPictureOf(*painter, key, crop, triangles, *colorMapper, *view);
        }
        if (drawn.isNull() && (layer == Layer::Terrain ? !triangles.empty() : !crop.isEmpty())) {
            // No memory for a picture of this size: draw without one.
            drawTriangles(painter, triangles, *colorMapper, *view, showEdges);
            return;
        }
        // A null picture records that nothing of the TIN is in view.
        picture = &cache->store(tin, key, std::move(drawn));
    }
    if (!picture->isNull()) {
        painter->drawImage(QPointF(picture->offset()), *picture);
    }
}

void TinMainViewHelper::paintTin(QPainter* painter, const QTransform& transform, const QRectF& rect,
                                 const tin::core::Tin* tin, const ElevationColorMapper* colorMapper,
                                 mvc::core::View* view)
{
    paintTin(painter, transform, rect, tin, colorMapper, view, false);
}

void TinMainViewHelper::discardPaintCache(mvc::core::View* view)
{
    for (TinPaintCache::Shelf shelf : {TinPaintCache::Shelf::Terrain, TinPaintCache::Shelf::Overlay}) {
        if (TinPaintCache* cache = TinPaintCache::existing(view, shelf)) {
            cache->clear();
        }
    }
}

void TinMainViewHelper::setPaintCacheEnabledForTests(bool enabled)
{
    s_cacheEnabled = enabled;
}

} // namespace varnel
