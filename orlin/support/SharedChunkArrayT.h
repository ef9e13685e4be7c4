#pragma once

#include "orlin/support/Prefetch.h"
#include "orlin/support/SharedPagePool.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace tin::support {

/// Array of T cut into chunks of CHUNK_BYTES that copies share until one of them writes:
/// copying costs one reference count per chunk, and the first write into a shared chunk
/// gives the writer its own clone of that chunk alone. This is what makes a copy of a TIN of
/// millions of triangles cheap while both the copy and its source stay editable, and keeps
/// the first edit of a copy proportional to the chunks it touches: with 4 KiB chunks, an
/// edit that writes a few thousand slots scattered over hash tables of hundreds of megabytes
/// clones a few thousand pages, not the tables.
///
/// Reads go through `operator[]`; writes through `mut`, which may clone (never call it only
/// to read). A reference from `mut` stays valid until the next change of the array's size or
/// the next copy into or out of it; a reference from `operator[]` until the next `mut` too.
/// Full chunks are pages of `SharedPagePool`, carved out of huge-page slabs, so a big array
/// keeps the page-fault cost and TLB reach of huge pages. An array smaller than one chunk
/// takes one chunk of its own size from the heap, doubled as it grows.
///
/// T must be default-constructible and copyable, and fit a chunk; every element of a chunk's
/// capacity is constructed. Copies may live in different threads: the reference counts are
/// atomic, the page pool is locked, and a chunk is written in place only by its sole owner.
/// One array is not thread-safe, and copying it counts as a change of it (it marks its
/// chunks shared). Cost: a copy takes a reference per chunk; the tables of a
/// 2-million-triangle TIN hold about 75,000 chunks, copied in about a millisecond.
template <class T, std::size_t CHUNK_BYTES = 4096>
class SharedChunkArrayT {
    static_assert(CHUNK_BYTES >= SharedPagePool::MIN_PAGE_BYTES && CHUNK_BYTES <= SharedPagePool::MAX_PAGE_BYTES
                      && (CHUNK_BYTES & (CHUNK_BYTES - 1)) == 0,
                  "chunks are pages of the shared page pool");
    static_assert(sizeof(T) <= CHUNK_BYTES && alignof(T) <= 16, "an element must fit a chunk");

public:
    /// Elements per full chunk.
    static constexpr std::size_t CHUNK = CHUNK_BYTES / sizeof(T);
    /// Bytes of a full chunk: the page size of the pool its chunks come from.
    static constexpr std::size_t PAGE_BYTES = CHUNK_BYTES;

    SharedChunkArrayT() = default;

    SharedChunkArrayT(SharedChunkArrayT const& other)
        : m_chunks(other.m_chunks.size()), m_size(other.m_size), m_lastCapacity(other.m_lastCapacity)
    {
        for (std::size_t c = 0; c < m_chunks.size(); ++c) {
            other.m_chunks[c] &= ~OWNED;
            m_chunks[c] = other.m_chunks[c];
            retain(chunk(c), capacityOf(c));
        }
    }

    SharedChunkArrayT(SharedChunkArrayT&& other) noexcept
        : m_chunks(std::move(other.m_chunks)), m_size(std::exchange(other.m_size, 0)),
          m_lastCapacity(std::exchange(other.m_lastCapacity, 0))
    {
        other.m_chunks.clear();
    }

    SharedChunkArrayT& operator=(SharedChunkArrayT const& other)
    {
        if (this != &other) {
            SharedChunkArrayT copy(other);
            swap(copy);
        }
        return *this;
    }

    SharedChunkArrayT& operator=(SharedChunkArrayT&& other) noexcept
    {
        if (this != &other) {
            releaseAll();
            m_chunks = std::move(other.m_chunks);
            other.m_chunks.clear();
            m_size = std::exchange(other.m_size, 0);
            m_lastCapacity = std::exchange(other.m_lastCapacity, 0);
        }
        return *this;
    }

    ~SharedChunkArrayT() { releaseAll(); }

    void swap(SharedChunkArrayT& other) noexcept
    {
        m_chunks.swap(other.m_chunks);
        std::swap(m_size, other.m_size);
        std::swap(m_lastCapacity, other.m_lastCapacity);
    }

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    T const& operator[](std::size_t i) const { return chunk(i / CHUNK)[i % CHUNK]; }

    /// Writable element i; clones its chunk first when another array shares it.
    T& mut(std::size_t i)
    {
        std::size_t const c = i / CHUNK;
        std::uintptr_t word = m_chunks[c];
        if ((word & OWNED) == 0) {
            own(c);
            word = m_chunks[c];
        }
        return reinterpret_cast<T*>(word - OWNED)[i % CHUNK];
    }

    /// Starts loading element i (see IdentityListMapT::prefetch).
    void prefetch(std::size_t i) const { prefetchLine(&chunk(i / CHUNK)[i % CHUNK]); }

    /// n copies of value, in chunks of nobody else.
    void assign(std::size_t n, T const& value)
    {
        clear();
        if (n == 0) {
            return;
        }
        if (n < CHUNK) {
            appendChunk(makeSmall(n, nullptr, 0, false, value), n);
        } else {
            std::size_t const count = (n + CHUNK - 1) / CHUNK;
            m_chunks.reserve(count);
            void* pages[PAGE_BATCH];
            for (std::size_t done = 0; done < count; done += PAGE_BATCH) {
                std::size_t const batch = std::min(PAGE_BATCH, count - done);
                pool().allocate(pages, batch);
                std::size_t k = 0;
                try {
                    for (; k < batch; ++k) {
                        fill(static_cast<T*>(pages[k]), nullptr, 0, false, value, CHUNK);
                        appendChunk(static_cast<T*>(pages[k]), CHUNK);
                    }
                } catch (...) {
                    // fill has destroyed what it made of page k; k and the rest are raw.
                    pool().free(pages + k, batch - k);
                    clear();
                    throw;
                }
            }
        }
        m_size = n;
    }

    void push_back(T const& value)
    {
        if (m_chunks.empty() || m_size == (m_chunks.size() - 1) * CHUNK + m_lastCapacity) {
            extend();
        }
        mut(m_size) = value;
        ++m_size;
    }

    /// Drops every element and chunk.
    void clear()
    {
        releaseAll();
        m_size = 0;
        m_lastCapacity = 0;
    }

    /// Calls f(data, count) for each chunk in order, over the elements below size().
    template <class F>
    void forEachSpan(F&& f) const
    {
        for (std::size_t c = 0; c < m_chunks.size(); ++c) {
            std::size_t const first = c * CHUNK;
            f(static_cast<T const*>(chunk(c)), std::min(CHUNK, m_size - first));
        }
    }

    /// Chunks that some other array also holds (for tests and measurements).
    std::size_t sharedChunkCount() const
    {
        std::size_t shared = 0;
        for (std::size_t c = 0; c < m_chunks.size(); ++c) {
            shared += holders(chunk(c), capacityOf(c)) > 1 ? 1 : 0;
        }
        return shared;
    }

    std::size_t chunkCount() const { return m_chunks.size(); }

private:
    // Pages taken from or given back to the pool under one lock.
    static constexpr std::size_t PAGE_BATCH = 256;

    // A chunk smaller than a page lives on the heap behind its own reference count.
    static constexpr std::size_t SMALL_HEAD = 16;
    using SmallCount = std::atomic<std::size_t>;
    static_assert(sizeof(SmallCount) <= SMALL_HEAD, "count fits the small chunk's head");

    static SharedPagePool& pool()
    {
        static SharedPagePool& pages = SharedPagePool::of(CHUNK_BYTES);
        return pages;
    }

    static SmallCount& smallCount(T* data)
    {
        return *std::launder(reinterpret_cast<SmallCount*>(reinterpret_cast<unsigned char*>(data) - SMALL_HEAD));
    }

    // Bit 0 of a chunk word: the chunk is known to be held by this array alone. Chunks are
    // aligned to at least 16 bytes, so the bit is free.
    static constexpr std::uintptr_t OWNED = 1;

    T* chunk(std::size_t c) const { return reinterpret_cast<T*>(m_chunks[c] & ~OWNED); }

    // Only the last chunk may be smaller than a page.
    std::size_t capacityOf(std::size_t c) const { return c + 1 == m_chunks.size() ? m_lastCapacity : CHUNK; }

    static void retain(T* data, std::size_t capacity)
    {
        if (capacity == CHUNK) {
            SharedPagePool::retain(data);
        } else {
            smallCount(data).fetch_add(1, std::memory_order_relaxed);
        }
    }

    static std::size_t holders(T* data, std::size_t capacity)
    {
        return capacity == CHUNK ? SharedPagePool::holders(data) : smallCount(data).load(std::memory_order_acquire);
    }

    // Drops one holder; the last one destroys the elements and frees the chunk.
    static void release(T* data, std::size_t capacity)
    {
        if (capacity == CHUNK) {
            if (SharedPagePool::release(data)) {
                destroy(data, CHUNK);
                pool().free(data);
            }
        } else if (smallCount(data).fetch_sub(1, std::memory_order_acq_rel) == 1) {
            destroy(data, capacity);
            smallCount(data).~SmallCount();
            ::operator delete(reinterpret_cast<unsigned char*>(data) - SMALL_HEAD);
        }
    }

    // Constructs capacity elements at data: the first count copied (or moved) from `from`,
    // the rest copies of value. Each element is written once, so a clone costs one pass. On
    // failure, destroys what it made and rethrows.
    static void fill(T* data, T* from, std::size_t count, bool move, T const& value, std::size_t capacity)
    {
        std::size_t made = 0;
        try {
            if constexpr (std::is_trivially_copyable_v<T>) {
                if (count > 0) {
                    std::memcpy(static_cast<void*>(data), static_cast<void const*>(from), count * sizeof(T));
                }
                made = count;
            }
            for (; made < count; ++made) {
                if (move) {
                    new (data + made) T(std::move(from[made]));
                } else {
                    new (data + made) T(static_cast<T const&>(from[made]));
                }
            }
            for (; made < capacity; ++made) {
                new (data + made) T(value);
            }
        } catch (...) {
            destroy(data, made);
            throw;
        }
    }

    static T* makePage(T* from, std::size_t count, bool move)
    {
        auto* data = static_cast<T*>(pool().allocate());
        try {
            fill(data, from, count, move, T(), CHUNK);
        } catch (...) {
            pool().free(data);
            throw;
        }
        return data;
    }

    static T* makeSmall(std::size_t capacity, T* from, std::size_t count, bool move, T const& value)
    {
        auto* raw = static_cast<unsigned char*>(::operator new(SMALL_HEAD + capacity * sizeof(T)));
        new (raw) SmallCount(1);
        auto* data = reinterpret_cast<T*>(raw + SMALL_HEAD);
        try {
            fill(data, from, count, move, value, capacity);
        } catch (...) {
            ::operator delete(raw);
            throw;
        }
        return data;
    }

    static T* make(std::size_t capacity, T* from, std::size_t count, bool move)
    {
        return capacity == CHUNK ? makePage(from, count, move) : makeSmall(capacity, from, count, move, T());
    }

    static void destroy(T* data, std::size_t count)
    {
        if constexpr (!std::is_trivially_destructible_v<T>) {
            for (std::size_t k = 0; k < count; ++k) {
                data[k].~T();
            }
        }
    }

    void appendChunk(T* data, std::size_t capacity)
    {
        m_chunks.push_back(reinterpret_cast<std::uintptr_t>(data) | OWNED);
        m_lastCapacity = capacity;
    }

    void releaseAll()
    {
        if (m_chunks.empty()) {
            return;
        }
        // Full pages that die go back to the pool in batches, each under one lock.
        void* dead[PAGE_BATCH];
        std::size_t deadCount = 0;
        std::size_t const pages = m_lastCapacity == CHUNK ? m_chunks.size() : m_chunks.size() - 1;
        for (std::size_t c = 0; c < pages; ++c) {
            T* const data = chunk(c);
            if (SharedPagePool::release(data)) {
                destroy(data, CHUNK);
                dead[deadCount++] = data;
                if (deadCount == PAGE_BATCH) {
                    pool().free(dead, deadCount);
                    deadCount = 0;
                }
            }
        }
        pool().free(dead, deadCount);
        if (pages < m_chunks.size()) {
            release(chunk(m_chunks.size() - 1), m_lastCapacity);
        }
        m_chunks.clear();
    }

    void own(std::size_t c)
    {
        std::size_t const capacity = capacityOf(c);
        T* const data = chunk(c);
        if (holders(data, capacity) != 1) {
            T* const clone = make(capacity, data, capacity, false);
            m_chunks[c] = reinterpret_cast<std::uintptr_t>(clone);
            release(data, capacity);
        }
        m_chunks[c] |= OWNED;
    }

    // Room for one more element: the last chunk doubles up to a page, then pages follow.
    void extend()
    {
        if (m_chunks.empty() || m_lastCapacity == CHUNK) {
            std::size_t const capacity = m_chunks.empty() ? std::min<std::size_t>(CHUNK, 16) : CHUNK;
            if (m_chunks.size() == m_chunks.capacity()) {
                // Room first, so that the new chunk cannot be lost to a failed growth.
                m_chunks.reserve(std::max<std::size_t>(4, 2 * m_chunks.size()));
            }
            appendChunk(capacity == CHUNK ? makePage(nullptr, 0, false) : makeSmall(capacity, nullptr, 0, false, T()),
                        capacity);
            return;
        }
        T* const last = chunk(m_chunks.size() - 1);
        std::size_t const used = m_size - (m_chunks.size() - 1) * CHUNK;
        std::size_t const capacity = std::min(CHUNK, m_lastCapacity * 2);
        bool const sole = holders(last, m_lastCapacity) == 1;
        T* const grown = capacity == CHUNK ? makePage(last, used, sole) : makeSmall(capacity, last, used, sole, T());
        release(last, m_lastCapacity);
        m_chunks.back() = reinterpret_cast<std::uintptr_t>(grown) | OWNED;
        m_lastCapacity = capacity;
    }

    // Chunk addresses with the OWNED bit, which a copy clears on both sides, also when made
    // from a const array (hence mutable).
    mutable std::vector<std::uintptr_t> m_chunks;
    std::size_t m_size = 0;
    std::size_t m_lastCapacity = 0; // capacity of the last chunk; the others hold CHUNK
};

} // namespace tin::support
