#include "triangle/triangleio.h"

#include <cstdlib>

void triangle_free(void* memory)
{
    std::free(memory);
}
