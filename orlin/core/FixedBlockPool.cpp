#include "orlin/core/FixedBlockPool.h"

#include "orlin/core/LargeTableAllocatorT.h"

#include <new>

namespace tin::core {

FixedBlockPool::FixedBlockPool(std::size_t blockSize)
    : m_blockSize(blockSize < sizeof(FreeBlock) ? sizeof(FreeBlock)
                                                : (blockSize + BLOCK_ALIGNMENT - 1) & ~(BLOCK_ALIGNMENT - 1))
{
    if (m_blockSize > CHUNK_SIZE)
        throw std::bad_alloc();
}

FixedBlockPool::~FixedBlockPool()
{
    for (char* chunk : m_chunks)
        LargeTableAllocatorT<char>().deallocate(chunk, CHUNK_SIZE);
}

void FixedBlockPool::addChunk()
{
    m_chunks.reserve(m_chunks.size() + 1); // no throw after the mapping below
    char* chunk = LargeTableAllocatorT<char>().allocate(CHUNK_SIZE);
    m_chunks.push_back(chunk);
    m_bump = chunk;
    m_bumpEnd = chunk + CHUNK_SIZE / m_blockSize * m_blockSize;
}

void* FixedBlockPool::allocate()
{
    if (!m_free) {
        // Blocks freed elsewhere are taken over all at once: exchanging the whole list
        // cannot suffer from a block being popped and pushed again meanwhile.
        m_free = m_returned.exchange(nullptr, std::memory_order_acquire);
    }
    if (m_free) {
        FreeBlock* block = m_free;
        m_free = block->next;
        return block;
    }
    if (m_bump == m_bumpEnd)
        addChunk();
    void* block = m_bump;
    m_bump += m_blockSize;
    return block;
}

void FixedBlockPool::deallocate(void* block) noexcept
{
    if (!block)
        return;
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = m_returned.load(std::memory_order_relaxed);
    while (!m_returned.compare_exchange_weak(freed->next, freed, std::memory_order_release,
                                             std::memory_order_relaxed)) {
    }
}

bool FixedBlockPool::owns(const void* p) const
{
    const char* c = static_cast<const char*>(p);
    for (const char* chunk : m_chunks) {
        if (c >= chunk && c < chunk + CHUNK_SIZE)
            return true;
    }
    return false;
}

} // namespace tin::core
