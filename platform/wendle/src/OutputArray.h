#ifndef TRIANGLECUI_OUTPUTARRAY_H
#define TRIANGLECUI_OUTPUTARRAY_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "orlin/support/AlignedMapping.h"


namespace trianglecui {

// One array of a result record, allocated with malloc or posix_memalign (the record's holder
// releases it with triangle_free) and owned here until release hands it over; freed if it never
// is, so a run that fails half way leaks nothing. Filled in place by the mesher, so the result is
// never copied. Arrays from 256 KiB up are whole 2 MiB blocks advised to take huge pages before
// their first touch: a fresh 4 KiB page costs a fault of several microseconds. Not copyable.
// Throws std::bad_alloc.
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
        std::size_t const bytes = count * sizeof(T);
        if (bytes >= HUGE_PAGE_FROM) {
            // Whole huge pages, so that the advice covers the array: one fault per 2 MiB
            // instead of one per 4 KiB. Pages never touched cost nothing either way.
            std::size_t const rounded = (bytes + HUGE_PAGE - 1) / HUGE_PAGE * HUGE_PAGE;
            void* memory = nullptr;
            if (posix_memalign(&memory, HUGE_PAGE, rounded) != 0)
                throw std::bad_alloc();
            data_ = static_cast<T*>(memory);
            tin::support::AlignedMapping::adviseHugePages(data_, rounded);
        } else {
            data_ = static_cast<T*>(std::malloc(bytes));
            if (data_ == nullptr)
                throw std::bad_alloc();
        }
        size_ = count;
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
    static constexpr std::size_t HUGE_PAGE = tin::support::AlignedMapping::ALIGNMENT;
    // Below this an array takes ordinary pages: a huge page would be mostly empty.
    static constexpr std::size_t HUGE_PAGE_FROM = std::size_t(256) << 10;

    T* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace trianglecui

#endif
