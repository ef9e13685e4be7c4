#include "orlin/core/Point2DI.h"

#include <cmath>

namespace tin {
namespace core {

Point2DI::~Point2DI() = default;

double Point2DI::lengthSqr() const
{
    return x() * x() + y() * y();
}

double Point2DI::length() const
{
    return std::sqrt(lengthSqr());
}

} // namespace core
} // namespace tin
