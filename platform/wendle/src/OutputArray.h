#ifndef TRIANGLECUI_OUTPUTARRAY_H
#define TRIANGLECUI_OUTPUTARRAY_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#include <sys/mman.h>

namespace trianglecui {

// One array of a result record, allocated with malloc (the record's holder releases it with
// triangle_free) and owned here until release hands it over; freed if it never is, so a run that
// fails half way leaks nothing. Filled in place by the mesher, so the result is never copied.
// Arrays of several megabytes are advised to take huge pages before their first touch: a fresh
// 4 KiB page costs a fault of several microseconds. Not copyable. Throws std::bad_alloc.
template <typename T>
class OutputArray
{
public:
    OutputArray() = default;
    OutputArray(OutputArray const&) = delete;
    OutputArray& operator=(OutputArray const&) = delete;
    OutputArray(OutputArray&& other) noexcept : data_(other.data_), size_(other.size_)
    {
        other.data_ = nullptr;
        other.size_ = 0;
    }
    OutputArray& operator=(OutputArray&&) = delete;
    ~OutputArray() { std::free(data_); }

    // Room for count values (uninitialised); an empty array is a null pointer.
    void allocate(std::size_t count)
    {
        std::free(data_);
        data_ = nullptr;
        size_ = 0;
        if (count == 0)
            return;
        data_ = static_cast<T*>(std::malloc(count * sizeof(T)));
        if (data_ == nullptr)
            throw std::bad_alloc();
        size_ = count;
        adviseHugePages(data_, count * sizeof(T));
    }

    T* data() { return data_; }
    T const* data() const { return data_; }
    std::size_t size() const { return size_; }
    T& operator[](std::size_t i) { return data_[i]; }

    // Hands the array over; this object is empty afterwards.
    T* release()
    {
        T* data = data_;
        data_ = nullptr;
        size_ = 0;
        return data;
    }

private:
    static void adviseHugePages(void* memory, std::size_t bytes)
    {
#ifdef MADV_HUGEPAGE
        constexpr std::uintptr_t page = std::uintptr_t(2) << 20;
        if (bytes < 2 * page)
            return;
        auto const start = reinterpret_cast<std::uintptr_t>(memory);
        std::uintptr_t const first = (start + page - 1) & ~(page - 1);
        std::uintptr_t const last = (start + bytes) & ~(page - 1);
        // Only whole huge pages inside the block; the advice is a hint and may be declined.
        if (last > first)
            madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
        (void)memory;
        (void)bytes;
#endif
    }

    T* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace trianglecui

#endif
