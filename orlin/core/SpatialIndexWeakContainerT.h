#pragma once

#include "orlin/core/Rect.h"
#include "orlin/support/CellHashIndex.h"
#include "orlin/support/LargeTableAllocatorT.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace tin {
namespace core {

/// Number of additions of new items, over every weak container of the process, after
/// which expired slots are swept.
const std::size_t WEAK_CONTAINER_SWEEP_PERIOD = 50000;

/// The process-wide addition counter of the periodic sweep (0 right after a sweep).
/// Unsynchronised, like the containers.
std::size_t& weakContainerSweepCounter();

/**
 * Spatially indexed store of weak references to small items (T = Point).
 *
 * The container never keeps an item alive: an item dies in place when its last owner
 * releases it and its slot expires. There is no remove. Expired slots are noted when
 * a query meets them and by a sweep every WEAK_CONTAINER_SWEEP_PERIOD additions (one
 * counter for the whole process); when at least a third of all slots have expired,
 * the container compacts (keeps the live references in their order). The sweep looks
 * at the slots only when a third may have expired: the items it files count their
 * destructions (T::countDestruction(), T::countedDestructions()), and the expired slots
 * known at the last look plus the destructions since bound those expired now.
 *
 * The index files each slot under the item's position (T::x(), T::y()) and assumes
 * items' boxes are that position widened by at most 1e-8. An item moved by its owner
 * stays filed under its old position until reindex() or the next rebuild; the index is
 * built lazily on the first query after it was dropped.
 *
 * Bulk additions (beginBulk() .. endBulk()) defer the sweep: the counter runs on, and
 * the check a sweep would have made is made once at the end of the bulk. Nothing in the
 * bulk depends on it: queries skip expired slots, and compaction keeps the slots' order.
 *
 * Slots are numbered by 32 bits: at most 2^32 − 1 of them. Memory: a weak reference,
 * a bit and about 8–16 bytes of index per slot; the slots and the index keep their
 * capacity through compactions (the high-water mark of the slots stays allocated).
 */
template <typename T>
class SpatialIndexWeakContainerT {
public:
    using Slot = std::weak_ptr<T>;

    virtual ~SpatialIndexWeakContainerT() = default;

    /// A copy of the slots and of the expired marks, without index.
    virtual std::unique_ptr<SpatialIndexWeakContainerT<T>> clone() const = 0;
    /// A new, empty index.
    virtual std::unique_ptr<support::CellHashIndex> createIndex() const = 0;

    /// Live items whose bounding rectangle meets r (closed, both valid), in slot order.
    std::vector<std::shared_ptr<T>> findIntersectRect(const Rect& r);
    /// findIntersectRect() without the result vector: visit(const std::shared_ptr<T>&) for
    /// each such item, in slot order. visit must not query or change the container.
    template <typename Visit>
    void visitIntersectRect(const Rect& r, Visit&& visit);
    /// Fetches ahead the index entries of a coming query around (x, y); a hint only.
    void prefetch(double x, double y) const
    {
        if (m_index)
            m_index->prefetch(x, y);
    }
    /// Room for `more` further additions without growing the slots or the index. For a
    /// bulk of at least a quarter of the slots, sweeps first (the periodic sweep's check,
    /// without touching its counter): the additions had better not meet a compaction and
    /// an index rebuild halfway, nor probe past the dead. True when it made that check.
    bool reserve(std::size_t more);
    /// The live item with the highest slot among those whose box meets r and for which
    /// accept(const T&) holds; when there is none, make() (a new std::shared_ptr<T> that
    /// lies in r) is added as by addNew() and returned. The same as visitIntersectRect()
    /// followed by addNew(), with one probe of the index where r lies in one cell.
    template <typename Accept, typename Make>
    std::shared_ptr<T> findLastOrAddNew(const Rect& r, Accept&& accept, Make&& make);
    /// Defers the periodic sweep's check until endBulk(); bulks do not nest.
    void beginBulk();
    /// Ends a bulk: when the sweep counter came round during it, makes the check then,
    /// unless the caller knows no item expired since the last check (mayHaveExpired false:
    /// the check could not compact).
    void endBulk(bool mayHaveExpired);
    /// The slot holding obj itself (pointer identity), or null.
    const Slot* find(const T* obj);
    /// Appends a weak reference to item unless it is held already; returns item.
    std::shared_ptr<T> add(const std::shared_ptr<T>& item);
    /// add() for an item its caller has just made, which cannot be held yet: saves
    /// the look-up.
    std::shared_ptr<T> addNew(std::shared_ptr<T> item);
    /// Every live item, in slot order.
    std::vector<std::shared_ptr<T>> liveItems();
    /// Files the live slots anew under their items' current positions.
    void rebuildIndex();
    /// Forgets the index; the next query rebuilds it.
    void dropIndex() { m_index.reset(); }
    /// Keeps only the live references, in order, and rebuilds the index.
    void compact();
    /// Re-files item after its owner moved it away from (oldX, oldY).
    void reindex(const T* item, double oldX, double oldY);

    std::size_t slotCount() const { return m_slots.size(); }
    /// Number of slots known to have expired (not a full scan).
    std::size_t expiredCount() const { return m_expiredCount; }

protected:
    SpatialIndexWeakContainerT() = default;
    SpatialIndexWeakContainerT(const SpatialIndexWeakContainerT& other)
        : m_slots(other.m_slots), m_expired(other.m_expired), m_expiredCount(other.m_expiredCount),
          m_expiredAtLook(other.m_expiredAtLook), m_destructionsAtLook(other.m_destructionsAtLook)
    {
    }
    SpatialIndexWeakContainerT& operator=(const SpatialIndexWeakContainerT&) = delete;

private:
    void markExpired(std::size_t slot);
    /// True when it compacted (and so rebuilt the index).
    bool sweep();
    /// Notes every expired slot and compacts when they are a third or more; true when it
    /// compacted.
    bool compactIfMostlyExpired();
    /// False when fewer than a third of the slots can have expired, so that
    /// compactIfMostlyExpired() would only look.
    bool mayBeMostlyExpired() const;
    /// compact() for slots whose expired marks were all just brought up to date.
    void compactMarked();
    /// Appends the slot of a new item; true when a sweep compacted (and so filed it).
    bool appendSlot(const std::shared_ptr<T>& item);
    void insertToIndex(std::size_t slot, const T& item);
    /// Fills m_candidates; callers must not nest.
    const std::vector<std::uint32_t>& candidateSlots(double xMin, double yMin, double xMax, double yMax);

    std::vector<Slot, support::LargeTableAllocatorT<Slot>> m_slots;
    std::unique_ptr<support::CellHashIndex> m_index;
    std::vector<bool> m_expired;
    std::size_t m_expiredCount = 0;
    std::vector<std::uint32_t> m_candidates; // scratch of candidateSlots, kept to spare allocations
    // Expired slots when all slots were last looked at, and the items' counted
    // destructions then: every slot that expired since is one of those destructions.
    std::size_t m_expiredAtLook = 0;
    std::size_t m_destructionsAtLook = T::countedDestructions();
    bool m_inBulk = false;
    bool m_sweepDue = false; // the counter came round during the bulk
};

template <typename T>
void SpatialIndexWeakContainerT<T>::markExpired(std::size_t slot)
{
    if (!m_expired[slot]) {
        m_expired[slot] = true;
        ++m_expiredCount;
    }
}

template <typename T>
void SpatialIndexWeakContainerT<T>::insertToIndex(std::size_t slot, const T& item)
{
    m_index->insert(std::uint32_t(slot), item.x(), item.y());
}

template <typename T>
const std::vector<std::uint32_t>& SpatialIndexWeakContainerT<T>::candidateSlots(double xMin, double yMin,
                                                                                double xMax, double yMax)
{
    if (!m_index)
        rebuildIndex();
    std::vector<std::uint32_t>& found = m_candidates;
    found.clear();
    m_index->query(xMin, yMin, xMax, yMax, [&found](std::uint32_t s) { found.push_back(s); });
    // Slot order makes results reproducible and removes the rare duplicate report of
    // a slot whose cell hash collides with another queried cell.
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

template <typename T>
template <typename Visit>
void SpatialIndexWeakContainerT<T>::visitIntersectRect(const Rect& r, Visit&& visit)
{
    if (!r.isValid())
        return;
    for (std::uint32_t s : candidateSlots(r.xMin(), r.yMin(), r.xMax(), r.yMax())) {
        std::shared_ptr<T> item = m_slots[s].lock();
        if (!item)
            markExpired(s);
        else if (item->boundingRect().intersects(r))
            visit(item);
    }
}

template <typename T>
std::vector<std::shared_ptr<T>> SpatialIndexWeakContainerT<T>::findIntersectRect(const Rect& r)
{
    std::vector<std::shared_ptr<T>> result;
    visitIntersectRect(r, [&result](const std::shared_ptr<T>& item) { result.push_back(item); });
    return result;
}

template <typename T>
bool SpatialIndexWeakContainerT<T>::reserve(std::size_t more)
{
    // The check costs a pass over the slots: worth it only for a bulk of their order.
    const bool checked = more >= m_slots.size() / 4;
    if (checked && mayBeMostlyExpired())
        compactIfMostlyExpired();
    m_slots.reserve(m_slots.size() + more);
    m_expired.reserve(m_slots.size() + more);
    if (!m_index)
        rebuildIndex();
    m_index->reserve(m_index->size() + more);
    return checked;
}

template <typename T>
template <typename Accept, typename Make>
std::shared_ptr<T> SpatialIndexWeakContainerT<T>::findLastOrAddNew(const Rect& r, Accept&& accept, Make&& make)
{
    if (!m_index)
        rebuildIndex();
    // The highest accepted slot is the last one in slot order, as visitIntersectRect()
    // would meet it; lower slots need no look at all.
    const std::uint32_t NONE = UINT32_MAX;
    std::uint32_t best = NONE;
    std::shared_ptr<T> found;
    const support::CellHashIndex::InsertHint hint
        = m_index->queryForInsert(r.xMin(), r.yMin(), r.xMax(), r.yMax(), [&](std::uint32_t s) {
              if (best != NONE && s <= best)
                  return;
              std::shared_ptr<T> item = m_slots[s].lock();
              if (!item)
                  markExpired(s);
              else if (item->boundingRect().intersects(r) && accept(*item)) {
                  best = s;
                  found = std::move(item);
              }
          });
    if (found)
        return found;
    std::shared_ptr<T> item = make();
    if (!item)
        throw std::invalid_argument("SpatialIndexWeakContainerT::add: null item");
    if (appendSlot(item))
        return item;
    m_index->insertAt(hint, std::uint32_t(m_slots.size() - 1), item->x(), item->y());
    return item;
}

template <typename T>
void SpatialIndexWeakContainerT<T>::beginBulk()
{
    m_inBulk = true;
    m_sweepDue = false;
}

template <typename T>
void SpatialIndexWeakContainerT<T>::endBulk(bool mayHaveExpired)
{
    const bool due = m_sweepDue;
    m_inBulk = false;
    m_sweepDue = false;
    if (due && mayHaveExpired && mayBeMostlyExpired())
        compactIfMostlyExpired();
}

template <typename T>
const typename SpatialIndexWeakContainerT<T>::Slot* SpatialIndexWeakContainerT<T>::find(const T* obj)
{
    if (!obj || m_slots.empty())
        return nullptr;
    const double x = obj->x();
    const double y = obj->y();
    for (std::uint32_t s : candidateSlots(x, y, x, y)) {
        std::shared_ptr<T> item = m_slots[s].lock();
        if (!item)
            markExpired(s);
        else if (item.get() == obj)
            return &m_slots[s];
    }
    return nullptr;
}

template <typename T>
std::shared_ptr<T> SpatialIndexWeakContainerT<T>::add(const std::shared_ptr<T>& item)
{
    if (!item)
        throw std::invalid_argument("SpatialIndexWeakContainerT::add: null item");
    if (find(item.get()))
        return item;
    return addNew(item);
}

template <typename T>
std::shared_ptr<T> SpatialIndexWeakContainerT<T>::addNew(std::shared_ptr<T> item)
{
    if (!item)
        throw std::invalid_argument("SpatialIndexWeakContainerT::add: null item");
    if (appendSlot(item))
        return item; // compacted: the rebuilt index holds the new slot already
    if (m_index)
        insertToIndex(m_slots.size() - 1, *item);
    else
        rebuildIndex();
    return item;
}

template <typename T>
bool SpatialIndexWeakContainerT<T>::appendSlot(const std::shared_ptr<T>& item)
{
    if (m_slots.size() >= std::size_t(UINT32_MAX))
        throw std::length_error("SpatialIndexWeakContainerT::add: more than 2^32 - 1 slots");
    item->countDestruction();
    m_slots.push_back(item);
    m_expired.push_back(false);
    return sweep();
}

template <typename T>
bool SpatialIndexWeakContainerT<T>::sweep()
{
    std::size_t& counter = weakContainerSweepCounter();
    if (++counter < WEAK_CONTAINER_SWEEP_PERIOD)
        return false;
    counter = 0;
    if (m_inBulk) {
        m_sweepDue = true;
        return false;
    }
    return mayBeMostlyExpired() && compactIfMostlyExpired();
}

template <typename T>
bool SpatialIndexWeakContainerT<T>::mayBeMostlyExpired() const
{
    const std::size_t since = T::countedDestructions() - m_destructionsAtLook;
    return m_expiredAtLook + since >= m_slots.size() / 3;
}

template <typename T>
bool SpatialIndexWeakContainerT<T>::compactIfMostlyExpired()
{
    m_destructionsAtLook = T::countedDestructions();
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        if (!m_expired[i] && m_slots[i].expired())
            markExpired(i);
    }
    m_expiredAtLook = m_expiredCount;
    if (m_expiredCount < m_slots.size() / 3)
        return false;
    compactMarked();
    return true;
}

template <typename T>
std::vector<std::shared_ptr<T>> SpatialIndexWeakContainerT<T>::liveItems()
{
    std::vector<std::shared_ptr<T>> result;
    result.reserve(m_slots.size() - m_expiredCount);
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        if (std::shared_ptr<T> item = m_slots[i].lock())
            result.push_back(std::move(item));
        else
            markExpired(i);
    }
    return result;
}

template <typename T>
void SpatialIndexWeakContainerT<T>::rebuildIndex()
{
    // A rebuilt index keeps the table it had: the next survey needs one of the same size,
    // and a fresh one costs a page fault per 2 MiB.
    if (m_index)
        m_index->clearKeepingCapacity();
    else
        m_index = createIndex();
    m_index->reserve(m_slots.size() - std::min(m_expiredCount, m_slots.size()));
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        if (std::shared_ptr<T> item = m_slots[i].lock())
            insertToIndex(i, *item);
        else
            markExpired(i);
    }
}

template <typename T>
void SpatialIndexWeakContainerT<T>::compact()
{
    m_destructionsAtLook = T::countedDestructions();
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        if (!m_expired[i] && m_slots[i].expired())
            markExpired(i);
    }
    compactMarked();
}

template <typename T>
void SpatialIndexWeakContainerT<T>::compactMarked()
{
    // In place, keeping the capacity for the next points (see rebuildIndex()). A slot
    // marked expired stays so (its item is gone for good); one that expired after the
    // marks were made would be dropped by the next compaction.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        if (m_expired[i])
            continue;
        if (kept != i)
            m_slots[kept] = std::move(m_slots[i]);
        ++kept;
    }
    m_slots.erase(m_slots.begin() + static_cast<std::ptrdiff_t>(kept), m_slots.end());
    m_expired.assign(m_slots.size(), false);
    m_expiredCount = 0;
    m_expiredAtLook = 0;
    rebuildIndex();
}

template <typename T>
void SpatialIndexWeakContainerT<T>::reindex(const T* item, double oldX, double oldY)
{
    if (!item || !m_index)
        return; // a rebuild will file it under its current position
    for (std::uint32_t s : candidateSlots(oldX, oldY, oldX, oldY)) {
        std::shared_ptr<T> held = m_slots[s].lock();
        if (held.get() == item) {
            m_index->remove(s, oldX, oldY);
            insertToIndex(s, *item);
            return;
        }
    }
}

} // namespace core
} // namespace tin
