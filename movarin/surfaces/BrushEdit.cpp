#include "movarin/surfaces/BrushEdit.h"

#include "orlin/core/Edge.h"
#include "orlin/core/EdgeFactory.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/Rect.h"
#include "orlin/core/Triangle.h"

#include <common/exception/RuntimeException.h>

#include <algorithm>
#include <set>
#include <utility>
#include <unordered_set>

namespace varnel {

namespace {

using PlanSide = std::pair<std::pair<double, double>, std::pair<double, double>>;

// An edge by the plan positions of its ends, the lesser first.
PlanSide planSide(const tin::core::Edge& e)
{
    return std::minmax(std::make_pair(e.point1()->x(), e.point1()->y()),
                       std::make_pair(e.point2()->x(), e.point2()->y()));
}

} // namespace

BrushEdit::BrushEdit() = default;
BrushEdit::BrushEdit(BrushEdit&& other) noexcept = default;
BrushEdit& BrushEdit::operator=(BrushEdit&& other) noexcept = default;
BrushEdit::~BrushEdit() = default;

void BrushEdit::clear()
{
    m_addedTin.clear();
    m_removedTin.clear();
    m_created.clear();
    m_baseRevision = 0;
}

double BrushEdit::effectiveSize(const BrushSettings& settings)
{
    return std::max(settings.brushSize, BrushSettings::MIN_BRUSH_SIZE);
}

BrushEdit::Outcome BrushEdit::apply(const tin::core::Tin& edited,
                                    const tin::core::Polygon& footprint, bool raise,
                                    const BrushSettings& settings)
{
    return settings.brushLevelOff ? levelOffElevation(edited, footprint, settings)
                                  : modifyElevation(edited, footprint, raise, settings);
}

BrushEdit::Outcome BrushEdit::modifyElevation(const tin::core::Tin& edited,
                                              const tin::core::Polygon& footprint, bool raise,
                                              const BrushSettings& settings)
{
    const double size = effectiveSize(settings);
    if (!subdivide(edited, footprint, size, size * 0.5)) {
        return Outcome::TooManyTriangles;
    }
    for (const PointPtr& p : m_addedTin.findPointsInPolygon(footprint)) {
        const std::optional<double> z = raisedElevation(p->elevation(), raise, settings);
        if (z && *z != p->elevation()) {
            subdivideAndModifyElevation(p, *z);
        }
    }
    renewAddedTinRevision();
    noteBase(edited);
    return Outcome::Preview;
}

BrushEdit::Outcome BrushEdit::levelOffElevation(const tin::core::Tin& edited,
                                                const tin::core::Polygon& footprint,
                                                const BrushSettings& settings)
{
    const double size = effectiveSize(settings);
    if (!subdivide(edited, footprint, size, size * 0.5)) {
        return Outcome::TooManyTriangles;
    }
    noteBase(edited);
    const std::vector<PointPtr> points = m_addedTin.findPointsInPolygon(footprint);
    if (points.empty()) {
        return Outcome::NoPreview;
    }
    const double unit = settings.brushEditUnit;
    if (unit > 0.0) {
        double target = lowestPoint(points)->elevation() + unit;
        if (settings.brushLimitEnabled) {
            target = std::min(target, settings.brushLimit);
        }
        for (const PointPtr& p : points) {
            if (p->elevation() < target) {
                subdivideAndModifyElevation(p, target);
            }
        }
    } else {
        double target = highestPoint(points)->elevation() + unit;
        if (settings.brushLimitEnabled) {
            target = std::max(target, settings.brushLimit);
        }
        for (const PointPtr& p : points) {
            if (p->elevation() > target) {
                subdivideAndModifyElevation(p, target);
            }
        }
    }
    renewAddedTinRevision();
    return Outcome::Preview;
}

std::optional<double> BrushEdit::raisedElevation(double z, bool raise,
                                                 const BrushSettings& settings)
{
    const double unit = raise ? settings.brushEditUnit : -settings.brushEditUnit;
    const double moved = z + unit;
    // Lowering with Shift ignores the limit, so that a point stopped at it can be taken back.
    if (!raise || !settings.brushLimitEnabled) {
        return moved;
    }
    const double limit = settings.brushLimit;
    if (unit > 0.0 && z < limit) {
        return std::min(moved, limit);
    }
    if (unit < 0.0 && z > limit) {
        return std::max(moved, limit);
    }
    return std::nullopt;
}

BrushEdit::PointPtr BrushEdit::highestPoint(const std::vector<PointPtr>& points)
{
    PointPtr best;
    for (const PointPtr& p : points) {
        if (!best || p->elevation() > best->elevation()) {
            best = p;
        }
    }
    return best;
}

BrushEdit::PointPtr BrushEdit::lowestPoint(const std::vector<PointPtr>& points)
{
    PointPtr best;
    for (const PointPtr& p : points) {
        if (!best || p->elevation() < best->elevation()) {
            best = p;
        }
    }
    return best;
}

bool BrushEdit::subdivide(const tin::core::Tin& edited, const tin::core::Polygon& footprint,
                          double size, double half)
{
    std::vector<TrianglePtr> kept;
    std::size_t count = 0;
    for (const TrianglePtr& t : edited.findTrianglesIntersectPolygon(footprint)) {
        if (m_removedTin.containsTriangle(t)) {
            continue;
        }
        count += BrushSubdivision::subdividedTriangleCount(*t, size, half);
        if (count > MAX_TRIANGLES_PER_APPLICATION) {
            return false;
        }
        kept.push_back(t);
    }
    m_removedTin.addTriangles(kept.data(), kept.size());
    for (const TrianglePtr& t : kept) {
        BrushSubdivision::subdivideTriangleInto(t, size, half, m_addedTin, &m_created);
    }
    return true;
}

void BrushEdit::subdivideAndModifyElevation(const PointPtr& point, double z)
{
    if (m_created.count(point) != 0) {
        point->setElevation(z);
        m_movedInPlace = true;
        return;
    }
    const PointPtr moved =
        BrushSubdivision::internPoint(tin::core::Point(point->x(), point->y(), z), &m_created);
    if (moved == point) {
        return;
    }
    for (const TrianglePtr& t : m_addedTin.findTriangleFromPoint(point)) {
        int i = 0;
        while (i < 3 && t->point(i) != point) {
            ++i;
        }
        if (i == 3) {
            throw common::exception::RuntimeException("Fatal error in subdivideAndModifyElevation.");
        }
        const PointPtr a = t->point(i + 1);
        const PointPtr b = t->point(i + 2);
        m_addedTin.removeTriangle(t);
        m_addedTin.addTriangle(a, b, moved);
    }
}

void BrushEdit::subdividePeriphery(const tin::core::Tin& edited, const BrushSettings& settings)
{
    const double size = effectiveSize(settings);
    const double half = size * 0.5;
    const std::vector<tin::core::Edge*> outer = m_removedTin.outerEdges();
    // Outer edges are told by their plan position: across a vertical step the triangle beside
    // the region holds another edge (over the step's other corners) at the same place, which
    // must be divided at the same points, or the step would open into a crack.
    std::set<PlanSide> outerSides;
    for (const tin::core::Edge* e : outer) {
        outerSides.insert(planSide(*e));
    }
    const auto isOuter = [&](const tin::core::Edge& e) { return outerSides.count(planSide(e)) != 0; };
    std::vector<TrianglePtr> periphery;
    std::unordered_set<const tin::core::Triangle*> seen;
    for (const tin::core::Edge* e : outer) {
        const std::shared_ptr<tin::core::Edge> edge =
            tin::core::EdgeFactory::instance().factory(e->point1(), e->point2());
        for (const TrianglePtr& t : edited.findTriangleFromEdge(edge)) {
            if (!m_removedTin.containsTriangle(t) && seen.insert(t.get()).second) {
                periphery.push_back(t);
            }
        }
        const tin::core::Rect around(std::min(e->point1()->x(), e->point2()->x()),
                                     std::min(e->point1()->y(), e->point2()->y()),
                                     std::max(e->point1()->x(), e->point2()->x()),
                                     std::max(e->point1()->y(), e->point2()->y()));
        for (const TrianglePtr& t : edited.findTrianglesIntersectRect(around)) {
            if (m_removedTin.containsTriangle(t) || seen.count(t.get()) != 0) {
                continue;
            }
            if (planSide(*t->edge1()) == planSide(*e) || planSide(*t->edge2()) == planSide(*e)
                || planSide(*t->edge3()) == planSide(*e)) {
                seen.insert(t.get());
                periphery.push_back(t);
            }
        }
    }
    for (const TrianglePtr& t : periphery) {
        const tin::core::Edge& e1 = *t->edge1();
        const tin::core::Edge& e2 = *t->edge2();
        const tin::core::Edge& e3 = *t->edge3();
        const bool o1 = isOuter(e1);
        const bool o2 = isOuter(e2);
        const bool o3 = isOuter(e3);
        if (o1 && o2 && o3) {
            BrushSubdivision::subdividePeripheryTriangle3(e1, e2, e3, size, half, m_addedTin, &m_created);
        } else if (o2 && o3) {
            BrushSubdivision::subdividePeripheryTriangle2(e2, e3, size, half, m_addedTin, &m_created);
        } else if (o3 && o1) {
            BrushSubdivision::subdividePeripheryTriangle2(e3, e1, size, half, m_addedTin, &m_created);
        } else if (o1 && o2) {
            BrushSubdivision::subdividePeripheryTriangle2(e1, e2, size, half, m_addedTin, &m_created);
        } else if (o1 || o2 || o3) {
            const std::shared_ptr<tin::core::Edge>& e = o1 ? t->edge1() : o2 ? t->edge2() : t->edge3();
            BrushSubdivision::subdividePeripheryTriangle1(*e, t->opposite(e), size, half, m_addedTin,
                                                          &m_created);
        } else {
            m_addedTin.addTriangle(t);
        }
        m_removedTin.addTriangle(t);
    }
}

bool BrushEdit::isPartOf(const tin::core::Tin& edited) const
{
    for (const TrianglePtr& t : m_removedTin.allTriangles()) {
        if (!edited.containsTriangle(t)) {
            return false;
        }
    }
    return true;
}

bool BrushEdit::isBasedOn(const tin::core::Tin& edited) const
{
    return !isPending() || edited.revision() == m_baseRevision;
}

void BrushEdit::renewAddedTinRevision()
{
    if (m_movedInPlace) {
        m_addedTin = tin::core::Tin(std::move(m_addedTin));
        m_movedInPlace = false;
    }
}

void BrushEdit::noteBase(const tin::core::Tin& edited)
{
    m_baseRevision = edited.revision();
}

} // namespace varnel
