#pragma once

#include "orlin/core/GeometryFunctions.h"
#include "orlin/core/Rect.h"
#include "orlin/core/RectRef.h"
#include "orlin/support/SharedChunkArrayT.h"

#include <geos/geom/Envelope.h>
#include <geos/index/SpatialIndex.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace tin::core {

/// Store of shared geometric items with a spatial index (behind the GEOS
/// `SpatialIndex` interface) over their bounding rectangles.
///
/// The items live in a slot array; the index holds the slot numbers, each under the envelope
/// (`toEnvelope`, zero extents widened by 5e-07 on each side) of its item's bounding
/// rectangle at the time of entry. A removed item leaves a null slot; when more than half of
/// the slots are null the array is compacted, which renumbers the slots and so rebuilds the
/// index. The slot array is a `support::SharedChunkArrayT`, so a clone shares it chunk by chunk; a
/// kind whose index can be copied (`cloneIndex`) shares the index too, and the clone answers
/// its first query without a rebuild.
///
/// Requirements on T: `boundingRect()` returning a `Rect` or a `RectRef` (accessors `xMin()`,
/// `xMax()`, `yMin()`, `yMax()`, `isValid()`). An item's rectangle must not change while it is
/// held, or it is missed until the index is next rebuilt. Items are identified by address.
///
/// The index is built on the first use (find, add, remove, query) and then kept in step. A
/// concrete kind whose index takes no insertions once queried (the STR-tree) keeps the later
/// arrivals in a short side list that every query scans, and rebuilds the tree when that list
/// grows beyond a few times the square root of the slot count; every held item is always found.
///
/// Cost: a query is one index query plus a rectangle test per candidate; add and remove are one
/// query plus one index update; removal never shifts slots. Not thread-safe, even for queries.
template <class T>
class SpatialIndexContainerT {
public:
    using Slot = std::shared_ptr<T>;

    SpatialIndexContainerT() = default;
    SpatialIndexContainerT(SpatialIndexContainerT const&) = delete;
    SpatialIndexContainerT& operator=(SpatialIndexContainerT const&) = delete;

    /// Deletes the index, then releases every slot.
    virtual ~SpatialIndexContainerT()
    {
        dropIndex();
    }

    /// A new container of the same kind sharing the items (null slots and removed count
    /// included) and, where the kind can copy its index, the index; otherwise the index is
    /// built on first use. Cost: a reference count per chunk of slots, plus the index copy.
    virtual std::unique_ptr<SpatialIndexContainerT<T>> clone() const = 0;

    /// A new, empty index of the concrete kind.
    virtual std::unique_ptr<geos::index::SpatialIndex> createIndex() const = 0;

    /// Holds `item` and returns its slot; when it is already held, returns the existing slot.
    /// A null item is ignored (null result). The slot pointer is valid until the next add,
    /// remove, compaction or copy.
    Slot const* add(Slot const& item)
    {
        if (!item) {
            return nullptr;
        }
        if (Slot const* existing = find(item.get())) {
            return existing;
        }
        return appendNew(item);
    }

    /// `add` for an item the caller knows is not held (not null): saves the lookup.
    Slot const* appendNew(Slot const& item)
    {
        m_items.push_back(item);
        std::size_t const index = m_items.size() - 1;
        if (!m_index) {
            rebuildIndex();
        } else {
            insertToIndex(index);
        }
        return &m_items[index];
    }

    /// Appends an item the caller knows is not held, without touching the index, which is
    /// dropped and rebuilt on the next use. For filling a new container in bulk after
    /// `reserve`; one rebuild then costs less than one checked add per item.
    void appendUnindexed(Slot const& item)
    {
        if (!item) {
            return;
        }
        dropIndex();
        m_items.push_back(item);
    }

    /// Kept for callers that fill in bulk; slots grow chunk by chunk without moving, so
    /// there is nothing to reserve.
    void reserve(std::size_t /*count*/) { }

    /// Removes `item`; false when it was not held. Compacts when more than half of the slots
    /// are null afterwards.
    bool remove(T const* item)
    {
        if (!item) {
            return false;
        }
        auto const env = envelopeOf(*item);
        std::vector<void*> found;
        candidates(cornerOf(*env), found);
        for (void* entry : found) {
            std::size_t const index = slotIndexOf(entry);
            if (m_items[index].get() != item) {
                continue;
            }
            auto pending = std::find(m_unindexed.begin(), m_unindexed.end(), index);
            if (pending != m_unindexed.end()) {
                m_unindexed.erase(pending);
            } else {
                m_index->remove(env.get(), entry);
            }
            m_items.mut(index).reset();
            ++m_removedCount;
            if (static_cast<std::size_t>(m_removedCount) > m_items.size() / 2) {
                compact();
            }
            return true;
        }
        return false;
    }

    /// The slot that holds `item`, or null.
    Slot const* find(T const* item)
    {
        if (!item) {
            return nullptr;
        }
        auto const env = envelopeOf(*item);
        std::vector<void*> found;
        candidates(cornerOf(*env), found);
        for (void* entry : found) {
            Slot const& slot = m_items[slotIndexOf(entry)];
            if (slot.get() == item) {
                return &slot;
            }
        }
        return nullptr;
    }

    /// Items whose bounding rectangle lies within `r` (closed bounds, both rectangles valid).
    std::vector<Slot> findInRect(Rect const& r)
    {
        return query(r, [&r](auto const& box) { return isInside(box, r); });
    }

    /// Items whose bounding rectangle meets `r` (closed bounds, both rectangles valid).
    std::vector<Slot> findIntersectRect(Rect const& r)
    {
        return query(r, [&r](auto const& box) { return intersects(box, r); });
    }

    /// Items whose (valid) bounding rectangle meets the envelope `e`, used as it is (no widening).
    std::vector<Slot> findIntersectEnvelope(geos::geom::Envelope const& e)
    {
        std::vector<Slot> result;
        std::vector<void*> found;
        candidates(e, found);
        for (void* entry : found) {
            Slot const& slot = m_items[slotIndexOf(entry)];
            if (!slot) {
                continue;
            }
            auto const box = slot->boundingRect();
            if (box.isValid() && !(box.xMin() > e.getMaxX()) && !(box.xMax() < e.getMinX())
                && !(box.yMin() > e.getMaxY()) && !(box.yMax() < e.getMinY())) {
                result.push_back(slot);
            }
        }
        return result;
    }

    /// Every held item in slot order; compacts first when there are null slots.
    std::vector<Slot> items()
    {
        if (m_removedCount > 0) {
            compact();
        }
        std::vector<Slot> result;
        result.reserve(m_items.size());
        m_items.forEachSpan([&](Slot const* span, std::size_t count) { result.insert(result.end(), span, span + count); });
        return result;
    }

    /// Replaces the index by a fresh one holding every non-null slot.
    void rebuildIndex()
    {
        dropIndex();
        m_index = createIndex();
        for (std::size_t index = 0; index < m_items.size(); ++index) {
            if (m_items[index]) {
                insertEntry(index);
            }
        }
    }

    /// Drops the null slots and rebuilds the index.
    void compact()
    {
        dropIndex();
        support::SharedChunkArrayT<Slot> kept;
        m_items.forEachSpan([&](Slot const* span, std::size_t count) {
            for (std::size_t k = 0; k < count; ++k) {
                if (span[k]) {
                    kept.push_back(span[k]);
                }
            }
        });
        m_items.swap(kept);
        kept.clear();
        rebuildIndex();
        m_removedCount = 0;
    }

    /// Enters one slot of this container into the index (building the index, which enters
    /// every slot, when there is none).
    void insertToIndex(std::size_t index)
    {
        if (!m_index) {
            rebuildIndex();
            return;
        }
        if (m_indexQueried && !acceptsInsertAfterQuery()) {
            m_unindexed.push_back(index);
            return;
        }
        insertEntry(index);
    }

    std::size_t slotCount() const { return m_items.size(); }
    int removedCount() const { return m_removedCount; }
    bool hasIndex() const { return m_index != nullptr; }

protected:
    /// Shares the slots and copies the removed count of `source`, and its index when
    /// `cloneIndex` can copy it; for `clone`.
    void copyItemsFrom(SpatialIndexContainerT const& source)
    {
        dropIndex();
        m_items = source.m_items;
        m_removedCount = source.m_removedCount;
        if (source.m_index) {
            m_index = cloneIndex(*source.m_index);
            if (m_index) {
                m_unindexed = source.m_unindexed;
                m_indexQueried = source.m_indexQueried;
            }
        }
    }

    /// A copy of `index` (made by `createIndex`), or null when the kind cannot copy it.
    virtual std::unique_ptr<geos::index::SpatialIndex> cloneIndex(geos::index::SpatialIndex const& /*index*/) const
    {
        return nullptr;
    }

    /// False for an index that must not be changed once it has answered a query.
    virtual bool acceptsInsertAfterQuery() const { return true; }

    /// True for an index that keeps the envelope pointers it was given.
    virtual bool keepsEnvelopes() const { return false; }

private:
    template <class R>
    static bool isInside(R const& box, Rect const& r)
    {
        return box.isValid() && r.isValid() && box.xMin() >= r.xMin() && r.xMax() >= box.xMax()
            && box.yMin() >= r.yMin() && r.yMax() >= box.yMax();
    }

    template <class R>
    static bool intersects(R const& box, Rect const& r)
    {
        return box.isValid() && r.isValid() && r.xMax() >= box.xMin() && box.xMax() >= r.xMin()
            && r.yMax() >= box.yMin() && box.yMax() >= r.yMin();
    }

    /// The lower-left corner of `env` as an envelope of its own. An item is filed under its
    /// envelope, which holds that corner, so querying the corner finds it among fewer
    /// candidates than querying the whole envelope would.
    static geos::geom::Envelope cornerOf(geos::geom::Envelope const& env)
    {
        return geos::geom::Envelope(env.getMinX(), env.getMinX(), env.getMinY(), env.getMinY());
    }

    static std::unique_ptr<geos::geom::Envelope> envelopeOf(T const& item)
    {
        return std::unique_ptr<geos::geom::Envelope>(toEnvelope(item.boundingRect()));
    }

    template <class Test>
    std::vector<Slot> query(Rect const& r, Test test)
    {
        std::unique_ptr<geos::geom::Envelope> const env(toEnvelope(r));
        std::vector<void*> found;
        candidates(*env, found);
        std::vector<Slot> result;
        for (void* entry : found) {
            Slot const& slot = m_items[slotIndexOf(entry)];
            if (slot && test(slot->boundingRect())) {
                result.push_back(slot);
            }
        }
        return result;
    }

    /// Slot addresses that may meet `env`: the index's answer plus the side list.
    void candidates(geos::geom::Envelope const& env, std::vector<void*>& out)
    {
        if (!m_index || m_unindexed.size() > sideListLimit()) {
            rebuildIndex();
        }
        m_index->query(&env, out);
        m_indexQueried = true;
        for (std::size_t index : m_unindexed) {
            out.push_back(entryOf(index));
        }
    }

    std::size_t sideListLimit() const
    {
        return 64 + static_cast<std::size_t>(4.0 * std::sqrt(static_cast<double>(m_items.size())));
    }

    // The index files slot k as the (never null) item pointer k + 1.
    static void* entryOf(std::size_t index) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(index) + 1); }
    static std::size_t slotIndexOf(void* entry) { return static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(entry) - 1); }

    void insertEntry(std::size_t index)
    {
        auto env = envelopeOf(*m_items[index]);
        if (keepsEnvelopes()) {
            m_envelopes.push_back(*env);
            m_index->insert(&m_envelopes.back(), entryOf(index));
        } else {
            m_index->insert(env.get(), entryOf(index));
        }
    }

    void dropIndex()
    {
        m_index.reset();
        m_envelopes.clear();
        m_unindexed.clear();
        m_indexQueried = false;
    }

    support::SharedChunkArrayT<Slot> m_items;
    // Envelopes an index keeps pointers to; declared before the index so that they outlive it.
    std::deque<geos::geom::Envelope> m_envelopes;
    std::unique_ptr<geos::index::SpatialIndex> m_index;
    std::int32_t m_removedCount = 0;
    // Slots added after an index that takes no more insertions has been queried.
    std::vector<std::size_t> m_unindexed;
    bool m_indexQueried = false;
};

} // namespace tin::core
