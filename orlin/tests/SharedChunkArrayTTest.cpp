#include "orlin/core/SharedChunkArrayT.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

using tin::core::SharedChunkArrayT;

namespace {

// Eight elements a chunk, so that a few dozen elements cross many chunk boundaries.
using Small = SharedChunkArrayT<std::uint64_t, 64>;

template <class A, class T>
void expectSame(A const& array, std::vector<T> const& model)
{
    ASSERT_EQ(array.size(), model.size());
    for (std::size_t i = 0; i < model.size(); ++i) {
        ASSERT_EQ(array[i], model[i]) << "element " << i;
    }
    std::size_t seen = 0;
    array.forEachSpan([&](T const* data, std::size_t count) {
        for (std::size_t k = 0; k < count; ++k) {
            ASSERT_EQ(data[k], model[seen + k]);
        }
        seen += count;
    });
    EXPECT_EQ(seen, model.size());
}

// Copies of copies are written, grown and dropped at random; each must keep exactly what a
// plain vector given the same operations holds, whatever the others do.
TEST(SharedChunkArrayTTest, CopiesWrittenAtRandomStayIndependent)
{
    std::mt19937 random(5);
    std::vector<Small> arrays(1);
    std::vector<std::vector<std::uint64_t>> models(1);
    for (int i = 0; i < 37; ++i) {
        arrays[0].push_back(static_cast<std::uint64_t>(i));
        models[0].push_back(static_cast<std::uint64_t>(i));
    }
    for (int step = 0; step < 3000; ++step) {
        std::size_t const a = random() % arrays.size();
        switch (random() % 6) {
        case 0:
            if (arrays.size() < 6) {
                arrays.push_back(arrays[a]);
                models.push_back(models[a]);
            }
            break;
        case 1:
            if (arrays.size() > 1) {
                arrays.erase(arrays.begin() + static_cast<long>(a));
                models.erase(models.begin() + static_cast<long>(a));
            }
            break;
        case 2:
            arrays[a].push_back(static_cast<std::uint64_t>(step));
            models[a].push_back(static_cast<std::uint64_t>(step));
            break;
        case 3: {
            std::size_t const b = random() % arrays.size();
            arrays[a] = arrays[b];
            models[a] = models[b];
            break;
        }
        default:
            if (!models[a].empty()) {
                std::size_t const i = random() % models[a].size();
                arrays[a].mut(i) = 1000000u + static_cast<std::uint64_t>(step);
                models[a][i] = 1000000u + static_cast<std::uint64_t>(step);
            }
        }
        for (std::size_t k = 0; k < arrays.size(); ++k) {
            expectSame(arrays[k], models[k]);
        }
    }
}

TEST(SharedChunkArrayTTest, AssignOverContentsReplacesEveryChunk)
{
    Small array;
    for (std::uint64_t i = 0; i < 30; ++i) {
        array.push_back(i);
    }
    Small const kept = array;
    array.assign(12, 5u);
    expectSame(array, std::vector<std::uint64_t>(12, 5u));
    EXPECT_EQ(array.chunkCount(), 2u);
    EXPECT_EQ(array.sharedChunkCount(), 0u);
    std::vector<std::uint64_t> model;
    for (std::uint64_t i = 0; i < 30; ++i) {
        model.push_back(i);
    }
    expectSame(kept, model);
}

TEST(SharedChunkArrayTTest, WriteUnsharesOnlyItsChunk)
{
    Small source;
    source.assign(80, 7u); // ten chunks
    Small copy = source;
    EXPECT_EQ(source.sharedChunkCount(), 10u);
    copy.mut(41) = 9u;
    copy.mut(42) = 9u; // same chunk as 41
    EXPECT_EQ(copy.sharedChunkCount(), 9u);
    EXPECT_EQ(source.sharedChunkCount(), 9u);
    EXPECT_EQ(source[41], 7u);
    EXPECT_EQ(copy[41], 9u);
    source.mut(0) = 1u;
    EXPECT_EQ(copy.sharedChunkCount(), 8u);
    EXPECT_EQ(copy[0], 7u);
}

// Elements that own something: every clone and every release must keep the counts right,
// and the last array to go releases the objects.
TEST(SharedChunkArrayTTest, OwnedElementsAreReleasedOnceByTheLastHolder)
{
    using Owners = SharedChunkArrayT<std::shared_ptr<int>, 64>; // four per chunk
    auto object = std::make_shared<int>(3);
    {
        Owners first;
        for (int i = 0; i < 10; ++i) {
            first.push_back(object);
        }
        EXPECT_EQ(object.use_count(), 11);
        Owners second = first;
        EXPECT_EQ(object.use_count(), 11); // shared storage, no new references
        second.mut(5).reset();             // clones the chunk of four, then drops one
        EXPECT_EQ(object.use_count(), 14);
        Owners third = std::move(second);
        EXPECT_TRUE(second.empty());
        third.clear();
        EXPECT_EQ(object.use_count(), 11);
        first.assign(3, nullptr);
        EXPECT_EQ(object.use_count(), 1);
        EXPECT_EQ(first.size(), 3u);
        EXPECT_EQ(first.chunkCount(), 1u);
        EXPECT_EQ(first[2], nullptr);
    }
    EXPECT_EQ(object.use_count(), 1);
}

} // namespace
