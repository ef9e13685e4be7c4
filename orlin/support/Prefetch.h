#pragma once

namespace tin::support {

/// Asks the processor to start loading the cache line at p, so that a look-up issued a little
/// later finds it there. A hint only: p may point anywhere readable, nothing is read.
///
/// GCC 12 at -O2 drops __builtin_prefetch as dead code in several of our inlined table
/// look-ups (of seven in the TIN's insertion, one reached the binary); an asm statement that
/// it must keep issues the instruction on x86-64.
inline void prefetchLine(void const* p)
{
#if defined(__GNUC__) && defined(__x86_64__)
    asm volatile("prefetcht0 %0" : : "m"(*static_cast<char const*>(p)));
#else
    __builtin_prefetch(p);
#endif
}

} // namespace tin::support
