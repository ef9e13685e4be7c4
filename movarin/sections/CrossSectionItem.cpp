#include "movarin/sections/CrossSectionItem.h"

#include "movarin/sections/CrossSectionItemController.h"
#include "movarin/sections/CrossSectionItemView.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"
#include "movarin/survey/ReadOnlyTinItem.h"
#include "movarin/survey/TinItem.h"

#include "orlin/core/Edge.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/PointFunctions.h"
#include "orlin/core/Tin.h"

#include <guimisc/xml/DoubleContainer.h>

#include <QDomElement>
#include <QIcon>
#include <QStandardItem>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>

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

double loadDouble(const QDomElement& element, const QString& name)
{
    guimisc::xml::DoubleContainer container(name);
    container.load(element);
    return container;
}

void saveDouble(QXmlStreamWriter* writer, const QString& name, double value)
{
    guimisc::xml::DoubleContainer container(name);
    container = value;
    container.save(writer);
}

/// The end row at `end`, when the TIN holds that position.
void collectEnd(const tin::core::Tin& tin, const Point& end, std::vector<Point>* points)
{
    double z = 0.0;
    if (tin.interpolatedElevation(end, &z)) {
        points->emplace_back(end.x(), end.y(), z);
    }
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
void collectCrossings(const tin::core::Tin& tin, const Point& from, const Point& to,
                      std::vector<Point>* points)
{
    const tin::core::Polyline segment({from.point2d(), to.point2d()});
    const tin::core::Point2D a = from.point2d();
    const tin::core::Point2D b = to.point2d();
    for (const std::shared_ptr<tin::core::Edge>& edge : tin.findEdgesIntersectPolyline(segment)) {
        if (isParallel(*edge, from, to)) {
            continue;
        }
        points->push_back(tin::core::intersection(*edge->point1(), *edge->point2(), a, b));
    }
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
    std::vector<Point> points;
    collectEnd(*tin, from, &points);
    collectEnd(*tin, to, &points);
    collectCrossings(*tin, from, to, &points);

    Rows rows;
    rows.reserve(points.size());
    for (const Point& p : points) {
        const CrossSectionLhTableRow row{true, signedL(p), p.elevation()};
        if (std::isfinite(row.L) && std::isfinite(row.H)) {
            rows.push_back(row);
        }
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const CrossSectionLhTableRow& a, const CrossSectionLhTableRow& b) {
                         return a.L < b.L;
                     });
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
