#pragma once

#include <stdexcept>
#include <string>

namespace common::exception {

/// Base of every failure the Movarin libraries report about their input or state.
/// Holds only its message, which what() returns unchanged. Thrown and caught by value
/// (or by const reference); derived classes add context but never change that contract.
class RuntimeException : public std::runtime_error {
public:
    explicit RuntimeException(const std::string& message);
    explicit RuntimeException(const char* message);
};

} // namespace common::exception
