#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "orlin/support/HashMix.h"
#include "orlin/support/SharedChunkArrayT.h"

namespace tin::support {

/// Open-addressing map from an object's address to the head and tail of a list whose links
/// live elsewhere (a `Tin` threads its edge and vertex adjacency lists through its triangle
/// records). 16 bytes per table slot, no allocation per entry; the table is kept at most three
/// quarters full and deletion shifts entries back (no tombstones), so any sequence of inserts
/// and erases keeps lookups at a few probes. The key object must outlive its entry; the map
/// never dereferences it. Home slots keep neighbouring keys together (see `addressHash`): a
/// map keyed by pooled objects made one after the other is walked rather than jumped through. Entry pointers are invalidated by `obtain`, `erase`, `findMutable`
/// and copies. Copies share the table chunk by chunk (`SharedChunkArrayT`): a copy costs a
/// reference count per 4 KiB page, and later changes clone the chunks they write.
template <class K>
class IdentityListMapT {
public:
    static constexpr std::uint32_t NIL = 0xffffffffu;

    struct Entry {
        K* key;
        std::uint32_t head;
        std::uint32_t tail;
    };
    using Table = SharedChunkArrayT<Entry>;

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    Entry const* find(K* key) const
    {
        std::size_t const i = slotOf(key);
        return i == NOWHERE ? nullptr : &m_table[i];
    }

    /// The entry of `key` for writing, or null; unshares its chunk.
    Entry* findMutable(K* key)
    {
        std::size_t const i = slotOf(key);
        return i == NOWHERE ? nullptr : &m_table.mut(i);
    }

    /// Starts loading the home slot of `key`, so that several look-ups issued one after the
    /// other wait for memory together instead of one by one. Changes nothing.
    void prefetch(K* key) const
    {
        if (!m_table.empty()) {
            m_table.prefetch(homeOf(key));
        }
    }

    /// Grows the table now so that it holds `count` entries without growing again (a batch of
    /// insertions then pays no rehash on the way). Never shrinks; entries stay where they belong.
    void reserve(std::size_t count)
    {
        std::size_t size = m_table.empty() ? 16 : m_table.size();
        while (count * 4 > size * 3) {
            size *= 2;
        }
        if (size != m_table.size()) {
            rehash(size);
        }
    }

    /// Reads the home slot of `key` and returns what it found there (meaningless but for
    /// keeping the load): a plain load, where a prefetch that misses the TLB may be dropped.
    /// Many of these issued back to back overlap their misses. Changes nothing.
    std::uintptr_t touch(K* key) const
    {
        return m_table.empty() ? 0 : reinterpret_cast<std::uintptr_t>(m_table[homeOf(key)].key);
    }

    /// The entry of `key` (not null), made with empty lists when absent.
    Entry& obtain(K* key)
    {
        if ((m_size + 1) * 4 > m_table.size() * 3) {
            grow();
        }
        std::size_t const mask = m_table.size() - 1;
        std::size_t i = homeOf(key);
        for (; m_table[i].key != nullptr; i = (i + 1) & mask) {
            if (m_table[i].key == key) {
                return m_table.mut(i);
            }
        }
        Entry& made = m_table.mut(i);
        made = Entry{key, NIL, NIL};
        ++m_size;
        return made;
    }

    void erase(K* key)
    {
        std::size_t hole = slotOf(key);
        if (hole == NOWHERE) {
            return;
        }
        std::size_t const mask = m_table.size() - 1;
        for (std::size_t j = (hole + 1) & mask; m_table[j].key != nullptr; j = (j + 1) & mask) {
            std::size_t const home = homeOf(m_table[j].key);
            bool const movable = hole <= j ? (home <= hole || home > j) : (home <= hole && home > j);
            if (movable) {
                Entry const moved = m_table[j];
                m_table.mut(hole) = moved;
                hole = j;
            }
        }
        m_table.mut(hole) = Entry{nullptr, NIL, NIL};
        --m_size;
    }

    /// Calls `f(entry)` for every entry, in table order.
    template <class F>
    void forEach(F&& f) const
    {
        if (m_size == 0) {
            return;
        }
        m_table.forEachSpan([&](Entry const* entries, std::size_t count) {
            for (std::size_t k = 0; k < count; ++k) {
                if (entries[k].key != nullptr) {
                    f(entries[k]);
                }
            }
        });
    }

    void clear()
    {
        m_table.clear();
        m_size = 0;
    }

private:
    static constexpr std::size_t NOWHERE = static_cast<std::size_t>(-1);

    std::size_t slotOf(K* key) const
    {
        if (m_table.empty() || key == nullptr) {
            return NOWHERE;
        }
        std::size_t const mask = m_table.size() - 1;
        for (std::size_t i = homeOf(key);; i = (i + 1) & mask) {
            Entry const& e = m_table[i];
            if (e.key == key) {
                return i;
            }
            if (e.key == nullptr) {
                return NOWHERE;
            }
        }
    }

    // Keys made together get neighbouring slots (see addressHash).
    std::size_t homeOf(K* key) const { return static_cast<std::size_t>(addressHash(key)) & (m_table.size() - 1); }

    void grow() { rehash(m_table.empty() ? 16 : m_table.size() * 2); }

    void rehash(std::size_t size)
    {
        Table old;
        old.swap(m_table);
        m_table.assign(size, Entry{nullptr, NIL, NIL});
        std::size_t const mask = m_table.size() - 1;
        old.forEachSpan([&](Entry const* entries, std::size_t count) {
            for (std::size_t k = 0; k < count; ++k) {
                if (entries[k].key != nullptr) {
                    std::size_t i = homeOf(entries[k].key);
                    while (m_table[i].key != nullptr) {
                        i = (i + 1) & mask;
                    }
                    m_table.mut(i) = entries[k];
                }
            }
        });
    }

    Table m_table;
    std::size_t m_size = 0;
};

} // namespace tin::support
