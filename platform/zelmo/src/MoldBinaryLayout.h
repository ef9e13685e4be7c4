#pragma once

// Byte layout shared by the mold exporter and importer; not installed with the public headers.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace mold {
namespace io {
namespace layout {

constexpr const char* kTitle = "Mold binary file";
constexpr const char* kVersion = "v0.1";

// After the header: int32 edit type, float64 baseL, float64 baseH, int32 count.
constexpr std::size_t kFixedBytes = 4 + 8 + 8 + 4;
constexpr std::size_t kPointBytes = 8 + 8;

// The layout is little-endian on every host, whatever byte order the caller's stream uses,
// so values go through these instead of the stream's own operators.
inline void putInt32(char* out, std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<char>((u >> (8 * i)) & 0xFFu);
    }
}

inline std::int32_t getInt32(const char* in)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) {
        u |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    }
    return static_cast<std::int32_t>(u);
}

inline void putFloat64(char* out, double value)
{
    std::uint64_t u = 0;
    static_assert(sizeof u == sizeof value, "float64 must be 8 bytes");
    std::memcpy(&u, &value, sizeof u);
    for (int i = 0; i < 8; ++i) {
        out[i] = static_cast<char>((u >> (8 * i)) & 0xFFu);
    }
}

inline double getFloat64(const char* in)
{
    std::uint64_t u = 0;
    for (int i = 0; i < 8; ++i) {
        u |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    }
    double value = 0.0;
    std::memcpy(&value, &u, sizeof value);
    return value;
}

/// The exact header bytes that FileUtil writes for a mold.
std::string headerBytes();

} // namespace layout
} // namespace io
} // namespace mold
