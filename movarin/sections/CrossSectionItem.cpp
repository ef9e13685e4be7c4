#include "movarin/sections/CrossSectionItem.h"

#include "movarin/sections/CrossSectionItemController.h"
#include "movarin/sections/CrossSectionItemView.h"
#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/sections/GeoDataPolygonItem.h"
#include "movarin/sections/GeoDataPolylineItem.h"
#include "movarin/sections/GeoDataTopForEditItem.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/shell/NonFiniteSaveGuard.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include "orlin/core/Edge.h"
#include "orlin/core/Edge2D.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/PointFunctions.h"
#include "orlin/core/Tin.h"
#include "orlin/core/Triangle.h"

#include <guimisc/xml/DoubleContainer.h>
#include <guimisc/xml/XmlSupport.h>

#include <QDomElement>
#include <QIcon>
#include <QStandardItem>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>

namespace varnel {

namespace {

using tin::core::Point;
using Rows = std::vector<CrossSectionLhTableRow>;

const QString NAME = QStringLiteral("name");
const QString START_X = QStringLiteral("startX");
const QString START_Y = QStringLiteral("startY");
const QString END_X = QStringLiteral("endX");
const QString END_Y = QStringLiteral("endY");

constexpr int ROW_OPTIONS = mvc::core::ModelItem::CaptionEditable
                            | mvc::core::ModelItem::Deletable
                            | mvc::core::ModelItem::Reorderable;

// A coordinate of the section: missing, 0; not a finite number, the project is refused.
double loadDouble(const QDomElement& element, const QString& name)
{
    return guimisc::xml::XmlSupport::getFiniteDoubleAttribute(
        element, name, guimisc::xml::DoubleContainer(name).defaultValue());
}

void saveDouble(QXmlStreamWriter* writer, const QString& name, double value)
{
    guimisc::xml::DoubleContainer container(name);
    container = value;
    container.save(writer);
}

/// A point of the profile, and where the triangles of the edge it lies on are: an end of
/// the section and an edge with triangles on both sides of the crossing rank 1; an edge whose
/// triangles all lie before the crossing (towards S) ranks 0, one whose triangles all lie
/// after it ranks 2. At a vertical step (two sheets of triangles meeting along edges over one
/// another) this orders the rows at one L as the section meets the two sheets.
struct ProfilePoint {
    Point point;
    int rank;
};

/// The end row at `end`, when the TIN holds that position.
void collectEnd(const tin::core::Tin& tin, const Point& end, std::vector<ProfilePoint>* points)
{
    double z = 0.0;
    if (tin.interpolatedElevation(end, &z)) {
        points->push_back({Point(end.x(), end.y(), z), 1});
    }
}

/// Where the triangles of `edge` lie against the section running from `from` to `to` (see
/// `ProfilePoint`): the side of the edge's line that its third vertex is on, against the side
/// the section goes on to.
int rankOf(const tin::core::Tin& tin, const std::shared_ptr<tin::core::Edge>& edge, const Point& from,
           const Point& to)
{
    const Point& p = *edge->point1();
    const Point& q = *edge->point2();
    const double ex = q.x() - p.x(), ey = q.y() - p.y();
    const double ahead = ex * (to.y() - from.y()) - ey * (to.x() - from.x());
    bool before = false, after = false;
    for (const std::shared_ptr<tin::core::Triangle>& triangle : tin.findTriangleFromEdge(edge)) {
        for (int k = 0; k < 3; ++k) {
            const tin::core::Point* v = triangle->point(k).get();
            if (v == edge->point1().get() || v == edge->point2().get()) {
                continue;
            }
            const double side = (ex * (v->y() - p.y()) - ey * (v->x() - p.x())) * ahead;
            after = after || side > 0.0;
            before = before || side < 0.0;
        }
    }
    return before == after ? 1 : before ? 0 : 2;
}

/// An edge along the segment has no single crossing: the line intersection would divide
/// by (nearly) zero. The relative test keeps the answer independent of the map's scale.
bool isParallel(const tin::core::Edge& edge, const Point& from, const Point& to)
{
    const double ex = edge.point2()->x() - edge.point1()->x();
    const double ey = edge.point2()->y() - edge.point1()->y();
    const double sx = to.x() - from.x();
    const double sy = to.y() - from.y();
    const double cross = ex * sy - ey * sx;
    return std::abs(cross) <= 1e-12 * std::hypot(ex, ey) * std::hypot(sx, sy);
}

/// One point per TIN edge that the segment meets, on the edge at the crossing.
///
/// An edge keeps its ends in the order its first triangle gave them, and a TIN read back from
/// its archive (or built in another order) may hold them the other way round. The crossing is
/// computed from the end that comes first by x, then y, so that the same triangles give the
/// same rows, bit for bit, however the TIN was built.
void collectCrossings(const tin::core::Tin& tin, const Point& from, const Point& to,
                      std::vector<ProfilePoint>* points)
{
    const tin::core::Polyline segment({from.point2d(), to.point2d()});
    const tin::core::Point2D a = from.point2d();
    const tin::core::Point2D b = to.point2d();
    for (const std::shared_ptr<tin::core::Edge>& edge : tin.findEdgesIntersectPolyline(segment)) {
        if (isParallel(*edge, from, to)) {
            continue;
        }
        const Point& p = *edge->point1();
        const Point& q = *edge->point2();
        const bool inOrder = std::make_pair(p.x(), p.y()) <= std::make_pair(q.x(), q.y());
        points->push_back({inOrder ? tin::core::intersection(p, q, a, b) : tin::core::intersection(q, p, a, b),
                           rankOf(tin, edge, from, to)});
    }
}

/// The items of type `Item` among the children of the geographic-data groups that pass
/// `takesGroup`, group by group in child order; none outside a project.
template <class Item, class GroupTest>
std::vector<Item*> geoDataItems(const EditModeMainWindowModelRootItem* root, GroupTest takesGroup)
{
    std::vector<Item*> items;
    if (!root) {
        return items;
    }
    for (mvc::core::ModelItem* child : root->geoDataTopItem()->childItems()) {
        auto group = qobject_cast<GeoDataGroupItem*>(child);
        if (!group || !takesGroup(*group)) {
            continue;
        }
        for (mvc::core::ModelItem* member : group->childItems()) {
            if (auto item = qobject_cast<Item*>(member)) {
                items.push_back(item);
            }
        }
    }
    return items;
}

} // namespace

CrossSectionItem::CrossSectionItem(const QString& name, const Point& start, const Point& end,
                                   mvc::core::ModelItem* parent)
    : mvc::core::ModelItem(QIcon(), name, parent, ROW_OPTIONS),
      m_name(NAME),
      m_start(start.x(), start.y()),
      m_end(end.x(), end.y())
{
    m_name = name;
}

CrossSectionItem::CrossSectionItem(mvc::core::ModelItem* parent)
    : CrossSectionItem(QString(), Point(0.0, 0.0), Point(0.0, 0.0), parent)
{
}

CrossSectionItem::~CrossSectionItem() = default;

QString CrossSectionItem::name() const
{
    return m_name;
}

void CrossSectionItem::setName(const QString& name)
{
    m_name = name;
}

Point CrossSectionItem::startPoint() const
{
    return m_start;
}

Point CrossSectionItem::endPoint() const
{
    return m_end;
}

double CrossSectionItem::startX() const
{
    return m_start.x();
}

double CrossSectionItem::startY() const
{
    return m_start.y();
}

double CrossSectionItem::endX() const
{
    return m_end.x();
}

double CrossSectionItem::endY() const
{
    return m_end.y();
}

std::vector<tin::core::Point2D> CrossSectionItem::path() const
{
    return {m_start.point2d(), m_end.point2d()};
}

void CrossSectionItem::setPath(const std::vector<tin::core::Point2D>& path)
{
    m_start = Point(path.front().x(), path.front().y());
    m_end = Point(path.back().x(), path.back().y());
}

bool CrossSectionItem::keepsExternalData() const
{
    return false;
}

void CrossSectionItem::setFilenameByIndex(int index)
{
    setFilename("crosssection" + std::to_string(index) + ".png");
}

std::vector<CrossSectionLhTableRow> CrossSectionItem::buildLhTable(const tin::core::Tin* tin,
                                                                   bool extend) const
{
    if (!tin || tin->empty() || isDegenerate()) {
        return {};
    }
    const auto [from, to] = ends(extend);
    std::vector<ProfilePoint> points;
    collectEnd(*tin, from, &points);
    collectEnd(*tin, to, &points);
    collectCrossings(*tin, from, to, &points);

    std::vector<std::pair<CrossSectionLhTableRow, int>> ranked;
    ranked.reserve(points.size());
    for (const ProfilePoint& p : points) {
        const CrossSectionLhTableRow row{true, signedL(p.point), p.point.elevation()};
        if (std::isfinite(row.L) && std::isfinite(row.H)) {
            ranked.emplace_back(row, p.rank);
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        return a.first.L < b.first.L || (a.first.L == b.first.L && a.second < b.second);
    });
    Rows rows;
    rows.reserve(ranked.size());
    for (const auto& entry : ranked) {
        rows.push_back(entry.first);
    }
    return rows;
}

std::vector<CrossSectionLhTableRow> CrossSectionItem::currentLhTable(bool extend) const
{
    EditModeMainWindowModelRootItem* root = rootItem();
    return buildLhTable(root ? root->tinItem()->tin() : nullptr, extend);
}

std::vector<CrossSectionLhTableRow> CrossSectionItem::baseLhTable(bool extend) const
{
    EditModeMainWindowModelRootItem* root = rootItem();
    return buildLhTable(root ? root->baseTinItem()->tin() : nullptr, extend);
}

double CrossSectionItem::signedL(const tin::core::Point2DI& point) const
{
    const double dx = point.x() - m_start.x();
    const double dy = point.y() - m_start.y();
    const double d = std::hypot(dx, dy);
    const double a = dx * (m_end.x() - m_start.x());
    const double b = dy * (m_end.y() - m_start.y());
    const double along = std::abs(b) > std::abs(a) ? b : a;
    return along > 0.0 ? d : -d;
}

tin::core::Polyline CrossSectionItem::polyline(bool extend) const
{
    const auto [from, to] = ends(extend);
    return tin::core::Polyline({from.point2d(), to.point2d()});
}

bool CrossSectionItem::intersectsTin(const tin::core::Tin* tin) const
{
    if (!tin || tin->empty() || isDegenerate()) {
        return false;
    }
    return !tin->findTrianglesIntersectPolyline(polyline(false)).empty();
}

CrossSectionItem::PolygonLIntervals CrossSectionItem::polygonLIntervals(
    const QString& groupName) const
{
    PolygonLIntervals result;
    if (isDegenerate()) {
        return result;
    }
    const std::vector<GeoDataPolygonItem*> polygons = geoDataItems<GeoDataPolygonItem>(
        rootItem(), [&](const GeoDataGroupItem& group) { return group.name() == groupName; });
    const tin::core::Polyline section = polyline(false);
    for (auto it = polygons.rbegin(); it != polygons.rend(); ++it) {
        const tin::core::Polygon* polygon = (*it)->polygon();
        if (polygon->pointsCount() < 3) {
            continue;
        }
        std::vector<std::unique_ptr<tin::core::Edge2D>> pieces;
        try {
            for (tin::core::Edge2D* piece : polygon->intersectionEdges(section.geosGeometry())) {
                pieces.emplace_back(piece);
            }
        } catch (const std::exception&) {
            continue; // a polygon GEOS cannot intersect (a self-crossing ring, say)
        }
        if (pieces.empty()) {
            continue;
        }
        std::vector<std::pair<double, double>> intervals;
        for (const std::unique_ptr<tin::core::Edge2D>& piece : pieces) {
            const double a = signedL(*piece->point1());
            const double b = signedL(*piece->point2());
            intervals.emplace_back(std::min(a, b), std::max(a, b));
        }
        result.emplace_back(*it, std::move(intervals));
    }
    return result;
}

void CrossSectionItem::polylineIntersectionLs(PolylineLs* result) const
{
    result->clear();
    const tin::core::Polyline section = polyline(true);
    for (GeoDataPolylineItem* item : geoDataItems<GeoDataPolylineItem>(
             rootItem(), [](const GeoDataGroupItem&) { return true; })) {
        const tin::core::Polyline* line = item->polyline();
        if (line->pointsCount() < 2) {
            continue;
        }
        std::vector<double> ls;
        if (!isDegenerate()) {
            try {
                const std::vector<tin::core::Point2D> crossings =
                    line->intersectionPoints(section.geosGeometry());
                for (const tin::core::Point2D& p : crossings) {
                    ls.push_back(signedL(p));
                }
            } catch (const std::exception&) {
                continue;
            }
        }
        (*result)[item] = std::move(ls);
    }
}

QString CrossSectionItem::itemTypeName() const
{
    return tr("cross section");
}

QRectF CrossSectionItem::myBoundingBox() const
{
    return QRectF(std::min(m_start.x(), m_end.x()), std::min(m_start.y(), m_end.y()),
                  std::abs(m_end.x() - m_start.x()), std::abs(m_end.y() - m_start.y()));
}

CrossSectionItemController* CrossSectionItem::controller() const
{
    return static_cast<CrossSectionItemController*>(mvc::core::ModelItem::controller());
}

void CrossSectionItem::doLoadFromProjectMainFile(const QDomElement& element)
{
    m_name.load(element);
    m_start = Point(loadDouble(element, START_X), loadDouble(element, START_Y));
    m_end = Point(loadDouble(element, END_X), loadDouble(element, END_Y));
    if (QStandardItem* row = browserItem()) {
        row->setText(m_name);
    }
}

void CrossSectionItem::doSaveToProjectMainFile(QXmlStreamWriter* writer)
{
    // What the reader refuses is never written.
    if (!NonFiniteSaveGuard::isFinite(m_start.x(), m_start.y())
        || !NonFiniteSaveGuard::isFinite(m_end.x(), m_end.y())) {
        NonFiniteSaveGuard::refuse(caption());
    }
    m_name.save(writer);
    saveDouble(writer, START_X, m_start.x());
    saveDouble(writer, START_Y, m_start.y());
    saveDouble(writer, END_X, m_end.x());
    saveDouble(writer, END_Y, m_end.y());
}

mvc::core::ModelItemView* CrossSectionItem::buildView() const
{
    return new CrossSectionItemView(this);
}

mvc::core::ModelItemController* CrossSectionItem::buildController() const
{
    return new CrossSectionItemController(this);
}

std::pair<Point, Point> CrossSectionItem::ends(bool extend) const
{
    if (!extend) {
        return {m_start, m_end};
    }
    // Each end pushed out by the section's own length: the point at t = 2 from the other end.
    return {tin::core::innerPoint(2.0, m_end, m_start), tin::core::innerPoint(2.0, m_start, m_end)};
}

bool CrossSectionItem::isDegenerate() const
{
    const bool finite = std::isfinite(m_start.x()) && std::isfinite(m_start.y())
                        && std::isfinite(m_end.x()) && std::isfinite(m_end.y());
    return !finite || (m_start.x() == m_end.x() && m_start.y() == m_end.y());
}

EditModeMainWindowModelRootItem* CrossSectionItem::rootItem() const
{
    mvc::core::ModelItem* group = parentItem();
    return group ? qobject_cast<EditModeMainWindowModelRootItem*>(group->parentItem()) : nullptr;
}

} // namespace varnel
