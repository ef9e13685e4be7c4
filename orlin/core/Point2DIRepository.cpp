#include "orlin/core/Point2DIRepository.h"

#include "common/exception/RuntimeException.h"
#include "orlin/core/MagnitudeRelationException.h"
#include "orlin/core/Point2D.h"
#include "orlin/core/QuadtreeContainerT.h"
#include "orlin/core/Rect.h"
#include "orlin/support/FixedSizePoolAllocatorT.h"
#include "orlin/support/HashMix.h"
#include "orlin/support/LinearProbingTableT.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <locale>
#include <sstream>
#include <utility>
#include <vector>

namespace tin::core {

const double Point2DIRepository::DEFAULT_DELTA = 1e-8;
const int Point2DIRepository::DEFAULT_MINIMUM_RATIO = 10;

namespace {

std::size_t coordinateHash(double x, double y)
{
    return static_cast<std::size_t>(support::mixWords(support::coordinateBits(x), support::coordinateBits(y)));
}

// One entry of the open-addressing table of positions, the coordinates kept beside the point
// so that a probe does not touch the point object.
struct PositionSlot
{
    double x = 0.0;
    double y = 0.0;
    std::shared_ptr<Point2DI> point;
};

struct PositionSlotTraits
{
    static std::size_t hashOf(const PositionSlot& s) { return coordinateHash(s.x, s.y); }
    static bool occupied(const PositionSlot& s) { return s.point != nullptr; }
};

// Cells of 2^-20 units for tolerance look-ups: a square of a tolerance up to half a cell meets
// at most two cells per axis. Scaling by a power of two is exact, so a coordinate inside the
// square lies in a cell between the cells of the square's sides.
constexpr double CELL_SCALE = 1048576.0;
constexpr double MAX_CELL_TOLERANCE = 0.5 / CELL_SCALE;
// Beyond this the cell numbers would not fit an int64 exactly.
constexpr double CELL_COORDINATE_LIMIT = 1e12;

std::int64_t cellOf(double v)
{
    return static_cast<std::int64_t>(std::floor(v * CELL_SCALE));
}

std::size_t cellHash(std::int64_t cx, std::int64_t cy)
{
    return static_cast<std::size_t>(
        support::mixWords(static_cast<std::uint64_t>(cx), static_cast<std::uint64_t>(cy)));
}

// One stored point filed under its cell; several slots share a cell's probe run.
struct CellSlot
{
    double x = 0.0;
    double y = 0.0;
    bool used = false;
};

struct CellSlotTraits
{
    static std::size_t hashOf(const CellSlot& s) { return cellHash(cellOf(s.x), cellOf(s.y)); }
    static bool occupied(const CellSlot& s) { return s.used; }
};

bool withinCellRange(double x, double y)
{
    return std::abs(x) < CELL_COORDINATE_LIMIT && std::abs(y) < CELL_COORDINATE_LIMIT;
}

std::string describe(const Point2DI& p)
{
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << "(" << p.x() << ", " << p.y() << ")";
    return text.str();
}

void requireFinite(const Point2DI& p, const char* operation)
{
    if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
        throw common::exception::RuntimeException(std::string("Point2DIRepository::") + operation +
                                                  ": coordinate is not a finite number " +
                                                  describe(p));
}

} // namespace

struct Point2DIRepository::Impl
{
    support::LinearProbingTableT<PositionSlot, PositionSlotTraits> m_table;
    std::unique_ptr<QuadtreeContainerT<Point2DI>> m_pointIndex;
    // Built with the index and kept in step with it: every stored position by its cell, so
    // that a tolerance look-up meeting at most one point needs no index query. False once a
    // position beyond the cell range is stored.
    support::LinearProbingTableT<CellSlot, CellSlotTraits> m_cells;
    bool m_cellsUsable = true;

    void fileInCell(double x, double y)
    {
        if (!withinCellRange(x, y)) {
            m_cellsUsable = false;
            return;
        }
        // Every stored position is distinct, so each claim makes a new slot.
        const auto claimed = m_cells.claim(cellHash(cellOf(x), cellOf(y)),
                                           [](const CellSlot&) { return false; });
        claimed.first->x = x;
        claimed.first->y = y;
        claimed.first->used = true;
    }

    // The stored points in the closed square p ± tolerance: 0, 1, or 2 meaning two or more
    // (*first then holds the first position met); -1 when the cells cannot answer.
    int countInSquare(const Point2DI& p, double tolerance, double* firstX, double* firstY) const
    {
        if (!m_cellsUsable || !(tolerance >= 0.0 && tolerance <= MAX_CELL_TOLERANCE)
            || !withinCellRange(std::abs(p.x()) + tolerance, std::abs(p.y()) + tolerance))
            return -1;
        // The bounds as the index query computes its rectangle.
        const double xMin = p.x() - tolerance;
        const double xMax = p.x() + tolerance;
        const double yMin = p.y() - tolerance;
        const double yMax = p.y() + tolerance;
        const std::int64_t cx0 = cellOf(xMin), cx1 = cellOf(xMax);
        const std::int64_t cy0 = cellOf(yMin), cy1 = cellOf(yMax);
        if (cx1 - cx0 > 1 || cy1 - cy0 > 1)
            return -1;
        int count = 0;
        for (std::int64_t cx = cx0; cx <= cx1; ++cx) {
            for (std::int64_t cy = cy0; cy <= cy1; ++cy) {
                m_cells.find(cellHash(cx, cy), [&](const CellSlot& slot) {
                    if (xMax >= slot.x && slot.x >= xMin && yMax >= slot.y && slot.y >= yMin
                        && count++ == 0) {
                        *firstX = slot.x;
                        *firstY = slot.y;
                    }
                    return count > 1;
                });
                if (count > 1)
                    return 2;
            }
        }
        return count;
    }

    const PositionSlot* find(double x, double y) const
    {
        return m_table.find(coordinateHash(x, y),
                            [&](const PositionSlot& slot) { return slot.x == x && slot.y == y; });
    }

    void insert(double x, double y, const std::shared_ptr<Point2DI>& p)
    {
        const auto claimed = m_table.claim(
            coordinateHash(x, y), [&](const PositionSlot& slot) { return slot.x == x && slot.y == y; });
        if (!claimed.second)
            return;
        claimed.first->x = x;
        claimed.first->y = y;
        claimed.first->point = p;
    }

    void createIndexIfAbsent()
    {
        if (m_pointIndex)
            return;
        auto index = std::make_unique<QuadtreeContainerT<Point2DI>>();
        index->reserve(m_table.size());
        for (const auto& slot : m_table.slotArray())
            if (slot.point)
                index->appendUnindexed(slot.point);
        index->rebuildIndex();
        m_pointIndex = std::move(index);
        m_cells.reserve(m_table.size());
        for (const auto& slot : m_table.slotArray())
            if (slot.point)
                fileInCell(slot.x, slot.y);
    }

    // Points stored since the index was built and not yet added to it, in order of storing.
    // Queries of the settled grid do not change it, so adding them just before the next query
    // leaves it as adding each at once would.
    std::vector<std::shared_ptr<Point2DI>> m_notIndexed;

    // Whether the index has answered a query: its grid places what it gathered before on its
    // first query and is not changed by later ones.
    bool m_indexSettled = false;

    std::vector<std::shared_ptr<Point2DI>> query(const Point2DI& p, double halfWidth)
    {
        for (const auto& q : m_notIndexed)
            m_pointIndex->appendNew(q);
        m_notIndexed.clear();
        m_indexSettled = true;
        return m_pointIndex->findIntersectRect(
            Rect(p.x() - halfWidth, p.y() - halfWidth, p.x() + halfWidth, p.y() + halfWidth));
    }

    // Before the first look-up that the cells answer: a query at this point leaves the index
    // as the look-up's own query would have, and later queries find it the same whichever
    // look-ups in between the cells answered.
    void settleIndex()
    {
        if (!m_indexSettled)
            query(Point2D(0.0, 0.0), 0.0);
    }

    std::shared_ptr<Point2DI> store(const std::shared_ptr<Point2DI>& p)
    {
        insert(p->x(), p->y(), p);
        if (m_pointIndex) {
            m_notIndexed.push_back(p);
            fileInCell(p->x(), p->y());
        }
        return p;
    }
};

Point2DIRepository::Point2DIRepository() : m_impl(std::make_unique<Impl>()) {}

Point2DIRepository::~Point2DIRepository() = default;

void Point2DIRepository::reserve(std::size_t n)
{
    m_impl->m_table.reserve(n);
}

std::shared_ptr<Point2DI> Point2DIRepository::add(const std::shared_ptr<Point2DI>& p)
{
    if (!p)
        throw common::exception::RuntimeException("Point2DIRepository::add: null point");
    requireFinite(*p, "add");
    if (auto stored = get(*p))
        return stored;
    return m_impl->store(p);
}

std::shared_ptr<Point2DI> Point2DIRepository::add(const Point2DI& p)
{
    requireFinite(p, "add");
    if (auto stored = get(p))
        return stored;
    return m_impl->store(std::allocate_shared<Point2D>(support::FixedSizePoolAllocatorT<Point2D>(), p.x(), p.y()));
}

std::shared_ptr<Point2DI> Point2DIRepository::get(const Point2DI& p) const
{
    const PositionSlot* found = m_impl->find(p.x(), p.y());
    if (found == nullptr)
        return nullptr;
    return found->point;
}

std::shared_ptr<Point2DI> Point2DIRepository::getFuzzy(const Point2DI& p, double tolerance)
{
    requireFinite(p, "getFuzzy");
    if (std::isnan(tolerance))
        throw common::exception::RuntimeException(
            "Point2DIRepository::getFuzzy: tolerance is not a number");
    m_impl->createIndexIfAbsent();
    m_impl->settleIndex();
    double x = 0.0, y = 0.0;
    const int count = m_impl->countInSquare(p, tolerance, &x, &y);
    if (count == 0)
        return nullptr;
    if (count == 1)
        return m_impl->find(x, y)->point;
    // Which of several points the index reports first is its own order.
    const auto found = m_impl->query(p, tolerance);
    if (found.empty())
        return nullptr;
    return found.front();
}

std::shared_ptr<Point2DI> Point2DIRepository::getFuzzy(const Point2DI& p, double* distance)
{
    // The caller may not want the distance; the search still needs somewhere to keep it.
    double ignored = 0.0;
    double& w = distance ? *distance : ignored;

    requireFinite(p, "getFuzzy");
    m_impl->createIndexIfAbsent();
    if (m_impl->m_table.size() == 0) {
        w = std::numeric_limits<double>::max();
        throw common::exception::MagnitudeRelationException("<", w, 0);
    }

    // Grow the square until it holds a point. That point lies within w·√2, so a square
    // 10·√2 times wider holds every point closer than ten times the nearest one.
    w = DEFAULT_DELTA;
    std::vector<std::shared_ptr<Point2DI>> candidates = m_impl->query(p, w);
    while (candidates.empty()) {
        w = w * 2;
        candidates = m_impl->query(p, w);
    }
    w = w * 1.4142136 * DEFAULT_MINIMUM_RATIO;
    candidates = m_impl->query(p, w);
    while (candidates.empty()) {
        w = w * 2;
        candidates = m_impl->query(p, w);
    }

    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

    std::vector<std::pair<double, std::shared_ptr<Point2DI>>> byDistance;
    byDistance.reserve(candidates.size());
    for (auto& c : candidates) {
        const double dx = p.x() - c->x();
        const double dy = p.y() - c->y();
        byDistance.emplace_back(dx * dx + dy * dy, std::move(c));
    }
    std::sort(byDistance.begin(), byDistance.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });

    const double d = std::sqrt(byDistance[0].first);
    w = d;
    if (byDistance.size() > 1) {
        const double e = std::sqrt(byDistance[1].first);
        if (e < DEFAULT_MINIMUM_RATIO * d)
            throw common::exception::MagnitudeRelationException("<", e, d);
    }
    return byDistance[0].second;
}

std::shared_ptr<Point2DI> Point2DIRepository::addFuzzy(const std::shared_ptr<Point2DI>& p,
                                                       double tolerance)
{
    if (!p)
        throw common::exception::RuntimeException("Point2DIRepository::addFuzzy: null point");
    if (auto found = getFuzzy(*p, tolerance))
        return found;
    return m_impl->store(p);
}

std::shared_ptr<Point2DI> Point2DIRepository::addFuzzy(const Point2DI& p, double tolerance)
{
    if (auto found = getFuzzy(p, tolerance))
        return found;
    auto made = std::allocate_shared<Point2D>(support::FixedSizePoolAllocatorT<Point2D>(), p.x(), p.y());
    // A miss in the closed square of a tolerance of at least 0 means no point at p itself
    // either (the index holds every stored point): no exact look-up before storing.
    if (tolerance >= 0.0)
        return m_impl->store(made);
    return add(made);
}

} // namespace tin::core
