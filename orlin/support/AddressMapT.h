#pragma once

#include "orlin/support/LargeTableAllocatorT.h"
#include "orlin/support/PageFaulter.h"
#include "orlin/support/Prefetch.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace tin::support {

/**
 * Map from an object's address to a value, for bookkeeping kept beside objects held
 * elsewhere: a point set's membership index (point -> position in its list), an overlay's
 * edge owners and covered lengths.
 *
 * Open addressing with linear probing over a power-of-two table at most half full, the key
 * beside the value, so a look-up is one probe sequence in one array and an insertion
 * allocates nothing but the occasional doubling. erase() shifts the following entries back,
 * so there are no tombstones and probe sequences stay short under churn. Null is not a key;
 * addresses are only compared, never followed. Iteration is not offered (the order would
 * mean nothing).
 *
 * V must be default-constructible and movable; an erased entry's value is reset to V{}, so
 * owning values are released at once. Pointers and references to values stay valid until
 * the next insertion of a new key or the next erase(). Cost: O(1) expected per operation,
 * one random table access; callers with many operations in a row prefetch() a few keys
 * ahead. Tables of 2 MiB and more live in huge pages (LargeTableAllocatorT).
 */
template <typename K, typename V>
class AddressMapT {
public:
    AddressMapT() = default;
    AddressMapT(AddressMapT const&) = default;
    AddressMapT& operator=(AddressMapT const&) = default;
    /// Leaves other empty and usable.
    AddressMapT(AddressMapT&& other) noexcept
        : m_slots(std::move(other.m_slots)), m_count(std::exchange(other.m_count, 0)),
          m_shift(std::exchange(other.m_shift, 64u))
    {
        other.m_slots.clear();
    }
    AddressMapT& operator=(AddressMapT&& other) noexcept
    {
        m_slots = std::move(other.m_slots);
        other.m_slots.clear();
        m_count = std::exchange(other.m_count, 0);
        m_shift = std::exchange(other.m_shift, 64u);
        return *this;
    }

    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }

    /// The value under key, default-constructed on first use.
    V& operator[](K const* key) { return *insert(key, V{}).first; }

    /// Files value under key unless key is filed already. Returns the value now under key
    /// (the earlier one if key was filed: the first filing stands) and whether key is new.
    std::pair<V*, bool> insert(K const* key, V value)
    {
        if ((m_count + 1) * 2 > m_slots.size()) {
            rehash(m_slots.empty() ? MIN_CAPACITY : m_slots.size() * 2);
        }
        Slot& slot = m_slots[slotOf(key)];
        if (slot.key != nullptr) {
            return {&slot.value, false};
        }
        slot.key = key;
        slot.value = std::move(value);
        ++m_count;
        return {&slot.value, true};
    }

    /// The value under key, or null.
    V* find(K const* key)
    {
        if (m_count == 0 || key == nullptr) {
            return nullptr;
        }
        Slot& slot = m_slots[slotOf(key)];
        return slot.key != nullptr ? &slot.value : nullptr;
    }
    V const* find(K const* key) const { return const_cast<AddressMapT*>(this)->find(key); }

    /// Removes key and its value; false when key was not filed.
    bool erase(K const* key)
    {
        if (m_count == 0 || key == nullptr) {
            return false;
        }
        std::size_t const mask = m_slots.size() - 1;
        std::size_t hole = slotOf(key);
        if (m_slots[hole].key == nullptr) {
            return false;
        }
        --m_count;
        // An entry after the hole moves into it unless its home lies cyclically in (hole, j]:
        // then the hole does not cut it off from its home.
        for (std::size_t j = (hole + 1) & mask; m_slots[j].key != nullptr; j = (j + 1) & mask) {
            std::size_t const h = home(m_slots[j].key);
            bool const homeAfterHole = hole <= j ? (hole < h && h <= j) : (hole < h || h <= j);
            if (!homeAfterHole) {
                m_slots[hole] = std::move(m_slots[j]);
                hole = j;
            }
        }
        m_slots[hole].key = nullptr;
        m_slots[hole].value = V{};
        return true;
    }

    /// Removes every entry and gives the table back.
    void clear()
    {
        decltype(m_slots)().swap(m_slots);
        m_count = 0;
        m_shift = 64;
    }

    /// Room for n keys without growing.
    void reserve(std::size_t n)
    {
        std::size_t capacity = m_slots.empty() ? MIN_CAPACITY : m_slots.size();
        while (n * 2 > capacity) {
            capacity *= 2;
        }
        if (capacity != m_slots.size()) {
            rehash(capacity);
        }
    }

    /// Starts loading the table line where key's probe sequence begins.
    void prefetch(K const* key) const
    {
        if (!m_slots.empty()) {
            prefetchLine(&m_slots[home(key)]);
        }
    }

private:
    static constexpr std::size_t MIN_CAPACITY = 16;

    struct Slot {
        K const* key = nullptr;
        V value{};
    };

    // Requires a non-empty table (m_shift < 64).
    std::size_t home(K const* key) const
    {
        // Fibonacci hashing: the high bits of the product depend on every address bit.
        return static_cast<std::size_t>((reinterpret_cast<std::uintptr_t>(key) * 0x9E3779B97F4A7C15ull) >> m_shift);
    }

    // The slot holding key, or the empty slot ending its probe sequence.
    std::size_t slotOf(K const* key) const
    {
        std::size_t const mask = m_slots.size() - 1;
        std::size_t i = home(key);
        while (m_slots[i].key != nullptr && m_slots[i].key != key) {
            i = (i + 1) & mask;
        }
        return i;
    }

    void rehash(std::size_t capacity)
    {
        decltype(m_slots) old;
        old.reserve(capacity);
        PageFaulter::faultInBackHalf(old.data(), capacity * sizeof(Slot));
        old.resize(capacity);
        old.swap(m_slots);
        unsigned bits = 0;
        while ((std::size_t(1) << bits) < capacity) {
            ++bits;
        }
        m_shift = 64 - bits;
        std::size_t const mask = capacity - 1;
        for (Slot& s : old) {
            if (s.key == nullptr) {
                continue;
            }
            std::size_t i = home(s.key);
            while (m_slots[i].key != nullptr) {
                i = (i + 1) & mask;
            }
            m_slots[i] = std::move(s);
        }
    }

    std::vector<Slot, LargeTableAllocatorT<Slot>> m_slots;
    std::size_t m_count = 0;
    unsigned m_shift = 64;
};

} // namespace tin::support
