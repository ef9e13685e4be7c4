#include "orlin/core/SpatialIndexWeakContainerT.h"

namespace tin {
namespace core {

std::size_t& weakContainerSweepCounter()
{
    static std::size_t counter = 0;
    return counter;
}

} // namespace core
} // namespace tin
