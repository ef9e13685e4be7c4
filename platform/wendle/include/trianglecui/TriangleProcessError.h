#ifndef TRIANGLECUI_TRIANGLEPROCESSERROR_H
#define TRIANGLECUI_TRIANGLEPROCESSERROR_H

#include <stdexcept>
#include <string>

namespace trianglecui {

// Thrown by TriangleProcess::execute when the switches or the input are malformed, when a
// refinement cannot reach its goal within its vertex budget, when CGAL reports a broken
// expectation (debug builds) or when memory runs out. The message names what was wrong.
// The output record is left as it was when this is thrown.
class TriangleProcessError : public std::runtime_error
{
public:
    explicit TriangleProcessError(std::string const& message);
};

} // namespace trianglecui

#endif
