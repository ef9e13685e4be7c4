#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

#include "orlin/support/SharedChunkArrayT.h"

namespace tin::core {

class Triangle;

/// The triangle set of a `Tin`: shared triangles keyed by object identity, with the
/// read-only interface of `std::unordered_set<std::shared_ptr<Triangle>>` (`begin`, `end`,
/// `size`, `empty`, `count`, `find`). Only `Tin` changes it.
///
/// Why not `std::unordered_set`: a TIN of a river survey holds millions of triangles, and the
/// node-based set costs a heap node (about 48 bytes with its bucket) per triangle. Here the
/// triangles live in one record vector (a shared pointer per record), beside two vectors of
/// three 32-bit list links per record that thread the TIN's vertex and edge adjacency lists
/// through the records (so those lists need no allocation of their own), and an
/// open-addressing table of record numbers with hash fingerprints; 50 to 100 bytes per
/// triangle, depending on the fill of the vectors. The two link families live apart so that
/// two threads may link them at once, each writing its own vector and nothing else (see
/// `insertUnlinked`). All are `support::SharedChunkArrayT`s: a copy of the set shares them chunk by
/// chunk, costs one reference count per 4 KiB page, and each later change clones only the chunks
/// it writes.
///
/// Iteration runs over the records in storage order, skipping freed ones; a freed record is
/// reused by the next insertion, so the order carries no meaning. Iterators and references
/// are invalidated by any change of the set.
class TriangleSet {
    static constexpr std::uint32_t NIL = 0xffffffffu;

    // Next node of each of the record's three lists of one family (vertex i or edge i). A
    // freed record keeps the free list in the first vertex link.
    struct Links {
        std::uint32_t next[3];
    };
    using Records = support::SharedChunkArrayT<std::shared_ptr<Triangle>>;
    using LinkArray = support::SharedChunkArrayT<Links>;
    using Table = support::SharedChunkArrayT<std::uint64_t>;

public:
    using value_type = std::shared_ptr<Triangle>;
    using key_type = std::shared_ptr<Triangle>;
    using size_type = std::size_t;

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::shared_ptr<Triangle>;
        using difference_type = std::ptrdiff_t;
        using pointer = value_type const*;
        using reference = value_type const&;

        const_iterator() = default;

        reference operator*() const { return (*m_records)[m_index]; }
        pointer operator->() const { return &(*m_records)[m_index]; }

        const_iterator& operator++()
        {
            ++m_index;
            skipFreed();
            return *this;
        }

        const_iterator operator++(int)
        {
            const_iterator old = *this;
            ++*this;
            return old;
        }

        bool operator==(const_iterator const& o) const { return m_index == o.m_index && m_records == o.m_records; }
        bool operator!=(const_iterator const& o) const { return !(*this == o); }

    private:
        friend class TriangleSet;

        const_iterator(Records const* records, std::size_t index) : m_records(records), m_index(index)
        {
            skipFreed();
        }

        void skipFreed()
        {
            while (m_index < m_records->size() && !(*m_records)[m_index]) {
                ++m_index;
            }
        }

        Records const* m_records = nullptr;
        std::size_t m_index = 0;
    };

    using iterator = const_iterator;

    const_iterator begin() const { return const_iterator(&m_records, 0); }
    const_iterator end() const { return const_iterator(&m_records, m_records.size()); }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }
    size_type size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    /// The number of record slots, freed ones included: slotAt(k) for k from 0 up to it gives
    /// the triangles in iteration order, with a null for each freed slot.
    std::size_t slotCount() const { return m_records.size(); }
    /// The triangle in slot k, null for a freed slot. Only reads (no reference count is
    /// touched), so threads may walk slices of the slots while the set does not change.
    Triangle const* slotAt(std::size_t k) const { return m_records[k].get(); }
    /// The slot of a held triangle (slotAt of it gives it back); slotCount() for one not held.
    std::size_t slotOf(Triangle const* triangle) const
    {
        std::uint32_t const record = recordOf(triangle);
        return record == NIL ? m_records.size() : record;
    }

    size_type count(std::shared_ptr<Triangle> const& triangle) const { return count(triangle.get()); }
    size_type count(Triangle const* triangle) const { return recordOf(triangle) == NIL ? 0 : 1; }
    const_iterator find(std::shared_ptr<Triangle> const& triangle) const { return find(triangle.get()); }
    const_iterator find(Triangle const* triangle) const;

private:
    friend class Tin;

    /// The two families of lists threaded through the records.
    static constexpr int VERTEX_LISTS = 0;
    static constexpr int EDGE_LISTS = 1;

    /// Record number of `triangle`, or NIL.
    std::uint32_t recordOf(Triangle const* triangle) const;

    /// Inserts `triangle` (not null) and returns its record, whose links are all NIL;
    /// `inserted` tells whether it was new.
    std::uint32_t insert(std::shared_ptr<Triangle> const& triangle, bool& inserted);

    /// Starts a run of insertUnlinked for at most `count` triangles: the first freed records
    /// the run may reuse are taken off the free list now, so that the run reads no link.
    void beginUnlinked(std::size_t count);
    /// insert() that touches the records and the table only, never the links: a new record's
    /// links are cleared later by clearLinks() of each family, so that other threads may write
    /// the two link families meanwhile. Only between beginUnlinked and endUnlinked.
    std::uint32_t insertUnlinked(std::shared_ptr<Triangle> const& triangle, bool& inserted);
    /// The same, moving `triangle` into the set when it is new; it is left as it was when it
    /// is not, or when the insertion throws (so that the caller decides where it dies).
    std::uint32_t insertUnlinked(std::shared_ptr<Triangle>&& triangle, bool& inserted);
    /// Ends the run: the records taken and not reused go back on the free list, in their order.
    /// Call once no thread writes links any more, after every clearLinks of the run.
    void endUnlinked();
    /// Sets the links of one family of `record` to NIL, growing that family's vector to hold
    /// the record (see insertUnlinked). Touches nothing but that vector.
    void clearLinks(int family, std::uint32_t record)
    {
        LinkArray& links = m_links[family].links;
        while (links.size() <= record) {
            links.push_back(Links{{NIL, NIL, NIL}});
        }
        links.mut(record) = Links{{NIL, NIL, NIL}};
    }

    /// Starts loading the home slot of `triangle` (see support::IdentityListMapT::prefetch).
    void prefetch(Triangle const* triangle) const
    {
        if (!m_table.empty()) {
            m_table.prefetch(fingerprintOf(triangle) & (m_table.size() - 1));
        }
    }

    /// Reads the home slot of `triangle` and the record of list node `node` (NIL: none),
    /// returning what they hold (see support::IdentityListMapT::touch). Changes nothing.
    std::uint64_t touch(Triangle const* triangle) const
    {
        return m_table.empty() ? 0 : m_table[fingerprintOf(triangle) & (m_table.size() - 1)];
    }
    std::uint32_t touchNode(std::uint32_t node, int family) const
    {
        return node == NIL ? 0 : m_links[family].links[node / 3].next[0];
    }

    /// Grows the table now so that it holds `count` triangles without growing again.
    void reserve(std::size_t count);

    /// Removes the triangle of `record` and releases the set's reference to it.
    void erase(std::uint32_t record);

    /// Removes everything and returns the storage.
    void clear();

    /// clear(), releasing the triangles a block of records at a time, each block after
    /// `before(triangle)` has been called for every triangle of it that the set alone holds
    /// (those that die with it): the caller reads ahead what their destruction will touch.
    /// When a copy shares records, the set only lets go of them, as clear() does.
    template <class F>
    void clear(F&& before)
    {
        if (m_records.sharedChunkCount() == 0) {
            constexpr std::size_t BLOCK = 32;
            std::size_t const count = m_records.size();
            for (std::size_t first = 0; first < count; first += BLOCK) {
                std::size_t const last = count - first < BLOCK ? count : first + BLOCK;
                for (std::size_t k = first; k < last; ++k) {
                    std::shared_ptr<Triangle> const& t = m_records[k];
                    if (t && t.use_count() == 1) {
                        before(*t);
                    }
                }
                for (std::size_t k = first; k < last; ++k) {
                    m_records.mut(k).reset();
                }
            }
        }
        clear();
    }

    /// The triangle of a record (null for a freed one).
    std::shared_ptr<Triangle> const& triangleAt(std::uint32_t record) const { return m_records[record]; }

    /// The link after `node` in one family of lists (read only: does not unshare).
    std::uint32_t nextOf(std::uint32_t node, int family) const { return m_links[family].links[node / 3].next[node % 3]; }
    /// The same link, writable; unshares its chunk when a copy shares it.
    std::uint32_t& next(std::uint32_t node, int family) { return m_links[family].links.mut(node / 3).next[node % 3]; }

    static std::uint32_t fingerprintOf(Triangle const* triangle);
    void grow();
    void rehash(std::size_t size);
    // The table slot for a triangle not held (grown first when full), or the slot holding it.
    std::size_t slotFor(Triangle const* triangle, std::uint32_t fingerprint, bool& held);
    // Enters `record` at `slot` and returns where the record's triangle goes: what may throw
    // (a clone of a shared chunk) is done before the caller stores the triangle.
    std::shared_ptr<Triangle>& fill(std::size_t slot, std::uint32_t fingerprint, std::uint32_t record);
    // insertUnlinked up to the triangle's store: the record to fill, or NIL when held already.
    std::uint32_t placeUnlinked(Triangle const* triangle, bool& inserted, std::shared_ptr<Triangle>*& store);

    Records m_records;
    // Links of the vertex lists ([VERTEX_LISTS]) and of the edge lists ([EDGE_LISTS]); as long
    // as m_records outside a run of insertUnlinked. Each on a cache line of its own, apart
    // from the members the inserting thread writes, because another thread may grow it.
    struct alignas(64) Family {
        LinkArray links;
    };
    Family m_links[2];
    // Open-addressing table: each entry holds a record number (low half) and the 32-bit hash
    // of its triangle's address (high half), so that probing and shifting read no record.
    Table m_table;
    std::uint32_t m_freeHead = NIL;
    std::size_t m_size = 0;
    // Freed records taken for a run of insertUnlinked, and how many of them it reused.
    std::vector<std::uint32_t> m_taken;
    std::size_t m_reused = 0;
};

} // namespace tin::core
