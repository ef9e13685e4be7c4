#include "orlin/util/AssertError.h"

namespace tin {
namespace util {

AssertError::AssertError(const std::string& message)
    : std::logic_error(message)
{
}

// Out of line so that the type information lives in the library once.
AssertError::~AssertError() = default;

} // namespace util
} // namespace tin
