#pragma once

#include <stdexcept>
#include <string>

namespace tin {
namespace util {

/**
 * Thrown by the TIN construction code when one of its internal expectations fails
 * (a point or triangle that must exist is missing, an interpolation that must succeed
 * fails). Carries only its message; catch it as std::logic_error or std::exception.
 */
class AssertError : public std::logic_error {
public:
    explicit AssertError(const std::string& message);
    AssertError(const AssertError& other) = default;
    AssertError& operator=(const AssertError& other) = default;
    ~AssertError() override;
};

} // namespace util
} // namespace tin
