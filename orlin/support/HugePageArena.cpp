#include "orlin/support/HugePageArena.h"

#include "orlin/support/AlignedMapping.h"
#include "orlin/support/PageFaulter.h"

#include <atomic>
#include <cstdint>
#include <new>

#include <sys/mman.h>

namespace tin::support {

namespace {

constexpr std::size_t HUGE_PAGE = AlignedMapping::ALIGNMENT;
constexpr std::size_t CHUNK = std::size_t(32) << 20;
constexpr std::size_t LARGEST_IN_CHUNK = CHUNK / 4;
// Blocks start on cache lines; the chunk's count takes the first line.
constexpr std::size_t LINE = 64;

struct ChunkHeader
{
    std::atomic<std::size_t> live{1}; // blocks handed out, plus one while a thread carves from it
};

std::size_t roundUp(std::size_t value, std::size_t step)
{
    return (value + step - 1) / step * step;
}

// length bytes at an address aligned to alignment (both multiples of HUGE_PAGE), advised to
// take huge pages.
void* mapAligned(std::size_t length, std::size_t alignment)
{
    void* block = AlignedMapping::map(length, true, alignment);
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}

ChunkHeader* chunkOf(void* memory)
{
    return reinterpret_cast<ChunkHeader*>(reinterpret_cast<std::uintptr_t>(memory) & ~(CHUNK - 1));
}

void release(ChunkHeader* chunk) noexcept
{
    if (chunk->live.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        chunk->~ChunkHeader();
        munmap(chunk, CHUNK);
    }
}

// The chunk this thread carves from. It holds one count on the chunk, so that a chunk whose
// blocks have all come back stays while more may be carved from it.
class CurrentChunk
{
public:
    CurrentChunk() = default;
    CurrentChunk(CurrentChunk const&) = delete;
    CurrentChunk& operator=(CurrentChunk const&) = delete;

    // Blocks still out keep the chunk; a block given back after this (a static freed late at
    // exit) finds no current chunk and takes the ordinary way.
    ~CurrentChunk()
    {
        if (chunk_ != nullptr)
            release(chunk_);
        chunk_ = nullptr;
        dropNext();
    }

    void* carve(std::size_t bytes)
    {
        std::size_t const size = roundUp(bytes, LINE);
        if (chunk_ == nullptr || used_ + size > CHUNK) {
            void* const memory = next_ != nullptr ? next_ : mapAligned(CHUNK, CHUNK);
            next_ = nullptr;
            auto* fresh = new (memory) ChunkHeader();
            if (chunk_ != nullptr)
                release(chunk_);
            chunk_ = fresh;
            used_ = LINE;
        }
        chunk_->live.fetch_add(1, std::memory_order_relaxed);
        void* block = reinterpret_cast<char*>(chunk_) + used_;
        used_ += size;
        // Half way through a chunk the run is a large one: the next chunk is mapped now and
        // faulted in on the page faulter's thread while this one fills, so that the run finds
        // its pages present instead of waiting for their zeroing. A small run maps no more.
        if (next_ == nullptr && used_ > CHUNK / 2)
            prepareNext();
        return block;
    }

    // Takes back a block of this thread's chunk: the block carved last makes room again, so
    // that short-lived blocks freed in reverse order reuse their memory, and a chunk left
    // with no block is unmapped at once rather than held until the thread carves again. False
    // for a block of any other chunk.
    bool takeBack(void* block, std::size_t bytes) noexcept
    {
        if (chunk_ == nullptr || chunkOf(block) != chunk_)
            return false;
        std::size_t const size = roundUp(bytes, LINE);
        if (reinterpret_cast<char*>(block) + size == reinterpret_cast<char*>(chunk_) + used_)
            used_ -= size;
        // Only this thread carves from the chunk, so once its own count is all that is left
        // no other thread can hold a block of it.
        if (chunk_->live.fetch_sub(1, std::memory_order_acq_rel) == 2) {
            chunk_->~ChunkHeader();
            munmap(chunk_, CHUNK);
            chunk_ = nullptr;
            used_ = 0;
            dropNext();
        }
        return true;
    }

private:
    void prepareNext() noexcept
    {
        next_ = AlignedMapping::map(CHUNK, true, CHUNK);
        if (next_ != nullptr)
            PageFaulter::faultInLater(next_, CHUNK);
    }

    // The run is over: the chunk prepared for it goes back with the rest. (Should the page
    // faulter still be at work there, its next step finds the range gone and ends.)
    void dropNext() noexcept
    {
        if (next_ != nullptr)
            munmap(next_, CHUNK);
        next_ = nullptr;
    }

    ChunkHeader* chunk_ = nullptr;
    std::size_t used_ = 0;
    void* next_ = nullptr; // mapped and being faulted in, carved from when chunk_ is full
};

thread_local CurrentChunk current;

} // namespace

void* HugePageArena::allocate(std::size_t bytes)
{
    if (bytes < SMALL_REQUEST)
        return ::operator new(bytes);
    if (bytes > LARGEST_IN_CHUNK)
        return mapAligned(roundUp(bytes, HUGE_PAGE), HUGE_PAGE);
    return current.carve(bytes);
}

void HugePageArena::deallocate(void* memory, std::size_t bytes) noexcept
{
    if (memory == nullptr)
        return;
    if (bytes < SMALL_REQUEST) {
        ::operator delete(memory);
        return;
    }
    if (bytes > LARGEST_IN_CHUNK) {
        munmap(memory, roundUp(bytes, HUGE_PAGE));
        return;
    }
    if (!current.takeBack(memory, bytes))
        release(chunkOf(memory));
}

} // namespace tin::support
