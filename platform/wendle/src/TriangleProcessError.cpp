#include "trianglecui/TriangleProcessError.h"

namespace trianglecui {

TriangleProcessError::TriangleProcessError(std::string const& message)
    : std::runtime_error(message)
{
}

} // namespace trianglecui
