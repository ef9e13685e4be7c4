#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tin::support {

/// Hash mixing shared by the library's open-addressing tables.
///
/// The tables take their home slot from the low bits of a hash and, some of them, a tag or
/// fingerprint from the high bits; keys that lie close together (neighbouring cells, points
/// made one after the other, survey coordinates on a millimetre grid) differ in a few middle
/// bits only. The mix lets every bit of both words reach every bit of the result.

/// A 64-bit mix of two words (multiply, xor, then a 64-bit finaliser).
inline std::uint64_t mixWords(std::uint64_t a, std::uint64_t b)
{
    std::uint64_t h = a * 0x9E3779B97F4A7C15ull;
    h ^= b;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return h;
}

/// Hash of an object's address that keeps objects made together in neighbouring slots.
///
/// Points, edges and triangles come from `FixedSizePool` in the order they are made, and a
/// TIN is mostly built, walked and edited in that order; a plain mix of the whole address
/// scatters such neighbours over the table, one cache miss each. Here only the address's
/// group (ADDRESS_GROUP_BYTES of memory) is mixed, and the object's place inside the group
/// is added: the objects of one group take a run of neighbouring home slots, one slot per
/// ADDRESS_SLOT_BYTES, so consecutive objects share the table's cache lines and pages.
/// Groups stay small (a run of 8 slots) because the runs of different groups land at
/// random and overlap: longer runs make linear probing clusters longer, and a table of keys
/// taken in random order pays that without the locality gain. Keys smaller than
/// ADDRESS_SLOT_BYTES share home slots; the tables keyed this way hold objects of 64 bytes
/// or more.
constexpr unsigned ADDRESS_GROUP_SHIFT = 9;
constexpr unsigned ADDRESS_SLOT_SHIFT = 6;
constexpr std::size_t ADDRESS_GROUP_BYTES = std::size_t(1) << ADDRESS_GROUP_SHIFT;
constexpr std::size_t ADDRESS_SLOT_BYTES = std::size_t(1) << ADDRESS_SLOT_SHIFT;
constexpr std::uint64_t ADDRESS_GROUP_SLOTS = std::uint64_t(1) << (ADDRESS_GROUP_SHIFT - ADDRESS_SLOT_SHIFT);

inline std::uint64_t addressHash(void const* object)
{
    auto const a = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(object));
    return mixWords(a >> ADDRESS_GROUP_SHIFT, 0) + ((a >> ADDRESS_SLOT_SHIFT) & (ADDRESS_GROUP_SLOTS - 1));
}

/// The bits of a coordinate as a hash key. -0.0 is folded onto 0.0 first: the two compare
/// equal, and a key that hashed them apart would let one position be stored twice.
inline std::uint64_t coordinateBits(double v)
{
    v += 0.0;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

} // namespace tin::support
