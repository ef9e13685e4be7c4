#include "orlin/core/Point3DI.h"

namespace tin {
namespace core {

Point3DI::~Point3DI() = default;

} // namespace core
} // namespace tin
