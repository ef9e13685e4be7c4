#include "orlin/core/PointSet.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/Breakline.h"
#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/PointFactory.h"
#include "orlin/core/PointRing.h"
#include "orlin/core/Polygon.h"
#include "orlin/core/PreparedCoverage.h"
#include "orlin/core/QuadtreeContainerT.h"
#include "orlin/core/STRtreeContainerT.h"
#include "orlin/core/SpatialIndexContainerT.h"
#include "orlin/support/AddressMapT.h"
#include "orlin/support/LargeTableAllocatorT.h"

#include <geos/geom/Coordinate.h>
#include <geos/geom/GeometryFactory.h>
#include <geos/geom/MultiPoint.h>
#include <geos/geom/Point.h>

#include <algorithm>
#include <iterator>
#include <limits>
#include <unordered_map>

namespace tin::core {

namespace {

using common::exception::RuntimeException;

// Share of the set's box above which a polygon query walks all points instead of the index.
constexpr double scanShare = 0.03;

// Points whose membership entry settle() prefetches ahead of the one it files.
constexpr std::size_t prefetchAhead = 16;

template <typename T>
std::unique_ptr<SpatialIndexContainerT<T>> makeContainer(ContainerType type)
{
    if (type == ContainerType::STRtree)
        return std::make_unique<STRtreeContainerT<T>>();
    return std::make_unique<QuadtreeContainerT<T>>();
}

template <typename T>
std::unique_ptr<SpatialIndexContainerT<T>> cloneContainer(
    const std::unique_ptr<SpatialIndexContainerT<T>>& source)
{
    if (!source)
        return nullptr;
    return std::unique_ptr<SpatialIndexContainerT<T>>(source->clone());
}

template <typename T>
void require(const std::shared_ptr<T>& p, const char* operation)
{
    if (!p)
        throw RuntimeException(std::string("PointSet::") + operation + ": null argument");
}

} // namespace

struct PointSet::Impl
{
    // The held points. Additions are appended unchecked while no spatial index exists;
    // settle() files them in m_members and drops repeats before anything reads the list.
    // Appending costs no random memory access, and settle() overlaps its table accesses:
    // for a million points that is several times faster than a node-based hash set.
    std::vector<std::shared_ptr<Point>, support::LargeTableAllocatorT<std::shared_ptr<Point>>> m_list;
    support::AddressMapT<Point, std::size_t> m_members; // point -> position in m_list, for m_list[0, m_settled)
    std::size_t m_settled = 0;
    std::unique_ptr<SpatialIndexContainerT<Point>> m_pointIndex;
    std::unordered_set<std::shared_ptr<Breakline>> m_breaklines;
    std::unique_ptr<SpatialIndexContainerT<Breakline>> m_breaklineIndex;
    std::unordered_map<std::shared_ptr<Point>, std::vector<std::shared_ptr<Breakline>>>
        m_pointBreaklines;
    std::vector<std::shared_ptr<PointRing>> m_regions;
    std::vector<std::shared_ptr<PointRing>> m_holes;
    bool m_rectCached = false;
    Rect m_rect;
    ContainerType m_containerType = ContainerType::Quadtree;
    std::unique_ptr<geos::geom::MultiPoint> m_multiPoint;

    explicit Impl(ContainerType type) : m_containerType(type) {}

    // Copies the contents of another record, sharing its objects; the container type stays.
    void copyContents(Impl& other)
    {
        other.settle();
        m_list = other.m_list;
        m_members = other.m_members;
        m_settled = other.m_settled;
        m_pointIndex = cloneContainer(other.m_pointIndex);
        m_breaklines = other.m_breaklines;
        m_breaklineIndex = cloneContainer(other.m_breaklineIndex);
        m_pointBreaklines = other.m_pointBreaklines;
        m_regions = other.m_regions;
        m_holes = other.m_holes;
        pointsChanged();
    }

    void settle()
    {
        const std::size_t n = m_list.size();
        if (m_settled == n)
            return;
        m_members.reserve(n);
        std::size_t kept = m_settled;
        for (std::size_t i = m_settled; i < n; ++i) {
            if (i + prefetchAhead < n)
                m_members.prefetch(m_list[i + prefetchAhead].get());
            if (!m_members.insert(m_list[i].get(), kept).second)
                continue; // held already: the first addition stands
            if (kept != i)
                m_list[kept] = std::move(m_list[i]);
            ++kept;
        }
        m_list.erase(m_list.begin() + static_cast<std::ptrdiff_t>(kept), m_list.end());
        m_settled = kept;
    }

    // The held points, each once.
    const decltype(m_list)& held()
    {
        settle();
        return m_list;
    }

    bool holds(const std::shared_ptr<Point>& p)
    {
        settle();
        return m_members.find(p.get()) != nullptr;
    }

    void pointsChanged()
    {
        m_rectCached = false;
        m_multiPoint.reset();
    }

    template <typename T, typename Items>
    SpatialIndexContainerT<T>& index(std::unique_ptr<SpatialIndexContainerT<T>>& index, const Items& items)
    {
        if (!index) {
            auto fresh = makeContainer<T>(m_containerType);
            fresh->reserve(items.size());
            for (const auto& item : items)
                fresh->appendUnindexed(item);
            fresh->rebuildIndex();
            index = std::move(fresh);
        }
        return *index;
    }

    SpatialIndexContainerT<Point>& pointIndex() { return index(m_pointIndex, held()); }
    SpatialIndexContainerT<Breakline>& breaklineIndex()
    {
        return index(m_breaklineIndex, m_breaklines);
    }

    // Whether walking every point beats the point index for a polygon's box. Building the index
    // costs far more than one walk (a GEOS quadtree of a million points takes seconds, a walk
    // tens of milliseconds), so a polygon query never builds it; and an existing index only pays
    // when the box takes a small share of the set's own box, since each point the index hands
    // back costs a tree descent and a shared-pointer copy.
    bool scanBeatsIndex(const Rect& box)
    {
        if (!m_pointIndex)
            return true;
        const Rect all = setRect();
        if (all.area() <= 0)
            return true;
        return intersectRects(all, box).area() > scanShare * all.area();
    }

    Rect setRect()
    {
        if (!m_rectCached) {
            Rect rect;
            if (!held().empty()) {
                double xMin = std::numeric_limits<double>::infinity();
                double yMin = xMin;
                double xMax = -xMin;
                double yMax = -xMin;
                for (const auto& p : m_list) {
                    xMin = std::min(xMin, p->x());
                    xMax = std::max(xMax, p->x());
                    yMin = std::min(yMin, p->y());
                    yMax = std::max(yMax, p->y());
                }
                rect = Rect(xMin, yMin, xMax, yMax);
            }
            m_rect = rect;
            m_rectCached = true;
        }
        return m_rect;
    }

    bool ringsContain(const Breakline& b) const
    {
        for (const auto& ring : m_regions)
            if (ring->containsBreakline(b))
                return true;
        for (const auto& ring : m_holes)
            if (ring->containsBreakline(b))
                return true;
        return false;
    }
};

PointSet::PointSet() : PointSet(ContainerType::Quadtree) {}

PointSet::PointSet(ContainerType containerType) : m_impl(std::make_unique<Impl>(containerType)) {}

PointSet::PointSet(std::initializer_list<Point> points) : PointSet(points, ContainerType::Quadtree)
{
}

PointSet::PointSet(std::initializer_list<Point> points, ContainerType containerType)
    : PointSet(containerType)
{
    for (const Point& p : points)
        addPoint(p);
}

PointSet::PointSet(const PointSet& other)
    : Geometry(other), PointLocator(other),
      m_impl(std::make_unique<Impl>(other.m_impl->m_containerType))
{
    m_impl->copyContents(*other.m_impl);
}

PointSet::PointSet(PointSet&& other) noexcept = default;

PointSet& PointSet::operator=(const PointSet& other)
{
    if (this == &other)
        return *this;
    if (!m_impl)
        m_impl = std::make_unique<Impl>(other.m_impl->m_containerType);
    m_impl->copyContents(*other.m_impl);
    return *this;
}

PointSet& PointSet::operator=(PointSet&& other) noexcept
{
    if (this != &other)
        m_impl = std::move(other.m_impl);
    return *this;
}

PointSet::~PointSet() = default;

// ---- points ----

std::shared_ptr<Point> PointSet::addPoint(const Point& p)
{
    std::shared_ptr<Point> interned = PointFactory::instance().factory(p, false);
    addPoint(interned);
    return interned;
}

void PointSet::addPoint(const std::shared_ptr<Point>& p)
{
    require(p, "addPoint");
    Impl& impl = *m_impl;
    if (impl.m_pointIndex) {
        // The spatial index takes only new points, so membership is decided now.
        impl.settle();
        impl.m_list.push_back(p);
        if (!impl.m_members.insert(p.get(), impl.m_list.size() - 1).second) {
            impl.m_list.pop_back();
            return;
        }
        impl.m_settled = impl.m_list.size();
        impl.m_pointIndex->appendNew(p);
    } else {
        impl.m_list.push_back(p);
    }
    impl.pointsChanged();
}

void PointSet::reservePoints(std::size_t n) { m_impl->m_list.reserve(n); }

void PointSet::addPoints(PointList&& points)
{
    Impl& impl = *m_impl;
    const auto null = std::find(points.begin(), points.end(), nullptr);
    const bool hasNull = null != points.end();
    if (impl.m_pointIndex) {
        for (auto p = points.begin(); p != null; ++p)
            addPoint(*p);
    } else if (impl.m_list.empty() && !hasNull) {
        impl.m_list = std::move(points);
        impl.pointsChanged();
    } else {
        impl.m_list.insert(impl.m_list.end(), std::make_move_iterator(points.begin()), std::make_move_iterator(null));
        impl.pointsChanged();
    }
    points.clear();
    if (hasNull)
        require(PointList::value_type(), "addPoint");
}

bool PointSet::removePoint(const std::shared_ptr<Point>& p)
{
    if (!p)
        return false;
    Impl& impl = *m_impl;
    impl.settle();
    const std::size_t* filed = impl.m_members.find(p.get());
    if (!filed)
        return false;
    const std::size_t at = *filed;
    // The last point takes the removed one's place.
    impl.m_members.erase(p.get());
    const std::shared_ptr<Point> removed = std::move(impl.m_list[at]);
    if (at + 1 != impl.m_list.size()) {
        impl.m_list[at] = std::move(impl.m_list.back());
        *impl.m_members.find(impl.m_list[at].get()) = at;
    }
    impl.m_list.pop_back();
    impl.m_settled = impl.m_list.size();
    if (m_impl->m_pointIndex)
        m_impl->m_pointIndex->remove(p.get());
    const auto listed = m_impl->m_pointBreaklines.find(p);
    if (listed != m_impl->m_pointBreaklines.end()) {
        const std::vector<std::shared_ptr<Breakline>> breaklines = listed->second;
        for (const auto& b : breaklines)
            removeBreakline(b);
    }
    m_impl->pointsChanged();
    return true;
}

bool PointSet::hasPoint(const std::shared_ptr<Point>& p) const
{
    return p && m_impl->holds(p);
}

// Repeats in the unsettled tail do not make a set empty or not.
bool PointSet::empty() const { return m_impl->m_list.empty(); }

std::size_t PointSet::size() const { return m_impl->held().size(); }

PointSet::PointHashSet PointSet::points() const
{
    const auto& held = m_impl->held();
    return PointHashSet(held.begin(), held.end());
}

std::vector<std::shared_ptr<Point>> PointSet::allPoints() const
{
    const auto& held = m_impl->held();
    return std::vector<std::shared_ptr<Point>>(held.begin(), held.end());
}

void PointSet::forEachPoint(const std::function<void(const std::shared_ptr<Point>&)>& visit) const
{
    for (const auto& p : m_impl->held())
        visit(p);
}

const PointSet::PointList& PointSet::pointList() const { return m_impl->held(); }

Rect PointSet::boundingRect() const { return m_impl->setRect(); }

std::vector<std::shared_ptr<Point>> PointSet::findPointsInRect(const Rect& rect) const
{
    return m_impl->pointIndex().findInRect(rect);
}

std::vector<std::shared_ptr<Point>> PointSet::findPointsIntersectRect(const Rect& rect) const
{
    return m_impl->pointIndex().findIntersectRect(rect);
}

std::vector<std::shared_ptr<Point>> PointSet::findPointsInPolygon(const Polygon& polygon) const
{
    const Rect box = polygon.boundingRect();
    std::vector<std::shared_ptr<Point>> result;
    if (!box.isValid() || m_impl->held().empty())
        return result;
    // A covered point lies within the polygon's box, so a box that misses the points' own box
    // covers none of them.
    if (!m_impl->setRect().intersects(box))
        return result;
    if (m_impl->scanBeatsIndex(box)) {
        // Every covered point lies in the polygon's box, so the walk finds what the index
        // candidates would.
        const PreparedCoverage coverage(polygon.geosGeometry(), m_impl->m_list.size());
        for (const auto& p : m_impl->m_list)
            if (coverage.covers(p->x(), p->y()))
                result.push_back(p);
        return result;
    }
    // Candidates whose box merely meets the polygon's box: a point on the polygon's extreme side
    // has a box reaching 1e-8 beyond it and would be lost by an "inside" query.
    std::vector<std::shared_ptr<Point>> candidates = findPointsIntersectRect(box);
    if (candidates.empty())
        return candidates;
    const PreparedCoverage coverage(polygon.geosGeometry(), candidates.size());
    for (auto& p : candidates)
        if (coverage.covers(p->x(), p->y()))
            result.push_back(std::move(p));
    return result;
}

std::vector<std::shared_ptr<Point>> PointSet::findPointsInGeometry(geos::geom::Geometry* g) const
{
    if (!g)
        throw RuntimeException("PointSet::findPointsInGeometry: null geometry");
    std::vector<std::shared_ptr<Point>> result;
    const auto& held = m_impl->held();
    if (held.empty())
        return result;
    const PreparedCoverage coverage(g, held.size());
    for (const auto& p : held)
        if (coverage.covers(p->x(), p->y()))
            result.push_back(p);
    return result;
}

std::vector<std::shared_ptr<Point>> PointSet::findPointsAt(const Point2DI& q) const
{
    std::vector<std::shared_ptr<Point>> candidates = findPointsIntersectRect(q.boundingRect());
    candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                    [&](const std::shared_ptr<Point>& p) {
                                        return p->x() != q.x() || p->y() != q.y();
                                    }),
                     candidates.end());
    return candidates;
}

geos::geom::MultiPoint* PointSet::geosMultiPoint() const
{
    if (!m_impl->m_multiPoint) {
        const auto* factory = defaultGeometryFactory();
        std::vector<std::unique_ptr<geos::geom::Point>> points;
        const auto& held = m_impl->held();
        points.reserve(held.size());
        for (const auto& p : held)
            points.emplace_back(factory->createPoint(geos::geom::Coordinate(p->x(), p->y(), 0.0)));
        m_impl->m_multiPoint = factory->createMultiPoint(std::move(points));
    }
    return m_impl->m_multiPoint.get();
}

geos::geom::Geometry* PointSet::geosGeometry() const { return geosMultiPoint(); }

// ---- breaklines ----

void PointSet::addBreakline(const std::shared_ptr<Breakline>& b, bool keepCrossing)
{
    require(b, "addBreakline");
    if (!m_impl->holds(b->point1()) || !m_impl->holds(b->point2()))
        return;
    if (!keepCrossing)
        for (const auto& crossing : findCrossingBreaklines(b.get()))
            removeBreakline(crossing);
    if (!m_impl->m_breaklines.insert(b).second)
        return;
    m_impl->m_pointBreaklines[b->point1()].push_back(b);
    m_impl->m_pointBreaklines[b->point2()].push_back(b);
    if (m_impl->m_breaklineIndex)
        m_impl->m_breaklineIndex->appendNew(b);
}

void PointSet::addBreakline(const std::shared_ptr<Point>& a, const std::shared_ptr<Point>& c,
                            bool keepCrossing)
{
    require(a, "addBreakline");
    require(c, "addBreakline");
    addBreakline(std::make_shared<Breakline>(a, c), keepCrossing);
}

bool PointSet::removeBreakline(const std::shared_ptr<Breakline>& b)
{
    if (!b || !m_impl->m_breaklines.count(b))
        return false;
    if (m_impl->m_breaklineIndex)
        m_impl->m_breaklineIndex->remove(b.get());
    for (const std::shared_ptr<Point>& end : {b->point1(), b->point2()}) {
        const auto listed = m_impl->m_pointBreaklines.find(end);
        if (listed == m_impl->m_pointBreaklines.end())
            continue;
        auto& list = listed->second;
        const auto at = std::find(list.begin(), list.end(), b);
        if (at != list.end())
            list.erase(at);
        if (list.empty())
            m_impl->m_pointBreaklines.erase(listed);
    }
    m_impl->m_breaklines.erase(b);
    return true;
}

void PointSet::removeAllBreaklines()
{
    for (const auto& b : allBreaklines())
        removeBreakline(b);
}

bool PointSet::hasBreakline(const std::shared_ptr<Breakline>& b) const
{
    if (!b)
        return false;
    return m_impl->m_breaklines.count(b) != 0 || m_impl->ringsContain(*b);
}

bool PointSet::hasBreakline(const std::shared_ptr<Point>& a, const std::shared_ptr<Point>& c) const
{
    if (!a || !c)
        return false;
    const auto listed = m_impl->m_pointBreaklines.find(a);
    if (listed != m_impl->m_pointBreaklines.end())
        for (const auto& b : listed->second)
            if (b->point1() == c || b->point2() == c)
                return true;
    return m_impl->ringsContain(Breakline(a, c));
}

std::vector<std::shared_ptr<Breakline>> PointSet::allBreaklines() const
{
    return std::vector<std::shared_ptr<Breakline>>(m_impl->m_breaklines.begin(),
                                                   m_impl->m_breaklines.end());
}

std::vector<std::shared_ptr<Breakline>> PointSet::findBreaklinesFromPoint(
    const std::shared_ptr<Point>& p) const
{
    const auto listed = m_impl->m_pointBreaklines.find(p);
    if (listed == m_impl->m_pointBreaklines.end())
        return {};
    return listed->second;
}

std::vector<std::shared_ptr<Breakline>> PointSet::findBreaklinesInRect(const Rect& rect) const
{
    return m_impl->breaklineIndex().findInRect(rect);
}

std::vector<std::shared_ptr<Breakline>> PointSet::findBreaklinesIntersectRect(
    const Rect& rect) const
{
    return m_impl->breaklineIndex().findIntersectRect(rect);
}

std::vector<std::shared_ptr<Breakline>> PointSet::findBreaklinesInPolygon(
    const Polygon& polygon) const
{
    // A breakline's box is not widened, so every covered breakline lies inside the polygon's box.
    std::vector<std::shared_ptr<Breakline>> candidates = findBreaklinesInRect(polygon.boundingRect());
    if (candidates.empty())
        return candidates;
    const PreparedCoverage coverage(polygon.geosGeometry());
    candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                    [&](const std::shared_ptr<Breakline>& b) {
                                        return !coverage.covers(b->geosGeometry());
                                    }),
                     candidates.end());
    return candidates;
}

std::vector<std::shared_ptr<Breakline>> PointSet::findCrossingBreaklines(const Breakline* b) const
{
    if (!b)
        throw RuntimeException("PointSet::findCrossingBreaklines: null breakline");
    // A crossing breakline's box meets b's box but usually sticks out of it.
    std::vector<std::shared_ptr<Breakline>> candidates =
        findBreaklinesIntersectRect(b->boundingRect());
    candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                    [&](const std::shared_ptr<Breakline>& c) {
                                        return !b->intersects(*c);
                                    }),
                     candidates.end());
    return candidates;
}

// ---- regions and holes ----

void PointSet::addRegion(const std::shared_ptr<PointRing>& ring)
{
    require(ring, "addRegion");
    m_impl->m_regions.push_back(ring);
}

void PointSet::addRegion(PointRing* ring) { addRegion(std::shared_ptr<PointRing>(ring)); }

void PointSet::addHole(const std::shared_ptr<PointRing>& ring)
{
    require(ring, "addHole");
    m_impl->m_holes.push_back(ring);
}

void PointSet::addHole(PointRing* ring) { addHole(std::shared_ptr<PointRing>(ring)); }

namespace {

bool removeFirst(std::vector<std::shared_ptr<PointRing>>& rings, const PointRing* ring)
{
    const auto at = std::find_if(rings.begin(), rings.end(),
                                 [ring](const auto& entry) { return entry.get() == ring; });
    if (at == rings.end())
        return false;
    rings.erase(at);
    return true;
}

} // namespace

bool PointSet::removeRegion(const PointRing* ring) { return removeFirst(m_impl->m_regions, ring); }

bool PointSet::removeHole(const PointRing* ring) { return removeFirst(m_impl->m_holes, ring); }

void PointSet::removeAllRegions() { m_impl->m_regions.clear(); }

void PointSet::removeAllHoles() { m_impl->m_holes.clear(); }

void PointSet::removeAllRegionsAndHoles()
{
    removeAllRegions();
    removeAllHoles();
}

std::vector<std::shared_ptr<PointRing>> PointSet::allRegions() const { return m_impl->m_regions; }

std::vector<std::shared_ptr<PointRing>> PointSet::allHoles() const { return m_impl->m_holes; }

int PointSet::countSegmentsOfRegionsAndHoles() const
{
    int count = 0;
    for (const auto& ring : m_impl->m_regions)
        count += ring->segmentCount();
    for (const auto& ring : m_impl->m_holes)
        count += ring->segmentCount();
    return count;
}

// ---- merging ----

void PointSet::merge(const PointSet& other)
{
    // Merging a set into itself adds nothing, but its own crossing breaklines would knock each
    // other out.
    if (&other == this)
        return;
    // Straight from the other set's hash sets: going through its indexes would first build them,
    // which for a survey-sized set costs far more than the merge itself.
    for (const auto& p : other.m_impl->held())
        addPoint(p);
    for (const auto& b : other.m_impl->m_breaklines)
        addBreakline(b, false);
}

} // namespace tin::core
