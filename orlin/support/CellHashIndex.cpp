#include "orlin/support/CellHashIndex.h"

#include "orlin/support/PageFaulter.h"

#include <algorithm>
#include <cmath>

namespace tin::support {

// Points closer than this share a cell; a tolerance-sized query box then touches one
// cell in almost every case, and four at most.
const double CellHashIndex::CELL_SIZE = 1e-5;
const double CellHashIndex::ITEM_HALF_EXTENT = 1e-8;

namespace {
const std::size_t MIN_CAPACITY = 16;
}

void CellHashIndex::place(Entry e)
{
    const std::size_t mask = m_entries.size() - 1;
    std::size_t i = e.tag & mask;
    while (m_entries[i].tag != EMPTY_TAG)
        i = (i + 1) & mask;
    m_entries[i] = e;
}

void CellHashIndex::rehash(std::size_t capacity)
{
    std::vector<Entry, LargeTableAllocatorT<Entry>> old;
    old.reserve(capacity);
    PageFaulter::faultInBackHalf(old.data(), capacity * sizeof(Entry));
    old.assign(capacity, Entry{0, EMPTY_TAG});
    old.swap(m_entries);
    for (const Entry& e : old) {
        if (e.tag != EMPTY_TAG)
            place(e);
    }
}

void CellHashIndex::reserve(std::size_t entries)
{
    std::size_t capacity = m_entries.empty() ? MIN_CAPACITY : m_entries.size();
    while (entries * 10 > capacity * 7)
        capacity *= 2;
    if (capacity != m_entries.size())
        rehash(capacity);
}

void CellHashIndex::insert(std::uint32_t slot, double x, double y)
{
    if (std::isnan(x) || std::isnan(y))
        return;
    if ((m_size + 1) * 10 > m_entries.size() * 7)
        rehash(m_entries.empty() ? MIN_CAPACITY : m_entries.size() * 2);
    place(Entry{slot, tagOf(x, y)});
    ++m_size;
}

bool CellHashIndex::remove(std::uint32_t slot, double x, double y)
{
    if (m_size == 0 || std::isnan(x) || std::isnan(y))
        return false;
    const std::uint32_t tag = tagOf(x, y);
    const std::size_t mask = m_entries.size() - 1;
    std::size_t hole = tag & mask;
    for (; m_entries[hole].tag != EMPTY_TAG; hole = (hole + 1) & mask) {
        if (m_entries[hole].tag == tag && m_entries[hole].slot == slot)
            break;
    }
    if (m_entries[hole].tag == EMPTY_TAG)
        return false;
    // Backward-shift deletion: the cluster after the hole stays reachable from every
    // entry's home without tombstones.
    m_entries[hole].tag = EMPTY_TAG;
    --m_size;
    for (std::size_t j = (hole + 1) & mask; m_entries[j].tag != EMPTY_TAG; j = (j + 1) & mask) {
        const std::size_t home = m_entries[j].tag & mask;
        // The entry may fill the hole unless its home lies cyclically in (hole, j].
        const bool homeAfterHole = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
        if (!homeAfterHole) {
            m_entries[hole] = m_entries[j];
            m_entries[j].tag = EMPTY_TAG;
            hole = j;
        }
    }
    if (m_entries.size() > MIN_CAPACITY && m_size * 8 < m_entries.size())
        rehash(m_entries.size() / 2);
    return true;
}

void CellHashIndex::clearKeepingCapacity()
{
    std::fill(m_entries.begin(), m_entries.end(), Entry{0, EMPTY_TAG});
    m_size = 0;
}

void CellHashIndex::clear()
{
    decltype(m_entries)().swap(m_entries);
    m_size = 0;
}

} // namespace tin::support
