#pragma once

#include <memory>
#include <unordered_set>
#include <vector>

namespace tin::util {

/// Collects shared objects once each, by identity, in the order first met, so that every run
/// over the same collection sees the same order (triangulator input numbering depends on it).
/// Null items are ignored. Holds a reference to each item; O(1) expected per insert.
template <typename T>
class UniqueListT {
public:
    void insert(std::shared_ptr<T> const& item)
    {
        if (item && m_seen.insert(item.get()).second) {
            m_items.push_back(item);
        }
    }
    std::vector<std::shared_ptr<T>> const& items() const { return m_items; }

private:
    std::vector<std::shared_ptr<T>> m_items;
    std::unordered_set<T const*> m_seen;
};

} // namespace tin::util
