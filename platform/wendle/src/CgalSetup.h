#ifndef TRIANGLECUI_CGALSETUP_H
#define TRIANGLECUI_CGALSETUP_H

// Included before any CGAL header of this library. CGAL takes its default allocator from this
// macro, so every translation unit instantiates CGAL's containers alike, and the triangulation's
// vertex and face blocks (a few hundred megabytes for a million points) come from huge pages; see
// tin::support::HugePageArena.

#include "orlin/support/HugePageAllocatorT.h"

#define CGAL_ALLOCATOR(T) tin::support::HugePageAllocatorT<T>

#endif
