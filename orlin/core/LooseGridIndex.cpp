#include "orlin/core/LooseGridIndex.h"

#include "orlin/support/HashMix.h"
#include <geos/geom/Envelope.h>
#include <geos/index/ItemVisitor.h>

#include <algorithm>
#include <cmath>

namespace tin {
namespace core {

namespace {

// Corners are kept in units of 2^FINE_LEVEL (about 6e-8); no level is finer than that, which
// is far below any spacing of surveyed points, so tolerance boxes simply share that level.
const int FINE_LEVEL = -24;
// Coordinates of placed items stay below 2^31 in magnitude, so that a corner in fine units
// fits 56 bits and every extent is below 2^32 (level 32 at most).
const double COORD_LIMIT = 2147483648.0;
const double QUERY_LIMIT = 2.0 * COORD_LIMIT;
const int MAX_LEVEL = 33;
const std::uint64_t CORNER_MASK = (std::uint64_t(1) << 56) - 1;
const std::int64_t CORNER_BIAS = std::int64_t(1) << 55;
// Wanted entries per cell of the finest level: fewer cells to visit against fewer
// candidates per cell.
const double ITEMS_PER_CELL = 1.0;
const std::size_t MIN_SLOTS = 16;
// Below this count the finest level is not chosen again on growth.
const std::size_t REGRID_MIN_COUNT = 64;

// Smallest level whose cell side 2^level is at least `extent` (FINE_LEVEL for tiny extents).
int levelOfExtent(double extent)
{
    if (!(extent > std::ldexp(1.0, FINE_LEVEL)))
        return FINE_LEVEL;
    int exponent = 0;
    const double mantissa = std::frexp(extent, &exponent);
    const int level = mantissa == 0.5 ? exponent - 1 : exponent;
    return std::min(level, MAX_LEVEL);
}

} // namespace

LooseGridIndex::~LooseGridIndex() = default;

bool LooseGridIndex::encode(const geos::geom::Envelope& env, void* item, Entry& out)
{
    const double xMin = env.getMinX();
    const double xMax = env.getMaxX();
    const double yMin = env.getMinY();
    const double yMax = env.getMaxY();
    // Written as "not inside" so that NaN (also the null envelope) is turned away.
    if (!(std::fabs(xMin) < COORD_LIMIT) || !(std::fabs(xMax) < COORD_LIMIT) || !(std::fabs(yMin) < COORD_LIMIT)
        || !(std::fabs(yMax) < COORD_LIMIT) || !(xMin <= xMax) || !(yMin <= yMax))
        return false;
    // The extent as computed may round below the true one; the margin keeps the true extent
    // within the cell side, which the one-cell reach of a query relies on.
    const double extent = std::max(xMax - xMin, yMax - yMin) * (1.0 + std::ldexp(1.0, -40));
    const int level = levelOfExtent(extent);
    const std::int64_t fx = std::int64_t(std::floor(std::ldexp(xMin, -FINE_LEVEL)));
    const std::int64_t fy = std::int64_t(std::floor(std::ldexp(yMin, -FINE_LEVEL)));
    out.item = item;
    out.xWord = (std::uint64_t(level - FINE_LEVEL) << 56) | std::uint64_t(fx + CORNER_BIAS);
    out.yWord = std::uint64_t(fy + CORNER_BIAS);
    return true;
}

int LooseGridIndex::naturalLevel(const Entry& e)
{
    return int(e.xWord >> 56) + FINE_LEVEL;
}

std::int64_t LooseGridIndex::cellOf(std::uint64_t word, int exponent)
{
    // Flooring the fine corner by a power of two gives the same cell as flooring the
    // coordinate itself, so placement and queries agree exactly.
    const std::int64_t fine = std::int64_t(word & CORNER_MASK) - CORNER_BIAS;
    return fine >> (exponent - FINE_LEVEL);
}

std::uint64_t LooseGridIndex::hashCell(std::int64_t cx, std::int64_t cy)
{
    // Neighbouring cells must land far apart, or the runs of a dense level merge.
    return support::mixWords(std::uint64_t(cx), std::uint64_t(cy));
}

std::size_t LooseGridIndex::slotOf(std::uint64_t hash, std::size_t size)
{
    // Multiply-shift instead of a mask, so that tables need not have power-of-two sizes and
    // stay near their load limit; the high bits of the hash decide.
    return std::size_t((unsigned __int128)hash * size >> 64);
}

std::size_t LooseGridIndex::homeOf(const Entry& e, int exponent, std::size_t size)
{
    return slotOf(hashCell(cellOf(e.xWord, exponent), cellOf(e.yWord, exponent)), size);
}

void LooseGridIndex::insert(const geos::geom::Envelope* itemEnv, void* item)
{
    if (!item)
        return;
    Entry e{};
    if (!itemEnv || !encode(*itemEnv, item, e)) {
        m_aside.push_back(item);
        return;
    }
    const std::int64_t fx = std::int64_t(e.xWord & CORNER_MASK);
    const std::int64_t fy = std::int64_t(e.yWord);
    if (!m_hasBounds) {
        m_boundsMinX = m_boundsMaxX = fx;
        m_boundsMinY = m_boundsMaxY = fy;
        m_hasBounds = true;
    } else {
        m_boundsMinX = std::min(m_boundsMinX, fx);
        m_boundsMaxX = std::max(m_boundsMaxX, fx);
        m_boundsMinY = std::min(m_boundsMinY, fy);
        m_boundsMaxY = std::max(m_boundsMaxY, fy);
    }
    if (!m_settled) {
        m_pending.push_back(e);
        return;
    }
    place(e);
    if (m_count >= REGRID_MIN_COUNT && m_count >= 2 * m_gridCount) {
        m_gridCount = m_count;
        const int level = chooseFinestLevel();
        if (level != m_minLevel)
            regrid(level);
    }
}

bool LooseGridIndex::remove(const geos::geom::Envelope* itemEnv, void* item)
{
    if (!item)
        return false;
    settle();
    Entry e{};
    if (!itemEnv || !encode(*itemEnv, item, e)) {
        auto it = std::find(m_aside.begin(), m_aside.end(), item);
        if (it == m_aside.end())
            return false;
        *it = m_aside.back();
        m_aside.pop_back();
        return true;
    }
    const int exponent = std::max(naturalLevel(e), m_minLevel);
    for (Level& level : m_levels) {
        if (level.exponent == exponent) {
            if (!takeFrom(level, e))
                return false;
            --m_count;
            return true;
        }
    }
    return false;
}

void LooseGridIndex::query(const geos::geom::Envelope* searchEnv, std::vector<void*>& result)
{
    if (!searchEnv)
        return;
    visitCandidates(*searchEnv, [&result](void* item) { result.push_back(item); });
}

void LooseGridIndex::query(const geos::geom::Envelope* searchEnv, geos::index::ItemVisitor& visitor)
{
    if (!searchEnv)
        return;
    visitCandidates(*searchEnv, [&visitor](void* item) { visitor.visitItem(item); });
}

template <typename Visit>
void LooseGridIndex::visitCandidates(const geos::geom::Envelope& env, Visit&& visit)
{
    settle();
    for (void* item : m_aside)
        visit(item);
    const double xMin = env.getMinX();
    const double xMax = env.getMaxX();
    const double yMin = env.getMinY();
    const double yMax = env.getMaxY();
    if (!(xMin <= xMax) || !(yMin <= yMax))
        return;
    // Placed items lie within +-COORD_LIMIT, so clamping keeps every answer and keeps the
    // cell numbers in range.
    const double cxMin = std::max(xMin, -QUERY_LIMIT);
    const double cxMax = std::min(xMax, QUERY_LIMIT);
    const double cyMin = std::max(yMin, -QUERY_LIMIT);
    const double cyMax = std::min(yMax, QUERY_LIMIT);
    if (!(cxMin <= cxMax) || !(cyMin <= cyMax))
        return;
    for (const Level& level : m_levels) {
        if (level.count > 0)
            visitLevel(level, cxMin, cyMin, cxMax, cyMax, visit);
    }
}

template <typename Visit>
void LooseGridIndex::visitLevel(const Level& level, double xMin, double yMin, double xMax, double yMax,
                                Visit& visit) const
{
    const int p = level.exponent;
    // An item reaches at most one cell beyond its own, up and right: look one cell down and left.
    // Scaling by a power of two is exact (the bounds are clamped far from overflow).
    const double scale = std::ldexp(1.0, -p);
    const std::int64_t x0 = std::int64_t(std::floor(xMin * scale)) - 1;
    const std::int64_t x1 = std::int64_t(std::floor(xMax * scale));
    const std::int64_t y0 = std::int64_t(std::floor(yMin * scale)) - 1;
    const std::int64_t y1 = std::int64_t(std::floor(yMax * scale));
    // The stored corner and level bound each item's box (in fine units, exactly): the corner
    // lies below corner + 1 and the far side below corner + 1 + 2^level. Items that cannot
    // meet the query are left out here, before the caller pays a visit to the item itself.
    const double fine = std::ldexp(1.0, -FINE_LEVEL);
    const std::int64_t fx0 = std::int64_t(std::floor(xMin * fine));
    const std::int64_t fx1 = std::int64_t(std::floor(xMax * fine));
    const std::int64_t fy0 = std::int64_t(std::floor(yMin * fine));
    const std::int64_t fy1 = std::int64_t(std::floor(yMax * fine));
    auto mayMeet = [&](const Entry& e) {
        const std::int64_t fx = std::int64_t(e.xWord & CORNER_MASK) - CORNER_BIAS;
        const std::int64_t fy = std::int64_t(e.yWord) - CORNER_BIAS;
        const std::int64_t reach = 1 + (std::int64_t(1) << (naturalLevel(e) - FINE_LEVEL));
        return fx <= fx1 && fy <= fy1 && fx + reach > fx0 && fy + reach > fy0;
    };
    const double cells = (double(x1) - double(x0) + 1.0) * (double(y1) - double(y0) + 1.0);
    if (cells > double(level.slots.size())) {
        level.slots.forEachSpan([&](const Entry* entries, std::size_t count) {
            for (std::size_t k = 0; k < count; ++k) {
                if (entries[k].item && mayMeet(entries[k]))
                    visit(entries[k].item);
            }
        });
        return;
    }
    const std::size_t size = level.slots.size();
    for (std::int64_t cx = x0; cx <= x1; ++cx) {
        for (std::int64_t cy = y0; cy <= y1; ++cy) {
            for (std::size_t i = slotOf(hashCell(cx, cy), size); level.slots[i].item; i = nextSlot(i, size)) {
                const Entry& e = level.slots[i];
                if (cellOf(e.xWord, p) == cx && cellOf(e.yWord, p) == cy && mayMeet(e))
                    visit(e.item);
            }
        }
    }
}

void LooseGridIndex::settle()
{
    if (m_settled)
        return;
    m_settled = true;
    m_minLevel = chooseFinestLevel();
    std::vector<Entry> pending;
    pending.swap(m_pending);
    placeAll(pending);
    m_gridCount = m_count;
}

int LooseGridIndex::chooseFinestLevel() const
{
    const std::size_t n = m_count + m_pending.size();
    if (n < 2 || !m_hasBounds)
        return FINE_LEVEL;
    const double width = std::ldexp(double(m_boundsMaxX - m_boundsMinX), FINE_LEVEL);
    const double height = std::ldexp(double(m_boundsMaxY - m_boundsMinY), FINE_LEVEL);
    double side = 0.0;
    if (width > 0.0 && height > 0.0)
        side = std::sqrt(ITEMS_PER_CELL * width * height / double(n));
    else
        side = ITEMS_PER_CELL * std::max(width, height) / double(n);
    return levelOfExtent(side);
}

void LooseGridIndex::regrid(int finestLevel)
{
    std::vector<Entry> all;
    all.reserve(m_count);
    for (Level& level : m_levels) {
        level.slots.forEachSpan([&](const Entry* entries, std::size_t count) {
            for (std::size_t k = 0; k < count; ++k) {
                if (entries[k].item)
                    all.push_back(entries[k]);
            }
        });
    }
    m_levels.clear();
    m_count = 0;
    m_minLevel = finestLevel;
    placeAll(all);
}

void LooseGridIndex::placeAll(const std::vector<Entry>& entries)
{
    // Size each level's table once instead of doubling it along the way.
    std::vector<std::size_t> perLevel(std::size_t(MAX_LEVEL - FINE_LEVEL + 1), 0);
    for (const Entry& e : entries)
        ++perLevel[std::size_t(std::max(naturalLevel(e), m_minLevel) - FINE_LEVEL)];
    for (std::size_t k = 0; k < perLevel.size(); ++k) {
        if (perLevel[k] == 0)
            continue;
        Level& level = levelFor(int(k) + FINE_LEVEL);
        // Room for a few percent more beyond the maximum load: an index filled in one go and
        // then edited (a copy of a TIN taking a merge) would otherwise grow its whole table
        // for the first few net insertions.
        const std::size_t count = level.count + perLevel[k];
        const std::size_t wanted = count * 10 / 7 + count / 16 + MIN_SLOTS;
        if (wanted > level.slots.size())
            rehash(level, wanted);
    }
    for (const Entry& e : entries)
        place(e);
}

void LooseGridIndex::place(const Entry& e)
{
    putInto(levelFor(std::max(naturalLevel(e), m_minLevel)), e);
    ++m_count;
}

LooseGridIndex::Level& LooseGridIndex::levelFor(int exponent)
{
    auto it = std::lower_bound(m_levels.begin(), m_levels.end(), exponent,
                               [](const Level& l, int x) { return l.exponent < x; });
    if (it == m_levels.end() || it->exponent != exponent) {
        Level fresh{exponent, 0, {}};
        fresh.slots.assign(MIN_SLOTS, Entry{nullptr, 0, 0});
        it = m_levels.insert(it, std::move(fresh));
    }
    return *it;
}

void LooseGridIndex::putInto(Level& level, const Entry& e)
{
    if ((level.count + 1) * 10 > level.slots.size() * 7)
        rehash(level, level.slots.size() + level.slots.size() / 2);
    const std::size_t size = level.slots.size();
    std::size_t i = homeOf(e, level.exponent, size);
    while (level.slots[i].item)
        i = nextSlot(i, size);
    level.slots.mut(i) = e;
    ++level.count;
}

void LooseGridIndex::rehash(Level& level, std::size_t size)
{
    if (size == level.slots.size())
        return;
    support::SharedChunkArrayT<Entry> old;
    old.assign(size, Entry{nullptr, 0, 0});
    old.swap(level.slots);
    level.count = 0;
    old.forEachSpan([&](const Entry* entries, std::size_t count) {
        for (std::size_t k = 0; k < count; ++k) {
            if (entries[k].item)
                putInto(level, entries[k]);
        }
    });
}

bool LooseGridIndex::takeFrom(Level& level, const Entry& e)
{
    const std::size_t size = level.slots.size();
    std::size_t i = homeOf(e, level.exponent, size);
    for (;; i = nextSlot(i, size)) {
        const Entry& s = level.slots[i];
        if (!s.item)
            return false;
        if (s.item == e.item && s.xWord == e.xWord && s.yWord == e.yWord)
            break;
    }
    // Backward-shift deletion: move later entries of the run up into the hole unless their
    // home lies cyclically after the hole, so every run stays unbroken.
    std::size_t hole = i;
    for (std::size_t j = nextSlot(i, size); level.slots[j].item; j = nextSlot(j, size)) {
        const std::size_t home = homeOf(level.slots[j], level.exponent, size);
        const bool homeInGap = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
        if (!homeInGap) {
            const Entry moved = level.slots[j];
            level.slots.mut(hole) = moved;
            hole = j;
        }
    }
    level.slots.mut(hole).item = nullptr;
    --level.count;
    return true;
}

} // namespace core
} // namespace tin
