#pragma once

#include <cstdint>
#include <cstring>

namespace tin::core {

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

/// The bits of a coordinate as a hash key. -0.0 is folded onto 0.0 first: the two compare
/// equal, and a key that hashed them apart would let one position be stored twice.
inline std::uint64_t coordinateBits(double v)
{
    v += 0.0;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

} // namespace tin::core
