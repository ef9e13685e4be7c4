#include "orlin/core/Geometry.h"

namespace tin {
namespace core {

Geometry::~Geometry() = default;

} // namespace core
} // namespace tin
