#pragma once

#include <atomic>
#include <cstddef>
#include <vector>

namespace tin::core {

/**
 * Pool of equal-sized memory blocks for the millions of small objects of one kind that a
 * survey makes and drops at once (the point factory's points with their shared-pointer
 * control blocks).
 *
 * Blocks are cut from 2 MiB chunks mapped for transparent huge pages (LargeTableAllocatorT),
 * so a million blocks cost a few dozen page faults instead of tens of thousands. A freed
 * block is kept for the next allocation; chunks go back to the system only when the pool
 * is destroyed (the process-wide pools never are). Memory is not zeroed.
 *
 * Threads: allocate() must be called from one thread at a time (its owner serialises the
 * calls, as the point factory's contract does); deallocate() may be called from any thread
 * at any time (a shared point may die wherever its last owner lets it go). Cost: O(1)
 * each; a freed block is pushed with one compare-and-swap.
 */
class FixedBlockPool {
public:
    static constexpr std::size_t CHUNK_SIZE = std::size_t(2) << 20;
    static constexpr std::size_t BLOCK_ALIGNMENT = 8;

    /// blockSize is rounded up to a multiple of 8, the alignment of every block.
    explicit FixedBlockPool(std::size_t blockSize);
    ~FixedBlockPool();
    FixedBlockPool(const FixedBlockPool&) = delete;
    FixedBlockPool& operator=(const FixedBlockPool&) = delete;

    std::size_t blockSize() const { return m_blockSize; }

    /// A block of blockSize() bytes. Throws std::bad_alloc when the system refuses memory.
    void* allocate();
    /// Takes back a block of this pool.
    void deallocate(void* block) noexcept;

    /// Whether p points into one of the pool's chunks (for tests; O(chunks)).
    bool owns(const void* p) const;
    std::size_t chunkCount() const { return m_chunks.size(); }

private:
    struct FreeBlock {
        FreeBlock* next;
    };

    void addChunk();

    std::size_t m_blockSize;
    FreeBlock* m_free = nullptr;                   // owned by the allocating thread
    std::atomic<FreeBlock*> m_returned{nullptr};  // pushed by any thread
    char* m_bump = nullptr;
    char* m_bumpEnd = nullptr;
    std::vector<char*> m_chunks;
};

} // namespace tin::core
