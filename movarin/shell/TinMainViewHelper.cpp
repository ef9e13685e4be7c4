#include "movarin/shell/TinMainViewHelper.h"

#include "movarin/shell/BandPainter.h"
#include "movarin/shell/SettingsKeys.h"
#include "movarin/shell/ShowsLargePart.h"
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
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace varnel {

namespace {

// Borrowed from the TIN, which does not change while it is painted.
using Triangles = std::vector<const tin::core::Triangle*>;
using guimisc::colormapper::ElevationColorMapper;

bool s_cacheEnabled = true;

// The triangles to draw, and the rectangle outside which the conversion leaves them out. A
// view that shows a large part of the TIN (`showsLargePart`) takes every triangle from the
// TIN's own list, which spares the building of the spatial index and the walk through it,
// and culls those whose boxes miss the visible rectangle, as the index would; when it shows
// the whole TIN (give or take a hundredth of the view, the rounding of a fit) there is nothing
// to cull. A view of a smaller part asks the index.
// The TIN's own list is read in place, slot by slot (freed slots are null), rather than
// copied: a copy of ten million pointers costs the first paint more than the drawing of a
// band.
struct InView {
    const tin::core::TriangleSet* all = nullptr;
    Triangles found;
    std::optional<tin::core::Rect> cull;

    // Slots in order: the TIN's or the index's.
    std::size_t size() const { return all ? all->slotCount() : found.size(); }
    bool empty() const { return all ? all->empty() : found.empty(); }
    // The triangle of slot k; null for a freed slot of the TIN's list.
    const tin::core::Triangle* at(std::size_t k) const { return all ? all->slotAt(k) : found[k]; }
};

InView trianglesInView(const tin::core::Tin& tin, const QRectF& rect)
{
    const QRectF visible = rect.normalized();
    const tin::core::Rect box(visible.left(), visible.top(), visible.right(), visible.bottom());
    const double mx = 0.01 * visible.width();
    const double my = 0.01 * visible.height();
    const tin::core::Rect widened(visible.left() - mx, visible.top() - my, visible.right() + mx,
                                  visible.bottom() + my);
    InView inView;
    const tin::core::Rect extent = tin.boundingRect();
    if (extent.isInside(widened) || showsLargePart(extent, visible)) {
        if (!extent.isInside(widened)) {
            inView.cull = box;
        }
        inView.all = &tin.allTriangles();
        return inView;
    }
    const std::vector<std::shared_ptr<tin::core::Triangle>> found =
        tin.findTrianglesIntersectRect(box);
    inView.found.reserve(found.size());
    for (const std::shared_ptr<tin::core::Triangle>& t : found) {
        inView.found.push_back(t.get());
    }
    return inView;
}

// Triangles drawn straight on a painter are converted to widget points and colours a chunk at
// a time on the caller's thread (through the view's own conversion), then drawn; a chunk of
// this many triangles takes about 3.4 MB.
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
    BandLayout(int height, int bands) : m_bands(bands)
    {
        for (int b = 0; b <= bands && b <= BandPainter::MAX_BANDS; ++b) {
            m_tops[b] = BandPainter::bandTop(height, bands, b);
        }
    }

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
            if (last >= m_tops[b] && first < m_tops[b + 1]) {
                mask |= 1u << b;
            }
        }
        return mask;
    }

private:
    int m_bands;
    int m_tops[BandPainter::MAX_BANDS + 1] = {};
};

// World to widget exactly as `View::conv` maps it (the same QTransform::map of the same
// numbers), with the view's transform and origin read once rather than once per corner.
class WidgetMapping {
public:
    explicit WidgetMapping(const mvc::core::View& view)
        : m_transform(view.transform()), m_origin(view.localOrigin())
    {
    }
    QPointF operator()(const tin::core::Point& p) const
    {
        return m_transform.map(QPointF(p.x() - m_origin.x(), -(p.y() - m_origin.y())));
    }

private:
    QTransform m_transform;
    QPointF m_origin;
};

// Whether the triangle's box meets `r` (closed bounds, as the spatial index tests).
bool meets(const tin::core::Triangle& triangle, const tin::core::Rect& r)
{
    const tin::core::Point& a = *triangle.point(0);
    const tin::core::Point& b = *triangle.point(1);
    const tin::core::Point& c = *triangle.point(2);
    return std::max({a.x(), b.x(), c.x()}) >= r.xMin()
           && std::min({a.x(), b.x(), c.x()}) <= r.xMax()
           && std::max({a.y(), b.y(), c.y()}) >= r.yMin()
           && std::min({a.y(), b.y(), c.y()}) <= r.yMax();
}

// Whether an aliased fill without outline of the triangle with these widget corners can set
// a pixel of a picture of whole pixels: whether the corners' box holds a pixel centre (k + 0.5)
// in both directions, give or take 1/32 of a pixel (the rasterizer rounds corners to 1/64). The
// painter fills no pixel for a triangle whose box holds none, so leaving it out changes no
// pixel; at survey scale most triangles of a view of the whole TIN are such specks.
bool reachesPixelCentre(const QPointF (&corners)[3])
{
    constexpr double slack = 1.0 / 32.0;
    const auto [left, right] = std::minmax({corners[0].x(), corners[1].x(), corners[2].x()});
    const auto [top, bottom] = std::minmax({corners[0].y(), corners[1].y(), corners[2].y()});
    if (!std::isfinite(left) || !std::isfinite(right) || !std::isfinite(top)
        || !std::isfinite(bottom)) {
        return true; // the painter decides
    }
    return std::floor(right - 0.5 + slack) >= std::ceil(left - 0.5 - slack)
           && std::floor(bottom - 0.5 + slack) >= std::ceil(top - 0.5 - slack);
}

// Whether the colour of a converted triangle is wanted: a pass that only notes the bands
// a triangle touches spares the three colour look-ups.
enum class Fill { Computed, LeftOut };

// The triangle as drawn, in `t`; false, with the colour not computed, when `specksLeftOut`
// and it reaches no pixel centre. With Fill::LeftOut `t.fill` is not set.
bool widgetTriangle(const tin::core::Triangle& triangle, const ElevationColorMapper& colors,
                    const WidgetMapping& toWidget, const BandLayout& layout, bool specksLeftOut,
                    Fill fill, WidgetTriangle& t)
{
    for (int i = 0; i < 3; ++i) {
        t.corners[i] = toWidget(*triangle.point(i));
    }
    if (specksLeftOut && !reachesPixelCentre(t.corners)) {
        return false;
    }
    const auto [low, high] = std::minmax({t.corners[0].y(), t.corners[1].y(), t.corners[2].y()});
    t.bands = layout.bandsOf(low, high);
    if (fill == Fill::LeftOut) {
        return true;
    }
    int red = 0;
    int green = 0;
    int blue = 0;
    for (int i = 0; i < 3; ++i) {
        const QRgb c = colors.rgb(triangle.point(i)->elevation());
        red += qRed(c);
        green += qGreen(c);
        blue += qBlue(c);
    }
    t.fill = qRgba(red / 3, green / 3, blue / 3, 255);
    return true;
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

// Fills triangles with their colours on one painter, changing its brush only when the colour
// changes: neighbouring triangles of a fine TIN mostly share a colour, and each new brush
// costs an allocation and a new fill set-up in the paint engine.
class TriangleFiller {
public:
    explicit TriangleFiller(QPainter* painter) : m_painter(painter) {}

    // Fills the triangle with its colour and outlines it with the painter's pen.
    void draw(const WidgetTriangle& t)
    {
        if (!m_brushSet || t.fill != m_fill) {
            m_painter->setBrush(QBrush(QColor::fromRgba(t.fill), Qt::SolidPattern));
            m_fill = t.fill;
            m_brushSet = true;
        }
        m_painter->drawPolygon(t.corners, 3, Qt::OddEvenFill);
    }

private:
    QPainter* m_painter;
    QRgb m_fill = 0;
    bool m_brushSet = false;
};

// Draws the triangles of `chunk` that touch band `band`, in order: each filled with its
// colour and outlined with the painter's pen.
void drawBand(TriangleFiller& filler, const WidgetTriangle* chunk, std::size_t count, int band)
{
    const unsigned bit = 1u << band;
    for (const WidgetTriangle* t = chunk; t != chunk + count; ++t) {
        if (t->bands & bit) {
            filler.draw(*t);
        }
    }
}

// Converts the triangles in view to what is drawn of them, in the order of the view's list.
struct Conversion {
    const InView& inView;
    const ElevationColorMapper& colors;
    const WidgetMapping& toWidget;
    const BandLayout& layout;
    // An aliased fill without outline into a picture of whole pixels: a triangle that reaches
    // no pixel centre is left out.
    bool specksLeftOut;

    // Converts triangles [first, last) into `out`, one slot each; a triangle left out (its
    // box misses the view, or a speck) touches no band.
    void operator()(std::size_t first, std::size_t last, WidgetTriangle* out) const
    {
        for (std::size_t k = first; k < last; ++k) {
            convert(k, out[k - first]);
        }
    }

    // Converts triangle k into `t`; false, with no band in `t`, when it is left out.
    bool convert(std::size_t k, WidgetTriangle& t, Fill fill = Fill::Computed) const
    {
        const tin::core::Triangle* triangle = inView.at(k);
        if (!triangle || (inView.cull && !meets(*triangle, *inView.cull))
            || !widgetTriangle(*triangle, colors, toWidget, layout, specksLeftOut, fill, t)) {
            t.bands = 0;
            return false;
        }
        return true;
    }
};

// Hands the triangles in view to `draw` a chunk of slots at a time: draw(chunk, first) fills
// the chunk (see `Conversion`) with the triangles from `first` on and draws it.
template <class Draw>
void forEachChunk(const InView& inView, Draw draw)
{
    const std::size_t count = inView.size();
    std::vector<WidgetTriangle> chunk;
    chunk.reserve(std::min(CHUNK, count));
    for (std::size_t first = 0; first < count; first += CHUNK) {
        chunk.resize(std::min(CHUNK, count - first));
        draw(chunk, first);
    }
}

// Converts and draws the triangles in view on one painter, a chunk at a time.
void drawInChunks(QPainter* painter, const Conversion& convert)
{
    TriangleFiller filler(painter);
    forEachChunk(convert.inView, [&](std::vector<WidgetTriangle>& chunk, std::size_t first) {
        convert(first, first + chunk.size(), chunk.data());
        drawBand(filler, chunk.data(), chunk.size(), 0);
    });
}

// Whether a picture drawn with these hints and this key may leave out the triangles that
// reach no pixel centre (see `reachesPixelCentre`).
bool specksLeftOut(QPainter::RenderHints hints, const TinPaintCache::Key& key)
{
    return !key.edges && !hints.testFlag(QPainter::Antialiasing) && key.pixelRatio == 1.0;
}

// Draws the triangles with the painter as it is (one band, the caller's thread).
void drawTriangles(QPainter* painter, const InView& inView, const ElevationColorMapper& colors,
                   const mvc::core::View& view, bool edges)
{
    guimisc::restorer::QPainterPenBrushChanger changer(painter, edgePen(edges), painter->brush());
    const BandLayout one(1, 1);
    const WidgetMapping toWidget(view);
    drawInChunks(painter, Conversion{inView, colors, toWidget, one, false});
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
// threads when there are many; the threads also convert the triangles.
QImage pictureOf(const QPainter& painter, const TinPaintCache::Key& key, const InView& inView,
                 const ElevationColorMapper& colors, const mvc::core::View& view)
{
    QImage picture(key.pixels, QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull()) {
        return picture;
    }
    picture.setDevicePixelRatio(key.pixelRatio);
    picture.fill(Qt::transparent);
    const int bands = BandPainter::bandsFor(inView.size(), picture);
    const BandLayout layout(picture.height(), bands);
    const WidgetMapping toWidget(view);
    const Conversion convert{inView, colors, toWidget, layout,
                             specksLeftOut(painter.renderHints(), key)};
    const QPen pen = edgePen(key.edges);
    // Two passes, each thread with a slice of the list and then with a band of the picture:
    // the first notes which bands each triangle touches (a byte each), the second converts
    // again what the band draws and draws it, in the list's order. A band that drew chunks of
    // the list as they were converted would mostly wait for another: a chunk of the list
    // lies in a few rows of the picture, in one band.
    static_assert(BandPainter::MAX_BANDS <= 8, "a band mask is a byte");
    const std::size_t total = inView.size();
    std::vector<unsigned char> bandsOf(total);
    BandPainter::paint(
        &picture, bands, painter.renderHints(),
        [&](int slice) {
            WidgetTriangle t;
            const std::size_t to = total * static_cast<std::size_t>(slice + 1) / bands;
            for (std::size_t k = total * static_cast<std::size_t>(slice) / bands; k < to; ++k) {
                bandsOf[k] = convert.convert(k, t, Fill::LeftOut) ? static_cast<unsigned char>(t.bands) : 0;
            }
        },
        [&](QPainter* onBand, int band) {
            onBand->setPen(pen);
            TriangleFiller filler(onBand);
            const unsigned bit = 1u << band;
            WidgetTriangle t;
            for (std::size_t k = 0; k < total; ++k) {
                if ((bandsOf[k] & bit) && convert.convert(k, t)) {
                    filler.draw(t);
                }
            }
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
                        const InView& inView, const ElevationColorMapper& colors,
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
    const BandLayout one(1, 1);
    const WidgetMapping toWidget(view);
    drawInChunks(&onPicture, Conversion{inView, colors, toWidget, one,
                                        specksLeftOut(painter.renderHints(), key)});
    onPicture.end();
    picture.setOffset(crop.topLeft());
    return picture;
}

// The world rectangle's corners on the device, as `conv` places them.
QPolygonF onDevice(const QRectF& world, const mvc::core::View& view)
{
    QPolygonF corners;
    corners << view.conv(world.topLeft()) << view.conv(world.topRight())
            << view.conv(world.bottomRight()) << view.conv(world.bottomLeft());
    return corners;
}

// Draws again the part of a terrain picture (drawn under `key`) where the world rectangle
// `area` lies: that part, widened by the pen and the rasterizer's rounding, is cleared, and
// every triangle whose box meets it is drawn clipped to it, in the TIN's order as the whole
// picture draws them, so that the part holds the pixels a picture drawn anew would hold.
void redrawPart(QImage& picture, const QPainter& painter, const TinPaintCache::Key& key,
                const QRectF& area, const tin::core::Tin& tin, const ElevationColorMapper& colors,
                const mvc::core::View& view)
{
    if (area.isNull()) {
        return;  // nothing changed
    }
    const QSizeF logical = QSizeF(key.pixels) / key.pixelRatio;
    const QRect device(QPoint(0, 0), logical.toSize());
    const QRect part = onDevice(area, view).boundingRect().toAlignedRect().adjusted(-3, -3, 3, 3) & device;
    if (part.isEmpty()) {
        return;
    }
    // The triangles that may set a pixel of the part: those meeting the world rectangle
    // under it, a pixel wider.
    const QRectF wider = QRectF(part).adjusted(-1.0, -1.0, 1.0, 1.0);
    QPolygonF back;
    back << view.rconv(wider.topLeft()) << view.rconv(wider.topRight())
         << view.rconv(wider.bottomRight()) << view.rconv(wider.bottomLeft());
    const QRectF under = back.boundingRect();
    std::vector<std::shared_ptr<tin::core::Triangle>> found = tin.findTrianglesIntersectRect(
        tin::core::Rect(under.left(), under.top(), under.right(), under.bottom()));
    const tin::core::TriangleSet& all = tin.allTriangles();
    std::vector<std::pair<std::size_t, const tin::core::Triangle*>> bySlot;
    bySlot.reserve(found.size());
    for (const auto& t : found) {
        bySlot.emplace_back(all.slotOf(t.get()), t.get());
    }
    std::sort(bySlot.begin(), bySlot.end());
    InView inView;
    inView.found.reserve(bySlot.size());
    for (const auto& entry : bySlot) {
        inView.found.push_back(entry.second);
    }

    QPainter onPicture(&picture);
    onPicture.setRenderHints(painter.renderHints());
    onPicture.setCompositionMode(QPainter::CompositionMode_Source);
    onPicture.fillRect(part, Qt::transparent);
    onPicture.setCompositionMode(QPainter::CompositionMode_SourceOver);
    onPicture.setClipRect(part);
    onPicture.setPen(edgePen(key.edges));
    const BandLayout one(1, 1);
    const WidgetMapping toWidget(view);
    drawInChunks(&onPicture, Conversion{inView, colors, toWidget, one,
                                        specksLeftOut(painter.renderHints(), key)});
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
        drawTriangles(painter, trianglesInView(*tin, rect), *colorMapper, *view, showEdges);
        return;
    }
    const TinPaintCache::Key key = keyOf(*painter, rect, *tin, *colorMapper, *view, showEdges);
    TinPaintCache* cache = TinPaintCache::of(
        view, layer == Layer::Terrain ? TinPaintCache::Shelf::Terrain : TinPaintCache::Shelf::Overlay);
    const QImage* picture = cache->find(tin, key);
    if (!picture && layer == Layer::Terrain) {
        QRectF changed;
        QImage followed = cache->takeDamaged(tin, key, &changed);
        if (!followed.isNull()) {
            redrawPart(followed, *painter, key, changed, *tin, *colorMapper, *view);
            picture = &cache->store(tin, key, std::move(followed));
        }
    }
    if (!picture) {
        const InView inView = trianglesInView(*tin, rect);
        const bool none = inView.empty();
        const QRect crop = layer == Layer::Overlay && !none ? cropOf(*tin, key, *view) : QRect();
        QImage drawn;
        if (layer == Layer::Terrain && !none) {
            drawn = pictureOf(*painter, key, inView, *colorMapper, *view);
        } else if (!crop.isEmpty()) {
            drawn = croppedPictureOf(*painter, key, crop, inView, *colorMapper, *view);
        }
        if (drawn.isNull() && (layer == Layer::Terrain ? !none : !crop.isEmpty())) {
            // No memory for a picture of this size: draw without one.
            drawTriangles(painter, inView, *colorMapper, *view, showEdges);
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

void TinMainViewHelper::followTinChange(mvc::core::View* view, const tin::core::Tin* before,
                                        std::uint64_t revisionBefore, const tin::core::Tin* after,
                                        const QRectF& area)
{
    if (!after) {
        return;
    }
    if (TinPaintCache* cache = TinPaintCache::existing(view, TinPaintCache::Shelf::Terrain)) {
        cache->noteChange(before, revisionBefore, after, after->revision(), area);
    }
}

void TinMainViewHelper::setPaintCacheEnabledForTests(bool enabled)
{
    s_cacheEnabled = enabled;
}

} // namespace varnel
