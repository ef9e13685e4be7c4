#ifndef TRIANGLECUI_EDGEMARKERTABLE_H
#define TRIANGLECUI_EDGEMARKERTABLE_H

#include "orlin/support/HugePageAllocatorT.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace trianglecui {

// Markers of mesh edges, found by the edge's two vertex indices in either order; the first marker
// given for an edge stays. Open addressing with linear probing in a power-of-two table kept at
// most half full, so a lookup is one cache miss where a node-based map takes two or three.
// Indices are non-negative ints.
class EdgeMarkerTable
{
public:
    bool empty() const { return size_ == 0; }

    void reserve(std::size_t count)
    {
        std::size_t capacity = 16;
        while (capacity < 2 * count)
            capacity *= 2;
        if (capacity > slots_.size())
            rehash(capacity);
    }

    // Returns false (and keeps the marker there) when the edge has one already.
    bool insert(int a, int b, int marker)
    {
        if (2 * (size_ + 1) > slots_.size())
            rehash(slots_.empty() ? 16 : 2 * slots_.size());
        std::uint64_t const key = keyOf(a, b);
        for (std::size_t i = slotOf(key);; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (slot.key == key)
                return false;
            if (slot.key == EMPTY) {
                slot.key = key;
                slot.marker = marker;
                ++size_;
                return true;
            }
        }
    }

    // The edge's marker, or otherwise when it has none.
    int find(int a, int b, int otherwise) const
    {
        if (size_ == 0)
            return otherwise;
        std::uint64_t const key = keyOf(a, b);
        for (std::size_t i = slotOf(key);; i = (i + 1) & mask_) {
            Slot const& slot = slots_[i];
            if (slot.key == key)
                return slot.marker;
            if (slot.key == EMPTY)
                return otherwise;
        }
    }

private:
    struct Slot
    {
        std::uint64_t key;
        int marker;
    };

    static constexpr std::uint64_t EMPTY = ~std::uint64_t(0);

    static std::uint64_t keyOf(int a, int b)
    {
        if (a > b)
            std::swap(a, b);
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32)
               | static_cast<std::uint32_t>(b);
    }

    std::size_t slotOf(std::uint64_t key) const
    {
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & mask_;
    }

    void rehash(std::size_t capacity)
    {
        std::vector<Slot, tin::support::HugePageAllocatorT<Slot>> old(capacity, Slot{EMPTY, 0});
        old.swap(slots_);
        mask_ = capacity - 1;
        size_ = 0;
        for (Slot const& slot : old) {
            if (slot.key != EMPTY) {
                for (std::size_t i = slotOf(slot.key);; i = (i + 1) & mask_) {
                    if (slots_[i].key == EMPTY) {
                        slots_[i] = slot;
                        ++size_;
                        break;
                    }
                }
            }
        }
    }

    std::vector<Slot, tin::support::HugePageAllocatorT<Slot>> slots_;
    std::size_t mask_ = 0;
    std::size_t size_ = 0;
};

} // namespace trianglecui

#endif
