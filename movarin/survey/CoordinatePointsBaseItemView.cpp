#include "movarin/survey/CoordinatePointsBaseItemView.h"

#include "movarin/shell/BandPainter.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ShowsLargePart.h"
#include "movarin/survey/CoordinatePointsBaseItem.h"
#include "movarin/survey/CoordinatePointsBaseItemController.h"
#include "movarin/survey/MarkerBands.h"
#include "movarin/survey/PointMarkerStamp.h"

#include "brask/core/View.h"
#include "orlin/core/PointSet.h"
#include "orlin/core/Rect.h"
#include "orlin/support/HashMix.h"

#include <guimisc/colormapper/ElevationColorMapper.h>

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace varnel {

namespace {

using PointPtr = std::shared_ptr<tin::core::Point>;

/// World to widget as `View::conv` does it, with the transform's coefficients read once.
class WidgetMapping {
public:
    explicit WidgetMapping(const mvc::core::View& view)
        : m_t(view.transform()), m_origin(view.localOrigin())
    {
    }
    QPointF operator()(const tin::core::Point& p) const
    {
        const double x = p.x() - m_origin.x();
        const double y = -(p.y() - m_origin.y());
        return QPointF(m_t.m11() * x + m_t.m21() * y + m_t.dx(),
                       m_t.m12() * x + m_t.m22() * y + m_t.dy());
    }

private:
    QTransform m_t;
    QPointF m_origin;
};

/// Closed intervals: a rectangle without width or height (one point, points in a line)
/// still meets what it touches.
bool meets(const tin::core::Rect& a, const QRectF& b)
{
    return a.isValid() && a.xMin() <= b.right() && b.left() <= a.xMax()
        && a.yMin() <= b.bottom() && b.top() <= a.yMax();
}

/// A fold of the points a layer is stamped from, in order: what the stamps read of each
/// point (x, y, elevation) and nothing else. The list is folded a block at a time (each block
/// from zero, then the blocks' folds in order), so that threads may fold blocks at once and
/// the print does not depend on how many there are.
class PointsPrint {
public:
    static std::uint64_t of(const tin::core::PointSet::PointList& points, int threads)
    {
        const std::size_t blocks = (points.size() + BLOCK - 1) / BLOCK;
        std::vector<std::uint64_t> folds(blocks);
        BandPainter::forEachBand(threads, [&](int slice) {
            const std::size_t to = blocks * static_cast<std::size_t>(slice + 1) / threads;
            for (std::size_t b = blocks * static_cast<std::size_t>(slice) / threads; b < to; ++b) {
                const std::size_t end = std::min(points.size(), (b + 1) * BLOCK);
                std::uint64_t fold = 0;
                for (std::size_t k = b * BLOCK; k < end; ++k) {
                    const tin::core::Point& p = *points[k];
                    fold = tin::support::mixWords(fold, bitsOf(p.x()));
                    fold = tin::support::mixWords(fold, bitsOf(p.y()));
                    fold = tin::support::mixWords(fold, bitsOf(p.elevation()));
                }
                folds[b] = fold;
            }
        });
        std::uint64_t print = tin::support::mixWords(0, points.size());
        for (const std::uint64_t fold : folds) {
            print = tin::support::mixWords(print, fold);
        }
        return print;
    }

private:
    static constexpr std::size_t BLOCK = 65536;

    static std::uint64_t bitsOf(double v)
    {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        return bits;
    }
};

/// Marker and ring pens: the default pen for a marker, a black pen of width r + 2 for a ring
/// on the circle of radius r + 1.
QPen ringPen(int radius)
{
    QPen pen(Qt::black);
    pen.setWidth(radius + 2);
    return pen;
}

const guimisc::colormapper::ElevationColorMapper& defaultColorMapper()
{
    static const guimisc::colormapper::ElevationColorMapper mapper;
    return mapper;
}

} // namespace

CoordinatePointsBaseItemView::CoordinatePointsBaseItemView(const CoordinatePointsBaseItem* item)
    : CoordinatePointsBaseItemView(item, CoordinatePointsBaseItemViewSetting(Qt::cyan, 2, true))
{
}

CoordinatePointsBaseItemView::CoordinatePointsBaseItemView(
    const CoordinatePointsBaseItem* item, const CoordinatePointsBaseItemViewSetting& setting)
    : ModelItemViewT(item),
      m_setting(setting.color(), setting.radius(), setting.useColorByValue())
{
}

CoordinatePointsBaseItemView::~CoordinatePointsBaseItemView() = default;

CoordinatePointsBaseItemViewSetting& CoordinatePointsBaseItemView::viewSetting()
{
    return m_setting;
}

const CoordinatePointsBaseItemViewSetting& CoordinatePointsBaseItemView::viewSetting() const
{
    return m_setting;
}

void CoordinatePointsBaseItemView::setViewSetting(const CoordinatePointsBaseItemViewSetting& setting)
{
    m_setting = setting;
}

const guimisc::colormapper::ElevationColorMapper* CoordinatePointsBaseItemView::colorMapper() const
{
    if (const auto* project = qobject_cast<const Project*>(item()->project())) {
        return project->elevationColorMapper();
    }
    return &defaultColorMapper();
}

bool CoordinatePointsBaseItemView::MarkersKey::operator==(const MarkersKey& o) const
{
    return set == o.set && count == o.count && extent == o.extent
           && viewTransform == o.viewTransform && origin == o.origin && area == o.area
           && width == o.width && height == o.height && color == o.color && radius == o.radius
           && byValue == o.byValue && colorMin == o.colorMin && colorMax == o.colorMax
           && colorWaterSurface == o.colorWaterSurface;
}

void CoordinatePointsBaseItemView::doPaintMainView(QPainter* painter, const QTransform&,
                                                   const QRectF& rect) const
{
    const tin::core::PointSet* set = item()->pointSet();
    mvc::core::View* mainView = view();
    if (!painter || !mainView || set->empty()) {
        return;
    }
    const int radius = std::clamp(m_setting.radius(), 0,
                                  CoordinatePointsBaseItemViewSetting::MAX_RADIUS);
    // Points just outside the visible rectangle still show part of their marker or ring.
    const double margin = (2.0 * radius + 4.0) * mainView->pixel();
    const QRectF area = rect.normalized().adjusted(-margin, -margin, margin, margin);
    const tin::core::Rect extent = set->boundingRect();
    if (!meets(extent, area)) {
        return;
    }
    const guimisc::colormapper::ElevationColorMapper* colors = colorMapper();
    // The painter draws in widget coordinates, as the main view paints its items.
    const QPaintDevice* device = painter->device();
    const double ratio = device->devicePixelRatioF();
    MarkersKey key;
    key.set = set;
    key.count = set->size();
    key.extent =
        QRectF(QPointF(extent.xMin(), extent.yMin()), QPointF(extent.xMax(), extent.yMax()));
    key.viewTransform = mainView->transform();
    key.origin = mainView->localOrigin();
    key.area = area;
    key.width = static_cast<int>(std::ceil(device->width() / ratio));
    key.height = static_cast<int>(std::ceil(device->height() / ratio));
    key.color = m_setting.color();
    key.radius = radius;
    key.byValue = m_setting.useColorByValue();
    key.colorMin = colors->minimum();
    key.colorMax = colors->maximum();
    key.colorWaterSurface = colors->waterSurfaceValue();

    const WidgetMapping toWidget(*mainView);
    // The points of a view of a small part, from the index; empty when every point is walked.
    std::vector<PointPtr> found;
    // Helper threads read the points through raw pointers only (see `MarkerBands`); the list
    // is filed here, on this thread, before any of them starts.
    const tin::core::PointSet::PointList& all = set->pointList();
    const int threads = BandPainter::threadsFor(all.size());
    bool keep = m_markersKey && *m_markersKey == key;
    if (keep && m_markersInDoubt) {
        keep = m_markersPrint && *m_markersPrint == PointsPrint::of(all, threads);
    }
    m_markersInDoubt = false;
    if (!keep) {
        QImage layer = PointMarkerStamp::makeLayer(key.width, key.height);
        const PointMarkerStamp disc(radius, QPen(), true);
        const QRgb fixedRgb = qPremultiply(key.color.rgba());
        const bool byValue = key.byValue;
        // Markers of points off the layer are left out by the stamp.
        const auto stampAll = [&](const PointPtr* points, std::size_t count) {
            MarkerBands::stamp(
                layer, disc, count, BandPainter::bandsFor(count, layer),
                [&](std::size_t k) { return toWidget(*points[k]); },
                [&](std::size_t k) {
                    // Opaque: premultiplied as it is.
                    return byValue ? colors->rgb(points[k]->elevation()) : fixedRgb;
                });
        };
        if (showsLargePart(extent, area)) {
            stampAll(all.data(), all.size());
            m_markersPrint = PointsPrint::of(all, threads);
        } else {
            found = set->findPointsIntersectRect(
                tin::core::Rect(area.left(), area.top(), area.right(), area.bottom()));
            stampAll(found.data(), found.size());
            m_markersPrint.reset();
        }
        m_markers = std::move(layer);
        m_markersKey = key;
    }

    const CoordinatePointsBaseItemController* controller = item()->controller();
    if (!controller || !controller->isSelected() || controller->selection().empty()) {
        PointMarkerStamp::drawLayer(painter, m_markers);
        return;
    }
    // The rings go on a copy: the kept layer shows the markers alone. Ringed are the selected
    // points in view, walking the smaller of the two lists (the stamp leaves out the rest).
    const auto& selection = controller->selection();
    std::vector<const tin::core::Point*> ringed;
    if (found.empty() || selection.size() <= found.size()) {
        ringed.reserve(selection.size());
        for (const PointPtr& p : selection) {
            ringed.push_back(p.get());
        }
    } else {
        for (const PointPtr& p : found) {
            if (selection.count(p) != 0) {
                ringed.push_back(p.get());
            }
        }
    }
    QImage withRings = m_markers;
    const PointMarkerStamp ring(radius + 1, ringPen(radius), false);
    const QRgb black = qRgb(0, 0, 0);
    MarkerBands::stamp(
        withRings, ring, ringed.size(), BandPainter::bandsFor(ringed.size(), withRings),
        [&](std::size_t k) { return toWidget(*ringed[k]); }, [&](std::size_t) { return black; });
    PointMarkerStamp::drawLayer(painter, withRings);
}

void CoordinatePointsBaseItemView::doDiscardPaintCache()
{
    if (m_markersPrint) {
        m_markersInDoubt = true;
        return;
    }
    m_markers = QImage();
    m_markersKey.reset();
}

} // namespace varnel
