#include "movarin/survey/GcpSelectionGeometry.h"

#include "orlin/core/Point2D.h"
#include "orlin/core/Polygon.h"

#include <algorithm>
#include <cmath>

namespace varnel {

namespace {

struct Edge {
    QPointF from;
    QPointF to;
};

std::vector<Edge> nonDegenerateEdges(const tin::core::Polygon& polygon)
{
    const std::vector<tin::core::Point2D>& vertices = polygon.points();
    std::vector<Edge> edges;
    for (std::size_t j = 0; j < vertices.size(); ++j) {
        const tin::core::Point2D& p = vertices[j];
        const tin::core::Point2D& q = vertices[(j + 1) % vertices.size()];
        if (p.x() != q.x() || p.y() != q.y()) {
            edges.push_back({QPointF(p.x(), p.y()), QPointF(q.x(), q.y())});
        }
    }
    return edges;
}

/// Positive on one side of the edge's line, negative on the other, zero on it.
double side(const Edge& edge, const QPointF& p)
{
    return (p.y() - edge.from.y()) * (edge.to.x() - edge.from.x())
           - (p.x() - edge.from.x()) * (edge.to.y() - edge.from.y());
}

bool insideEveryEdge(const std::vector<Edge>& edges, const QPointF& p)
{
    int sign = 0;
    for (const Edge& edge : edges) {
        const double value = side(edge, p);
        if (value == 0.0 || std::isnan(value)) {
            return false;
        }
        const int s = value > 0.0 ? 1 : -1;
        if (sign != 0 && s != sign) {
            return false;
        }
        sign = s;
    }
    return true;
}

bool inRhombus(const QPointF& centre, double halfX, double halfY, const QPointF& p)
{
    return std::abs(p.x() - centre.x()) / halfX + std::abs(p.y() - centre.y()) / halfY <= 1.0;
}

} // namespace

std::vector<QPointF> GcpSelectionGeometry::sources(const GcpTable& table)
{
    std::vector<QPointF> positions(table.size());
    std::transform(table.begin(), table.end(), positions.begin(), &gcpSource);
    return positions;
}

std::vector<QPointF> GcpSelectionGeometry::destinations(const GcpTable& table)
{
    std::vector<QPointF> positions(table.size());
    std::transform(table.begin(), table.end(), positions.begin(), &gcpDestination);
    return positions;
}

std::vector<std::size_t> GcpSelectionGeometry::indicesInsidePolygon(
    const std::vector<QPointF>& positions, const tin::core::Polygon& polygon)
{
    std::vector<std::size_t> inside;
    const std::vector<Edge> edges = nonDegenerateEdges(polygon);
    if (edges.size() < 3) {
        return inside;
    }
    for (std::size_t i = 0; i < positions.size(); ++i) {
        if (insideEveryEdge(edges, positions[i])) {
            inside.push_back(i);
        }
    }
    return inside;
}

tin::core::Rect GcpSelectionGeometry::bounds(const std::vector<QPointF>& positions)
{
    if (positions.empty()) {
        return tin::core::Rect();
    }
    double xMin = positions.front().x(), xMax = xMin;
    double yMin = positions.front().y(), yMax = yMin;
    for (const QPointF& p : positions) {
        xMin = std::min(xMin, p.x());
        xMax = std::max(xMax, p.x());
        yMin = std::min(yMin, p.y());
        yMax = std::max(yMax, p.y());
    }
    return tin::core::Rect(xMin, yMin, xMax, yMax);
}

bool GcpSelectionGeometry::hitsSelection(const std::vector<QPointF>& selected,
                                         const QPointF& press, const QPointF& tolerance)
{
    if (selected.empty()) {
        return false;
    }
    const double tx = std::abs(tolerance.x());
    const double ty = std::abs(tolerance.y());
    if (selected.size() == 1) {
        return inRhombus(selected.front(), tx, ty, press);
    }
    const tin::core::Rect box = bounds(selected);
    const bool wide = box.width() > 2.0 * tx;
    const bool tall = box.height() > 2.0 * ty;
    if (wide && tall) {
        return box.contains(tin::core::Point2D(press.x(), press.y()));
    }
    const QPointF centre((box.xMin() + box.xMax()) / 2.0, (box.yMin() + box.yMax()) / 2.0);
    return inRhombus(centre, wide ? box.width() / 2.0 : tx, tall ? box.height() / 2.0 : ty,
                     press);
}

} // namespace varnel
