#include "orlin/core/AddressPositionMap.h"

namespace tin::core {

namespace {
const std::size_t MIN_CAPACITY = 16;
}

std::size_t AddressPositionMap::slotOf(const void* key) const
{
    const std::size_t mask = m_entries.size() - 1;
    std::size_t i = home(key);
    while (m_entries[i].key && m_entries[i].key != key)
        i = (i + 1) & mask;
    return i;
}

std::size_t AddressPositionMap::find(const void* key) const
{
    if (m_size == 0 || !key)
        return NONE;
    const Entry& e = m_entries[slotOf(key)];
    return e.key ? e.position : NONE;
}

std::size_t AddressPositionMap::insert(const void* key, std::size_t position)
{
    if ((m_size + 1) * 2 > m_entries.size())
        rehash(m_entries.empty() ? MIN_CAPACITY : m_entries.size() * 2);
    Entry& e = m_entries[slotOf(key)];
    if (e.key)
        return e.position;
    e = Entry{key, position};
    ++m_size;
    return NONE;
}

void AddressPositionMap::assign(const void* key, std::size_t position)
{
    if (m_size == 0 || !key)
        return;
    Entry& e = m_entries[slotOf(key)];
    if (e.key)
        e.position = position;
}

bool AddressPositionMap::erase(const void* key)
{
    if (m_size == 0 || !key)
        return false;
    const std::size_t mask = m_entries.size() - 1;
    std::size_t hole = slotOf(key);
    if (!m_entries[hole].key)
        return false;
    m_entries[hole].key = nullptr;
    --m_size;
    // An entry after the hole moves into it unless its home lies cyclically in (hole, j]:
    // then the hole does not cut it off from its home.
    for (std::size_t j = (hole + 1) & mask; m_entries[j].key; j = (j + 1) & mask) {
        const std::size_t h = home(m_entries[j].key);
        const bool homeAfterHole = hole <= j ? (hole < h && h <= j) : (hole < h || h <= j);
        if (!homeAfterHole) {
            m_entries[hole] = m_entries[j];
            m_entries[j].key = nullptr;
            hole = j;
        }
    }
    return true;
}

void AddressPositionMap::clear()
{
    decltype(m_entries)().swap(m_entries);
    m_size = 0;
    m_shift = 64;
}

void AddressPositionMap::reserve(std::size_t entries)
{
    std::size_t capacity = m_entries.empty() ? MIN_CAPACITY : m_entries.size();
    while (entries * 2 > capacity)
        capacity *= 2;
    if (capacity != m_entries.size())
        rehash(capacity);
}

void AddressPositionMap::rehash(std::size_t capacity)
{
    decltype(m_entries) old(capacity, Entry{nullptr, 0});
    old.swap(m_entries);
    unsigned bits = 0;
    while ((std::size_t(1) << bits) < capacity)
        ++bits;
    m_shift = 64 - bits;
    const std::size_t mask = capacity - 1;
    for (const Entry& e : old) {
        if (!e.key)
            continue;
        std::size_t i = home(e.key);
        while (m_entries[i].key)
            i = (i + 1) & mask;
        m_entries[i] = e;
    }
}

} // namespace tin::core
