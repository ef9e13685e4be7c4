#include "orlin/core/TriangleSet.h"

#include "orlin/support/HashMix.h"

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

namespace {

constexpr std::uint64_t EMPTY = 0xffffffffffffffffULL;

std::uint64_t entry(std::uint32_t record, std::uint32_t fingerprint)
{
    return (static_cast<std::uint64_t>(fingerprint) << 32) | record;
}

std::uint32_t recordIn(std::uint64_t entry)
{
    return static_cast<std::uint32_t>(entry);
}

std::uint32_t fingerprintIn(std::uint64_t entry)
{
    return static_cast<std::uint32_t>(entry >> 32);
}

} // namespace

std::uint32_t TriangleSet::fingerprintOf(Triangle const* triangle)
{
    // Triangles made one after the other get neighbouring slots (see support::addressHash); the low
    // 32 bits are the home slot (table sizes stay below 2^32).
    return static_cast<std::uint32_t>(support::addressHash(triangle));
}

std::uint32_t TriangleSet::recordOf(Triangle const* triangle) const
{
    if (m_table.empty() || triangle == nullptr) {
        return NIL;
    }
    std::uint32_t const fingerprint = fingerprintOf(triangle);
    std::size_t const mask = m_table.size() - 1;
    for (std::size_t i = fingerprint & mask;; i = (i + 1) & mask) {
        std::uint64_t const e = m_table[i];
        if (e == EMPTY) {
            return NIL;
        }
        if (fingerprintIn(e) == fingerprint && m_records[recordIn(e)].get() == triangle) {
            return recordIn(e);
        }
    }
}

void TriangleSet::grow()
{
    rehash(m_table.empty() ? MIN_TABLE : m_table.size() * 2);
}

void TriangleSet::reserve(std::size_t count)
{
    std::size_t size = m_table.empty() ? MIN_TABLE : m_table.size();
    while (count * 4 > size * 3) {
        size *= 2;
    }
    if (size != m_table.size()) {
        rehash(size);
    }
}

void TriangleSet::rehash(std::size_t size)
{
    Table old;
    old.swap(m_table);
    m_table.assign(size, EMPTY);
    std::size_t const mask = m_table.size() - 1;
    old.forEachSpan([&](std::uint64_t const* entries, std::size_t count) {
        for (std::size_t k = 0; k < count; ++k) {
            std::uint64_t const e = entries[k];
            if (e != EMPTY) {
                std::size_t i = fingerprintIn(e) & mask;
                while (m_table[i] != EMPTY) {
                    i = (i + 1) & mask;
                }
                m_table.mut(i) = e;
            }
        }
    });
}

std::size_t TriangleSet::slotFor(Triangle const* triangle, std::uint32_t fingerprint, bool& held)
{
    if ((m_size + 1) * 4 > m_table.size() * 3) {
        grow();
    }
    std::size_t const mask = m_table.size() - 1;
    std::size_t i = fingerprint & mask;
    for (; m_table[i] != EMPTY; i = (i + 1) & mask) {
        std::uint64_t const e = m_table[i];
        if (fingerprintIn(e) == fingerprint && m_records[recordIn(e)].get() == triangle) {
            held = true;
            return i;
        }
    }
    held = false;
    return i;
}

std::shared_ptr<Triangle>& TriangleSet::fill(std::size_t slot, std::uint32_t fingerprint, std::uint32_t record)
{
    std::shared_ptr<Triangle>& stored = m_records.mut(record);
    m_table.mut(slot) = entry(record, fingerprint);
    ++m_size;
    return stored;
}

namespace {

void checkRecordCount(std::size_t records)
{
    if (records >= 0xffffffffu / 3) {
        throw std::length_error("Too many triangles for one TIN");
    }
}

} // namespace

std::uint32_t TriangleSet::insert(std::shared_ptr<Triangle> const& triangle, bool& inserted)
{
    std::uint32_t const fingerprint = fingerprintOf(triangle.get());
    bool held = false;
    std::size_t const slot = slotFor(triangle.get(), fingerprint, held);
    if (held) {
        inserted = false;
        return recordIn(m_table[slot]);
    }
    std::uint32_t record;
    if (m_freeHead != NIL) {
        record = m_freeHead;
        m_freeHead = m_links[VERTEX_LISTS].links[record].next[0];
    } else {
        checkRecordCount(m_records.size());
        record = static_cast<std::uint32_t>(m_records.size());
        m_records.push_back(nullptr);
        for (Family& family : m_links) {
            family.links.push_back(Links());
        }
    }
    for (Family& family : m_links) {
        family.links.mut(record) = Links{{NIL, NIL, NIL}};
    }
    fill(slot, fingerprint, record) = triangle;
    inserted = true;
    return record;
}

void TriangleSet::beginUnlinked(std::size_t count)
{
    m_taken.clear();
    m_reused = 0;
    while (m_freeHead != NIL && m_taken.size() < count) {
        m_taken.push_back(m_freeHead);
        m_freeHead = m_links[VERTEX_LISTS].links[m_freeHead].next[0];
    }
}

std::uint32_t TriangleSet::placeUnlinked(Triangle const* triangle, bool& inserted, std::shared_ptr<Triangle>*& store)
{
    std::uint32_t const fingerprint = fingerprintOf(triangle);
    bool held = false;
    std::size_t const slot = slotFor(triangle, fingerprint, held);
    if (held) {
        inserted = false;
        return recordIn(m_table[slot]);
    }
    std::uint32_t record;
    if (m_reused < m_taken.size()) {
        record = m_taken[m_reused];
    } else {
        checkRecordCount(m_records.size());
        record = static_cast<std::uint32_t>(m_records.size());
        m_records.push_back(nullptr);
    }
    store = &fill(slot, fingerprint, record);
    if (m_reused < m_taken.size()) {
        ++m_reused;
    }
    inserted = true;
    return record;
}

std::uint32_t TriangleSet::insertUnlinked(std::shared_ptr<Triangle> const& triangle, bool& inserted)
{
    std::shared_ptr<Triangle>* store = nullptr;
    std::uint32_t const record = placeUnlinked(triangle.get(), inserted, store);
    if (inserted) {
        *store = triangle;
    }
    return record;
}

std::uint32_t TriangleSet::insertUnlinked(std::shared_ptr<Triangle>&& triangle, bool& inserted)
{
    std::shared_ptr<Triangle>* store = nullptr;
    std::uint32_t const record = placeUnlinked(triangle.get(), inserted, store);
    if (inserted) {
        *store = std::move(triangle);
    }
    return record;
}

void TriangleSet::endUnlinked()
{
    // Pushed back last first, so that they come off the list again in the order taken.
    while (m_taken.size() > m_reused) {
        std::uint32_t const record = m_taken.back();
        m_taken.pop_back();
        m_links[VERTEX_LISTS].links.mut(record).next[0] = m_freeHead;
        m_freeHead = record;
    }
    m_taken.clear();
    m_taken.shrink_to_fit();
    m_reused = 0;
}

void TriangleSet::erase(std::uint32_t record)
{
    std::size_t const mask = m_table.size() - 1;
    std::size_t hole = fingerprintOf(m_records[record].get()) & mask;
    while (recordIn(m_table[hole]) != record) {
        hole = (hole + 1) & mask;
    }
    // Backward-shift deletion: pull later members of the probe run into the hole, so that
    // removals leave no tombstones and long remove/add sequences keep probes short.
    for (std::size_t j = (hole + 1) & mask; m_table[j] != EMPTY; j = (j + 1) & mask) {
        std::size_t const home = fingerprintIn(m_table[j]) & mask;
        bool const movable = hole <= j ? (home <= hole || home > j) : (home <= hole && home > j);
        if (movable) {
            std::uint64_t const moved = m_table[j];
            m_table.mut(hole) = moved;
            hole = j;
        }
    }
    m_table.mut(hole) = EMPTY;
    m_records.mut(record).reset();
    m_links[VERTEX_LISTS].links.mut(record).next[0] = m_freeHead;
    m_freeHead = record;
    --m_size;
}

void TriangleSet::clear()
{
    m_records.clear();
    for (Family& family : m_links) {
        family.links.clear();
    }
    m_table.clear();
    m_freeHead = NIL;
    m_size = 0;
}

} // namespace tin::core
