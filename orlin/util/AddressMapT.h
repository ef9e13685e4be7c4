#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "orlin/core/LargeTableAllocatorT.h"

namespace tin::util {

/// A map from object addresses to values, for the per-edge bookkeeping of an overlay (which TIN
/// edge an overlay edge lies on, how much of an edge its sub-edges cover): open addressing with
/// linear probing over a power-of-two table at most three quarters full, the key beside the
/// value, so a look-up is one probe sequence in one array and an insertion allocates nothing
/// but the occasional doubling. Null is not a key. Entries are never removed; iteration is not
/// offered (the order would mean nothing). Values must be default-constructible and movable.
/// References to values stay valid until the next insertion of a new key.
template <typename K, typename V>
class AddressMapT {
public:
    /// The value under key, default-constructed on first use.
    V& operator[](K const* key)
    {
        if ((m_count + 1) * 4 > m_slots.size() * 3) {
            grow();
        }
        std::size_t const mask = m_slots.size() - 1;
        for (std::size_t i = slotOf(key) & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (slot.key == key) {
                return slot.value;
            }
            if (slot.key == nullptr) {
                slot.key = key;
                ++m_count;
                return slot.value;
            }
        }
    }

    /// The value under key, or null.
    V const* find(K const* key) const
    {
        if (m_count == 0 || key == nullptr) {
            return nullptr;
        }
        std::size_t const mask = m_slots.size() - 1;
        for (std::size_t i = slotOf(key) & mask;; i = (i + 1) & mask) {
            Slot const& slot = m_slots[i];
            if (slot.key == key) {
                return &slot.value;
            }
            if (slot.key == nullptr) {
                return nullptr;
            }
        }
    }

    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }

    /// Room for n keys without growing.
    void reserve(std::size_t n)
    {
        std::size_t capacity = 64;
        while (capacity * 3 < n * 4) {
            capacity *= 2;
        }
        if (capacity > m_slots.size()) {
            rehash(capacity);
        }
    }

private:
    struct Slot {
        K const* key = nullptr;
        V value{};
    };

    static std::size_t slotOf(K const* key)
    {
        std::uint64_t h = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key));
        h *= 0x9E3779B97F4A7C15ull;
        h ^= h >> 32;
        return static_cast<std::size_t>(h);
    }

    void grow() { rehash(m_slots.empty() ? 64 : m_slots.size() * 2); }

    void rehash(std::size_t capacity)
    {
        std::vector<Slot, core::LargeTableAllocatorT<Slot>> old(capacity);
        old.swap(m_slots);
        std::size_t const mask = m_slots.size() - 1;
        for (Slot& s : old) {
            if (s.key == nullptr) {
                continue;
            }
            std::size_t i = slotOf(s.key) & mask;
            while (m_slots[i].key != nullptr) {
                i = (i + 1) & mask;
            }
            m_slots[i] = std::move(s);
        }
    }

    std::vector<Slot, core::LargeTableAllocatorT<Slot>> m_slots;
    std::size_t m_count = 0;
};

} // namespace tin::util
