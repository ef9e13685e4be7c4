#pragma once

#include "orlin/support/LargeTableAllocatorT.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace tin::support {

/**
 * The slot array of an interning table keyed by value: open addressing with linear probing
 * over a power-of-two table at most three quarters full, each key kept inside its slot so
 * that a probe compares without following a pointer. Shared by the tables that intern
 * edges by their end points and points by their coordinates, which differ only in what a
 * slot holds and how it is hashed.
 *
 * Traits supplies `static std::size_t hashOf(const Slot&)` (the hash of the key a full slot
 * holds, the one passed to find() and claim() for that key) and `static bool
 * occupied(const Slot&)`. Slot must be default-constructible (empty) and movable. Entries
 * are never removed. Pointers to slots stay valid until the next claim(), reserve() or
 * rehash(). Tables of 2 MiB and more live in huge pages (LargeTableAllocatorT).
 */
template <class Slot, class Traits>
class LinearProbingTableT {
public:
    /// Full slots.
    std::size_t size() const { return m_count; }
    /// Every slot, full or empty, for a scan in table order.
    const std::vector<Slot, LargeTableAllocatorT<Slot>>& slotArray() const { return m_slots; }

    /// The full slot for which matches(slot) holds on the probe sequence of hash, or null.
    template <class Match>
    const Slot* find(std::size_t hash, Match matches) const
    {
        if (m_slots.empty()) {
            return nullptr;
        }
        std::size_t const mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot const& slot = m_slots[i];
            if (!Traits::occupied(slot)) {
                return nullptr;
            }
            if (matches(slot)) {
                return &slot;
            }
        }
    }

    /// The full slot that matches on the probe sequence of hash, and false; or else the
    /// empty slot ending it, counted as full from now on, and true: the caller fills it with
    /// the key of hash before the next call.
    template <class Match>
    std::pair<Slot*, bool> claim(std::size_t hash, Match matches)
    {
        if ((m_count + 1) * 4 > m_slots.size() * 3) {
            rehash(std::max<std::size_t>(MIN_CAPACITY, m_slots.size() * 2));
        }
        std::size_t const mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (!Traits::occupied(slot)) {
                ++m_count;
                return {&slot, true};
            }
            if (matches(slot)) {
                return {&slot, false};
            }
        }
    }

    /// Room for n entries without growing.
    void reserve(std::size_t n)
    {
        std::size_t capacity = MIN_CAPACITY;
        while (capacity * 3 < n * 4) {
            capacity *= 2;
        }
        if (capacity > m_slots.size()) {
            rehash(capacity);
        }
    }

private:
    static constexpr std::size_t MIN_CAPACITY = 64;

    void rehash(std::size_t capacity)
    {
        std::vector<Slot, LargeTableAllocatorT<Slot>> old(capacity);
        old.swap(m_slots);
        std::size_t const mask = m_slots.size() - 1;
        for (Slot& s : old) {
            if (!Traits::occupied(s)) {
                continue;
            }
            std::size_t i = Traits::hashOf(s) & mask;
            while (Traits::occupied(m_slots[i])) {
                i = (i + 1) & mask;
            }
            m_slots[i] = std::move(s);
        }
    }

    std::vector<Slot, LargeTableAllocatorT<Slot>> m_slots;
    std::size_t m_count = 0;
};

} // namespace tin::support
