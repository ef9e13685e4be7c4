#include "orlin/core/PointLocator.h"

namespace tin {
namespace core {

PointLocator::~PointLocator() = default;

} // namespace core
} // namespace tin
