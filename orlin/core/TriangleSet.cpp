#include "orlin/core/TriangleSet.h"

#include <stdexcept>

namespace tin::core {

namespace {

// The table's size is a power of two; at most three quarters of it are used, which keeps
// linear probing short.
constexpr std::size_t MIN_TABLE = 16;

} // namespace

TriangleSet::const_iterator TriangleSet::find(Triangle const* triangle) const
{
    std::uint32_t const record = recordOf(triangle);
    return record == NIL ? end() : const_iterator(&m_records, record);
}

std::size_t TriangleSet::homeOf(Triangle const* triangle) const
{
    // Addresses share their low bits (alignment) and often their high bits; a 64-bit mix
    // spreads both over the table.
    std::uint64_t h = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(triangle));
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return static_cast<std::size_t>(h) & (m_table.size() - 1);
}

std::uint32_t TriangleSet::recordOf(Triangle const* triangle) const
{
    if (m_table.empty() || triangle == nullptr) {
        return NIL;
    }
    std::size_t const mask = m_table.size() - 1;
    for (std::size_t i = homeOf(triangle);; i = (i + 1) & mask) {
        std::uint32_t const record = m_table[i];
        if (record == NIL) {
            return NIL;
        }
        if (m_records[record].triangle.get() == triangle) {
            return record;
        }
    }
}

void TriangleSet::place(std::uint32_t record)
{
    std::size_t const mask = m_table.size() - 1;
    std::size_t i = homeOf(m_records[record].triangle.get());
    while (m_table[i] != NIL) {
        i = (i + 1) & mask;
    }
    m_table[i] = record;
}

void TriangleSet::grow()
{
    std::size_t const size = m_table.empty() ? MIN_TABLE : m_table.size() * 2;
    m_table.assign(size, NIL);
    for (std::size_t r = 0; r < m_records.size(); ++r) {
        if (m_records[r].triangle) {
            place(static_cast<std::uint32_t>(r));
        }
    }
}

std::uint32_t TriangleSet::insert(std::shared_ptr<Triangle> const& triangle, bool& inserted)
{
    std::uint32_t const existing = recordOf(triangle.get());
    if (existing != NIL) {
        inserted = false;
        return existing;
    }
    if ((m_size + 1) * 4 > m_table.size() * 3) {
        grow();
    }
    std::uint32_t record;
    if (m_freeHead != NIL) {
        record = m_freeHead;
        m_freeHead = m_records[record].next[0];
    } else {
        if (m_records.size() >= NIL / 3) {
            throw std::length_error("Too many triangles for one TIN");
        }
        record = static_cast<std::uint32_t>(m_records.size());
        m_records.emplace_back();
    }
    Record& r = m_records[record];
    r.triangle = triangle;
    for (std::uint32_t& link : r.next) {
        link = NIL;
    }
    place(record);
    ++m_size;
    inserted = true;
    return record;
}

void TriangleSet::erase(std::uint32_t record)
{
    std::size_t const mask = m_table.size() - 1;
    std::size_t hole = homeOf(m_records[record].triangle.get());
    while (m_table[hole] != record) {
        hole = (hole + 1) & mask;
    }
    // Backward-shift deletion: pull later members of the probe run into the hole, so that
    // removals leave no tombstones and long remove/add sequences keep probes short.
    for (std::size_t j = (hole + 1) & mask; m_table[j] != NIL; j = (j + 1) & mask) {
        std::size_t const home = homeOf(m_records[m_table[j]].triangle.get());
        bool const movable = hole <= j ? (home <= hole || home > j) : (home <= hole && home > j);
        if (movable) {
            m_table[hole] = m_table[j];
            hole = j;
        }
    }
    m_table[hole] = NIL;
    m_records[record].triangle.reset();
    m_records[record].next[0] = m_freeHead;
    m_freeHead = record;
    --m_size;
}

void TriangleSet::clear()
{
    std::vector<Record>().swap(m_records);
    std::vector<std::uint32_t>().swap(m_table);
    m_freeHead = NIL;
    m_size = 0;
}

} // namespace tin::core
