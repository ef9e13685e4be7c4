#include "orlin/support/SharedChunkArrayT.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <numeric>
#include <random>
#include <set>
#include <thread>
#include <vector>

using tin::support::SharedChunkArrayT;
using tin::support::SharedPagePool;

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

// Arrays in the library's own chunk size, pages of 4 KiB.
using Table = SharedChunkArrayT<std::uint64_t>;

// 24 bytes: a page holds 170 of them and 16 bytes of slack, so chunk boundaries fall
// inside no power of two.
struct Triple {
    std::uint64_t a = 0, b = 0, c = 0;
    bool operator==(Triple const& o) const { return a == o.a && b == o.b && c == o.c; }
};

std::size_t livePages()
{
    return SharedPagePool::of(4096).pageCount();
}

// A copy is edited where the source is not and the other way round, over an array of
// several slabs; each must match its own model everywhere.
TEST(SharedChunkArrayTTest, CopyAndSourceEditedApartMatchTheirModels)
{
    std::size_t const n = 700000; // 1,368 pages over three slabs
    std::vector<std::uint64_t> model(n);
    std::iota(model.begin(), model.end(), 0u);
    Table source;
    for (std::uint64_t v : model) {
        source.push_back(v);
    }
    Table copy = source;
    std::vector<std::uint64_t> copyModel = model;
    std::mt19937 random(11);
    for (int k = 0; k < 2000; ++k) {
        std::size_t const i = random() % n;
        if (k % 2 == 0) {
            source.mut(i) = 3000000u + k;
            model[i] = 3000000u + k;
        } else {
            copy.mut(i) = 5000000u + k;
            copyModel[i] = 5000000u + k;
        }
    }
    expectSame(source, model);
    expectSame(copy, copyModel);
}

// The point of small chunks: the first edit of a copy clones exactly the pages it writes
// and leaves every other page shared.
TEST(SharedChunkArrayTTest, FirstEditOfACopyClonesOnlyThePagesItWrites)
{
    Table source;
    source.assign(std::size_t(1) << 20, 7u); // 2,048 pages
    std::size_t const before = livePages();
    Table copy = source;
    EXPECT_EQ(livePages(), before);
    EXPECT_EQ(copy.sharedChunkCount(), copy.chunkCount());
    std::mt19937 random(3);
    std::set<std::size_t> written;
    for (int k = 0; k < 300; ++k) {
        std::size_t const i = random() % source.size();
        copy.mut(i) = 9u;
        written.insert(i / Table::CHUNK);
    }
    EXPECT_EQ(livePages(), before + written.size());
    EXPECT_EQ(copy.sharedChunkCount(), copy.chunkCount() - written.size());
    EXPECT_EQ(source.sharedChunkCount(), source.chunkCount() - written.size());
    // Once the source is gone, the copy holds its pages alone: writing clones nothing.
    source.clear();
    EXPECT_EQ(copy.sharedChunkCount(), 0u);
    std::size_t const alone = livePages();
    for (std::size_t i = 0; i < copy.size(); i += Table::CHUNK) {
        copy.mut(i) = 1u;
    }
    EXPECT_EQ(livePages(), alone);
}

// Many copies, each written on both sides of a chunk boundary of its own, then dropped in
// an interleaved order: every survivor keeps its values, and the last holder frees all.
TEST(SharedChunkArrayTTest, ManyCopiesKeepTheirEditsWhateverOrderTheyDieIn)
{
    using Triples = SharedChunkArrayT<Triple>;
    std::size_t const chunk = Triples::CHUNK;
    std::size_t const copies = 40;
    std::size_t const n = chunk * (copies + 1) + 5;
    std::size_t const before = livePages();
    std::vector<std::unique_ptr<Triples>> arrays;
    std::vector<std::vector<Triple>> models;
    arrays.push_back(std::make_unique<Triples>());
    models.emplace_back();
    for (std::size_t i = 0; i < n; ++i) {
        arrays[0]->push_back(Triple{i, i + 1, i + 2});
        models[0].push_back(Triple{i, i + 1, i + 2});
    }
    for (std::size_t k = 1; k <= copies; ++k) {
        // Copies of copies as well as of the first.
        std::size_t const from = k % 3 == 0 ? k - 1 : 0;
        arrays.push_back(std::make_unique<Triples>(*arrays[from]));
        models.push_back(models[from]);
        for (std::size_t i : {k * chunk - 1, k * chunk}) {
            arrays[k]->mut(i) = Triple{k, k, i};
            models[k][i] = Triple{k, k, i};
        }
    }
    std::vector<std::size_t> order(arrays.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_partition(order.begin(), order.end(), [](std::size_t k) { return k % 2 == 1; });
    std::rotate(order.begin(), order.begin() + 7, order.end());
    for (std::size_t dying : order) {
        arrays[dying].reset();
        for (std::size_t k = 0; k < arrays.size(); ++k) {
            if (arrays[k]) {
                expectSame(*arrays[k], models[k]);
            }
        }
    }
    EXPECT_EQ(livePages(), before);
}

// Growth from the first small chunk to full pages, with copies taken on the way that hold
// the small chunk or the last page: each copy keeps its length and values, and the owned
// objects are counted exactly once per element held.
TEST(SharedChunkArrayTTest, GrowthAcrossThePageBoundaryWithCopiesHoldingTheSmallChunk)
{
    using Owners = SharedChunkArrayT<std::shared_ptr<int>>;
    std::size_t const chunk = Owners::CHUNK;
    auto object = std::make_shared<int>(1);
    Owners array;
    std::vector<Owners> copies;
    std::vector<std::size_t> lengths;
    for (std::size_t i = 0; i < 2 * chunk + 3; ++i) {
        array.push_back(i % 5 == 0 ? object : nullptr);
        if (i + 1 == 16 || i + 1 == chunk - 1 || i + 1 == chunk || i + 1 == chunk + 1 || i + 1 == 2 * chunk) {
            copies.push_back(array);
            lengths.push_back(i + 1);
        }
    }
    array.mut(chunk - 1) = object;
    auto heldBy = [&](Owners const& a) {
        long held = 0;
        for (std::size_t i = 0; i < a.size(); ++i) {
            held += a[i] == object ? 1 : 0;
        }
        return held;
    };
    for (std::size_t k = 0; k < copies.size(); ++k) {
        ASSERT_EQ(copies[k].size(), lengths[k]);
        for (std::size_t i = 0; i < lengths[k]; ++i) {
            ASSERT_EQ(copies[k][i], i % 5 == 0 ? object : nullptr) << "copy " << k << " element " << i;
        }
    }
    EXPECT_EQ(array[chunk - 1], object);
    // Each element sits in one chunk; a chunk held by several arrays holds one reference.
    // Dropping the arrays one by one must bring the count back to the object's own.
    copies.clear();
    EXPECT_EQ(object.use_count(), 1 + heldBy(array));
    array.clear();
    EXPECT_EQ(object.use_count(), 1);
}

// Copies handed to other threads are edited and dropped there while the source is edited
// here; the counts and the pool take that.
TEST(SharedChunkArrayTTest, CopiesEditedAndDroppedInOtherThreadsStayIndependent)
{
    std::size_t const n = 300000;
    std::size_t const before = livePages();
    Table source;
    source.assign(n, 1u);
    std::vector<Table> copies(4, source);
    std::vector<int> failures(copies.size(), 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < copies.size(); ++t) {
        threads.emplace_back([&, t] {
            Table mine = std::move(copies[t]);
            std::vector<std::uint64_t> model(n, 1u);
            std::mt19937 random(static_cast<unsigned>(t));
            for (int k = 0; k < 20000; ++k) {
                std::size_t const i = random() % n;
                mine.mut(i) = 100u + t;
                model[i] = 100u + t;
            }
            for (std::size_t i = 0; i < n; ++i) {
                failures[t] += mine[i] != model[i] ? 1 : 0;
            }
        });
    }
    std::vector<std::uint64_t> model(n, 1u);
    for (std::size_t i = 0; i < n; i += 97) {
        source.mut(i) = 2u;
        model[i] = 2u;
    }
    for (std::thread& t : threads) {
        t.join();
    }
    for (int f : failures) {
        EXPECT_EQ(f, 0);
    }
    expectSame(source, model);
    source.clear();
    copies.clear();
    EXPECT_EQ(livePages(), before);
}

} // namespace
