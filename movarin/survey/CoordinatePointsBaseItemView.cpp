#include "movarin/survey/CoordinatePointsBaseItemView.h"

#include "movarin/shell/Project.h"
#include "movarin/shell/ShowsLargePart.h"
#include "movarin/survey/CoordinatePointsBaseItem.h"
#include "movarin/survey/CoordinatePointsBaseItemController.h"
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
/// point (x, y, elevation) and nothing else.
class PointsPrint {
public:
    void add(const tin::core::Point& p)
    {
        m_print = tin::support::mixWords(m_print, bitsOf(p.x()));
        m_print = tin::support::mixWords(m_print, bitsOf(p.y()));
        m_print = tin::support::mixWords(m_print, bitsOf(p.elevation()));
    }
    std::uint64_t value() const { return m_print; }

private:
    static std::uint64_t bitsOf(double v)
    {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        return bits;
    }

    std::uint64_t m_print = 0;
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
    bool keep = m_markersKey && *m_markersKey == key;
    if (keep && m_markersInDoubt) {
        PointsPrint print;
        set->forEachPoint([&print](const PointPtr& p) { print.add(*p); });
        keep = m_markersPrint && *m_markersPrint == print.value();
    }
    m_markersInDoubt = false;
    if (!keep) {
        QImage layer = PointMarkerStamp::makeLayer(key.width, key.height);
        const PointMarkerStamp disc(radius, QPen(), true);
        const QRgb fixedRgb = qPremultiply(key.color.rgba());
        // Markers of points off the layer are left out by the stamp.
        const auto stampMarker = [&](const PointPtr& p) {
            const QRgb rgb =
                key.byValue ? colors->rgb(p->elevation()) : fixedRgb; // opaque: premultiplied
            disc.stamp(layer, toWidget(*p), rgb);
        };
        if (showsLargePart(extent, area)) {
            PointsPrint print;
            set->forEachPoint([&](const PointPtr& p) {
                print.add(*p);
                stampMarker(p);
            });
            m_markersPrint = print.value();
        } else {
            found = set->findPointsIntersectRect(
                tin::core::Rect(area.left(), area.top(), area.right(), area.bottom()));
            std::for_each(found.begin(), found.end(), stampMarker);
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
    QImage withRings = m_markers;
    const PointMarkerStamp ring(radius + 1, ringPen(radius), false);
    const QRgb black = qRgb(0, 0, 0);
    if (found.empty() || selection.size() <= found.size()) {
        for (const PointPtr& p : selection) {
            ring.stamp(withRings, toWidget(*p), black);
        }
    } else {
        for (const PointPtr& p : found) {
            if (selection.count(p) != 0) {
                ring.stamp(withRings, toWidget(*p), black);
            }
        }
    }
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
