#include "orlin/support/AlignedMapping.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include <sys/mman.h>

using tin::support::AlignedMapping;

namespace {

bool aligned(const void* p)
{
    return reinterpret_cast<std::uintptr_t>(p) % AlignedMapping::ALIGNMENT == 0;
}

} // namespace

TEST(AlignedMappingTest, AccessibleMappingIsAlignedAndWritableToItsLastByte)
{
    const std::size_t length = 3 * AlignedMapping::ALIGNMENT;
    for (int i = 0; i < 4; ++i) { // several in a row: mmap's own placement varies
        auto* p = static_cast<unsigned char*>(AlignedMapping::map(length, true));
        ASSERT_NE(p, nullptr);
        EXPECT_TRUE(aligned(p));
        EXPECT_EQ(p[0], 0); // fresh anonymous memory reads zero
        std::memset(p, 0x5a, length);
        EXPECT_EQ(p[length - 1], 0x5a);
        // The slack was cut off exactly: the mapping ends at length (munmap of a range
        // partly unmapped succeeds too, so mincore is the witness: it fails on holes).
        unsigned char residency = 0;
        EXPECT_NE(mincore(p + length, 4096, &residency), 0);
        EXPECT_EQ(munmap(p, length), 0);
    }
}

TEST(AlignedMappingTest, ReservationIsAlignedAndOpensBlockByBlock)
{
    const std::size_t length = 64 * AlignedMapping::ALIGNMENT;
    auto* p = static_cast<unsigned char*>(AlignedMapping::map(length, false));
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(aligned(p));
    unsigned char residency = 0;
    EXPECT_EQ(mincore(p + length - 4096, 4096, &residency), 0); // reserved to its end
    ASSERT_EQ(mprotect(p + AlignedMapping::ALIGNMENT, AlignedMapping::ALIGNMENT, PROT_READ | PROT_WRITE), 0);
    p[AlignedMapping::ALIGNMENT] = 1;
    p[2 * AlignedMapping::ALIGNMENT - 1] = 2;
    EXPECT_EQ(p[AlignedMapping::ALIGNMENT] + p[2 * AlignedMapping::ALIGNMENT - 1], 3);
    EXPECT_EQ(munmap(p, length), 0);
}
