#pragma once

#include "orlin/core/Prefetch.h"
#include "orlin/core/LargeTableAllocatorT.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace tin::core {

/// Array of T cut into chunks of about CHUNK_BYTES that copies share until one of them writes:
/// copying costs one reference count per chunk, and the first write into a shared chunk
/// gives the writer its own clone of that chunk alone. This is what makes a copy of a TIN of
/// millions of triangles cheap while both the copy and its source stay editable, and keeps
/// the edit of a copy proportional to the chunks it touches.
///
/// Reads go through `operator[]`; writes through `mut`, which may clone (never call it only
/// to read). A reference from `mut` stays valid until the next change of the array's size or
/// the next copy into or out of it; a reference from `operator[]` until the next `mut` too.
/// Full chunks take whole huge pages (see `LargeTableAllocatorT`), so a chunk is also the unit
/// of page faults; an array smaller than one chunk takes one chunk of its own size.
///
/// T must be default-constructible and copyable; every element of a chunk's capacity is
/// constructed. Copies may live in different threads: the reference counts are atomic and
/// a chunk is written in place only by its sole owner. One array is not thread-safe, and
/// copying it counts as a change of it (it marks its chunks shared).
template <class T, std::size_t CHUNK_BYTES = LargeTableAllocatorT<T>::LARGE_BLOCK>
class SharedChunkArrayT {
public:
    /// Elements per full chunk.
    static constexpr std::size_t CHUNK = CHUNK_BYTES / sizeof(T) > 0 ? CHUNK_BYTES / sizeof(T) : 1;

    SharedChunkArrayT() = default;

    SharedChunkArrayT(SharedChunkArrayT const& other) : m_refs(other.m_refs), m_size(other.m_size)
    {
        share(other);
    }

    SharedChunkArrayT(SharedChunkArrayT&& other) noexcept
        : m_refs(std::move(other.m_refs)), m_size(std::exchange(other.m_size, 0))
    {
        other.m_refs.clear();
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
            m_refs = std::move(other.m_refs);
            other.m_refs.clear();
            m_size = std::exchange(other.m_size, 0);
        }
        return *this;
    }

    ~SharedChunkArrayT() { releaseAll(); }

    void swap(SharedChunkArrayT& other) noexcept
    {
        m_refs.swap(other.m_refs);
        std::swap(m_size, other.m_size);
    }

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    T const& operator[](std::size_t i) const { return m_refs[i / CHUNK].data[i % CHUNK]; }

    /// Writable element i; clones its chunk first when another array shares it.
    T& mut(std::size_t i)
    {
        Ref& ref = m_refs[i / CHUNK];
        if (!ref.owned) {
            own(ref);
        }
        return ref.data[i % CHUNK];
    }

    /// Starts loading element i (see IdentityListMapT::prefetch).
    void prefetch(std::size_t i) const { prefetchLine(&m_refs[i / CHUNK].data[i % CHUNK]); }

    /// n copies of value, in chunks of nobody else.
    void assign(std::size_t n, T const& value)
    {
        releaseAll();
        m_refs.reserve((n + CHUNK - 1) / CHUNK);
        for (std::size_t done = 0; done < n; done += CHUNK) {
            m_refs.push_back(Ref{allocate(std::min(CHUNK, n - done), value)});
        }
        m_size = n;
    }

    void push_back(T const& value)
    {
        if (m_refs.empty() || m_size == (m_refs.size() - 1) * CHUNK + m_refs.back().chunk->capacity) {
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
    }

    /// Calls f(data, count) for each chunk in order, over the elements below size().
    template <class F>
    void forEachSpan(F&& f) const
    {
        for (std::size_t c = 0; c < m_refs.size(); ++c) {
            std::size_t const first = c * CHUNK;
            f(static_cast<T const*>(m_refs[c].data), std::min(CHUNK, m_size - first));
        }
    }

    /// Chunks that some other array also holds (for tests and measurements).
    std::size_t sharedChunkCount() const
    {
        std::size_t shared = 0;
        for (Ref const& ref : m_refs) {
            shared += ref.chunk->refs.load(std::memory_order_acquire) > 1 ? 1 : 0;
        }
        return shared;
    }

    std::size_t chunkCount() const { return m_refs.size(); }

private:
    struct Chunk {
        std::atomic<std::size_t> refs{1};
        std::size_t capacity = 0;
        T* data = nullptr;
    };

    struct Ref {
        explicit Ref(Chunk* c) : chunk(c), data(c->data) { }
        Chunk* chunk;
        T* data;
        // Known to be held by this array alone; cleared whenever the chunk is shared, also
        // by a copy made from a const array (hence mutable).
        mutable bool owned = true;
    };

    // Chunks at least half a huge page are mapped as whole huge pages; smaller ones come
    // from the heap, as in LargeTableAllocatorT.
    static std::size_t blockBytes(std::size_t capacity)
    {
        std::size_t const bytes = capacity * sizeof(T);
        std::size_t const large = LargeTableAllocatorT<T>::LARGE_BLOCK;
        return bytes * 2 >= large ? (bytes + large - 1) / large * large : bytes;
    }

    static Chunk* allocate(std::size_t capacity, T const& value) { return make(capacity, nullptr, 0, false, value); }

    // A chunk of `capacity` elements whose first `count` are copies (or moves) of `from`,
    // the rest copies of `value`. Each element is written once: a clone of a full chunk
    // costs one pass over it.
    static Chunk* cloneOf(Chunk const& from, std::size_t count, std::size_t capacity, bool move)
    {
        return make(capacity, from.data, count, move, T());
    }

    static Chunk* make(std::size_t capacity, T* from, std::size_t count, bool move, T const& value)
    {
        LargeTableAllocatorT<unsigned char> bytes;
        std::size_t const size = blockBytes(capacity);
        auto* raw = bytes.allocate(size);
        auto* data = reinterpret_cast<T*>(raw);
        std::size_t made = 0;
        try {
            if constexpr (std::is_trivially_copyable_v<T>) {
                // Table entries: one block copy, the fastest pass over a 2 MiB clone.
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
            auto* chunk = new Chunk;
            chunk->capacity = capacity;
            chunk->data = data;
            return chunk;
        } catch (...) {
            destroy(data, made);
            bytes.deallocate(raw, size);
            throw;
        }
    }

    static void destroy(T* data, std::size_t count)
    {
        for (std::size_t k = 0; k < count; ++k) {
            data[k].~T();
        }
    }

    static void release(Chunk* chunk)
    {
        if (chunk->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            destroy(chunk->data, chunk->capacity);
            LargeTableAllocatorT<unsigned char>().deallocate(
                reinterpret_cast<unsigned char*>(chunk->data), blockBytes(chunk->capacity));
            delete chunk;
        }
    }

    void releaseAll()
    {
        for (Ref const& ref : m_refs) {
            release(ref.chunk);
        }
        m_refs.clear();
    }

    // Called on the copy's fresh list of refs, which equals other's.
    void share(SharedChunkArrayT const& other)
    {
        for (std::size_t c = 0; c < m_refs.size(); ++c) {
            m_refs[c].chunk->refs.fetch_add(1, std::memory_order_relaxed);
            m_refs[c].owned = false;
            other.m_refs[c].owned = false;
        }
    }

    void own(Ref& ref)
    {
        if (ref.chunk->refs.load(std::memory_order_acquire) != 1) {
            Chunk* clone = cloneOf(*ref.chunk, ref.chunk->capacity, ref.chunk->capacity, false);
            release(ref.chunk);
            ref.chunk = clone;
            ref.data = clone->data;
        }
        ref.owned = true;
    }

    // Room for one more element: the last chunk doubles up to a full chunk, then a new one.
    void extend()
    {
        if (m_refs.empty() || m_refs.back().chunk->capacity == CHUNK) {
            std::size_t const capacity = m_refs.empty() ? std::min<std::size_t>(CHUNK, 16) : CHUNK;
            m_refs.push_back(Ref{allocate(capacity, T())});
            return;
        }
        Ref& last = m_refs.back();
        std::size_t const used = m_size - (m_refs.size() - 1) * CHUNK;
        std::size_t const capacity = std::min(CHUNK, last.chunk->capacity * 2);
        bool const sole = last.chunk->refs.load(std::memory_order_acquire) == 1;
        Chunk* grown = cloneOf(*last.chunk, used, capacity, sole);
        release(last.chunk);
        last = Ref{grown};
    }

    std::vector<Ref> m_refs;
    std::size_t m_size = 0;
};

} // namespace tin::core
