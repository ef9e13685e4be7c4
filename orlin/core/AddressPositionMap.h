#pragma once

#include "orlin/core/LargeTableAllocatorT.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tin::core {

/**
 * Map from an object's address to a position (an index into the owner's vector of the
 * objects): the membership index of PointSet.
 *
 * Open addressing with linear probing, 16 bytes per entry, load at most 1/2; erase shifts
 * the following entries back, so there are no tombstones. Null is not a valid key. Addresses
 * are only compared, never followed. Cost: O(1) expected per operation, one random table
 * access; callers with many operations in a row prefetch() a few keys ahead. Tables of
 * 2 MiB and more live in huge pages.
 */
class AddressPositionMap {
public:
    static constexpr std::size_t NONE = static_cast<std::size_t>(-1);

    std::size_t size() const { return m_size; }
    /// The position filed for key, or NONE.
    std::size_t find(const void* key) const;
    /// Files key at position unless it is filed already; returns the position filed before,
    /// or NONE when key is new.
    std::size_t insert(const void* key, std::size_t position);
    /// Changes the position of a filed key; nothing when key is not filed.
    void assign(const void* key, std::size_t position);
    /// Removes key; false when it was not filed.
    bool erase(const void* key);
    void clear();
    /// Room for `entries` entries without a rehash.
    void reserve(std::size_t entries);
    void prefetch(const void* key) const
    {
        if (!m_entries.empty())
            __builtin_prefetch(&m_entries[home(key)]);
    }

private:
    struct Entry {
        const void* key;
        std::size_t position;
    };

    std::size_t home(const void* key) const
    {
        // Fibonacci hashing: the high bits of the product depend on every address bit.
        return static_cast<std::size_t>((reinterpret_cast<std::uintptr_t>(key) * 0x9E3779B97F4A7C15ull) >> m_shift);
    }
    std::size_t slotOf(const void* key) const;
    void rehash(std::size_t capacity);

    std::vector<Entry, LargeTableAllocatorT<Entry>> m_entries;
    std::size_t m_size = 0;
    unsigned m_shift = 64;
};

} // namespace tin::core
