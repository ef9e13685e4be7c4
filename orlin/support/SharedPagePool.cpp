#include "orlin/support/SharedPagePool.h"

#include "orlin/support/PageFaulter.h"

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include <sys/mman.h>

namespace tin::support {

// Header at the start of each slab. Behind it, at COUNTS_OFFSET: the holder count of every
// page of the slab (header pages included, always 0), then the stack of free page numbers.
// Keeping the free list in the header means freeing a page never touches it.
struct SharedPagePool::Slab {
    std::uint32_t pageShift; // first: countOf reads it without knowing the type
    std::uint32_t pageCount; // pages in the slab, header pages included
    std::uint32_t fresh;     // pages from this number on were never handed out
    std::uint32_t freeCount; // entries on the free stack
    std::uint32_t live;      // pages handed out and not freed
    bool listed;             // in the pool's list of slabs with room
    Slab* prev;
    Slab* next;

    char* base() { return reinterpret_cast<char*>(this); }
    std::atomic<std::uint32_t>* counts() { return reinterpret_cast<std::atomic<std::uint32_t>*>(base() + COUNTS_OFFSET); }
    std::uint16_t* freeStack() { return reinterpret_cast<std::uint16_t*>(counts() + pageCount); }
};

SharedPagePool& SharedPagePool::of(std::size_t pageBytes)
{
    unsigned shift = 0;
    while (shift < 63 && (std::size_t(1) << shift) < pageBytes) {
        ++shift;
    }
    if ((std::size_t(1) << shift) != pageBytes || pageBytes < MIN_PAGE_BYTES || pageBytes > MAX_PAGE_BYTES) {
        throw std::invalid_argument("Page size not served by the shared page pool: " + std::to_string(pageBytes));
    }
    static std::mutex lock;
    static SharedPagePool* pools[64] = {};
    std::lock_guard<std::mutex> guard(lock);
    if (pools[shift] == nullptr) {
        // Never deleted: arrays held by static objects may release their pages after any
        // destructor of this translation unit has run.
        pools[shift] = new SharedPagePool(shift);
    }
    return *pools[shift];
}

SharedPagePool::SharedPagePool(unsigned pageShift) : m_pageShift(pageShift) { }

void* SharedPagePool::allocate()
{
    void* page = nullptr;
    allocate(&page, 1);
    return page;
}

void SharedPagePool::allocate(void** pages, std::size_t count)
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (std::size_t k = 0; k < count; ++k) {
        if (m_withRoom == nullptr) {
            Slab* slab = newSlab();
            if (slab == nullptr) {
                for (std::size_t j = 0; j < k; ++j) {
                    countOf(pages[j]).store(0, std::memory_order_relaxed);
                    putBack(pages[j]);
                }
                throw std::bad_alloc();
            }
            link(slab);
        }
        Slab* slab = m_withRoom;
        if (slab == m_empty && slab->next != nullptr) {
            slab = slab->next;
        }
        pages[k] = take(slab);
    }
}

void SharedPagePool::free(void* const* pages, std::size_t count) noexcept
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (std::size_t k = 0; k < count; ++k) {
        putBack(pages[k]);
    }
}

std::size_t SharedPagePool::slabCount() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_slabs;
}

std::size_t SharedPagePool::lazySlabCount() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_lazy.size();
}

std::size_t SharedPagePool::pageCount() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_pages;
}

SharedPagePool::Slab* SharedPagePool::newSlab()
{
    static_assert(sizeof(Slab) <= COUNTS_OFFSET, "slab header overlaps the holder counts");
    if (m_spare != nullptr) {
        Slab* slab = m_spare;
        m_spare = slab->next;
        --m_spares;
        reset(slab);
        return slab;
    }
    void* memory = nullptr;
    if (!m_lazy.empty()) {
        // The system may have taken its pages (they come back zeroed) or not (they hold what
        // they held): the header is written anew either way.
        memory = m_lazy.back();
        m_lazy.pop_back();
    } else {
        if (m_aheadCount != 0) {
            memory = m_ahead[0];
            std::memmove(m_ahead, m_ahead + 1, (m_aheadCount - 1) * sizeof(void*));
            --m_aheadCount;
        } else {
            memory = AlignedMapping::map(SLAB_BYTES, true);
            if (memory == nullptr) {
                return nullptr;
            }
        }
        mapAhead();
    }
    auto* slab = new (memory) Slab{};
    reset(slab);
    ++m_slabs;
    return slab;
}

void SharedPagePool::mapAhead() noexcept
{
    while (m_aheadCount < AHEAD_SLABS) {
        void* memory = AlignedMapping::map(SLAB_BYTES, true);
        if (memory == nullptr) {
            return;
        }
        m_ahead[m_aheadCount++] = memory;
        PageFaulter::faultInLater(memory, SLAB_BYTES);
    }
}

// A slab as newly mapped: no page handed out, every count 0, all pages behind the header fresh.
void SharedPagePool::reset(Slab* slab) noexcept
{
    *slab = Slab{};
    slab->pageShift = m_pageShift;
    slab->pageCount = static_cast<std::uint32_t>(SLAB_BYTES >> m_pageShift);
    std::size_t const headerBytes = COUNTS_OFFSET + slab->pageCount * (sizeof(std::atomic<std::uint32_t>) + sizeof(std::uint16_t));
    slab->fresh = static_cast<std::uint32_t>((headerBytes + pageBytes() - 1) >> m_pageShift);
    for (std::uint32_t k = 0; k < slab->pageCount; ++k) {
        new (slab->counts() + k) std::atomic<std::uint32_t>(0);
    }
}

void* SharedPagePool::take(Slab* slab) noexcept
{
    if (slab == m_empty) {
        m_empty = nullptr;
    }
    std::uint32_t const index = slab->freeCount > 0 ? slab->freeStack()[--slab->freeCount] : slab->fresh++;
    ++slab->live;
    ++m_pages;
    if (slab->freeCount == 0 && slab->fresh == slab->pageCount) {
        unlink(slab);
    }
    slab->counts()[index].store(1, std::memory_order_relaxed);
    return slab->base() + (std::size_t(index) << m_pageShift);
}

void SharedPagePool::putBack(void* page) noexcept
{
    Slab* slab = slabOf(page);
    auto const index = static_cast<std::uint32_t>((static_cast<char*>(page) - slab->base()) >> m_pageShift);
    slab->freeStack()[slab->freeCount++] = static_cast<std::uint16_t>(index);
    --slab->live;
    --m_pages;
    if (!slab->listed) {
        link(slab);
    }
    if (slab->live == 0) {
        if (m_empty == nullptr) {
            m_empty = slab;
        } else if (slab != m_empty) {
            unlink(slab);
            if (m_spares < SPARE_SLABS) {
                slab->next = m_spare;
                m_spare = slab;
                ++m_spares;
            } else {
                --m_slabs;
                bool kept = false;
#if defined(MADV_FREE)
                try {
                    m_lazy.push_back(slab);
                    kept = madvise(slab, SLAB_BYTES, MADV_FREE) == 0;
                    if (!kept) {
                        m_lazy.pop_back();
                    }
                } catch (std::bad_alloc const&) {
                }
#endif
                if (!kept) {
                    munmap(slab, SLAB_BYTES);
                }
            }
        }
    }
}

// A slab that gets room again goes to the front of the list, which allocation takes from
// (passing over the kept empty slab while another has room): pages freed last are reused
// first, while still in the cache, and partly used slabs fill up before an empty one.
void SharedPagePool::link(Slab* slab) noexcept
{
    slab->prev = nullptr;
    slab->next = m_withRoom;
    if (m_withRoom != nullptr) {
        m_withRoom->prev = slab;
    }
    m_withRoom = slab;
    slab->listed = true;
}

void SharedPagePool::unlink(Slab* slab) noexcept
{
    if (slab->prev != nullptr) {
        slab->prev->next = slab->next;
    } else {
        m_withRoom = slab->next;
    }
    if (slab->next != nullptr) {
        slab->next->prev = slab->prev;
    }
    slab->prev = slab->next = nullptr;
    slab->listed = false;
}

} // namespace tin::support
