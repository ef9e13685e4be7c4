#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "orlin/support/AddressMapT.h"

namespace tin::util {

/// Collects shared objects once each, by identity, in the order first met, so that every run
/// over the same collection sees the same order (triangulator input numbering depends on it).
/// Null items are ignored. Holds a reference to each item; O(1) expected per insert, with no
/// allocation per item.
template <typename T>
class UniqueListT {
public:
    /// True when item is new (and now listed).
    bool insert(std::shared_ptr<T> const& item)
    {
        if (item && m_seen.insert(item.get(), true).second) {
            m_items.push_back(item);
            return true;
        }
        return false;
    }

    /// Room for n items without growing.
    void reserve(std::size_t n)
    {
        m_items.reserve(n);
        m_seen.reserve(n);
    }
    std::vector<std::shared_ptr<T>> const& items() const { return m_items; }

private:
    std::vector<std::shared_ptr<T>> m_items;
    // A flat address table: no node allocated per item.
    support::AddressMapT<T, bool> m_seen;
};

} // namespace tin::util
